#include "qt/static_text_widget.h"

#include <QPainter>

#include "qt/convert.h"

namespace qtui {

StaticTextWidget::StaticTextWidget(ui::StaticText& text, QWidget* parent, const AfterInput&)
    : QLabel(parent), text_(text) {
  setTextFormat(Qt::PlainText);
}

void StaticTextWidget::sync_from_component() {
  const QString text = ToQString(text_.caption);
  if (this->text() != text) setText(text);
  update();
}

void StaticTextWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, ToQColor(text_.background));
  int inset = 2;
  if (text_.sunken) {
    const QRect e = r.adjusted(0, 0, -1, -1);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(e.topLeft(), e.topRight());
    p.drawLine(e.topLeft(), e.bottomLeft());
    p.setPen(QColor(255, 255, 255));
    p.drawLine(e.bottomLeft(), e.bottomRight());
    p.drawLine(e.topRight(), e.bottomRight());
    inset = 3;
  }
  p.setFont(font());
  p.setPen(ToQColor(text_.font.color));
  p.setClipRect(r.adjusted(1, 1, -1, -1));
  p.drawText(r.adjusted(inset, 0, -inset, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
             text());
}

}  // namespace qtui
