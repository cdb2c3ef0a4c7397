#include "qt/pictures.h"

#include <QPainter>
#include <QPolygonF>
#include <QVector>

#include "app/pictures.h"
#include "qt/convert.h"
#include "qt/gradients.h"

namespace qtui {

namespace {

QVector<QRgb> SixteenColours() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QRectF ToQRect(const ui::Box& b) {
  return QRectF(b.left, b.top, b.width, b.height);
}

QPolygonF ToQPolygon(const std::vector<ui::Point>& points) {
  QPolygonF polygon;
  for (const ui::Point& p : points) polygon << QPointF(p.x, p.y);
  return polygon;
}

QPen ToQPen(const std::optional<ui::Pen>& pen) {
  if (!pen) return QPen(Qt::NoPen);
  if (!pen->round) return QPen(ToQColor(pen->color), pen->width);
  return QPen(ToQColor(pen->color), pen->width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QBrush ToQBrush(const ui::Fill& fill) {
  switch (fill.kind) {
    case ui::Fill::Kind::solid:
      return QBrush(ToQColor(fill.color));
    case ui::Fill::Kind::vertical_gradient:
      return LinearBrush(ToQRect(fill.over), ToQColor(fill.color), ToQColor(fill.to), Qt::Vertical);
    case ui::Fill::Kind::none:
      break;
  }
  return QBrush(Qt::NoBrush);
}

void DrawText(QPainter& p, const ui::Shape& s, bool smooth) {
  QFont font = ToQFont(s.font);
  if (!smooth) font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  p.setPen(ToQColor(s.font.color));
  p.drawText(ToQRect(s.box), ToQAlign(s.align) | Qt::AlignVCenter, ToQString(s.text));
}

void DrawShape(QPainter& p, const ui::Shape& s, bool smooth) {
  using Kind = ui::Shape::Kind;
  if (s.kind == Kind::text) return DrawText(p, s, smooth);
  if (s.kind == Kind::rect && !s.pen) return p.fillRect(ToQRect(s.box), ToQBrush(s.fill));
  p.setPen(ToQPen(s.pen));
  p.setBrush(ToQBrush(s.fill));
  switch (s.kind) {
    case Kind::rect:
      return p.drawRect(ToQRect(s.box));
    case Kind::rounded_rect:
      return p.drawRoundedRect(ToQRect(s.box), s.radius, s.radius);
    case Kind::ellipse:
      return p.drawEllipse(ToQRect(s.box));
    case Kind::polygon:
      return p.drawPolygon(ToQPolygon(s.points));
    case Kind::polyline:
      return p.drawPolyline(ToQPolygon(s.points));
    case Kind::text:
      break;
  }
}

}  // namespace

QImage DrawingImage(const ui::Drawing& drawing) {
  QImage image(drawing.width, drawing.height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, drawing.smooth);
    for (const ui::Shape& shape : drawing.shapes) DrawShape(p, shape, drawing.smooth);
  }
  if (!drawing.sixteen_colours) return image;
  return image.convertToFormat(QImage::Format_Indexed8, SixteenColours(), Qt::ThresholdDither);
}

QImage PictureNamed(const std::string& name) {
  const auto drawing = app::PictureNamed(name);
  return drawing ? DrawingImage(*drawing) : QImage();
}

}  // namespace qtui
