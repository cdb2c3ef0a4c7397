// User input on a widget reaches its component, and the view follows what the
// component's handler changed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/opening_screen.h"
#include "main_window_fixture.h"
#include "qt/form_view.h"
#include "widget_expectations.h"

namespace {

using InputTest = MainWindowFixture;

TEST_F(InputTest, ClickOnAPanelButtonRunsItsHandler) {
  form.Panel_ready_for_download.visible = true;
  view.sync();
  QTest::mouseClick(widget(form.Button_Cancel_ready_for_download), Qt::LeftButton);
  EXPECT_FALSE(form.Panel_ready_for_download.visible);
  EXPECT_TRUE(widget(form.Panel_ready_for_download)->isHidden());
}

TEST_F(InputTest, ClickOnADisabledButtonDoesNothing) {
  form.Panel_ready_for_download.visible = true;
  form.Button_Cancel_ready_for_download.enabled = false;
  view.sync();
  QTest::mouseClick(widget(form.Button_Cancel_ready_for_download), Qt::LeftButton);
  EXPECT_TRUE(form.Panel_ready_for_download.visible);
}

TEST_F(InputTest, ClicksOnTheCheckBoxToggleItAndItsAppearance) {
  form.GroupBox_set_communicationport.visible = true;
  view.sync();
  auto* box = widget_as<QCheckBox>(form.CheckBox_Autoselect_comport);
  const QPoint on_text(box->width() / 2, box->height() / 2);
  for (bool expected : {false, true, false}) {
    QTest::mouseClick(box, Qt::LeftButton, {}, on_text);
    EXPECT_EQ(form.CheckBox_Autoselect_comport.checked, expected);
    EXPECT_EQ(box->isChecked(), expected);
    // The handler enables the port groups while automatic selection is off.
    EXPECT_EQ(widget(form.Button_Save_set_communicationport)->isEnabled(), !expected);
    ExpectWidgetsFollow(view, form);
  }
}

TEST_F(InputTest, TypingIntoAComboIsTypedText) {
  form.ComboBox_setCompoort2.select(2);
  form.CheckBox_Autoselect_comport.checked = false;
  form.ApplyAutoselectAppearance();
  form.GroupBox_set_communicationport.visible = true;
  view.sync();
  auto* combo = widget_as<QComboBox>(form.ComboBox_setCompoort2);
  combo->lineEdit()->selectAll();
  QTest::keyClicks(combo->lineEdit(), "COM9");
  EXPECT_EQ(form.ComboBox_setCompoort2.text, "COM9");
  EXPECT_EQ(form.ComboBox_setCompoort2.item_index, -1);
  EXPECT_EQ(combo->currentText(), "COM9");
  // Typing the name of an entry and ending the typing is still typing, not picking.
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  emit combo->lineEdit()->editingFinished();
  EXPECT_EQ(form.ComboBox_setCompoort2.item_index, -1);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(combo->currentText(), "COM9");
}

TEST_F(InputTest, PickingAComboEntrySelectsIt) {
  form.GroupBox_set_communicationport.visible = true;
  view.sync();
  auto* combo = widget_as<QComboBox>(form.ComboBox_setCompoort2);
  emit combo->activated(6);
  EXPECT_EQ(form.ComboBox_setCompoort2.item_index, 6);
  EXPECT_EQ(form.ComboBox_setCompoort2.text, "COM7");
  EXPECT_EQ(combo->currentText(), "COM7");
}

TEST_F(InputTest, AltLetterPressesTheShownButton) {
  view.root()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.root()));
  form.ShowOfflineForm("a", "b", "");
  view.sync();
  QTest::keyClick(view.root(), Qt::Key_R, Qt::AltModifier);
  // A mnemonic animates the press; the click arrives once the animation ends.
  QTRY_VERIFY(!form.Panel_communication_offline.visible);
  EXPECT_TRUE(form.Timer4.enabled());
  EXPECT_TRUE(widget(form.Panel_communication_offline)->isHidden());
}

TEST_F(InputTest, TabbingMovesTheFormsFocus) {
  view.root()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.root()));
  ASSERT_TRUE(widget(form.SpeedButton_open_file)->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(form.focused, &form.SpeedButton_comport_settings);
  // The program's own choice wins again at its next move.
  form.focused = &form.SpeedButton_open_file;
  view.sync();
  EXPECT_TRUE(widget(form.SpeedButton_open_file)->hasFocus());
}

TEST(OpeningScreenInput, ClickOnTheHiddenMakerLineBlackensIt) {
  TOKBottomDlg_openingsscherm screen;
  qtui::FormView view(screen);
  view.root()->show();
  QWidget* label = view.widget_of(screen.Label_Tavernix_logo);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(192, 192, 192));
  QTest::mouseClick(label, Qt::LeftButton);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

}  // namespace
