#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_dialogs.h"
#include "ui/form.h"

namespace {

TEST(BatchDialogs, EachBoxIsOneLineOnStandardErrorAndQuestionsAreAnsweredNo) {
  struct Case {
    ui::BoxKind kind;
    ui::BoxButtons buttons;
    const char* text;
    ui::Answer answer;
    const char* line;
  } cases[] = {
      {ui::BoxKind::plain, ui::BoxButtons::ok, "Error on reading file", ui::Answer::ok,
       "zekflash-cli: f.fm0: message: Error on reading file\n"},
      {ui::BoxKind::warning, ui::BoxButtons::ok,
       "firmware download has failed !!!\r\r\nPlease try again", ui::Answer::ok,
       "zekflash-cli: f.fm0: warning: firmware download has failed !!! Please try again\n"},
      {ui::BoxKind::error, ui::BoxButtons::yes_no, "Comm Error test", ui::Answer::no,
       "zekflash-cli: f.fm0: error: Comm Error test [answered No]\n"},
      {ui::BoxKind::question, ui::BoxButtons::yes_no, "Do you want to create a default file",
       ui::Answer::no,
       "zekflash-cli: f.fm0: question: Do you want to create a default file [answered No]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::ostringstream out, err;
    batch::Console console(out, err, false);
    batch::BatchDialogs dialogs("f.fm0", console);
    EXPECT_EQ(dialogs.message_box(c.kind, c.text, c.buttons), c.answer);
    EXPECT_EQ(err.str(), c.line);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(dialogs.boxes_shown(), 1);
  }
}

TEST(BatchDialogs, TheFileDialogAlwaysChoosesTheFileAndThePlaceIsAsked) {
  std::ostringstream out, err;
  batch::Console console(out, err, true);
  batch::BatchDialogs dialogs("/tmp/x.fm1", console);
  EXPECT_EQ(dialogs.open_file({}, "/somewhere/"), "/tmp/x.fm1");
  EXPECT_EQ(dialogs.open_file({{"All", "*.fm0"}}, ""), "/tmp/x.fm1");
  dialogs.where = [] { return std::string("/tmp/x.fm1 on /dev/pts/4"); };
  console.Bar("[#---]");
  dialogs.message(ui::BoxKind::error, "Communicatie Error");
  // The bar's line is ended before the box is written.
  EXPECT_EQ(out.str(), "\r[#---]\x1b[K\n");
  EXPECT_EQ(err.str(), "zekflash-cli: /tmp/x.fm1 on /dev/pts/4: error: Communicatie Error\n");
  ui::Form screen("opening");
  dialogs.show_modal(screen);
  EXPECT_EQ(screen.modal_result, ui::ModalResult::ok);
}

}  // namespace
