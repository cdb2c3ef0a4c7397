#include "qt/label_widget.h"

#include <QMouseEvent>

#include "qt/convert.h"

namespace qtui {

LabelWidget::LabelWidget(ui::Label& label, QWidget* parent, AfterInput after_input)
    : QLabel(parent), label_(label), after_input_(std::move(after_input)) {
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(false);
  setContentsMargins(0, 0, 0, 0);
}

void LabelWidget::sync_from_component() {
  const QString text = ToQString(label_.caption);
  if (this->text() != text) setText(text);
  const Qt::Alignment align = ToQAlign(label_.align) | Qt::AlignTop;
  if (alignment() != align) setAlignment(align);
  const QColor colour = ToQColor(label_.font.color);
  if (palette().color(QPalette::WindowText) != colour) {
    QPalette pal = palette();
    // The same colour in every state: a disabled label keeps the colour it was given.
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
  }
}

QRect LabelWidget::wanted_place(const ui::Control& c, QPoint at) const {
  if (!label_.auto_size) return QRect(at, QSize(c.width, c.height));
  const QFontMetrics m(font());
  const QSize size(m.horizontalAdvance(text()), m.height());
  if (label_.align == ui::Align::right) at.rx() += c.width - size.width();
  return QRect(at, size);
}

void LabelWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
  label_.click();
  after_input_();
}

}  // namespace qtui
