#pragma once

#include <string>
#include <vector>

#include "app/main_window.h"
#include "batch/console.h"

namespace batch {

// Shows the window's changes as lines of text. After every event it compares
// what the user would see with what it saw last time: each panel that has come
// into view, or whose texts changed while in view, has its non-empty text lines
// printed, the offline panel with the serial port's last error; the file and
// unit information, the link error count and "Please wait" are printed when
// they change.
class PanelWatcher {
 public:
  PanelWatcher(const TForm1& form, Console& console);

  void Check();
  // A press hides the panel it was made on; shown again by the press itself (the
  // next text of a script), it is a new panel and is printed again.
  void Pressed(const ui::Button& button);

 private:
  struct Seen {
    const ui::Panel* panel = nullptr;
    bool visible = false;
    std::vector<std::string> lines;
  };

  void CheckPanel(Seen& seen);
  bool ShowsOffline(const ui::Panel& panel) const;
  void PrintLinkReason();
  void CheckFixedContent();
  std::vector<std::string> FixedLines() const;

  const TForm1& form_;
  Console& console_;
  std::vector<Seen> panels_;
  std::vector<std::string> fixed_seen_;
};

}  // namespace batch
