#include "qt/gauge_widget.h"

#include <QPainter>

#include "qt/convert.h"

namespace qtui {

GaugeWidget::GaugeWidget(ui::Gauge& gauge, QWidget* parent, const AfterInput&)
    : QWidget(parent), gauge_(gauge) {}

void GaugeWidget::sync_from_component() {
  if (progress_ == gauge_.progress && max_ == gauge_.max_value && percent_ == gauge_.percent()) {
    return;
  }
  progress_ = gauge_.progress;
  max_ = gauge_.max_value;
  percent_ = gauge_.percent();
  update();
}

void GaugeWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect inner = rect().adjusted(1, 1, -1, -1);
  const QColor background = ToQColor(gauge_.background);
  const QColor bar_colour = ToQColor(gauge_.bar);
  p.fillRect(inner, background);
  const QRect bar(inner.left(), inner.top(), inner.width() * percent_ / 100, inner.height());
  p.fillRect(bar, bar_colour);
  p.setPen(QColor(128, 128, 128));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  const QString text = QString::number(percent_) + QLatin1Char('%');
  const int flags = Qt::AlignCenter | Qt::TextSingleLine;
  p.setFont(font());
  p.save();
  p.setClipRegion(QRegion(inner).subtracted(QRegion(bar)));
  // The bar's colour over the empty part and the background's over the bar, so
  // that every digit stands out from what lies under it.
  p.setPen(bar_colour);
  p.drawText(inner, flags, text);
  p.restore();
  p.setClipRect(bar);
  p.setPen(background);
  p.drawText(inner, flags, text);
}

}  // namespace qtui
