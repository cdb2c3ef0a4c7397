#pragma once

#include <QImage>
#include <QPushButton>

#include "qt/component_widget.h"
#include "ui/button.h"

namespace qtui {

// A push button: skinned (gradient face, rounded, bold caption) or plain.
// "&" in the caption gives the Alt-key letter, as QPushButton does by itself.
class SkinButton : public QPushButton, public ComponentWidget {
  Q_OBJECT

 public:
  SkinButton(ui::Button& button, QWidget* parent, AfterInput after_input);

  void sync_from_component() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paint_face(QPainter& p, const QRectF& r) const;

  ui::Button& button_;
  AfterInput after_input_;
  QImage picture_;
};

}  // namespace qtui
