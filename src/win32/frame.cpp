#include "win32/frame.h"

#include <cmath>

#include "ui/panel.h"
#include "win32/gdi.h"

namespace win32ui {

namespace {

constexpr int form_corner = 30;  // across: a radius of 15
constexpr int close_width = 21;
constexpr int close_height = 17;
constexpr int combo_list_height = 160;
const char* const close_property = "zek.close";

int Scaled(int px, double scale) {
  return static_cast<int>(std::lround(px * scale));
}

// Rounded top corners, square bottom ones.
void ShapeForm(HWND root, const ui::Form& form, int w, int h, double scale) {
  if (form.frame != ui::Frame::custom) return;
  const int d = Scaled(form_corner, scale);
  HRGN shape = ::CreateRoundRectRgn(0, 0, w + 1, h + 1, d, d);
  HRGN bottom = ::CreateRectRgn(0, d / 2, w, h);
  ::CombineRgn(shape, shape, bottom, RGN_OR);
  ::DeleteObject(bottom);
  ::SetWindowRgn(root, shape, TRUE);  // the window owns the region now
}

void PlaceCloseButton(HWND root, const ui::Form& form, int w, double scale) {
  HWND close = static_cast<HWND>(::GetPropA(root, close_property));
  if (close == nullptr) return;
  const int cw = Scaled(close_width, scale);
  const int ch = Scaled(close_height, scale);
  const int x = w - Scaled(form.border + 3, scale) - cw;
  const int y = (Scaled(form.caption_height, scale) - ch) / 2;
  ::SetWindowPos(close, nullptr, x, y, cw, ch, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void RememberCloseButton(HWND root, HWND close) {
  ::SetPropA(root, close_property, close);
}

void SyncFormWindow(HWND root, const ui::Form& form, double scale, bool placed) {
  char text[512] = {};
  ::GetWindowTextA(root, text, sizeof text);
  if (form.caption != text) ::SetWindowTextA(root, form.caption.c_str());
  RECT r;
  ::GetWindowRect(root, &r);
  const int w = Scaled(form.width, scale);
  const int h = Scaled(form.height, scale);
  if (r.right - r.left != w || r.bottom - r.top != h || !placed) {
    ::SetWindowPos(root, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShapeForm(root, form, w, h, scale);
    PlaceCloseButton(root, form, w, scale);
  }
  POINT at{Scaled(form.left, scale), Scaled(form.top, scale)};
  if (form.centred) {
    if (placed) return;
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    at = POINT{work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2};
  }
  if (r.left != at.x || r.top != at.y) {
    ::SetWindowPos(root, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int PanelCorner(double scale) {
  return Scaled(16, scale);
}

void PlaceWindow(HWND hwnd, const ui::Control& c, RECT place, double scale) {
  const int w = place.right - place.left;
  int h = place.bottom - place.top;
  // A drop-down combo box keeps its closed height; the height it is given is
  // that of its open list.
  if (c.kind() == ui::Kind::combo_box) h += Scaled(combo_list_height, scale);
  ::SetWindowPos(hwnd, nullptr, place.left, place.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  if (c.kind() == ui::Kind::panel && static_cast<const ui::Panel&>(c).rounded) {
    const int d = PanelCorner(scale);
    ::SetWindowRgn(hwnd, ::CreateRoundRectRgn(0, 0, w + 1, h + 1, d, d), TRUE);
  }
}

namespace {

int OuterHeight(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return r.bottom - r.top;
}
}  // namespace

// The box's height is its selection field's plus edges; some systems keep a
// margin of their own in the field's height, so it is set by what comes out.
void FitComboHeight(HWND combo, int height, double scale) {
  LRESULT field = ::SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int tries = 0; tries < 3 && field != CB_ERR; ++tries) {
    const int now = OuterHeight(combo);
    if (now == height || field + height - now < 1) return;
    field += height - now;
    ::SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    RECT r;
    ::GetWindowRect(combo, &r);
    ::SetWindowPos(combo, nullptr, 0, 0, r.right - r.left,
                   height + Scaled(combo_list_height, scale),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace win32ui
