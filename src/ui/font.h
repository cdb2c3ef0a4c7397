#pragma once

#include <string>

#include "ui/color.h"

namespace ui {

// Sizes are in pixels: the layout was drawn at 96 dpi and every place in it
// assumes text of exactly these heights.
struct Font {
  std::string family = "Arial";
  int size_px = 11;
  bool bold = false;
  Color color = colors::black;
  bool italic = false;
};

inline Font arial(int size_px, bool bold, Color color) {
  return Font{"Arial", size_px, bold, color};
}

}  // namespace ui
