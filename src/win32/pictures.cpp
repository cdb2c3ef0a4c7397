// The pictures the window shows, drawn here rather than loaded from files.
#include "texts/texts.h"
#include "win32/paint.h"

namespace win32ui {

namespace {

// The maker's logo: "ZEK" lettering beside a cog, in the 16 standard colours,
// 630 x 299 and cut at the right edge of its place.
void PaintMakerLogo(const Painter& p) {
  const RECT& r = p.r;
  const RECT logo{r.left, r.top, r.left + p.s(630), r.top + p.s(299)};
  FillSolid(p.dc, logo, ui::colors::navy);
  FillSolid(p.dc, RECT{logo.left, logo.top + p.s(230), logo.right, logo.top + p.s(238)},
            ui::colors::yellow);
  for (int i = 0; i < 8; ++i) {
    const int x = logo.left + p.s(360 + i * 30);
    FillSolid(p.dc, RECT{x, logo.top + p.s(40), x + p.s(4), logo.top + p.s(200)}, {0, 128, 128});
  }
  HBRUSH grey = ::CreateSolidBrush(RGB(192, 192, 192));
  {
    Selected b(p.dc, grey);
    Selected pen(p.dc, ::GetStockObject(NULL_PEN));
    ::Ellipse(p.dc, logo.left + p.s(440), logo.top + p.s(60), logo.left + p.s(580),
              logo.top + p.s(200));
  }
  ::DeleteObject(grey);
  ::SelectObject(p.dc, ::GetStockObject(NULL_PEN));
  Selected dark(p.dc, ::GetStockObject(BLACK_BRUSH));
  ::Ellipse(p.dc, logo.left + p.s(485), logo.top + p.s(105), logo.left + p.s(535),
            logo.top + p.s(155));
  const RECT letters{logo.left + p.s(40), logo.top + p.s(50), logo.left + p.s(420),
                     logo.top + p.s(210)};
  PaintText(p, "ZEK", ui::arial(150, true, ui::colors::black), ui::colors::black,
            RECT{letters.left + p.s(6), letters.top + p.s(6), letters.right, letters.bottom},
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  PaintText(p, "ZEK", ui::arial(150, true, ui::colors::white), ui::colors::red, letters,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  PaintText(p, "ENGINE MANAGEMENT SYSTEMS", ui::arial(22, true, ui::colors::white),
            ui::colors::white,
            RECT{logo.left + p.s(40), logo.top + p.s(245), logo.right, logo.top + p.s(290)},
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The unit's user access-level settings as they must be set: 329 x 160.
void PaintAccessLevel(const Painter& p) {
  const RECT& r = p.r;
  FillSolid(p.dc, r, ui::colors::silver);
  FillGradient(p.dc, RECT{r.left, r.top, r.right, r.top + p.s(20)}, ui::colors::navy,
               {16, 132, 208}, false);
  PaintText(p, "Unit settings - User access level", ui::arial(11, true, ui::colors::white),
            ui::colors::white, RECT{r.left + p.s(6), r.top, r.right, r.top + p.s(20)},
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  int y = r.top + p.s(30);
  for (const auto& o : texts::access_level_options) {
    RECT box{r.left + p.s(14), y, r.left + p.s(27), y + p.s(13)};
    ::DrawFrameControl(p.dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (o.on ? DFCS_CHECKED : 0));
    PaintText(p, o.text, ui::arial(11, false, ui::colors::black), ui::colors::black,
              RECT{r.left + p.s(34), y - p.s(2), r.left + p.s(220), y + p.s(15)},
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    y += p.s(24);
  }
  for (const auto& [top, text] : {std::pair{100, "OK"}, std::pair{128, "Cancel"}}) {
    RECT b{r.left + p.s(236), r.top + p.s(top), r.left + p.s(316), r.top + p.s(top + 22)};
    ::DrawFrameControl(p.dc, &b, DFC_BUTTON, DFCS_BUTTONPUSH);
    PaintText(p, text, ui::arial(11, false, ui::colors::black), ui::colors::black, b,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

// A yellow folder: the small picture of the "Open file" button.
void PaintFolder(const Painter& p) {
  const RECT& r = p.r;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  FillSolid(p.dc, RECT{r.left + w / 12, r.top + h / 5, r.left + w / 2, r.top + h / 3},
            {200, 160, 0});
  FillGradient(p.dc, RECT{r.left + w / 12, r.top + h / 3, r.right - w / 12, r.bottom - h / 8},
               {255, 230, 120}, {230, 180, 20}, true);
  HBRUSH edge = ::CreateSolidBrush(RGB(150, 110, 0));
  const RECT body{r.left + w / 12, r.top + h / 3, r.right - w / 12, r.bottom - h / 8};
  ::FrameRect(p.dc, &body, edge);
  ::DeleteObject(edge);
}

}  // namespace

void PaintPicture(const Painter& p, const std::string& name) {
  if (name == "maker_logo") return PaintMakerLogo(p);
  if (name == "access_level") return PaintAccessLevel(p);
  if (name == "open_file") return PaintFolder(p);
}

}  // namespace win32ui
