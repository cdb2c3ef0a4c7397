#include "qt/spinner_widget.h"

#include <QPainter>
#include <QPainterPath>

#include "qt/convert.h"

namespace qtui {

namespace {

constexpr qreal gap_degrees = 6;

// One segment of the ring: the band between two circles over `span` degrees from `start`.
QPainterPath Segment(const QRectF& outer, const QRectF& inner, qreal start, qreal span) {
  QPainterPath path;
  path.arcMoveTo(outer, start);
  path.arcTo(outer, start, span);
  path.arcTo(inner, start + span, -span);
  path.closeSubpath();
  return path;
}

}  // namespace

SpinnerWidget::SpinnerWidget(ui::Spinner& spinner, QWidget* parent, const AfterInput&)
    : QWidget(parent), spinner_(spinner) {
  timer_.setInterval(ui::Spinner::step_ms);
  connect(&timer_, &QTimer::timeout, this, [this] {
    spinner_.advance();
    update();
  });
}

void SpinnerWidget::sync_from_component() {
  const bool on_screen = spinner_.showing();
  if (on_screen && !timer_.isActive()) timer_.start();
  if (!on_screen && timer_.isActive()) timer_.stop();
  update();
}

QColor SpinnerWidget::segment_colour(int i) const {
  const int n = ui::Spinner::segments;
  if (i == spinner_.step) return ToQColor(spinner_.active);
  if (i == (spinner_.step + 1) % n) return ToQColor(spinner_.transition);
  if (i == (spinner_.step + n - 1) % n) return ToQColor(spinner_.progress_color);
  return ToQColor(spinner_.inactive);
}

void SpinnerWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal side = qMin(width(), height());
  const QRectF outer((width() - side) / 2 + 1, (height() - side) / 2 + 1, side - 2, side - 2);
  const qreal band = side * 0.2;
  const QRectF inner = outer.adjusted(band, band, -band, -band);
  const int n = ui::Spinner::segments;
  const qreal span = 360.0 / n;
  p.setPen(Qt::NoPen);
  for (int i = 0; i < n; ++i) {
    // Segment 0 is centred on twelve o'clock and the ring turns clockwise.
    const qreal sweep = span - gap_degrees;
    const qreal start = 90 - i * span + sweep / 2;
    p.setBrush(segment_colour(i));
    p.drawPath(Segment(outer, inner, start, -sweep));
  }
}

}  // namespace qtui
