#include <gtest/gtest.h>

#include <functional>

#include "conversation.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using F = FormFixture;

// A script whose step section is `steps` then "[end1]", loaded as an accepted
// script is; its first step line starts at offset 10.
void LoadScript(Conversation& f, const std::string& steps) {
  const std::string text = "[begin1]\r\n" + steps + "[end1]\r\n[begin2]\r\n3MXXXXXXX\r\n";
  f.form->script_file_name = f.WriteFile("3Mstage.fm1", Bytes(text.begin(), text.end()));
  f.form->staged_download = true;
}

// The switch request of a script that asks for it.
void SwitchAsked(Conversation& f) {
  LoadScript(f, "[SR]\r\n");
  f.form->SendSwitchRequest();
}

// The switch request went unanswered for 500 ms: a single 'd' went out in state '9'.
void SwitchUnanswered(Conversation& f) {
  SwitchAsked(f);
  f.loop.advance(500);
}

// The access request of a unit whose version text is `version`.
std::function<void(Conversation&)> AccessAs(std::string version) {
  return [version](Conversation& f) {
    f.form->StaticText_version_info.caption = version;
    f.form->SendAccessRequest();
  };
}

// The restart request closing a loaded script's step section.
void RestartAtTheEnd(Conversation& f) {
  LoadScript(f, "");
  f.form->script_position = 10;
  f.form->SendRestartRequest();
}

void Prepare(Conversation& f) {
  f.form->SendPrepareRequest();
}

