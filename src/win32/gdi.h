#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "ui/color.h"
#include "ui/control.h"
#include "ui/font.h"

namespace win32ui {

inline COLORREF Rgb(ui::Color c) {
  return RGB(c.r, c.g, c.b);
}

// Fills `r` with a gradient from `from` to `to`, top to bottom or left to right.
void FillGradient(HDC dc, const RECT& r, ui::Color from, ui::Color to, bool vertical);
// Fills `r` top to bottom with a gradient mirrored round its middle: `edge` at
// the top and bottom, `centre` in the middle.
void FillCentreGradient(HDC dc, const RECT& r, ui::Color edge, ui::Color centre);
void FillSolid(HDC dc, const RECT& r, ui::Color c);
// A one-pixel line from (x0, y0) to (x1, y1), both ends drawn.
void Line(HDC dc, int x0, int y0, int x1, int y1, ui::Color c);
UINT DrawFlags(ui::Align a);

// The fonts of a view, made once each at the view's scale and freed with it.
class FontCache {
 public:
  explicit FontCache(double scale) : scale_(scale) {}
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  HFONT get(const ui::Font& f);
  // The width of `text` in `f` and the font's line height, measured once each.
  SIZE text_size(const ui::Font& f, const std::string& text);

 private:
  using Key = std::tuple<std::string, int, bool, bool>;
  double scale_;
  std::map<Key, HFONT> fonts_;
  std::map<std::pair<Key, std::string>, SIZE> sizes_;
};

// Selects an object into a DC for the life of this object.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  ~Selected() { ::SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win32ui
