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
// they change. With JSON events, each panel printed is a panel event, and the
// file's and the unit's information file and unit events.
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

  // The places in FixedLines.
  static constexpr std::size_t file_version = 0;
  static constexpr std::size_t unit_version = 1;
  static constexpr std::size_t unit_serial = 2;

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
