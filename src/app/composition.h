#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/panel_observer.h"
#include "app/window.h"
#include "app/window_states.h"
#include "core/event_loop.h"
#include "core/trace.h"
#include "platform/hid_device.h"
#include "platform/serial_port.h"
#include "platform/settings_files.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/traced_dialogs.h"

class TForm1;

namespace app {

// The systems the program talks to: the machine's own, or fakes.
struct Systems {
  platform::SerialSystem& serial;
  platform::HidSystem& hid;
  platform::SettingsFiles* settings = nullptr;  // none: the port files beside the program
};

// One state of the window for a snapshot tool to picture.
struct Scene {
  const char* file;
  // Puts the window at rest, then into the state; returns the control the view
  // is to click through its own window afterwards, as the user would, or nullptr.
  std::function<ui::Control*()> set_up;
};

// The one place where a front end's program is put together: the dialogs that
// tell the trace every box, the systems, the main window and the one observer
// of its panels (which tells the trace). Each front end adds only its view or
// its technician, and reaches the window through what this gives it.
class Composition {
 public:
  struct Parts {
    core::EventLoop& loop;
    ui::Dialogs& dialogs;  // the front end's own boxes and file dialog
    std::vector<std::string> args;
    std::string executable_path;
    core::Trace* trace = nullptr;      // none: no support trace is written
    const Systems* systems = nullptr;  // none: the machine's own
  };

  explicit Composition(Parts parts);
  ~Composition();
  Composition(const Composition&) = delete;
  Composition& operator=(const Composition&) = delete;

  // The window's components, for a view.
  ui::Form& form();
  Window& window();
  PanelObserver& panels() { return *panels_; }
  // Places the panels and gives the focus to Open file, as the window is shown.
  void Show();
  // Every state the snapshot tools picture, with ports named as `ports` say.
  std::vector<Scene> Scenes(const ShownPorts& ports);

 private:
  std::unique_ptr<platform::SerialSystem> own_serial_;
  std::unique_ptr<platform::HidSystem> own_hid_;
  std::unique_ptr<platform::SettingsFiles> own_settings_;
  std::optional<ui::TracedDialogs> traced_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<PanelObserver> panels_;
};

}  // namespace app
