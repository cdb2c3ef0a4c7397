// "Open file": from the user's choice to a checked file and an armed connection.
#include "app/main_window.h"
#include "firmware/acceptance.h"
#include "firmware/crc32.h"
#include "firmware/family.h"
#include "firmware/image.h"
#include "texts/texts.h"

namespace {

using firmware::Family;
using firmware::PortKind;
using firmware::RefusalReason;

// Whether an image got past `check`: accepted, or refused by a later check.
bool Passed(const firmware::Refusal* refusal, RefusalReason check) {
  return refusal == nullptr || refusal->Passed(check);
}

std::vector<ui::FileFilter> DialogFilters() {
  std::vector<ui::FileFilter> filters;
  for (const firmware::FileFilter& f : firmware::OpenDialogFilters()) {
    filters.push_back({f.description, f.pattern});
  }
  return filters;
}

// The files read whole, each told to the trace with its size and CRC-32, so
// that support can tell the file the technician had from the one meant.
firmware::FileReader TracedReader(core::Trace* trace) {
  if (trace == nullptr) return firmware::ReadWholeFile;
  return [trace](const std::string& path) {
    auto bytes = firmware::ReadWholeFile(path);
    if (bytes) trace->file(path, bytes->size(), firmware::Crc32(*bytes));
    return bytes;
  };
}

}  // namespace

// The question about a running download comes only once a file was chosen, so
// that cancelling the dialog leaves everything as it was.
void TForm1::SpeedButton_open_fileClick() {
  const auto chosen = dialogs.open_file(DialogFilters(), program_folder);
  if (!chosen) return;
  if (DownloadRunning() &&
      dialogs.message(ui::BoxKind::question, texts::running_question) != ui::Answer::yes) {
    return;
  }
  AbandonFile();
  firmware_file_name = *chosen;
  staged_download = false;
  const bool armed = firmware::IsScriptPath(*chosen) ? OpenScript(*chosen) : OpenImage(*chosen);
  if (armed) Timer4.set_enabled(true);
}

// A download runs from the Download button until it has ended: while something
// of it is still due, or while a script's text waits for the user.
bool TForm1::DownloadRunning() const {
  if (!download_started || script_finished) return false;
  return UnitAwaited() || Panel_tekstveld.visible;
}

// Ends the connection of the file before: its timers, its port, its panels and
// where its download had got to. Left running, its replies and panels would act
// on the new file: an Ok on the new file's panel brought the old ready panel
// back, and Download then sent the new bytes with the old file's block count.
void TForm1::AbandonFile() {
  StopLinkTimers();
  CancelNextAction();
  ClosePort();
  ClearRx();
  HideDownloadPanels();
  comm_state = CommState::idle;
  error_count = 0;
  script_position = 0;
  script_finished = false;
  download_started = false;
  soft_restart = false;
  stalled_step.reset();
}

void TForm1::ShowFileMessage(const std::string& line1, const std::string& line2) {
  ShowOkForm(line1, line2, "");
}

bool TForm1::ApplyFamily(const Family& family) {
  link_kind = family.link_kind;
  if (family.port == PortKind::none) return true;
  if (!PortSetUp(family.port)) {
    dialogs.message(ui::BoxKind::plain, texts::reading_error);
    return false;
  }
  return true;
}

// Every open starts a port search from the first candidate. The family is kept
// for a later script that names no image.
void TForm1::ArmConnection(const firmware::Family& family) {
  connection_family = family;
  autoselect_index = 0;
  next_action = PortSearchWanted() ? NextAction::probe_next_port : NextAction::connect;
}

// Each value is set as soon as the check it rests on has passed, so a refused
// image leaves what the checks before the refusal found.
void TForm1::TakeImageFacts(const firmware::ImageFacts& image, const firmware::Refusal* refusal) {
  if (Passed(refusal, RefusalReason::damaged)) last_block_nr = image.layout.last_block_nr;
  if (Passed(refusal, RefusalReason::incomplete_last_block)) fast_baud = image.fast_baud;
}

