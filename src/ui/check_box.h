#pragma once

#include <functional>

#include "ui/control.h"

namespace ui {

class CheckBox : public Control {
 public:
  CheckBox(Control* parent, std::string name) : Control(Kind::check_box, parent, std::move(name)) {}

  // Toggles as a user's click does, then runs `on_click`. Returns whether the click was taken.
  bool click();

  bool checked = false;
  std::function<void()> on_click;
};

}  // namespace ui
