// The described pictures, drawn with GDI.
#include "app/pictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "win32/paint.h"

namespace win32ui {

namespace {

// Picture pixels to device pixels in the painter's rectangle.
struct Place {
  const Painter& p;
  int x(double v) const { return p.r.left + static_cast<int>(std::lround(v * p.scale)); }
  int y(double v) const { return p.r.top + static_cast<int>(std::lround(v * p.scale)); }
  // A fill covers the box; an outline is drawn on its edges, both included.
  RECT fill(const ui::Box& b) const {
    return RECT{x(b.left), y(b.top), x(b.left + b.width), y(b.top + b.height)};
  }
  RECT outline(const ui::Box& b) const {
    RECT r = fill(b);
    ++r.right;
    ++r.bottom;
    return r;
  }
  std::vector<POINT> points(const std::vector<ui::Point>& ps) const {
    std::vector<POINT> out;
    for (const ui::Point& pt : ps) out.push_back(POINT{x(pt.x), y(pt.y)});
    return out;
  }
};

HPEN MakePen(const Painter& p, const ui::Pen& pen) {
  const int width = std::max(1, static_cast<int>(std::lround(pen.width * p.scale)));
  LOGBRUSH brush{BS_SOLID, Rgb(pen.color), 0};
  const DWORD ends = pen.round ? PS_ENDCAP_ROUND | PS_JOIN_ROUND : PS_ENDCAP_SQUARE | PS_JOIN_BEVEL;
  return ::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | ends, static_cast<DWORD>(width), &brush, 0,
                        nullptr);
}

// Fills the inside of `region` as `fill` says; the region is the caller's.
void FillRegion(const Place& at, HRGN region, const ui::Fill& fill) {
  if (fill.kind == ui::Fill::Kind::none) return;
  if (fill.kind == ui::Fill::Kind::solid) {
    HBRUSH brush = ::CreateSolidBrush(Rgb(fill.color));
    ::FillRgn(at.p.dc, region, brush);
    ::DeleteObject(brush);
    return;
  }
  const int saved = ::SaveDC(at.p.dc);
  ::ExtSelectClipRgn(at.p.dc, region, RGN_AND);
  FillGradient(at.p.dc, at.fill(fill.over), fill.color, fill.to, true);
  ::RestoreDC(at.p.dc, saved);
}

// The region of a shape's inside; nullptr for a shape without one.
HRGN RegionOf(const Place& at, const ui::Shape& s) {
  using Kind = ui::Shape::Kind;
  const RECT r = at.outline(s.box);
  switch (s.kind) {
    case Kind::rect:
      return ::CreateRectRgn(r.left, r.top, r.right, r.bottom);
    case Kind::rounded_rect: {
      const int d = static_cast<int>(std::lround(2 * s.radius * at.p.scale));
      return ::CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, d, d);
    }
    case Kind::ellipse:
      return ::CreateEllipticRgn(r.left, r.top, r.right, r.bottom);
    case Kind::polygon: {
      const std::vector<POINT> pts = at.points(s.points);
      return ::CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), ALTERNATE);
    }
    case Kind::polyline:
    case Kind::text:
      break;
  }
  return nullptr;
}

void DrawOutline(const Place& at, const ui::Shape& s) {
  using Kind = ui::Shape::Kind;
  HPEN pen = MakePen(at.p, *s.pen);
  {
    Selected with_pen(at.p.dc, pen);
    Selected hollow(at.p.dc, ::GetStockObject(NULL_BRUSH));
    const RECT r = at.outline(s.box);
    std::vector<POINT> pts = at.points(s.points);
    if (s.kind == Kind::polygon && !pts.empty()) pts.push_back(pts.front());
    switch (s.kind) {
      case Kind::rect:
        ::Rectangle(at.p.dc, r.left, r.top, r.right, r.bottom);
        break;
      case Kind::rounded_rect: {
        const int d = static_cast<int>(std::lround(2 * s.radius * at.p.scale));
        ::RoundRect(at.p.dc, r.left, r.top, r.right, r.bottom, d, d);
        break;
      }
      case Kind::ellipse:
        ::Ellipse(at.p.dc, r.left, r.top, r.right, r.bottom);
        break;
      case Kind::polygon:
      case Kind::polyline:
        ::Polyline(at.p.dc, pts.data(), static_cast<int>(pts.size()));
        break;
      case Kind::text:
        break;
    }
  }
  ::DeleteObject(pen);
}

void DrawShape(const Place& at, const ui::Shape& s) {
  if (s.kind == ui::Shape::Kind::text) {
    PaintText(at.p, s.text, s.font, s.font.color, at.fill(s.box),
              DrawFlags(s.align) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  if (s.kind == ui::Shape::Kind::rect && !s.pen && s.fill.kind == ui::Fill::Kind::solid) {
    return FillSolid(at.p.dc, at.fill(s.box), s.fill.color);
  }
  if (HRGN region = RegionOf(at, s)) {
    FillRegion(at, region, s.fill);
    ::DeleteObject(region);
  }
  if (s.pen) DrawOutline(at, s);
}

}  // namespace

void PaintDrawing(const Painter& p, const ui::Drawing& drawing) {
  const Place at{p};
  const int saved = ::SaveDC(p.dc);
  const RECT bounds = at.fill(
      ui::Box{0, 0, static_cast<double>(drawing.width), static_cast<double>(drawing.height)});
  ::IntersectClipRect(p.dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  for (const ui::Shape& shape : drawing.shapes) DrawShape(at, shape);
  ::RestoreDC(p.dc, saved);
}

void PaintPicture(const Painter& p, const std::string& name) {
  if (const auto drawing = app::PictureNamed(name)) PaintDrawing(p, *drawing);
}

}  // namespace win32ui
