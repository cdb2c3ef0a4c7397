// Panels, the form's own frame and its close button.
#include "ui/panel.h"
#include "win32/frame.h"
#include "win32/paint.h"

namespace win32ui {

namespace {

// The caption bar's gradient is mirrored round its middle: darker at the edges.
constexpr ui::Color caption_edge{31, 75, 142};
constexpr ui::Color caption_centre{75, 122, 191};
constexpr ui::Color frame_border{168, 188, 216};
constexpr int title_margin = 6;

void PaintBevel(const Painter& p) {
  const RECT& r = p.r;
  Line(p.dc, r.left, r.top, r.right - 1, r.top, ui::colors::white);
  Line(p.dc, r.left, r.top, r.left, r.bottom - 1, ui::colors::white);
  Line(p.dc, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, ui::colors::grey);
  Line(p.dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, ui::colors::grey);
}

void PaintTitle(const Painter& p, const ui::Panel& panel) {
  const RECT bar{p.r.left, p.r.top, p.r.right, p.r.top + p.s(panel.title_height)};
  const bool vertical = panel.direction == ui::GradientDirection::vertical;
  FillGradient(p.dc, bar, panel.title_from, panel.title_to, vertical);
  const RECT text{bar.left + p.s(title_margin), bar.top, bar.right - p.s(title_margin), bar.bottom};
  PaintText(p, panel.shown_title(), panel.title_font, panel.title_font.color, text,
            DrawFlags(panel.title_align) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

void PaintPanel(const Painter& p, const ui::Control& c) {
  const auto& panel = static_cast<const ui::Panel&>(c);
  const bool vertical = panel.direction == ui::GradientDirection::vertical;
  FillGradient(p.dc, p.r, panel.face_from, panel.face_to, vertical);
  if (panel.title_height > 0) PaintTitle(p, panel);
  if (panel.white_border) {
    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    if (panel.rounded) {
      const int d = PanelCorner(p.scale);
      HRGN outline = ::CreateRoundRectRgn(p.r.left, p.r.top, p.r.right + 1, p.r.bottom + 1, d, d);
      ::FrameRgn(p.dc, outline, white, 1, 1);
      ::DeleteObject(outline);
    } else {
      ::FrameRect(p.dc, &p.r, white);
    }
  } else if (panel.bevel && !panel.rounded) {
    PaintBevel(p);
  }
}

void PaintForm(const Painter& p, const ui::Form& form) {
  const RECT& r = p.r;
  if (form.frame == ui::Frame::custom) {
    FillSolid(p.dc, r, frame_border);
    const RECT bar{r.left + 1, r.top + 1, r.right - 1, r.top + p.s(form.caption_height)};
    FillCentreGradient(p.dc, bar, caption_edge, caption_centre);
    ui::Font font = form.font;
    font.size_px = 13;
    font.bold = true;
    const int close_left = r.right - p.s(form.border + 21 + 3);
    const RECT text{r.left + p.s(10), r.top, close_left - p.s(4), bar.bottom};
    PaintText(p, form.caption, font, ui::colors::white, text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  const RECT client{r.left + p.s(form.client_left()), r.top + p.s(form.client_top()),
                    r.left + p.s(form.client_left() + form.client_width()),
                    r.top + p.s(form.client_top() + form.client_height())};
  FillSolid(p.dc, client, form.base);
  FillCentreGradient(p.dc, client, form.client_from, form.client_to);
}

void PaintCloseButton(const Painter& p, bool pressed) {
  const RECT& r = p.r;
  FillGradient(p.dc, r, pressed ? ui::Color{170, 40, 30} : ui::Color{232, 118, 102},
               pressed ? ui::Color{220, 90, 70} : ui::Color{199, 56, 38}, true);
  ::FrameRect(p.dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  HPEN pen = ::CreatePen(PS_SOLID, p.s(2), RGB(255, 255, 255));
  {
    Selected s(p.dc, pen);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int cx = r.left + w / 2;
    const int cy = r.top + h / 2;
    const int a = p.s(4);
    ::MoveToEx(p.dc, cx - a, cy - a, nullptr);
    ::LineTo(p.dc, cx + a + 1, cy + a + 1);
    ::MoveToEx(p.dc, cx + a, cy - a, nullptr);
    ::LineTo(p.dc, cx - a - 1, cy + a + 1);
  }
  ::DeleteObject(pen);
}

}  // namespace win32ui
