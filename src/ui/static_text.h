#pragma once

#include "ui/control.h"

namespace ui {

// A text in a box of its own colour, optionally with a sunken edge.
class StaticText : public Control {
 public:
  StaticText(Control* parent, std::string name)
      : Control(Kind::static_text, parent, std::move(name)) {}

  Color background = colors::black;
  bool sunken = true;
};

}  // namespace ui
