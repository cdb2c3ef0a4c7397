// Every component's widget follows the component after a change and a sync.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "main_window_fixture.h"
#include "qt/gauge_widget.h"
#include "texts/texts.h"
#include "widget_expectations.h"

namespace {

using ViewSyncTest = MainWindowFixture;

struct Change {
  const char* what;
  std::function<void(TForm1&)> apply;
};

const Change changes[] = {
    {"move a panel",
     [](TForm1& f) {
       f.Panel_ready_for_download.visible = true;
       f.Panel_ready_for_download.move_to(20, 30);
     }},
    {"show a panel", [](TForm1& f) { f.Panel_communication_offline.visible = true; }},
    {"hide a shown panel",
     [](TForm1& f) {
       f.Panel_communication_offline.visible = true;
       f.Panel_communication_offline.visible = false;
     }},
    {"hide a button", [](TForm1& f) { f.Button_Retry_communication_offline.visible = false; }},
    {"disable a button", [](TForm1& f) { f.SpeedButton_open_file.enabled = false; }},
    {"change a label's text",
     [](TForm1& f) { f.Label_communication_is_offline_txt1.caption = "Line one changed"; }},
    {"a self-sizing label grows",
     [](TForm1& f) { f.label_comm_errors.caption = "/dev/ttyUSB0 errors:12345"; }},
    {"a self-sizing label empties", [](TForm1& f) { f.label_comm_errors.caption.clear(); }},
    {"retitle a panel", [](TForm1& f) { f.GroupBox_ECU_info.caption = "Display info"; }},
    {"static text with 8-bit characters",
     [](TForm1& f) { f.StaticText_version_info.caption = "4M \xB5 V3.10"; }},
    {"select a combo item", [](TForm1& f) { f.ComboBox_setCompoort2.select(4); }},
    {"type into a combo", [](TForm1& f) { f.ComboBox_setCompoort1.type_text("COM77"); }},
    {"replace combo items",
     [](TForm1& f) {
       f.ComboBox_setCompoort2.set_items({"COM3", "COM4"});
       f.ComboBox_setCompoort2.select(1);
     }},
    {"empty a combo's list", [](TForm1& f) { f.ComboBox_setCompoort2.set_items({}); }},
    {"untick the check box",
     [](TForm1& f) {
       f.CheckBox_Autoselect_comport.checked = false;
       f.ApplyAutoselectAppearance();
     }},
    {"disable a group and so its children", [](TForm1& f) { f.GroupBox_HID.enabled = false; }},
    {"gauge progress",
     [](TForm1& f) {
       f.GroupBox_gauge_up_down_loading.visible = true;
       f.Gauge_up_down_loading.max_value = 100;
       f.Gauge_up_down_loading.progress = 40;
     }},
    {"gauge beyond its maximum",
     [](TForm1& f) {
       f.Gauge_up_down_loading.max_value = 10;
       f.Gauge_up_down_loading.progress = 11;
     }},
    {"message panel for three lines", [](TForm1& f) { f.SizeMessagePanel(3); }},
    {"spinner shown", [](TForm1& f) { f.ShowBusy(true); }},
    {"spinner hidden again",
     [](TForm1& f) {
       f.ShowBusy(true);
       f.ShowBusy(false);
     }},
    {"recolour a label", [](TForm1& f) { f.Label6.font.color = ui::colors::red; }},
    {"refont a label", [](TForm1& f) { f.Label_please_wait.font = ui::arial(20, false, {}); }},
};

TEST_F(ViewSyncTest, WidgetsFollowTheirComponentsAfterEachChange) {
  ExpectWidgetsFollow(view, form);
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    change.apply(form);
    view.sync();
    ExpectWidgetsFollow(view, form);
  }
}

TEST_F(ViewSyncTest, NothingChangesOnScreenBeforeTheSync) {
  form.Label_communication_is_offline_txt1.caption = "not yet";
  form.Panel_tekstveld.visible = true;
  EXPECT_NE(widget_as<QLabel>(form.Label_communication_is_offline_txt1)->text(), "not yet");
  EXPECT_TRUE(widget(form.Panel_tekstveld)->isHidden());
  view.sync();
  EXPECT_EQ(widget_as<QLabel>(form.Label_communication_is_offline_txt1)->text(), "not yet");
  EXPECT_FALSE(widget(form.Panel_tekstveld)->isHidden());
}

