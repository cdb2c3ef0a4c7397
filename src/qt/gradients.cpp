#include "qt/gradients.h"

#include <QLinearGradient>

namespace qtui {

QBrush LinearBrush(const QRectF& r, QColor from, QColor to, Qt::Orientation orientation) {
  const QPointF end = orientation == Qt::Vertical ? r.bottomLeft() : r.topRight();
  QLinearGradient g(r.topLeft(), end);
  g.setColorAt(0.0, from);
  g.setColorAt(1.0, to);
  return QBrush(g);
}

QBrush CentreBrush(const QRectF& r, QColor edge, QColor centre) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0.0, edge);
  g.setColorAt(0.5, centre);
  g.setColorAt(1.0, edge);
  return QBrush(g);
}

}  // namespace qtui
