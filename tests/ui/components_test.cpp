#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/gauge.h"
#include "ui/panel.h"
#include "ui/scripted_dialogs.h"

namespace {

TEST(Button, TakesAPressOnlyWhileShownAndUsable) {
  struct Case {
    bool panel_visible, panel_enabled, visible, enabled, pressed;
  };
  const Case cases[] = {
      {true, true, true, true, true},   {false, true, true, true, false},
      {true, false, true, true, false}, {true, true, false, true, false},
      {true, true, true, false, false},
  };
  for (const Case& c : cases) {
    ui::Form form("f");
    ui::Panel panel(&form, "p");
    ui::Button button(&panel, "b");
    int clicks = 0;
    button.on_click = [&] { ++clicks; };
    panel.visible = c.panel_visible;
    panel.enabled = c.panel_enabled;
    button.visible = c.visible;
    button.enabled = c.enabled;
    EXPECT_EQ(button.click(), c.pressed);
    EXPECT_EQ(clicks, c.pressed ? 1 : 0);
  }
}

TEST(Button, AcceleratorIsTheLetterAfterTheFirstSingleAmpersand) {
  const std::pair<const char*, char> cases[] = {
      {"&Download", 'D'}, {"&ok", 'O'}, {"Open file", 0}, {"A&&B &Cancel", 'C'}, {"end&", 0}};
  for (auto [caption, key] : cases) {
    ui::Button b(nullptr, "b");
    b.caption = caption;
    EXPECT_EQ(b.accelerator(), key) << caption;
  }
}

TEST(ComboBox, PickingSelectsTypingClearsTheSelection) {
  ui::ComboBox c(nullptr, "c");
  c.set_items({"COM3", "COM10"});
  EXPECT_EQ(c.item_index, -1);
  c.select(1);
  EXPECT_EQ(c.item_index, 1);
  EXPECT_EQ(c.text, "COM10");
  c.type_text("COM7");
  EXPECT_EQ(c.item_index, -1);
  EXPECT_EQ(c.text, "COM7");
  c.select(5);  // past the list: nothing selected, text kept
  EXPECT_EQ(c.item_index, -1);
  EXPECT_EQ(c.text, "COM7");
  c.shown_as = [](const std::string& s) { return "<" + s + ">"; };
  EXPECT_EQ(c.shown_item(1), "<COM10>");
  EXPECT_EQ(c.shown_text(), "<COM7>");
  EXPECT_EQ(c.text, "COM7") << "only shown so";
}

TEST(CheckBox, ClickTogglesThenTellsTheHandler) {
  ui::CheckBox box(nullptr, "c");
  box.checked = true;
  bool seen = true;
  box.on_click = [&] { seen = box.checked; };
  box.click();
  EXPECT_FALSE(seen);
  box.enabled = false;
  EXPECT_FALSE(box.click());
  EXPECT_FALSE(box.checked);
}

TEST(Gauge, PercentIsWholeAndClamped) {
  const struct {
    int max, progress, percent;
  } cases[] = {{100, 40, 40},
               {0, 0, 0},
               {3, 1, 33},
               {3, 3, 100},
               {10, 12, 100},
               {10, -1, 0},
               {1'000'000'000, 999'999'999, 99}};
  for (const auto& c : cases) {
    ui::Gauge g(nullptr, "g");
    g.max_value = c.max;
    g.progress = c.progress;
    EXPECT_EQ(g.percent(), c.percent) << c.max << "/" << c.progress;
  }
}

TEST(ScriptedDialogs, RecordsBoxesAndAnswersFromItsScript) {
  ui::ScriptedDialogs d;
  d.answers = {ui::Answer::yes};
  EXPECT_EQ(d.message(ui::BoxKind::warning, "w"), ui::Answer::ok);
  EXPECT_EQ(d.message(ui::BoxKind::question, "q1"), ui::Answer::yes);
  EXPECT_EQ(d.message(ui::BoxKind::question, "q2"), ui::Answer::no);
  ASSERT_EQ(d.boxes.size(), 3u);
  EXPECT_EQ(d.boxes[1].buttons, ui::BoxButtons::yes_no);
  EXPECT_FALSE(d.open_file({{"All", "*.fm0"}}, "/opt/zek/").has_value());
  EXPECT_EQ(d.file_requests.at(0).initial_folder, "/opt/zek/");
}

}  // namespace
