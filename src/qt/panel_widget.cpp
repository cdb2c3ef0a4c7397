#include "qt/panel_widget.h"

#include <QPainter>
#include <QPainterPath>

#include "qt/convert.h"
#include "qt/gradients.h"

namespace qtui {

namespace {

constexpr qreal corner_radius = 8;
constexpr int title_margin = 6;

Qt::Orientation OrientationOf(ui::GradientDirection d) {
  return d == ui::GradientDirection::horizontal ? Qt::Horizontal : Qt::Vertical;
}

}  // namespace

PanelWidget::PanelWidget(ui::Panel& panel, QWidget* parent, const AfterInput&)
    : QWidget(parent), panel_(panel) {}

void PanelWidget::sync_from_component() {
  const QString title = ToQString(panel_.shown_title());
  if (title != title_) title_ = title;
  update();
}

void PanelWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, panel_.rounded);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QPainterPath outline;
  if (panel_.rounded) {
    outline.addRoundedRect(r, corner_radius, corner_radius);
  } else {
    outline.addRect(QRectF(rect()));
  }
  const Qt::Orientation o = OrientationOf(panel_.direction);
  p.setPen(Qt::NoPen);
  p.setBrush(LinearBrush(rect(), ToQColor(panel_.face_from), ToQColor(panel_.face_to), o));
  p.drawPath(outline);
  if (panel_.title_height > 0) paint_title(p, outline);
  if (panel_.white_border) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    p.drawPath(outline);
  } else if (panel_.bevel && !panel_.rounded) {
    paint_bevel(p);
  }
}

void PanelWidget::paint_title(QPainter& p, const QPainterPath& outline) {
  const QRectF bar(0, 0, width(), panel_.title_height);
  p.save();
  p.setClipRect(bar);
  p.setBrush(LinearBrush(bar, ToQColor(panel_.title_from), ToQColor(panel_.title_to),
                         OrientationOf(panel_.direction)));
  p.drawPath(outline);
  p.restore();
  p.setFont(ToQFont(panel_.title_font));
  p.setPen(ToQColor(panel_.title_font.color));
  const QRectF text_area = bar.adjusted(title_margin, 0, -title_margin, 0);
  p.drawText(text_area, ToQAlign(panel_.title_align) | Qt::AlignVCenter | Qt::TextSingleLine,
             title_);
}

void PanelWidget::paint_bevel(QPainter& p) {
  const QRect r = rect().adjusted(0, 0, -1, -1);
  p.setPen(QColor(255, 255, 255));
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(QColor(128, 128, 128));
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace qtui
