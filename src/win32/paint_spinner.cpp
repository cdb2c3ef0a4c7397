// The circular spinner: twelve segments of a ring, segment 0 centred on twelve
// o'clock, turning clockwise.
#include <cmath>
#include <vector>

#include "ui/spinner.h"
#include "win32/paint.h"

namespace win32ui {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double gap_degrees = 6;
constexpr int arc_points = 6;

ui::Color SegmentColour(const ui::Spinner& s, int i) {
  const int n = ui::Spinner::segments;
  if (i == s.step) return s.active;
  if (i == (s.step + 1) % n) return s.transition;
  if (i == (s.step + n - 1) % n) return s.progress_color;
  return s.inactive;
}

POINT At(double cx, double cy, double radius, double degrees) {
  const double a = degrees * pi / 180;
  return POINT{static_cast<LONG>(std::lround(cx + radius * std::sin(a))),
               static_cast<LONG>(std::lround(cy - radius * std::cos(a)))};
}

}  // namespace

void PaintSpinner(const Painter& p, const ui::Control& c) {
  const auto& s = static_cast<const ui::Spinner&>(c);
  const double w = p.r.right - p.r.left;
  const double h = p.r.bottom - p.r.top;
  const double outer = std::min(w, h) / 2 - 1;
  const double inner = outer * 0.6;
  const double cx = p.r.left + w / 2;
  const double cy = p.r.top + h / 2;
  const int n = ui::Spinner::segments;
  const double span = 360.0 / n;
  const double sweep = span - gap_degrees;
  ::SelectObject(p.dc, ::GetStockObject(NULL_PEN));
  for (int i = 0; i < n; ++i) {
    const double from = i * span - sweep / 2;
    std::vector<POINT> points;
    for (int k = 0; k <= arc_points; ++k)
      points.push_back(At(cx, cy, outer, from + sweep * k / arc_points));
    for (int k = arc_points; k >= 0; --k)
      points.push_back(At(cx, cy, inner, from + sweep * k / arc_points));
    HBRUSH b = ::CreateSolidBrush(Rgb(SegmentColour(s, i)));
    {
      Selected sel(p.dc, b);
      ::Polygon(p.dc, points.data(), static_cast<int>(points.size()));
    }
    ::DeleteObject(b);
  }
}

}  // namespace win32ui
