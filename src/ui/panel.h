#pragma once

#include "ui/control.h"

namespace ui {

enum class GradientDirection { vertical, horizontal };

// A panel with a gradient face. With a title bar it is a titled panel: the
// caption is drawn in a bar of `title_height` pixels and children are placed
// below it. Without one, `caption` is unused.
class Panel : public Control {
 public:
  Panel(Control* parent, std::string name) : Control(Kind::panel, parent, std::move(name)) {}

  // Children's places are relative to the client area, which starts below the title bar.
  int client_top() const { return title_height; }
  // The title as its bar shows it; nothing without a title bar.
  std::string shown_title() const { return title_height > 0 ? caption : std::string(); }

  int title_height = 0;
  Align title_align = Align::center;
  Font title_font;
  Color title_from = colors::silver;
  Color title_to = colors::grey;
  Color face_from = colors::silver;
  Color face_to = colors::silver;
  GradientDirection direction = GradientDirection::vertical;
  bool rounded = true;
  bool white_border = true;
  bool bevel = true;
};

}  // namespace ui
