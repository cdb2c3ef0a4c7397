#include "win32/paint.h"

#include <cmath>

#include "ui/gauge.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/static_text.h"

namespace win32ui {

namespace {

constexpr ui::Color shadow{128, 128, 128};

void PaintLabel(const Painter& p, const ui::Label& l) {
  PaintText(p, l.caption, l.font, l.font.color, p.r,
            DrawFlags(l.align) | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
}

void PaintStaticText(const Painter& p, const ui::StaticText& t) {
  const RECT& r = p.r;
  FillSolid(p.dc, r, t.background);
  int inset = 2;
  if (t.sunken) {
    Line(p.dc, r.left, r.top, r.right - 1, r.top, shadow);
    Line(p.dc, r.left, r.top, r.left, r.bottom - 1, shadow);
    Line(p.dc, r.left, r.bottom - 1, r.right - 1, r.bottom - 1, ui::colors::white);
    Line(p.dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, ui::colors::white);
    inset = 3;
  }
  const RECT text{r.left + p.s(inset), r.top + 1, r.right - p.s(inset), r.bottom - 1};
  PaintText(p, t.caption, t.font, t.font.color, text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The percentage in the bar's colour over the empty part and in the
// background's over the bar, so that every digit stands out.
void PaintGauge(const Painter& p, const ui::Gauge& g) {
  const RECT inner{p.r.left + 1, p.r.top + 1, p.r.right - 1, p.r.bottom - 1};
  const int percent = g.percent();
  const RECT bar{inner.left, inner.top, inner.left + (inner.right - inner.left) * percent / 100,
                 inner.bottom};
  const RECT rest{bar.right, inner.top, inner.right, inner.bottom};
  FillSolid(p.dc, inner, g.background);
  FillSolid(p.dc, bar, g.bar);
  ::FrameRect(p.dc, &p.r, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
  const std::string text = std::to_string(percent) + "%";
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  for (const auto& [area, colour] : {std::pair{rest, g.bar}, std::pair{bar, g.background}}) {
    const int saved = ::SaveDC(p.dc);
    ::IntersectClipRect(p.dc, area.left, area.top, area.right, area.bottom);
    PaintText(p, text, g.font, colour, inner, flags);
    ::RestoreDC(p.dc, saved);
  }
}

void PaintGroupBox(const Painter& p, const ui::GroupBox& g) {
  FillSolid(p.dc, p.r, g.background);
  HFONT font = p.fonts.get(g.font);
  Selected s(p.dc, font);
  TEXTMETRICA tm{};
  ::GetTextMetricsA(p.dc, &tm);
  RECT frame = p.r;
  frame.top += tm.tmHeight / 2;
  ::DrawEdge(p.dc, &frame, EDGE_ETCHED, BF_RECT);
  SIZE size{};
  ::GetTextExtentPoint32A(p.dc, g.caption.c_str(), static_cast<int>(g.caption.size()), &size);
  const RECT title{p.r.left + p.s(8), p.r.top, p.r.left + p.s(8) + size.cx + p.s(4),
                   p.r.top + tm.tmHeight};
  FillSolid(p.dc, title, g.background);
  PaintText(p, g.caption, g.font, g.font.color, title,
            DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

int Painter::s(int px) const {
  return static_cast<int>(std::lround(px * scale));
}

void PaintText(const Painter& p, const std::string& text, const ui::Font& font, ui::Color colour,
               RECT r, UINT flags) {
  Selected s(p.dc, p.fonts.get(font));
  ::SetBkMode(p.dc, TRANSPARENT);
  ::SetTextColor(p.dc, Rgb(colour));
  ::DrawTextA(p.dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void PaintComponent(const Painter& p, const ui::Control& c, PaintState state) {
  switch (c.kind()) {
    case ui::Kind::panel:
      return PaintPanel(p, c);
    case ui::Kind::button:
      return PaintButton(p, c, state);
    case ui::Kind::label:
      return PaintLabel(p, static_cast<const ui::Label&>(c));
    case ui::Kind::static_text:
      return PaintStaticText(p, static_cast<const ui::StaticText&>(c));
    case ui::Kind::gauge:
      return PaintGauge(p, static_cast<const ui::Gauge&>(c));
    case ui::Kind::group_box:
      return PaintGroupBox(p, static_cast<const ui::GroupBox&>(c));
    case ui::Kind::spinner:
      return PaintSpinner(p, c);
    case ui::Kind::picture:
      return PaintPicture(p, static_cast<const ui::Picture&>(c).image);
    case ui::Kind::form:
    case ui::Kind::combo_box:
    case ui::Kind::check_box:
      break;  // the system's own controls draw themselves
  }
}

}  // namespace win32ui
