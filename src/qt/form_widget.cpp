#include "qt/form_widget.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "qt/caption_close_button.h"
#include "qt/convert.h"
#include "qt/gradients.h"

namespace qtui {

namespace {

// The caption bar's gradient is mirrored round its middle: darker at the edges.
const QColor caption_edge(31, 75, 142);
const QColor caption_centre(75, 122, 191);
const QColor frame_border(168, 188, 216);
// The corners are rounded by 30 across, the size of the corner ellipse: a radius of 15.
constexpr qreal corner_radius = 15;
constexpr int close_width = 21;
constexpr int close_height = 17;

// The outline with rounded top corners and square bottom ones.
QPainterPath OuterPath(const QRectF& r, qreal radius) {
  QPainterPath path;
  path.moveTo(r.left(), r.bottom());
  path.lineTo(r.left(), r.top() + radius);
  path.arcTo(QRectF(r.left(), r.top(), 2 * radius, 2 * radius), 180, -90);
  path.lineTo(r.right() - radius, r.top());
  path.arcTo(QRectF(r.right() - 2 * radius, r.top(), 2 * radius, 2 * radius), 90, -90);
  path.lineTo(r.right(), r.bottom());
  path.closeSubpath();
  return path;
}

}  // namespace

FormWidget::FormWidget(ui::Form& form, QWidget* host, AfterInput after_input)
    : QWidget(host), form_(form), after_input_(std::move(after_input)) {
  if (host == nullptr) setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  if (custom()) {
    close_ = new CaptionCloseButton(this);
    connect(close_, &QAbstractButton::clicked, this, [this] { window()->close(); });
  }
  sync_from_component();
}

void FormWidget::sync_from_component() {
  caption_ = ToQString(form_.caption);
  if (isWindow() && windowTitle() != caption_) setWindowTitle(caption_);
  if (size() != QSize(form_.width, form_.height)) setFixedSize(form_.width, form_.height);
  place_window();
  update();
}

void FormWidget::place_window() {
  if (!isWindow()) return;
  if (form_.centred) {
    if (centred_once_) return;
    centred_once_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - QPoint(form_.width / 2, form_.height / 2));
    }
    return;
  }
  if (pos() != QPoint(form_.left, form_.top)) move(form_.left, form_.top);
}

void FormWidget::resizeEvent(QResizeEvent*) {
  if (close_ != nullptr) {
    close_->setGeometry(width() - form_.border - close_width - 3,
                        (form_.caption_height - close_height) / 2, close_width, close_height);
  }
  // The offscreen platform used for pictures and tests has no window shapes.
  if (isWindow() && custom() && QGuiApplication::platformName() != QLatin1String("offscreen")) {
    setMask(QRegion(OuterPath(rect(), corner_radius).toFillPolygon().toPolygon()));
  }
}

void FormWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (custom()) paint_frame(p);
  paint_client(p);
}

void FormWidget::paint_frame(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(frame_border);
  p.drawPath(OuterPath(rect(), corner_radius));
  const QRectF bar(1, 1, width() - 2, form_.caption_height - 1);
  p.save();
  p.setClipRect(bar);
  p.setBrush(CentreBrush(bar, caption_edge, caption_centre));
  p.drawPath(OuterPath(QRectF(rect()).adjusted(1, 1, -1, -1), corner_radius - 1));
  p.restore();
  QFont f = ToQFont(form_.font);
  f.setPixelSize(13);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  const int text_right = close_ != nullptr ? close_->x() - 4 : width() - 8;
  p.drawText(QRect(10, 0, text_right - 10, form_.caption_height),
             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

void FormWidget::paint_client(QPainter& p) {
  const QRect client(form_.client_left(), form_.client_top(), form_.client_width(),
                     form_.client_height());
  p.fillRect(client, ToQColor(form_.base));
  p.fillRect(client, CentreBrush(client, ToQColor(form_.client_from), ToQColor(form_.client_to)));
}

void FormWidget::mousePressEvent(QMouseEvent* event) {
  if (isWindow() && custom() && event->button() == Qt::LeftButton &&
      event->position().y() < form_.caption_height) {
    dragging_ = true;
    drag_offset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    return;
  }
  QWidget::mousePressEvent(event);
}

void FormWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QWidget::mouseMoveEvent(event);
  const QPoint to = event->globalPosition().toPoint() - drag_offset_;
  form_.move_to(to.x(), to.y());
  after_input_();
}

void FormWidget::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

}  // namespace qtui
