#pragma once

#include <functional>

#include "ui/control.h"

namespace ui {

enum class ButtonFace { skinned, plain };

// A push button. "&" in the caption marks the Alt-key letter.
class Button : public Control {
 public:
  Button(Control* parent, std::string name) : Control(Kind::button, parent, std::move(name)) {}

  // Presses the button as a user would: only while it can be seen and used.
  // Returns whether the press was taken.
  bool click();
  // The letter after the first single "&", upper-cased; 0 when there is none.
  char accelerator() const;

  std::function<void()> on_click;
  ButtonFace face = ButtonFace::skinned;
  bool is_default = false;
  bool is_cancel = false;
  bool has_picture = false;
};

}  // namespace ui
