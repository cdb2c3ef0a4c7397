#include "qt/caption_close_button.h"

#include <QPainter>

#include "qt/gradients.h"

namespace qtui {

CaptionCloseButton::CaptionCloseButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  setToolTip(QStringLiteral("Close"));
}

void CaptionCloseButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const bool hot = underMouse() && !isDown();
  const QColor top = isDown() ? QColor(176, 46, 28)
                     : hot    ? QColor(246, 132, 108)
                              : QColor(226, 102, 78);
  const QColor bottom = isDown() ? QColor(214, 86, 64) : QColor(184, 48, 28);
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(LinearBrush(r, top, bottom, Qt::Vertical));
  p.drawRoundedRect(r, 3, 3);
  const QRectF cross = r.adjusted(r.width() / 2 - 4, r.height() / 2 - 4, -(r.width() / 2 - 4),
                                  -(r.height() / 2 - 4));
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(cross.topLeft(), cross.bottomRight());
  p.drawLine(cross.topRight(), cross.bottomLeft());
}

}  // namespace qtui
