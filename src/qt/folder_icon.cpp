#include <QPainter>
#include <QPainterPath>

#include "qt/gradients.h"
#include "qt/pictures.h"

namespace qtui {

QImage FolderIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  // The back of the folder with its tab, then the front flap opened a little.
  QPainterPath back;
  back.moveTo(0.08 * s, 0.22 * s);
  back.lineTo(0.38 * s, 0.22 * s);
  back.lineTo(0.46 * s, 0.30 * s);
  back.lineTo(0.90 * s, 0.30 * s);
  back.lineTo(0.90 * s, 0.84 * s);
  back.lineTo(0.08 * s, 0.84 * s);
  back.closeSubpath();
  p.setPen(QPen(QColor(156, 112, 20), 1));
  p.setBrush(QColor(232, 180, 60));
  p.drawPath(back);
  QPainterPath front;
  front.moveTo(0.18 * s, 0.42 * s);
  front.lineTo(0.98 * s, 0.42 * s);
  front.lineTo(0.88 * s, 0.84 * s);
  front.lineTo(0.08 * s, 0.84 * s);
  front.closeSubpath();
  const QRectF area(0, 0.42 * s, s, 0.42 * s);
  p.setBrush(LinearBrush(area, QColor(255, 226, 120), QColor(244, 190, 64), Qt::Vertical));
  p.drawPath(front);
  return image;
}

}  // namespace qtui
