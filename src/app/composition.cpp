#include "app/composition.h"

#include "app/main_window.h"

namespace app {

namespace {

ui::Dialogs& Traced(std::optional<ui::TracedDialogs>& traced, ui::Dialogs& inner,
                    core::Trace* trace) {
  if (trace == nullptr) return inner;
  return traced.emplace(inner, *trace);
}

}  // namespace

Composition::Composition(Parts parts) {
  if (parts.systems == nullptr) {
    own_serial_ = platform::MakeSystemSerial();
    own_hid_ = platform::MakeSystemHid(parts.loop);
    own_settings_ = platform::MakeSystemSettingsFiles();
  }
  const Systems systems = parts.systems != nullptr
                              ? *parts.systems
                              : Systems{*own_serial_, *own_hid_, own_settings_.get()};
  form_ = std::make_unique<TForm1>(Environment{
      parts.loop, Traced(traced_, parts.dialogs, parts.trace), systems.serial, systems.hid,
      std::move(parts.args), std::move(parts.executable_path), parts.trace, systems.settings});
  panels_ = std::make_unique<PanelObserver>(*form_);
  if (parts.trace != nullptr) TracePanels(*panels_, *parts.trace);
}

Composition::~Composition() = default;

ui::Form& Composition::form() {
  return *form_;
}

Window& Composition::window() {
  return *form_;
}

void Composition::Show() {
  form_->FormShow();
}

std::vector<Scene> Composition::Scenes(const ShownPorts& ports) {
  std::vector<Scene> scenes;
  TForm1& form = *form_;
  for (WindowState& state : TForm1::WindowStates(ports)) {
    scenes.push_back(Scene{state.file, [&form, state]() -> ui::Control* {
                             form.PutAtRest();
                             state.set_up(form);
                             ui::CheckBox& box = form.CheckBox_Autoselect_comport;
                             if (state.autoselect && box.checked != *state.autoselect) return &box;
                             return nullptr;
                           }});
  }
  return scenes;
}

}  // namespace app
