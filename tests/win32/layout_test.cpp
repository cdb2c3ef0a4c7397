// Every component's window, or drawing, lies where the layout puts it, at 96
// dpi and scaled for a denser screen, in each state the user meets.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "app/opening_screen.h"
#include "texts/texts.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "win32/form_view.h"
#include "window_fixture.h"

namespace {

int S(int px, double scale) {
  return static_cast<int>(std::lround(px * scale));
}

// Where children of `parent` lie inside its window: below the custom frame's
// 24 px caption bar and inside its 2 px border, or below a panel's title.
POINT ExpectedOrigin(const ui::Control& parent) {
  if (parent.kind() == ui::Kind::form) {
    return static_cast<const ui::Form&>(parent).frame == ui::Frame::custom ? POINT{2, 24}
                                                                           : POINT{0, 0};
  }
  if (parent.kind() == ui::Kind::panel) {
    return POINT{0, static_cast<const ui::Panel&>(parent).title_height};
  }
  return POINT{0, 0};
}

// The rectangle of `hwnd` in its parent's client area.
RECT PlaceInParent(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

void ExpectPlace(const win32ui::FormView& view, const ui::Control& c, double s) {
  const POINT o = ExpectedOrigin(*c.parent());
  const int x = S(o.x + c.left, s);
  const int y = S(o.y + c.top, s);
  HWND hwnd = view.window_of(c);
  const auto* label = c.kind() == ui::Kind::label ? static_cast<const ui::Label*>(&c) : nullptr;
  const RECT r = hwnd != nullptr ? PlaceInParent(hwnd) : view.place_of(c);
  if (label == nullptr || !label->auto_size) {
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right - r.left, S(c.width, s));
    EXPECT_EQ(r.bottom - r.top, S(c.height, s));
    return;
  }
  // A self-sizing label keeps its left edge, or its right edge when aligned right.
  EXPECT_EQ(r.top, y);
  if (label->align == ui::Align::right) {
    EXPECT_EQ(r.right, x + S(c.width, s));
  } else {
    EXPECT_EQ(r.left, x);
  }
  EXPECT_EQ(r.right > r.left, !c.caption.empty());
  EXPECT_GT(r.bottom, r.top);
}

void ExpectWindowState(HWND hwnd, const ui::Control& c, double s) {
  EXPECT_EQ(::IsWindowVisible(hwnd) != FALSE, c.showing());
  EXPECT_EQ(::IsWindowEnabled(hwnd) != FALSE, c.enabled);
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -S(c.font.size_px, s));
  EXPECT_EQ(font.lfWeight >= FW_BOLD, c.font.bold);
  const bool untitled =
      c.kind() == ui::Kind::panel && static_cast<const ui::Panel&>(c).title_height == 0;
  if (c.kind() != ui::Kind::combo_box) {
    EXPECT_EQ(TextOf(hwnd), untitled ? "" : c.caption);
  }
}

void ExpectWindowsFollow(const win32ui::FormView& view, const ui::Control& c, double s) {
  for (const ui::Control* child : c.children()) {
    SCOPED_TRACE(child->name());
    ExpectPlace(view, *child, s);
    if (HWND hwnd = view.window_of(*child)) {
      EXPECT_EQ(::GetParent(hwnd), view.window_of(c));
      ExpectWindowState(hwnd, *child, s);
    } else {
      EXPECT_TRUE(child->kind() == ui::Kind::label || child->kind() == ui::Kind::spinner);
    }
    ExpectWindowsFollow(view, *child, s);
  }
}

void ExpectFormWindow(const win32ui::FormView& view, const ui::Form& f, double s) {
  RECT r;
  ::GetWindowRect(view.root(), &r);
  EXPECT_EQ(r.right - r.left, S(f.width, s));
  EXPECT_EQ(r.bottom - r.top, S(f.height, s));
  EXPECT_EQ(TextOf(view.root()), f.caption);
}

const struct State {
  const char* name;
  std::function<void(TForm1&)> set_up;
} states[] = {
    {"rest", [](TForm1&) {}},
    {"ready", [](TForm1& f) { f.ShowReadyPanel(TForm1::ReadyButtons::download_cancel, "a", "b"); }},
    {"offline over ready",
     [](TForm1& f) {
       f.ShowReadyPanel(TForm1::ReadyButtons::ok, "a", "b");
       f.ShowOfflineForm(texts::offline_1, texts::offline_2, "");
     }},
    {"older version", [](TForm1& f) { f.ShowOlderVersionPanel(texts::older_1, texts::older_2); }},
    {"message, 3 lines",
     [](TForm1& f) {
       f.SizeMessagePanel(3);
       f.Panel_tekstveld.visible = true;
     }},
    {"access level", [](TForm1& f) { f.Panel_Acces_level_problem.visible = true; }},
    {"gauge and spinner",
     [](TForm1& f) {
       f.Gauge_up_down_loading.progress = 40;
       f.GroupBox_gauge_up_down_loading.visible = true;
       f.ShowBusy(true);
     }},
    {"port settings",
     [](TForm1& f) {
       f.GroupBox_set_communicationport.visible = true;
       f.CheckBox_Autoselect_comport.checked = false;
       f.ApplyAutoselectAppearance();
     }},
};

class LayoutTest : public WindowFixture, public ::testing::WithParamInterface<double> {
 protected:
  LayoutTest() : WindowFixture(GetParam()) {}
};

TEST_P(LayoutTest, WindowsFollowTheLayoutInEveryState) {
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    state.set_up(form);
    view->sync();
    Pump();
    ExpectFormWindow(*view, form, GetParam());
    ExpectWindowsFollow(*view, form, GetParam());
  }
}

TEST_P(LayoutTest, OpeningScreenFollowsItsLayout) {
  TOKBottomDlg_openingsscherm screen;
  win32ui::FormView opening(screen, nullptr, GetParam());
  ExpectFormWindow(opening, screen, GetParam());
  ExpectWindowsFollow(opening, screen, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Scales, LayoutTest, ::testing::Values(1.0, 1.5));

}  // namespace
