#pragma once

#include <QWidget>

#include "qt/component_widget.h"
#include "ui/group_box.h"

namespace qtui {

// A framed group filled with its background colour, its caption on the frame.
class GroupBoxWidget : public QWidget, public ComponentWidget {
  Q_OBJECT

 public:
  GroupBoxWidget(ui::GroupBox& box, QWidget* parent, const AfterInput& after_input);

  void sync_from_component() override;
  QString title() const { return title_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ui::GroupBox& box_;
  QString title_;
};

}  // namespace qtui
