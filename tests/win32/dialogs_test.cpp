// The program's message boxes and file-open dialog, as the system shows them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/poll_loop.h"
#include "win32/win32_dialogs.h"

namespace {

constexpr int message_text_id = 0xFFFF;  // the static text of a message box

struct SeenBox {
  std::string title;
  std::string text;
};

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// Waits for a message box on `thread`, notes what it says and, `after_ms`
// later, answers it with `button`.
void AnswerBox(DWORD thread, int button, SeenBox& seen, DWORD after_ms) {
  for (int i = 0; i < 200; ++i) {
    HWND box = nullptr;
    ::EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM p) -> BOOL {
          char name[32] = {};
          ::GetClassNameA(hwnd, name, sizeof name);
          if (std::string(name) != "#32770" || !::IsWindowVisible(hwnd)) return TRUE;
          *reinterpret_cast<HWND*>(p) = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
      seen = SeenBox{TextOf(box), TextOf(::GetDlgItem(box, message_text_id))};
      ::Sleep(after_ms);
      ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return;
    }
    ::Sleep(50);
  }
}

TEST(Win32DialogsTest, MessageBoxesSayTheTextUnderTheirKindsTitleAndReturnTheAnswer) {
  const struct {
    ui::BoxKind kind;
    int button;
    const char* title;
    ui::Answer answer;
  } cases[] = {
      {ui::BoxKind::question, IDNO, "Confirm", ui::Answer::no},
      {ui::BoxKind::question, IDYES, "Confirm", ui::Answer::yes},
      {ui::BoxKind::error, IDOK, "Error", ui::Answer::ok},
      {ui::BoxKind::plain, IDOK, "ZEK Firmware downloader", ui::Answer::ok},
  };
  win32ui::Win32Dialogs dialogs(1.0);
  for (const auto& c : cases) {
    SeenBox seen;
    std::thread answerer(AnswerBox, ::GetCurrentThreadId(), c.button, std::ref(seen), 0);
    const ui::Answer answer = dialogs.message(c.kind, "Line one\r\nline two");
    answerer.join();
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.text, "Line one\r\nline two");
  }
}

TEST(Win32DialogsTest, TheProgramsLoopGoesOnWhileABoxIsUp) {
  platform::PollLoop loop;
  win32ui::Win32Dialogs dialogs(1.0);
  dialogs.while_modal = [&loop] { loop.run_ready(); };
  int fired = 0;
  loop.schedule(50, [&fired] { ++fired; });
  SeenBox seen;
  std::thread answerer(AnswerBox, ::GetCurrentThreadId(), IDOK, std::ref(seen), 500);
  dialogs.message(ui::BoxKind::warning, "Wait");
  answerer.join();
  EXPECT_EQ(seen.text, "Wait");
  EXPECT_EQ(fired, 1);
}

TEST(Win32DialogsTest, FilterListPairsEachNameWithItsPatternsWithoutBlanks) {
  const std::string list = win32ui::FilterList(
      {{"All (*.a)", "*.fm0; *.fm1;*.ff0;  *.fi1"}, {"Motor (*.fm0)", "*.fm0"}});
  const std::string expected("All (*.a)\0*.fm0;*.fm1;*.ff0;*.fi1\0Motor (*.fm0)\0*.fm0\0\0", 55);
  EXPECT_EQ(list, expected);
}

}  // namespace
