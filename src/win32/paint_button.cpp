// The skinned push button: a gradient face, rounded, with its Alt letter underlined.
#include "ui/button.h"
#include "win32/paint.h"

namespace win32ui {

namespace {

struct Face {
  ui::Color top;
  ui::Color bottom;
  ui::Color edge;
};

Face FaceFor(bool enabled, bool down) {
  if (!enabled) return {{244, 244, 244}, {218, 218, 222}, {170, 172, 180}};
  if (down) return {{176, 196, 232}, {226, 234, 250}, {0, 45, 110}};
  return {{255, 255, 255}, {196, 212, 240}, {0, 45, 110}};
}

constexpr int corner = 8;
constexpr int picture_size = 24;

void PaintFace(const Painter& p, const Face& f, bool focused, bool is_default) {
  const int d = p.s(corner);
  HRGN shape = ::CreateRoundRectRgn(p.r.left, p.r.top, p.r.right + 1, p.r.bottom + 1, d, d);
  const int saved = ::SaveDC(p.dc);
  ::SelectClipRgn(p.dc, shape);
  FillGradient(p.dc, p.r, f.top, f.bottom, true);
  ::RestoreDC(p.dc, saved);
  HBRUSH edge = ::CreateSolidBrush(Rgb(f.edge));
  const int width = is_default ? 2 : 1;
  ::FrameRgn(p.dc, shape, edge, width, width);
  ::DeleteObject(edge);
  ::DeleteObject(shape);
  if (!focused) return;
  HRGN ring =
      ::CreateRoundRectRgn(p.r.left + 2, p.r.top + 2, p.r.right - 1, p.r.bottom - 1, d - 2, d - 2);
  HBRUSH orange = ::CreateSolidBrush(RGB(255, 184, 40));
  ::FrameRgn(p.dc, ring, orange, 1, 1);
  ::DeleteObject(orange);
  ::DeleteObject(ring);
}

}  // namespace

void PaintButton(const Painter& p, const ui::Control& c, PaintState state) {
  const auto& b = static_cast<const ui::Button&>(c);
  const bool enabled = b.usable();
  if (b.face == ui::ButtonFace::plain) {
    RECT r = p.r;
    ::DrawFrameControl(
        p.dc, &r, DFC_BUTTON,
        DFCS_BUTTONPUSH | (state.pressed ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
    if (state.focused) {
      RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      ::DrawFocusRect(p.dc, &f);
    }
  } else {
    PaintFace(p, FaceFor(enabled, state.pressed), state.focused && enabled, b.is_default);
  }
  RECT text{p.r.left + p.s(2), p.r.top, p.r.right - p.s(2), p.r.bottom};
  if (b.has_picture) {
    const int size = p.s(picture_size);
    const int top = p.r.top + (p.r.bottom - p.r.top - size) / 2;
    Painter icon{p.dc, RECT{p.r.left + p.s(8), top, p.r.left + p.s(8) + size, top + size}, p.scale,
                 p.fonts};
    PaintPicture(icon, "open_file");
    text.left = icon.r.right;
  }
  if (state.pressed) ::OffsetRect(&text, 1, 1);
  const ui::Color colour = enabled ? b.font.color : ui::Color{150, 150, 156};
  PaintText(p, b.caption, b.font, colour, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace win32ui
