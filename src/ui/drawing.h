#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/color.h"
#include "ui/control.h"
#include "ui/font.h"

namespace ui {

// A picture described once, without a toolkit: shapes in the order they are
// painted, each later one over the ones before, in pixels of the picture at
// 96 dpi. Each view draws it with its own means (QPainter, GDI).
struct Point {
  double x = 0;
  double y = 0;
};

struct Box {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// A shape's outline.
struct Pen {
  Color color;
  double width = 1;
  bool round = false;  // round ends and joins
};

// How a shape's inside is painted: not at all, in one colour, or in a
// gradient from `color` at the top of `over` to `to` at its bottom.
struct Fill {
  enum class Kind { none, solid, vertical_gradient };
  Kind kind = Kind::none;
  Color color;
  Color to;
  Box over;
};

inline Fill Solid(Color c) {
  return Fill{Fill::Kind::solid, c, c, {}};
}
inline Fill VerticalGradient(Box over, Color top, Color bottom) {
  return Fill{Fill::Kind::vertical_gradient, top, bottom, over};
}

struct Shape {
  enum class Kind { rect, rounded_rect, ellipse, polygon, polyline, text };
  Kind kind = Kind::rect;
  Box box;                    // rect, rounded rect, the ellipse's bounds, the text's room
  double radius = 0;          // rounded rect
  std::vector<Point> points;  // polygon (closed), polyline (open)
  std::optional<Pen> pen;     // none: no outline
  Fill fill;                  // not for a polyline or a text
  std::string text;           // drawn in `font`, in its colour, centred upright in `box`
  Font font;
  Align align = Align::left;  // across `box`
};

struct Drawing {
  int width = 0;
  int height = 0;
  bool smooth = true;            // smoothed edges and letters
  bool sixteen_colours = false;  // brought down to the 16 standard colours at the end
  std::vector<Shape> shapes;     // where none lies the picture is clear
};

}  // namespace ui
