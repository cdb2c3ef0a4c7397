// How the unit's user access level must be set: a settings dialog of the
// standard configuration software with both diagnostics options on and the
// read-only, dashboard-only and no-access options off.
#include <QPainter>
#include <QPainterPath>

#include "qt/gradients.h"
#include "qt/pictures.h"
#include "texts/texts.h"

namespace qtui {

namespace {

constexpr int picture_width = 329;
constexpr int picture_height = 160;
constexpr int title_height = 18;
const QColor dialog_face(236, 233, 216);

QFont SmallFont(bool bold) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(11);
  f.setBold(bold);
  return f;
}

void DrawCheckBox(QPainter& p, QPoint at, bool on, const QString& text) {
  const QRect box(at, QSize(13, 13));
  p.setPen(QColor(28, 81, 128));
  p.setBrush(Qt::white);
  p.drawRect(box);
  if (on) {
    p.setPen(QPen(QColor(33, 161, 33), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(at.x() + 3, at.y() + 6.5), QPointF(at.x() + 5.5, at.y() + 9.5),
                             QPointF(at.x() + 10, at.y() + 3.5)});
  }
  p.setPen(Qt::black);
  p.setFont(SmallFont(on));
  p.drawText(QRect(at.x() + 19, at.y() - 2, 180, 17), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void DrawDialogButton(QPainter& p, const QRect& r, const QString& text) {
  p.setPen(QColor(0, 60, 116));
  p.setBrush(LinearBrush(r, Qt::white, QColor(214, 208, 197), Qt::Vertical));
  p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  p.setPen(Qt::black);
  p.setFont(SmallFont(false));
  p.drawText(r, Qt::AlignCenter, text);
}

void DrawFrameAndTitle(QPainter& p) {
  p.fillRect(0, 0, picture_width, picture_height, dialog_face);
  const QRect bar(0, 0, picture_width, title_height);
  p.fillRect(bar, LinearBrush(bar, QColor(0, 84, 227), QColor(61, 149, 255), Qt::Vertical));
  p.setPen(Qt::white);
  p.setFont(SmallFont(true));
  p.drawText(bar.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Unit settings - User access level"));
  p.setPen(QColor(0, 60, 160));
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, picture_width - 1, picture_height - 1);
}

void DrawOptions(QPainter& p) {
  const QRect group(8, 28, 212, 124);
  p.setPen(QColor(208, 208, 191));
  p.drawRoundedRect(group, 3, 3);
  p.fillRect(QRect(14, 22, 100, 12), dialog_face);
  p.setPen(QColor(0, 70, 213));
  p.setFont(SmallFont(false));
  p.drawText(QRect(16, 22, 100, 12), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("User access level"));
  int y = 42;
  for (const auto& o : texts::access_level_options) {
    DrawCheckBox(p, QPoint(18, y), o.on, QString::fromLatin1(o.text));
    y += 21;
  }
}

}  // namespace

QImage AccessLevelPicture() {
  QImage image(picture_width, picture_height, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  DrawFrameAndTitle(p);
  DrawOptions(p);
  DrawDialogButton(p, QRect(236, 100, 80, 22), QStringLiteral("OK"));
  DrawDialogButton(p, QRect(236, 128, 80, 22), QStringLiteral("Cancel"));
  return image;
}

}  // namespace qtui
