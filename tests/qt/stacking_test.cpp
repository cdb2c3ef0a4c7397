// Widgets stack as their components do: later panels cover earlier ones.
#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace {

using StackingTest = MainWindowFixture;

// The names of the widgets that show components, bottom to top.
QStringList StackOf(const qtui::FormView& view, const QWidget& parent) {
  QStringList names;
  for (const QObject* child : parent.children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (w != nullptr && view.control_of(w) != nullptr && view.widget_of(*view.control_of(w)) == w) {
      names.push_back(w->objectName());
    }
  }
  return names;
}

void ExpectSameStack(const qtui::FormView& view, const ui::Control& c) {
  QStringList expected;
  for (const ui::Control* child : c.children()) {
    expected.push_back(QString::fromStdString(child->name()));
  }
  EXPECT_EQ(StackOf(view, *view.widget_of(c)), expected) << c.name();
  for (const ui::Control* child : c.children()) ExpectSameStack(view, *child);
}

TEST_F(StackingTest, WidgetsStackInTheComponentsOrder) {
  ExpectSameStack(view, form);
}

// What the user sees at `at` (a point of the window's client area) belongs to `owner`.
::testing::AssertionResult TopmostAtIs(const qtui::FormView& view, QPoint at,
                                       const ui::Control& owner) {
  const QWidget* hit = view.root()->childAt(at + QPoint(2, 24));
  for (const ui::Control* c = view.control_of(hit); c != nullptr; c = c->parent()) {
    if (c == &owner) return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "topmost at " << at.x() << "," << at.y() << " is "
                                       << (hit ? hit->objectName().toStdString() : "nothing");
}

TEST_F(StackingTest, LaterPanelsCoverEarlierOnesWhereTheyOverlap) {
  const struct {
    std::vector<ui::Panel*> shown;
    QPoint at;
    ui::Panel* on_top;
  } cases[] = {
      {{&form.Panel_ready_for_download, &form.Panel_communication_offline},
       QPoint(20, 200),
       &form.Panel_communication_offline},
      {{&form.GroupBox_gauge_up_down_loading, &form.Panel_ready_for_download},
       QPoint(120, 200),
       &form.Panel_ready_for_download},
      {{&form.Panel_olderversion_text, &form.Panel_tekstveld},
       QPoint(100, 200),
       &form.Panel_tekstveld},
      {{&form.Panel_communication_offline, &form.GroupBox_set_communicationport},
       QPoint(20, 250),
       &form.GroupBox_set_communicationport},
      {{&form.GroupBox_set_communicationport, &form.Panel_Acces_level_problem},
       QPoint(100, 100),
       &form.Panel_Acces_level_problem},
      {{&form.Panel_Acces_level_problem}, QPoint(30, 30), &form.GroupBox_File_info},
  };
  for (const auto& c : cases) {
    for (ui::Panel* p : c.shown) p->visible = true;
    view.sync();
    EXPECT_TRUE(TopmostAtIs(view, c.at, *c.on_top));
    for (ui::Panel* p : c.shown) p->visible = false;
  }
}

TEST_F(StackingTest, ShownButtonOfASharedRowIsTheOneHit) {
  form.ShowRefusalForm("a", "b", "");
  view.sync();
  const QPoint ok_centre(8 + 192 + 36, 168 + 74 + 12);
  EXPECT_TRUE(TopmostAtIs(view, ok_centre, form.Button_ok_communication_offline));
  form.ShowOfflineForm("a", "b", "");
  view.sync();
  const QPoint retry_left_half(8 + 144 + 20, 168 + 74 + 12);
  EXPECT_TRUE(TopmostAtIs(view, retry_left_half, form.Button_Retry_communication_offline));
}

}  // namespace
