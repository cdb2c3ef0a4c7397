#pragma once

#include <functional>

#include "ui/control.h"

namespace ui {

// Text drawn on its parent's face, without a background of its own. With
// `auto_size` the front end sizes it to its text: from its left edge on, or,
// aligned right, keeping its right edge (`left + width`) and growing to the left.
class Label : public Control {
 public:
  Label(Control* parent, std::string name) : Control(Kind::label, parent, std::move(name)) {}

  bool click();

  Align align = Align::left;
  bool auto_size = false;
  std::function<void()> on_click;
};

}  // namespace ui
