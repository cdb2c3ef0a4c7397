#include "batch/technician.h"

#include "app/panel_lines.h"
#include "batch/link_reason.h"
#include "batch/printable.h"

using app::Face;

namespace batch {

namespace {

bool IsYes(std::string answer) {
  while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ')) answer.pop_back();
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

// The word of a button, for a button the window does not offer.
const char* ChoiceWord(app::Window::Choice choice) {
  switch (choice) {
    case app::Window::Choice::open_file:
      return "Open file";
    case app::Window::Choice::ok:
      return "Ok";
    case app::Window::Choice::retry:
      return "Retry";
    case app::Window::Choice::cancel:
      return "Cancel";
    case app::Window::Choice::download:
      return "Download";
    case app::Window::Choice::ignore:
      return "Ignore";
  }
  return "";
}

}  // namespace

Technician::Technician(app::Window& window, Policy policy, Console& console, std::istream& answers,
                       std::string file)
    : window_(window),
      policy_(policy),
      console_(console),
      answers_(answers),
      file_(std::move(file)) {}

Outcome Technician::Act() {
  switch (window_.Asking()) {
    case Asks::access_level:
      return OnAccessLevel();
    case Asks::offline:
      return OnOffline();
    case Asks::refusal:
      return OnRefusal();
    case Asks::text:
      return OnText();
    case Asks::finished:
      Press(Choice::ok);
      return Outcome::finished;
    case Asks::go_on:
      return OnGoOn();
    case Asks::ready:
      return OnReady();
    case Asks::older_version:
      return OnOlderVersion();
    case Asks::nothing:
      break;
  }
  return Outcome::waiting;
}

Outcome Technician::OnAccessLevel() {
  return Stop(Choice::ok,
              file_ + ": the unit on " + Unit() +
                  " does not allow a download at its user access level; set the level with the "
                  "standard ZEK software, then run again");
}

Outcome Technician::OnRefusal() {
  const std::string why =
      window_.FileRefused()
          ? file_ + ": the file was not accepted (see the lines above); choose another file"
          : file_ + ": the unit on " + Unit() +
                " refused the download (see the lines above); remove the cause, then run again";
  return Stop(Choice::ok, why);
}

Outcome Technician::OnOffline() {
  if (retries_used_ < policy_.retries) {
    ++retries_used_;
    return Press(Choice::retry, "Retry (" + std::to_string(retries_used_) + " of " +
                                    std::to_string(policy_.retries) + ")");
  }
  std::string why = NoAnswer();
  if (retries_used_ > 0) {
    why += " after " + std::to_string(retries_used_) + (retries_used_ == 1 ? " retry" : " retries");
  }
  // A search tried several ports; the last one's failure would not say why none answered.
  const std::string cause = window_.Searching() ? std::string() : LinkReason(window_.LinkNow());
  if (!cause.empty()) why += ": " + cause;
  why += "; check the unit's power (12 V), the cable and the port, then run again";
  if (policy_.retries == 0) why += " (--retries N retries by itself)";
  return Stop(Choice::cancel, why);
}

// Why the offline panel came: the port search found no unit, the port could
// not be used, or the unit stopped answering.
std::string Technician::NoAnswer() const {
  if (window_.Searching()) {
    const auto& ports = window_.PortSearchCandidates();
    if (ports.empty()) {
      return file_ +
             ": there are no serial ports to search; connect the unit's cable, or name "
             "the port with --port (ZEKFLASH_PORTS adds ports to the search)";
    }
    std::string list;
    for (const auto& p : ports) list += (list.empty() ? "" : ", ") + Printable(p);
    return file_ + ": no unit for this file answered on the ports searched (" + list + ")";
  }
  const app::LinkFacts link = window_.LinkNow();
  if (link.kind == firmware::Link::serial && !link.port_open) {
    return file_ + ": no connection on " + Unit();
  }
  return file_ + ": no answer from the unit on " + Unit();
}

Outcome Technician::OnText() {
  if (policy_.yes || (policy_.can_ask && Ask("Done what the lines above say? Press Ok [y/n] "))) {
    return Press(Choice::ok);
  }
  return Stop(std::nullopt, file_ +
                                ": the download script waits for Ok on the lines above; run again "
                                "with --yes to confirm them, or at a terminal to be asked");
}

Outcome Technician::OnGoOn() {
  if (policy_.yes || (policy_.can_ask && Ask("Press Ok to go on? [y/n] "))) {
    return Press(Choice::ok);
  }
  return Stop(std::nullopt, file_ +
                                ": the download waits for Ok on the lines above; run again with "
                                "--yes to confirm, or at a terminal to be asked");
}

Outcome Technician::OnReady() {
  if (policy_.yes) return Press(Choice::download);
  if (!policy_.can_ask) {
    return Stop(Choice::cancel,
                file_ + ": the unit on " + Unit() +
                    " is ready, but nobody is here to press Download; run again with --yes to "
                    "download without being asked");
  }
  if (Ask("Download " + file_ + " into the unit on " + Unit() + "? [y/n] ")) {
    return Press(Choice::download);
  }
  return Stop(Choice::cancel,
              file_ + ": download not started at your answer; nothing was written to the unit on " +
                  Unit());
}

Outcome Technician::OnOlderVersion() {
  if (policy_.ignore_version) return Press(Choice::ignore);
  return Stop(Choice::cancel,
              file_ + ": this file does not fit the firmware in the unit on " + Unit() +
                  " (see the lines above); choose the right file, or run again with "
                  "--ignore-version to download it anyway");
}

std::string Technician::AtRest() const {
  if (const auto& stalled = window_.StalledAt()) {
    return file_ + ": the download script stops at its line " + std::to_string(stalled->line) +
           ", \"" + Printable(stalled->text) +
           "\", which is no step (a step is [f] and an image, [HR], [SR], [t and digits] or "
           "[end1]); nothing more is sent to the unit on " +
           Unit() + "; correct the script, then run again";
  }
  if (window_.FileRefused()) {
    return file_ +
           ": the file was not opened; see what --info says about it, or choose another file";
  }
  return file_ + ": the download stopped on " + Unit() +
         " with nothing more to do; switch the unit's power off and on, then run again";
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

Outcome Technician::Press(Choice choice, const std::string& note) {
  ui::Button* button = window_.Offered(choice);
  if (button == nullptr) {
    return Stop(std::nullopt,
                file_ + ": the " + ChoiceWord(choice) + " button could not be pressed");
  }
  console_.Line("> " + (note.empty() ? Face(*button) : note));
  if (JsonEvents* json = console_.json()) json->Press(Face(*button));
  pressed_ = button;
  if (!button->click()) {
    return Stop(std::nullopt, file_ + ": the " + Face(*button) + " button could not be pressed");
  }
  return Outcome::pressed;
}

Outcome Technician::Stop(std::optional<Choice> choice, std::string reason) {
  if (ui::Button* button = choice ? window_.Offered(*choice) : nullptr) {
    console_.Line("> " + Face(*button));
    if (JsonEvents* json = console_.json()) json->Press(Face(*button));
    button->click();
  }
  reason_ = std::move(reason);
  return Outcome::stopped;
}

std::string Technician::Unit() const {
  return UnitPlace(window_.LinkNow());
}

}  // namespace batch
