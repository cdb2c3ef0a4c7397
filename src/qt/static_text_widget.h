#pragma once

#include <QLabel>

#include "qt/component_widget.h"
#include "ui/static_text.h"

namespace qtui {

// A text in a box of its own colour with a sunken edge.
class StaticTextWidget : public QLabel, public ComponentWidget {
  Q_OBJECT

 public:
  StaticTextWidget(ui::StaticText& text, QWidget* parent, const AfterInput& after_input);

  void sync_from_component() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ui::StaticText& text_;
};

}  // namespace qtui
