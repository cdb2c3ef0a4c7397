#pragma once

#include <QCheckBox>

#include "qt/component_widget.h"
#include "ui/check_box.h"

namespace qtui {

// A check box whose state is the component's: a click is handed to the
// component, which toggles itself; the box only shows the result.
class CheckBoxWidget : public QCheckBox, public ComponentWidget {
  Q_OBJECT

 public:
  CheckBoxWidget(ui::CheckBox& box, QWidget* parent, AfterInput after_input);

  void sync_from_component() override;

 protected:
  void nextCheckState() override {}

 private:
  ui::CheckBox& box_;
  AfterInput after_input_;
};

}  // namespace qtui
