#include "qt/group_box_widget.h"

#include <QPainter>

#include "qt/convert.h"

namespace qtui {

namespace {

constexpr int caption_left = 8;
constexpr int caption_pad = 2;

}  // namespace

GroupBoxWidget::GroupBoxWidget(ui::GroupBox& box, QWidget* parent, const AfterInput&)
    : QWidget(parent), box_(box) {}

void GroupBoxWidget::sync_from_component() {
  title_ = ToQString(box_.caption);
  update();
}

void GroupBoxWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ToQColor(box_.background));
  p.setFont(font());
  const QFontMetrics m(font());
  const int line_y = m.height() / 2;
  // An etched frame: a dark line with a light one just inside it.
  const QRect frame = rect().adjusted(0, line_y, -2, -2);
  p.setPen(QColor(128, 128, 128));
  p.drawRect(frame);
  p.setPen(QColor(255, 255, 255));
  p.drawRect(frame.translated(1, 1));
  if (title_.isEmpty()) return;
  const int text_width = m.horizontalAdvance(title_);
  const QRect caption(caption_left, 0, text_width + 2 * caption_pad, m.height());
  p.fillRect(caption, ToQColor(box_.background));
  p.setPen(ToQColor(box_.font.color));
  p.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title_);
}

}  // namespace qtui
