// What the user does on the windows reaches the components, and the windows
// follow what the components' handlers changed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/opening_screen.h"
#include "texts/texts.h"
#include "win32/form_view.h"
#include "window_fixture.h"

namespace {

using InputTest = WindowFixture;

// Alt and a letter pressed on the keyboard, as the system delivers them.
void PressAlt(char letter) {
  INPUT keys[4] = {};
  const WORD codes[4] = {VK_MENU, static_cast<WORD>(letter), static_cast<WORD>(letter), VK_MENU};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i];
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(4, keys, sizeof(INPUT));
}

TEST_F(InputTest, AltLetterPressesTheTopmostShownButtonWithIt) {
  const struct {
    const char* name;
    std::function<void(TForm1&)> set_up;
    char letter;
    std::function<bool(TForm1&)> pressed;
  } cases[] = {
      {"Cancel of the offline panel over that of the ready panel",
       [](TForm1& f) {
         f.ShowReadyPanel(TForm1::ReadyButtons::download_cancel, "a", "b");
         f.ShowOfflineForm("a", "b", "");
         f.focused = &f.Button_Cancel_ready_for_download;
       },
       'C',
       [](TForm1& f) {
         return !f.Panel_communication_offline.visible && f.Panel_ready_for_download.visible;
       }},
      {"Ok of the message panel over that of the ready panel",
       [](TForm1& f) {
         f.ShowReadyPanel(TForm1::ReadyButtons::ok, "a", "b");
         f.SizeMessagePanel(10);
         f.Panel_tekstveld.visible = true;
       },
       'O', [](TForm1& f) { return !f.Panel_tekstveld.visible; }},
      {"a covered Download is not pressed",
       [](TForm1& f) {
         f.ShowReadyPanel(TForm1::ReadyButtons::download_cancel, "a", "b");
         f.ShowOfflineForm("a", "b", "");
       },
       'D',
       [](TForm1& f) {
         return f.Panel_ready_for_download.visible && f.Panel_communication_offline.visible;
       }},
      {"Retry alone", [](TForm1& f) { f.ShowOfflineForm("a", "b", ""); }, 'R',
       [](TForm1& f) { return !f.Panel_communication_offline.visible && f.Timer4.enabled(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.set_up(form);
    view->sync();
    ::SetForegroundWindow(view->root());
    Pump();
    PressAlt(c.letter);
    Pump();
    EXPECT_TRUE(c.pressed(form));
    EXPECT_EQ(::IsWindowVisible(window(form.Panel_communication_offline)) != FALSE,
              form.Panel_communication_offline.visible);
    form.Panel_communication_offline.visible = false;
    form.Panel_ready_for_download.visible = false;
    form.Panel_tekstveld.visible = false;
    form.Timer4.set_enabled(false);
  }
}

TEST_F(InputTest, ClickOnAShownButtonRunsItsHandlerAndOnADisabledOneNothing) {
  form.ShowReadyPanel(TForm1::ReadyButtons::download_cancel, "a", "b");
  form.Button_Cancel_ready_for_download.enabled = false;
  view->sync();
  ::SendMessageA(window(form.Button_Cancel_ready_for_download), BM_CLICK, 0, 0);
  EXPECT_TRUE(form.Panel_ready_for_download.visible);
  form.Button_Cancel_ready_for_download.enabled = true;
  view->sync();
  ::SendMessageA(window(form.Button_Cancel_ready_for_download), BM_CLICK, 0, 0);
  EXPECT_FALSE(form.Panel_ready_for_download.visible);
  EXPECT_FALSE(::IsWindowVisible(window(form.Panel_ready_for_download)));
}

TEST_F(InputTest, TheCheckBoxAndTheComboBoxTakeTheUsersInput) {
  form.GroupBox_set_communicationport.visible = true;
  form.CheckBox_Autoselect_comport.checked = true;
  form.ApplyAutoselectAppearance();
  view->sync();
  HWND box = window(form.CheckBox_Autoselect_comport);
  ::SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_FALSE(form.CheckBox_Autoselect_comport.checked);
  EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // The handler enables the port groups while automatic selection is off.
  EXPECT_TRUE(::IsWindowEnabled(window(form.Button_Save_set_communicationport)));

  HWND combo = window(form.ComboBox_setCompoort2);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
  ::SendMessageA(info.hwndItem, EM_SETSEL, 0, -1);
  for (char ch : std::string("COM9")) ::SendMessageA(info.hwndItem, WM_CHAR, ch, 1);
  Pump();
  EXPECT_EQ(form.ComboBox_setCompoort2.text, "COM9");
  EXPECT_EQ(form.ComboBox_setCompoort2.item_index, -1);
}

TEST(OpeningScreenInput, EnterClosesItAndAClickOnTheHiddenMakerLineBlackensIt) {
  TOKBottomDlg_openingsscherm screen;
  win32ui::FormView view(screen, nullptr, 1.0);
  const RECT label = view.place_of(screen.Label_Tavernix_logo);
  ::SendMessageA(view.root(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(label.left + 2, label.top + 2));
  EXPECT_EQ(screen.Label_Tavernix_logo.font.color, ui::colors::black);
  ::SendMessageA(view.root(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(screen.modal_result, ui::ModalResult::ok);
}

}  // namespace

namespace {

TEST_F(InputTest, TabMovesTheFormsFocusAndTheProgramsChoiceWinsAgain) {
  ASSERT_EQ(::GetFocus(), window(form.SpeedButton_open_file));
  ::SendMessageA(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(form.focused, &form.SpeedButton_comport_settings);
  EXPECT_EQ(::GetFocus(), window(form.SpeedButton_comport_settings));
  form.focused = &form.SpeedButton_open_file;
  view->sync();
  EXPECT_EQ(::GetFocus(), window(form.SpeedButton_open_file));
}

TEST_F(InputTest, TheSpinnerTurnsWhileItIsShown) {
  form.ShowBusy(true);
  view->sync();
  const int first = form.AdvCircularProgress1.step;
  for (int i = 0; i < 10 && form.AdvCircularProgress1.step == first; ++i) {
    ::Sleep(ui::Spinner::step_ms);
    Pump();
  }
  EXPECT_NE(form.AdvCircularProgress1.step, first);
}

}  // namespace
