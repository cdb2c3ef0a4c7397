#include "qt/skin_button.h"

#include <QPainter>

#include "app/pictures.h"
#include "qt/convert.h"
#include "qt/gradients.h"
#include "qt/pictures.h"

namespace qtui {

namespace {

constexpr qreal corner_radius = 4;

struct Face {
  QColor top;
  QColor bottom;
  QColor edge;
};

Face FaceFor(bool enabled, bool down, bool hot) {
  if (!enabled) return {QColor(244, 244, 244), QColor(218, 218, 222), QColor(170, 172, 180)};
  if (down) return {QColor(176, 196, 232), QColor(226, 234, 250), QColor(0, 45, 110)};
  if (hot) return {QColor(255, 255, 255), QColor(214, 228, 252), QColor(0, 60, 150)};
  return {QColor(255, 255, 255), QColor(196, 212, 240), QColor(0, 45, 110)};
}

}  // namespace

SkinButton::SkinButton(ui::Button& button, QWidget* parent, AfterInput after_input)
    : QPushButton(parent), button_(button), after_input_(std::move(after_input)) {
  setAttribute(Qt::WA_Hover);
  setAutoDefault(false);
  if (button_.has_picture) picture_ = DrawingImage(app::FolderIcon());
  connect(this, &QPushButton::clicked, this, [this] {
    button_.click();
    after_input_();
  });
}

void SkinButton::sync_from_component() {
  const QString text = ToQString(button_.caption);
  if (this->text() != text) setText(text);
  setDefault(button_.is_default);
  update();
}

void SkinButton::paintEvent(QPaintEvent* event) {
  if (button_.face == ui::ButtonFace::plain) return QPushButton::paintEvent(event);
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  paint_face(p, r);
  QRect text_area = rect().adjusted(2, 0, -2, 0);
  if (!picture_.isNull()) {
    const int y = (height() - picture_.height()) / 2;
    p.setOpacity(isEnabled() ? 1.0 : 0.4);
    p.drawImage(8, y, picture_);
    p.setOpacity(1.0);
    text_area.setLeft(8 + picture_.width());
  }
  if (isDown()) text_area.translate(1, 1);
  p.setFont(font());
  p.setPen(isEnabled() ? ToQColor(button_.font.color) : QColor(150, 150, 156));
  p.drawText(text_area, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, text());
}

void SkinButton::paint_face(QPainter& p, const QRectF& r) const {
  const bool hot = underMouse() && isEnabled();
  const Face f = FaceFor(isEnabled(), isDown(), hot);
  p.setPen(QPen(f.edge, 1));
  p.setBrush(LinearBrush(r, f.top, f.bottom, Qt::Vertical));
  p.drawRoundedRect(r, corner_radius, corner_radius);
  if (hasFocus() && isEnabled()) {
    p.setPen(QPen(QColor(255, 184, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), corner_radius - 1, corner_radius - 1);
  }
}

}  // namespace qtui
