#pragma once

#include <QWidget>

#include "qt/component_widget.h"
#include "ui/panel.h"

namespace qtui {

// A gradient panel, titled or not, with its rounded corners and white border.
class PanelWidget : public QWidget, public ComponentWidget {
  Q_OBJECT

 public:
  PanelWidget(ui::Panel& panel, QWidget* parent, const AfterInput& after_input);

  void sync_from_component() override;
  QString title() const { return title_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paint_title(QPainter& p, const QPainterPath& outline);
  void paint_bevel(QPainter& p);

  ui::Panel& panel_;
  QString title_;
};

}  // namespace qtui
