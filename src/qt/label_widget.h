#pragma once

#include <QLabel>

#include "qt/component_widget.h"
#include "ui/label.h"

namespace qtui {

// Text drawn straight on its parent's face; a press on it is the label's click.
class LabelWidget : public QLabel, public ComponentWidget {
  Q_OBJECT

 public:
  LabelWidget(ui::Label& label, QWidget* parent, AfterInput after_input);

  void sync_from_component() override;
  QRect wanted_place(const ui::Control& c, QPoint at) const override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  ui::Label& label_;
  AfterInput after_input_;
};

}  // namespace qtui
