#pragma once

#include <QTimer>
#include <QWidget>

#include "qt/component_widget.h"
#include "ui/spinner.h"

namespace qtui {

// A ring of segments; while it is on screen a timer steps the component round.
class SpinnerWidget : public QWidget, public ComponentWidget {
  Q_OBJECT

 public:
  SpinnerWidget(ui::Spinner& spinner, QWidget* parent, const AfterInput& after_input);

  void sync_from_component() override;
  bool turning() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor segment_colour(int i) const;

  ui::Spinner& spinner_;
  QTimer timer_;
};

}  // namespace qtui
