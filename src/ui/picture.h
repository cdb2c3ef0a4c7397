#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// A picture named by `image`; the front end draws the image of that name.
class Picture : public Control {
 public:
  Picture(Control* parent, std::string name) : Control(Kind::picture, parent, std::move(name)) {}

  std::string image;
};

}  // namespace ui