TEST_F(ViewSyncTest, GaugeShowsTheWholePercent) {
  const struct {
    int max, progress, percent;
  } cases[] = {{100, 40, 40}, {0, 5, 0}, {3, 1, 33}, {3, 2, 66}, {1000, 1000, 100}, {7, -1, 0}};
  auto* gauge = widget_as<qtui::GaugeWidget>(form.Gauge_up_down_loading);
  for (const auto& c : cases) {
    form.Gauge_up_down_loading.max_value = c.max;
    form.Gauge_up_down_loading.progress = c.progress;
    view.sync();
    EXPECT_EQ(gauge->shown_percent(), c.percent) << c.progress << "/" << c.max;
  }
}

// Long port names and texts show whole: inside their own field, and the field
// inside every parent up to the window.
TEST_F(ViewSyncTest, LongPortNamesAndTextsShowWhole) {
  const struct {
    const char* what;
    std::function<void(TForm1&)> apply;
    const ui::Control* field;
    QString shown;
  } cases[] = {
      {"a Linux port in the error label",
       [](TForm1& f) { f.label_comm_errors.caption = "/dev/ttyACM10 errors:123"; },
       &form.label_comm_errors, "/dev/ttyACM10 errors:123"},
      {"the wrong-type line of the older-version panel",
       [](TForm1& f) {
         f.ShowOlderVersionPanel(texts::not_compatible, texts::select_correct_file);
       },
       &form.Label_version_error_txt1, texts::not_compatible},
      {"a Linux port picked from a port list",
       [](TForm1& f) {
         f.GroupBox_set_communicationport.visible = true;
         f.ComboBox_setCompoort2.set_items({"/dev/ttyUSB0", "/dev/ttyACM10"});
         f.ComboBox_setCompoort2.select(1);
       },
       &form.ComboBox_setCompoort2, "ttyACM10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.apply(form);
    view.sync();
    QWidget* field = widget(*c.field);
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
      EXPECT_EQ(combo->currentText(), c.shown);
      field = combo->lineEdit();
    } else {
      EXPECT_EQ(qobject_cast<QLabel*>(field)->text(), c.shown);
    }
    EXPECT_GE(field->width(), QFontMetrics(field->font()).horizontalAdvance(c.shown));
    const QRect place(field->mapTo(view.root(), QPoint(0, 0)), field->size());
    for (QWidget* p = field->parentWidget(); p != nullptr; p = p->parentWidget()) {
      EXPECT_TRUE(QRect(p->mapTo(view.root(), QPoint(0, 0)), p->size()).contains(place))
          << p->objectName().toStdString();
    }
  }
  EXPECT_EQ(form.ComboBox_setCompoort2.text, "/dev/ttyACM10") << "the program keeps the whole name";
}

TEST_F(ViewSyncTest, FocusGoesWhereTheProgramPutsIt) {
  EXPECT_EQ(view.root()->focusWidget(), widget(form.SpeedButton_open_file));
  form.ShowOfflineForm("a", "b", "");
  view.sync();
  EXPECT_EQ(view.root()->focusWidget(), widget(form.Button_Retry_communication_offline));
  form.ShowRefusalForm("a", "b", "");
  view.sync();
  EXPECT_EQ(view.root()->focusWidget(), widget(form.Button_ok_communication_offline));
}

TEST_F(ViewSyncTest, WindowTakesTheFormsPlaceSizeAndCaption) {
  EXPECT_EQ(view.root()->size(), QSize(604, 328));
  EXPECT_EQ(view.root()->pos(), QPoint(0, 0));
  EXPECT_EQ(view.root()->windowTitle(), "ZEK Firmware downloader V2.8 test baudrate new");
  form.move_to(40, 50);
  view.sync();
  EXPECT_EQ(view.root()->pos(), QPoint(40, 50));
}

}  // namespace
