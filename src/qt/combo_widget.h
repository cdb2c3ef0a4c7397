#pragma once

#include <QComboBox>

#include "qt/component_widget.h"
#include "ui/combo_box.h"

namespace qtui {

// An editable combo box. Picking an entry is the component's select, typing its
// type_text; the component then decides what is shown.
class ComboWidget : public QComboBox, public ComponentWidget {
  Q_OBJECT

 public:
  ComboWidget(ui::ComboBox& box, QWidget* parent, AfterInput after_input);

  void sync_from_component() override;

 private:
  void sync_items();
  void sync_colours();

  ui::ComboBox& box_;
  AfterInput after_input_;
};

}  // namespace qtui
