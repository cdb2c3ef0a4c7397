#include "batch/technician.h"

#include "app/panel_lines.h"
#include "batch/link_reason.h"
#include "batch/printable.h"
#include "texts/texts.h"

using app::Face;
using download::CommState;

namespace batch {

namespace {

bool IsYes(std::string answer) {
  while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ')) answer.pop_back();
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

}  // namespace

std::string UnitPlace(const TForm1& form) {
  if (form.link_kind == firmware::Link::hid) return "the USB HID bridge";
  return Printable(form.ComPort1.port());
}

Technician::Technician(TForm1& form, Policy policy, Console& console, std::istream& answers,
                       std::string file)
    : form_(form), policy_(policy), console_(console), answers_(answers), file_(std::move(file)) {}

// The panels in the order they cover each other, topmost first: the user
// can only press what is on top.
Outcome Technician::Act() {
  if (form_.Panel_Acces_level_problem.visible) return OnAccessLevel();
  if (form_.Panel_communication_offline.visible) return OnOffline();
  if (form_.Panel_tekstveld.visible) return OnText();
  const bool ready_has_button = form_.Button_Download_ready_for_download.visible ||
                                form_.Button_Ok_ready_for_download.visible ||
                                form_.Button_Cancel_ready_for_download.visible;
  if (form_.Panel_ready_for_download.visible && ready_has_button) return OnReady();
  if (form_.Panel_olderversion_text.visible) return OnOlderVersion();
  return Outcome::waiting;
}

Outcome Technician::OnAccessLevel() {
  return Stop(&form_.Button_OK_Acces_level_problem,
              file_ + ": the unit on " + Unit() +
                  " does not allow a download at its user access level; set the level with the "
                  "standard ZEK software, then run again");
}

Outcome Technician::OnOffline() {
  if (!form_.Button_Retry_communication_offline.visible) {
    const std::string why =
        form_.comm_state == CommState::idle
            ? file_ + ": the file was not accepted (see the lines above); choose another file"
            : file_ + ": the unit on " + Unit() +
                  " refused the download (see the lines above); remove the cause, then run again";
    return Stop(&form_.Button_ok_communication_offline, why);
  }
  if (retries_used_ < policy_.retries) {
    ++retries_used_;
    return Press(
        form_.Button_Retry_communication_offline,
        "Retry (" + std::to_string(retries_used_) + " of " + std::to_string(policy_.retries) + ")");
  }
  std::string why = NoAnswer();
  if (retries_used_ > 0) {
    why += " after " + std::to_string(retries_used_) + (retries_used_ == 1 ? " retry" : " retries");
  }
  // A search tried several ports; the last one's failure would not say why none answered.
  const std::string cause = Searching() ? std::string() : LinkReason(form_);
  if (!cause.empty()) why += ": " + cause;
  why += "; check the unit's power (12 V), the cable and the port, then run again";
  if (policy_.retries == 0) why += " (--retries N retries by itself)";
  return Stop(&form_.Button_Cancel_communication_offline, why);
}

bool Technician::Searching() const {
  return form_.CheckBox_Autoselect_comport.checked &&
         (form_.comm_state == CommState::idle || form_.comm_state == CommState::probe);
}

// Why the offline panel came: the port search found no unit, the port could
// not be used, or the unit stopped answering.
std::string Technician::NoAnswer() const {
  if (Searching()) {
    const auto& ports = form_.PortSearchCandidates();
    if (ports.empty()) {
      return file_ +
             ": there are no serial ports to search; connect the unit's cable, or name "
             "the port with --port (ZEKFLASH_PORTS adds ports to the search)";
    }
    std::string list;
    for (const auto& p : ports) list += (list.empty() ? "" : ", ") + Printable(p);
    return file_ + ": no unit for this file answered on the ports searched (" + list + ")";
  }
  if (form_.link_kind == firmware::Link::serial && !form_.ComPort1.connected()) {
    return file_ + ": no connection on " + Unit();
  }
  return file_ + ": no answer from the unit on " + Unit();
}

Outcome Technician::OnText() {
  if (policy_.yes)
    return Press(form_.xpButton_close_tekstveld, Face(form_.xpButton_close_tekstveld));
  if (policy_.can_ask && Ask("Done what the lines above say? Press Ok [y/n] ")) {
    return Press(form_.xpButton_close_tekstveld, Face(form_.xpButton_close_tekstveld));
  }
  return Stop(nullptr, file_ +
                           ": the download script waits for Ok on the lines above; run again "
                           "with --yes to confirm them, or at a terminal to be asked");
}

Outcome Technician::OnReady() {
  ui::Button& ok = form_.Button_Ok_ready_for_download;
  if (Finished()) {
    Press(ok, Face(ok));
    return Outcome::finished;
  }
  ui::Button& download = form_.Button_Download_ready_for_download;
  if (!download.visible) {
    if (policy_.yes || (policy_.can_ask && Ask("Press Ok to go on? [y/n] "))) {
      return Press(ok, Face(ok));
    }
    return Stop(nullptr, file_ +
                             ": the download waits for Ok on the lines above; run again with "
                             "--yes to confirm, or at a terminal to be asked");
  }
  if (policy_.yes) return Press(download, Face(download));
  if (!policy_.can_ask) {
    return Stop(&form_.Button_Cancel_ready_for_download,
                file_ + ": the unit on " + Unit() +
                    " is ready, but nobody is here to press Download; run again with --yes to "
                    "download without being asked");
  }
  if (Ask("Download " + file_ + " into the unit on " + Unit() + "? [y/n] ")) {
    return Press(download, Face(download));
  }
  return Stop(&form_.Button_Cancel_ready_for_download,
              file_ + ": download not started at your answer; nothing was written to the unit on " +
                  Unit());
}

Outcome Technician::OnOlderVersion() {
  if (policy_.ignore_version) {
    return Press(form_.Button_Ignore_olderversion, Face(form_.Button_Ignore_olderversion));
  }
  return Stop(&form_.Button_Cancel_olderversion,
              file_ + ": this file does not fit the firmware in the unit on " + Unit() +
                  " (see the lines above); choose the right file, or run again with "
                  "--ignore-version to download it anyway");
}

std::string Technician::AtRest() const {
  if (const auto& stalled = form_.stalled_step) {
    return file_ + ": the download script stops at its line " + std::to_string(stalled->line) +
           ", \"" + Printable(stalled->text) +
           "\", which is no step (a step is [f] and an image, [HR], [SR], [t and digits] or "
           "[end1]); nothing more is sent to the unit on " +
           Unit() + "; correct the script, then run again";
  }
  if (form_.comm_state == CommState::idle) {
    return file_ +
           ": the file was not opened; see what --info says about it, or choose another file";
  }
  return file_ + ": the download stopped on " + Unit() +
         " with nothing more to do; switch the unit's power off and on, then run again";
}

bool Technician::Finished() const {
  if (!form_.Panel_ready_for_download.visible || !form_.Button_Ok_ready_for_download.visible) {
    return false;
  }
  if (form_.staged_download) return form_.script_finished;
  return form_.Label_ready_for_download_txt1.caption == texts::finished_1;
}

bool Technician::Ask(const std::string& question) {
  console_.Prompt(question);
  std::string answer;
  if (!std::getline(answers_, answer)) {
    console_.Line("");
    return false;
  }
  return IsYes(answer);
}

Outcome Technician::Press(ui::Button& button, const std::string& note) {
  console_.Line("> " + note);
  if (JsonEvents* json = console_.json()) json->Press(Face(button));
  pressed_ = &button;
  if (!button.click()) {
    return Stop(nullptr, file_ + ": the " + Face(button) + " button could not be pressed");
  }
  return Outcome::pressed;
}

Outcome Technician::Stop(ui::Button* button, std::string reason) {
  if (button != nullptr) {
    console_.Line("> " + Face(*button));
    if (JsonEvents* json = console_.json()) json->Press(Face(*button));
    button->click();
  }
  reason_ = std::move(reason);
  return Outcome::stopped;
}

std::string Technician::Unit() const {
  return UnitPlace(form_);
}

}  // namespace batch
