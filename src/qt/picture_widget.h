#pragma once

#include <QImage>
#include <QWidget>
#include <string>

#include "qt/component_widget.h"
#include "ui/picture.h"

namespace qtui {

// A picture drawn at its own size from the top-left corner, cut at the widget's edges.
class PictureWidget : public QWidget, public ComponentWidget {
  Q_OBJECT

 public:
  PictureWidget(ui::Picture& picture, QWidget* parent, const AfterInput& after_input);

  void sync_from_component() override;
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ui::Picture& picture_;
  std::string shown_name_;
  QImage image_;
};

}  // namespace qtui
