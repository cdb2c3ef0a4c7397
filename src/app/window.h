#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/result.h"
#include "firmware/family.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/panel.h"

namespace app {

// The link a download runs over, as it stands now.
struct LinkFacts {
  firmware::Link kind = firmware::Link::none;
  std::string port;           // the serial port's name
  bool port_open = false;     // the serial port is open
  bool bridge_found = false;  // a USB HID bridge was found to write to
  // Why the last device named like the bridge was not taken for it; empty when
  // none was refused.
  std::string bridge_refusal;
  // The serial port's latest failure on the serial link, the bridge's on the HID
  // link; none when nothing failed since the port was last opened.
  std::optional<core::Error> last_error;
};

// What the window shows outside its panels, as the user reads it.
struct Readout {
  std::string file_name;  // the image or script opened last, as the user chose it
  std::string file_version;
  std::string unit_version;
  std::string unit_serial;
  // Each information line as its group says it ("File info: Version info:
  // 3M0100002"), in the order the window shows them: the file's version, the
  // unit's version and serial number, the link error count while errors are
  // counted, "Please wait" while it shows; empty while there is nothing to say.
  std::vector<std::string> lines;
};
// The places in Readout::lines.
inline constexpr std::size_t file_version_line = 0;
inline constexpr std::size_t unit_version_line = 1;
inline constexpr std::size_t unit_serial_line = 2;

// The download gauge.
struct GaugeReading {
  bool shown = false;
  std::string title;
  int progress = 0;
  int max = 0;
  int percent = 0;
};

// The step line a script came to rest at because it asks for nothing this
// program knows: the window goes no further and says nothing (users have
// always seen it so), but a front end without a window must tell why it ended.
struct StalledStep {
  std::size_t line = 0;  // counted from 1
  std::string text;
};

// The main window as a front end sees it: what it shows and asks, and the
// buttons a user would press. A front end asks; it never reads the program's
// state or compares a label with a text.
class Window {
 public:
  // What the panel on top asks of the user, topmost first as the panels cover
  // each other: the user can answer only what lies on top.
  enum class Asks {
    nothing,        // no panel waits for the user
    access_level,   // the unit's access level forbids a download: Ok
    offline,        // the unit does not answer: Retry or Cancel
    refusal,        // the file or the unit refused the download: Ok
    text,           // a script's or the program's text lines: Ok
    ready,          // the unit is ready: Download or Cancel
    go_on,          // the ready panel asks for Ok to go on
    finished,       // the download finished: Ok
    older_version,  // the file is older than, or does not fit, the unit's: Ignore or Cancel
  };
  // The buttons a user presses.
  enum class Choice { open_file, ok, retry, cancel, download, ignore };

  virtual ~Window() = default;

  virtual Asks Asking() const = 0;
  // The button of `choice` on the panel on top (Open file: on the window);
  // nullptr when that panel offers none.
  virtual ui::Button* Offered(Choice choice) = 0;
  // The panel that asks (Asking), nullptr while none does.
  virtual const ui::Panel* AskingPanel() const = 0;
  // Whether `panel` is one of the window's standing information groups or the
  // download gauge, rather than a panel that tells the user something.
  virtual bool Standing(const ui::Panel& panel) const = 0;

  // Nothing more can happen until the user opens a file.
  virtual bool Idle() const = 0;
  virtual bool DownloadFinished() const = 0;
  // A request has gone to the unit since the file was opened.
  virtual bool UnitAsked() const = 0;
  // The file opened last was not accepted: nothing was or will be asked of the unit.
  virtual bool FileRefused() const = 0;
  // The port search is looking for the unit, or gave up looking.
  virtual bool Searching() const = 0;
  // The ports the port search probes, in order.
  virtual const std::vector<std::string>& PortSearchCandidates() const = 0;
  virtual LinkFacts LinkNow() const = 0;
  virtual Readout ReadOut() const = 0;
  virtual GaugeReading Gauge() const = 0;
  virtual const std::optional<StalledStep>& StalledAt() const = 0;

  // Connects on `port` for this run: no port search, and the port configuration
  // files are not read.
  virtual void UsePort(const std::string& port) = 0;
};

}  // namespace app
