#pragma once

#include "ui/control.h"

namespace ui {

// A ring of segments that steps round while it is shown. The step is only
// animation; the front end advances it every `step_ms`.
class Spinner : public Control {
 public:
  static constexpr int segments = 12;
  static constexpr int step_ms = 100;

  Spinner(Control* parent, std::string name) : Control(Kind::spinner, parent, std::move(name)) {}

  void advance() { step = (step + 1) % segments; }

  int step = 0;
  Color active = colors::blue;
  Color inactive = colors::navy;
  Color transition = colors::yellow;
  Color progress_color = colors::red;
};

}  // namespace ui
