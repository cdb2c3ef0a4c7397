#pragma once

#include <QWidget>

#include "qt/component_widget.h"
#include "ui/gauge.h"

namespace qtui {

// A horizontal bar with the percentage in its middle. The text is written in the
// bar's colour over the background and in the background's colour over the bar,
// so that it can be read wherever the bar ends.
class GaugeWidget : public QWidget, public ComponentWidget {
  Q_OBJECT

 public:
  GaugeWidget(ui::Gauge& gauge, QWidget* parent, const AfterInput& after_input);

  void sync_from_component() override;
  int shown_progress() const { return progress_; }
  int shown_max() const { return max_; }
  int shown_percent() const { return percent_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ui::Gauge& gauge_;
  int progress_ = 0;
  int max_ = 0;
  int percent_ = 0;
};

}  // namespace qtui
