#include "win32/gdi.h"

#include <cmath>

namespace win32ui {

namespace {

TRIVERTEX Vertex(LONG x, LONG y, ui::Color c) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(c.r << 8);
  v.Green = static_cast<COLOR16>(c.g << 8);
  v.Blue = static_cast<COLOR16>(c.b << 8);
  return v;
}

}  // namespace

void FillGradient(HDC dc, const RECT& r, ui::Color from, ui::Color to, bool vertical) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  TRIVERTEX v[2] = {Vertex(r.left, r.top, from), Vertex(r.right, r.bottom, to)};
  GRADIENT_RECT g{0, 1};
  ::GradientFill(dc, v, 2, &g, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void FillCentreGradient(HDC dc, const RECT& r, ui::Color edge, ui::Color centre) {
  const LONG middle = r.top + (r.bottom - r.top) / 2;
  FillGradient(dc, RECT{r.left, r.top, r.right, middle}, edge, centre, true);
  FillGradient(dc, RECT{r.left, middle, r.right, r.bottom}, centre, edge, true);
}

void FillSolid(HDC dc, const RECT& r, ui::Color c) {
  const COLORREF old = ::SetBkColor(dc, Rgb(c));
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  ::SetBkColor(dc, old);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, ui::Color c) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, Rgb(c));
  {
    Selected s(dc, pen);
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
    ::SetPixel(dc, x1, y1, Rgb(c));
  }
  ::DeleteObject(pen);
}

UINT DrawFlags(ui::Align a) {
  switch (a) {
    case ui::Align::center:
      return DT_CENTER;
    case ui::Align::right:
      return DT_RIGHT;
    case ui::Align::left:
      break;
  }
  return DT_LEFT;
}

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) ::DeleteObject(font);
}

HFONT FontCache::get(const ui::Font& f) {
  const int px = f.size_px > 0 ? f.size_px : 11;
  const auto key = std::make_tuple(f.family, px, f.bold, f.italic);
  const auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  // A negative height asks for the character height, as the layout's pixel sizes mean.
  const int height = -static_cast<int>(std::lround(px * scale_));
  HFONT font = ::CreateFontA(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic ? TRUE : FALSE,
                             FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, f.family.c_str());
  fonts_.emplace(key, font);
  return font;
}

SIZE FontCache::text_size(const ui::Font& f, const std::string& text) {
  const auto key = std::make_pair(std::make_tuple(f.family, f.size_px, f.bold, f.italic), text);
  const auto it = sizes_.find(key);
  if (it != sizes_.end()) return it->second;
  SIZE size{0, 0};
  HDC dc = ::GetDC(nullptr);
  {
    Selected s(dc, get(f));
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    if (!text.empty()) {
      ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    size.cy = tm.tmHeight;
  }
  ::ReleaseDC(nullptr, dc);
  sizes_.emplace(key, size);
  return size;
}

}  // namespace win32ui
