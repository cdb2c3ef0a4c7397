#pragma once

#include <QPoint>
#include <QWidget>

#include "qt/component_widget.h"
#include "ui/form.h"

namespace qtui {

class CaptionCloseButton;

// A form's own area: with a custom frame, the caption bar (dragged to move the
// window, with a close button only) and the border drawn round the client area.
class FormWidget : public QWidget, public ComponentWidget {
  Q_OBJECT

 public:
  // Without `host` the form is a window of its own.
  FormWidget(ui::Form& form, QWidget* host, AfterInput after_input);

  void sync_from_component() override;
  QString caption_text() const { return caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool custom() const { return form_.frame == ui::Frame::custom; }
  void paint_frame(QPainter& p);
  void paint_client(QPainter& p);
  void place_window();

  ui::Form& form_;
  AfterInput after_input_;
  CaptionCloseButton* close_ = nullptr;
  QString caption_;
  bool dragging_ = false;
  QPoint drag_offset_;
  bool centred_once_ = false;
};

}  // namespace qtui
