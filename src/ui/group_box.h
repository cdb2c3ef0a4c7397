#pragma once

#include "ui/control.h"

namespace ui {

// A framed group with its caption on the frame's top edge.
class GroupBox : public Control {
 public:
  GroupBox(Control* parent, std::string name) : Control(Kind::group_box, parent, std::move(name)) {}

  Color background = colors::silver;
};

}  // namespace ui
