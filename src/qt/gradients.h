#pragma once

#include <QBrush>
#include <QColor>
#include <QRectF>

namespace qtui {

// `from` at the top (or left) edge of `r`, `to` at the bottom (or right).
QBrush LinearBrush(const QRectF& r, QColor from, QColor to, Qt::Orientation orientation);
// Mirrored round the middle: `edge` at the top and the bottom of `r`, `centre` halfway.
QBrush CentreBrush(const QRectF& r, QColor edge, QColor centre);

}  // namespace qtui
