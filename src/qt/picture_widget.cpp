#include "qt/picture_widget.h"

#include <QPainter>

#include "qt/pictures.h"

namespace qtui {

PictureWidget::PictureWidget(ui::Picture& picture, QWidget* parent, const AfterInput&)
    : QWidget(parent), picture_(picture) {}

void PictureWidget::sync_from_component() {
  if (picture_.image == shown_name_ && !image_.isNull()) return;
  shown_name_ = picture_.image;
  image_ = PictureNamed(shown_name_);
  update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

}  // namespace qtui