TEST(Dispatcher, RowsOfTheActionTable) {
  const Bytes read_fails;  // no reply: the read itself fails
  const struct {
    const char* name;
    std::function<void(Conversation&)> arrange;  // sends the request the reply answers
    Bytes reply;
    int then_ms;         // time that passes after the reply
    std::string sent;    // request letters written after those of `arrange`
    const char* shown;   // what waits on screen: "", "access", "prompt", "finished", "refused"
    int reply_timer_on;  // Timer2 afterwards: 1 running, 0 stopped, -1 where it does not matter
    int reply_timer_ms;  // its interval; -1 where it does not matter
    int link_errors;     // as the label counts them; 0 when none was counted
    const char* box;     // the one box shown; nullptr where it does not matter
  } rows[] = {
      {"'W' OK: the access request follows", Prepare, F::Reply("WOK"), 0, "a", "", 1, 500, 0, ""},
      {"'W' another status: refused, nothing more goes out", Prepare, F::Reply("WNO"), 5000, "",
       "refused", 0, -1, 0, ""},
      {"'a' level 3 passes", AccessAs("3M0100005"), F::Reply(std::string("a\0\3", 3)), 0, "d", "",
       1, 500, 0, ""},
      {"'a' level 4 fails: the access-level panel", AccessAs("3M0100005"),
       F::Reply(std::string("a\0\4", 3)), 0, "", "access", 0, -1, 0, ""},
      {"'a' any level passes on a 1E unit", AccessAs("1E0100005"),
       F::Reply(std::string("a\0\x09", 3)), 0, "d", "", 1, 500, 0, ""},
      {"'r' OK: reply timer back to 500 ms, the next step runs", RestartAtTheEnd, F::Reply("rOK"),
       0, "", "finished", 0, 500, 0, ""},
      {"'r' another status: refused, nothing more goes out", RestartAtTheEnd, F::Reply("rNO"), 5000,
       "", "refused", 0, 500, 0, ""},
      {"'}': the unit restarts itself, so [SR] asks it to", SwitchAsked, F::Reply("}OK"), 30, "r",
       "", 1, 5000, 0, ""},
      {"'9' and a valid status reply: the script starts, [SR] asks for a power cycle",
       SwitchUnanswered, F::StatusReply(56, 0, 56), 0, "", "prompt", 0, -1, 0, ""},
      {"a late '}' in state '9' is a link error", SwitchUnanswered, F::Reply("}OK"), 60, "", "", -1,
       -1, 1, nullptr},
      {"a late 'F' in state '9' is a link error", SwitchUnanswered, Bytes{'F'}, 60, "", "", -1, -1,
       1, nullptr},
      {"'F' to a block is a link error: the block again",
       [](Conversation& f) {
         f.form->firmware_file_name = f.WriteImage("3M.fm0", "3M0100001", 2);
         f.form->SendBlock();
       },
       Bytes{'F'}, 60, "B", "", 1, 500, 1, nullptr},
      {"a read error: a link error and the test box",
       [](Conversation& f) { f.form->SendStatusRequest(); }, read_fails, 60, "d", "", 1, 500, 1,
       "Comm Error test"},
      {"a read error behind a refusal answers nothing: nothing re-sent",
       [](Conversation& f) {
         f.form->SendStatusRequest();
         f.Feed(F::StatusReply(56, 1, 56));
       },
       read_fails, 5000, "", "refused", 0, -1, 0, ""},
  };
  for (const auto& row : rows) {
    Conversation f;
    TForm1& w = *f.form;
    w.Timer2.set_interval(500);
    row.arrange(f);
    const std::size_t before = f.Writes().size();
    if (row.reply.empty()) {
      f.serial.line("COM1").gone = true;
      w.ReceiveDispatcher(4);
      f.serial.line("COM1").gone = false;
    } else {
      f.Feed(row.reply);
    }
    f.loop.advance(row.then_ms);
    std::string sent;
    for (std::size_t i = before; i < f.Writes().size(); ++i)
      sent += static_cast<char>(f.Writes()[i][0]);
    EXPECT_EQ(sent, row.sent) << row.name;
    const std::string shown = row.shown;
    EXPECT_EQ(w.Panel_Acces_level_problem.visible, shown == "access") << row.name;
    if (shown == "access") {
      EXPECT_EQ(w.focused, &w.Button_OK_Acces_level_problem) << row.name;
    }
    const bool prompt =
        w.Panel_ready_for_download.visible && !w.Button_Ok_ready_for_download.visible;
    EXPECT_EQ(prompt, shown == "prompt") << row.name;
    if (prompt) {
      EXPECT_EQ(w.Label_ready_for_download_txt1.caption,
                "WARNING next part of firmware downloading will start")
          << row.name;
    }
    const bool finished =
        w.Panel_ready_for_download.visible && w.Button_Ok_ready_for_download.visible;
    EXPECT_EQ(finished, shown == "finished") << row.name;
    // A refusal: the offline panel with Ok alone.
    EXPECT_EQ(w.Panel_communication_offline.visible, shown == "refused") << row.name;
    EXPECT_EQ(
        w.Button_ok_communication_offline.visible && !w.Button_Retry_communication_offline.visible,
        shown == "refused")
        << row.name;
    if (row.reply_timer_on >= 0) {
      EXPECT_EQ(w.Timer2.enabled(), row.reply_timer_on == 1) << row.name;
    }
    if (row.reply_timer_ms >= 0) {
      EXPECT_EQ(w.Timer2.interval(), row.reply_timer_ms) << row.name;
    }
    if (row.link_errors > 0) {
      EXPECT_EQ(w.label_comm_errors.caption, "COM1 errors:" + std::to_string(row.link_errors))
          << row.name;
    }
    if (row.box != nullptr) {
      const std::vector<std::string> boxes =
          *row.box == '\0' ? std::vector<std::string>{} : std::vector<std::string>{row.box};
      EXPECT_EQ(f.BoxTexts(), boxes) << row.name;
    }
    if (row.reply.empty() && !f.dialogs.boxes.empty()) {
      EXPECT_EQ(f.dialogs.boxes[0].kind, ui::BoxKind::error);
      EXPECT_EQ(f.dialogs.boxes[0].buttons, ui::BoxButtons::yes_no);
    }
  }
}

}  // namespace