bool TForm1::OpenImage(const std::string& path) {
  const firmware::Acceptance verdict = firmware::AcceptFile(path, TracedReader(trace));
  const auto* refusal = std::get_if<firmware::Refusal>(&verdict);
  const firmware::ImageFacts& image =
      refusal != nullptr ? *refusal->image : std::get<firmware::AcceptedImage>(verdict);
  TakeImageFacts(image, refusal);
  if (Passed(refusal, RefusalReason::incomplete_last_block)) {
    if (auto title = firmware::UnitKindTitle(path)) GroupBox_ECU_info.caption = *title;
    StaticText_version_info_File.caption = image.version;
  }
  if (Passed(refusal, RefusalReason::finish_wait_unreadable)) {
    finish_wait = *image.finish_wait;
  }
  if (refusal != nullptr) {
    RefuseFile(*refusal);
    return false;
  }
  if (!ApplyFamily(image.family)) return false;
  ArmConnection(image.family);
  return true;
}

bool TForm1::OpenScript(const std::string& path) {
  StaticText_version_info_File.caption = firmware::NamePart(path);
  script_file_name = path;
  const firmware::Acceptance verdict = firmware::AcceptFile(path, TracedReader(trace));
  const auto* refusal = std::get_if<firmware::Refusal>(&verdict);
  // A script that names no image runs on the link, port and rate of the last
  // open that armed a connection, chosen again: an open refused part-way, or
  // whose port set-up failed, leaves them half changed and disagreeing. Where no
  // open armed one there is nothing to connect to.
  if (refusal != nullptr && refusal->reason == RefusalReason::no_image && connection_family) {
    const Family family = *connection_family;
    fast_baud = family.fast_baud;
    if (!ApplyFamily(family)) return false;
    staged_download = true;
    ArmConnection(family);
    return true;
  }
  if (refusal != nullptr) {
    // The images named before the refused one were taken as the script went.
    for (const firmware::ImageFacts& image : refusal->passed) {
      if (!TakeScriptImage(image)) return false;
    }
    if (refusal->image) TakeImageFacts(*refusal->image, refusal);
    RefuseFile(*refusal);
    return false;
  }
  const auto& images = std::get<firmware::AcceptedScript>(verdict).images;
  for (const firmware::ImageFacts& image : images) {
    if (!TakeScriptImage(image)) return false;
  }
  staged_download = true;
  ArmConnection(images.back().family);
  return true;
}

bool TForm1::TakeScriptImage(const firmware::ImageFacts& image) {
  TakeImageFacts(image, nullptr);
  return ApplyFamily(image.family);
}

// The product's words for every refusal of an open, in one place.
void TForm1::RefuseFile(const firmware::Refusal& refusal) {
  const bool named = refusal.NamedInScript();
  switch (refusal.reason) {
    case RefusalReason::unreadable:
    case RefusalReason::finish_wait_unreadable:
    case RefusalReason::no_begin2:
      dialogs.message(ui::BoxKind::plain, texts::reading_error);
      return;
    case RefusalReason::damaged:
    case RefusalReason::incomplete_last_block:
      if (named) {
        ShowFileMessage(texts::DamagedFile(refusal.file), texts::new_file);
      } else {
        ShowFileMessage(texts::damaged_1, texts::new_file);
      }
      return;
    case RefusalReason::no_blocks:
      dialogs.message(ui::BoxKind::plain,
                      named ? texts::NoBlocksIn(refusal.file) : std::string(texts::no_blocks));
      return;
    case RefusalReason::unsupported_family:
      ShowFileMessage(texts::unsupported_1, texts::unsupported_2);
      return;
    case RefusalReason::no_image:
      ShowFileMessage(texts::no_image_1, texts::no_image_2);
      return;
    case RefusalReason::not_a_script:
      return;  // not ours: no message
  }
}
