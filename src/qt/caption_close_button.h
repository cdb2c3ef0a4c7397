#pragma once

#include <QAbstractButton>

namespace qtui {

// The one button of the custom caption bar.
class CaptionCloseButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit CaptionCloseButton(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qtui
