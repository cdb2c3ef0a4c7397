// "Open file": from the user's choice to a checked file and an armed connection.
#include "app/main_window.h"
#include "firmware/family.h"
#include "firmware/file_texts.h"
#include "firmware/image.h"
#include "firmware/script.h"
#include "firmware/script_paths.h"

namespace {

using firmware::Family;
using firmware::PortKind;

std::vector<ui::FileFilter> DialogFilters() {
  std::vector<ui::FileFilter> filters;
  for (const firmware::FileFilter& f : firmware::OpenDialogFilters()) {
    filters.push_back({f.description, f.pattern});
  }
  return filters;
}

}  // namespace

void TForm1::SpeedButton_open_fileClick() {
  if (DownloadRunning()) {
    if (dialogs.message(ui::BoxKind::question, file_texts::running_question) != ui::Answer::yes) {
      return;
    }
    StopLinkTimers();
    Timer4.set_enabled(false);
    ClosePort();
  }
  script_finished = 0;
  const auto chosen = dialogs.open_file(DialogFilters(), program_folder);
  if (!chosen) return;
  firmware_file_name = *chosen;
  staged_download = 0;
  download_started = false;
  const bool armed = firmware::IsScriptPath(*chosen) ? OpenScript(*chosen) : OpenImage(*chosen);
  if (armed) Timer4.set_enabled(true);
}

// A download runs from the Download button until it has ended: while a timer of
// it runs, while the unit is awaited after a power cycle, or while a script's
// text waits for the user.
bool TForm1::DownloadRunning() const {
  if (!download_started || script_finished != 0) return false;
  return Timer1.enabled() || Timer2.enabled() || Timer4.enabled() || comm_state == 'r' ||
         Panel_tekstveld.visible;
}

void TForm1::ShowFileMessage(const std::string& line1, const std::string& line2) {
  ShowOkForm(line1, line2, "");
}

bool TForm1::ApplyFamily(const Family& family) {
  if (!family.supported) {
    ShowFileMessage(file_texts::unsupported_1, file_texts::unsupported_2);
    return false;
  }
  link_kind = family.link_kind;
  if (family.port == PortKind::none) return true;
  if (!PortSetUp(static_cast<int>(family.port))) {
    dialogs.message(ui::BoxKind::plain, file_texts::reading_error);
    return false;
  }
  return true;
}

void TForm1::ArmConnection() {
  next_action = CheckBox_Autoselect_comport.checked ? 19 : 0;
}

bool TForm1::OpenImage(const std::string& path) {
  const auto bytes = firmware::ReadWholeFile(path);
  if (!bytes || bytes->size() < 2) {
    dialogs.message(ui::BoxKind::plain, file_texts::reading_error);
    return false;
  }
  const firmware::ImageLayout layout = firmware::InspectImage(*bytes);
  if (!layout.checksum_ok) {
    ShowFileMessage(file_texts::damaged_1, file_texts::new_file);
    return false;
  }
  last_block_nr = layout.last_block_nr;
  if (layout.last_block_nr == 0) {
    dialogs.message(ui::BoxKind::plain, file_texts::no_blocks);
    return false;
  }
  // The last counted block must be held whole, or the download would stop half
  // way with the unit's memory half written.
  if (!layout.blocks_complete) {
    ShowFileMessage(file_texts::damaged_1, file_texts::new_file);
    return false;
  }
  if (auto title = firmware::UnitKindTitle(path)) GroupBox_ECU_info.caption = *title;
  const std::string version = firmware::ImageVersion(*bytes);
  StaticText_version_info_File.caption = version;
  fast_baud = firmware::HasFinishWait(version) ? 1 : 0;
  if (fast_baud != 0) {
    const auto wait = firmware::ImageFinishWait(*bytes);
    if (!wait) {
      dialogs.message(ui::BoxKind::plain, file_texts::reading_error);
      return false;
    }
    finish_wait = *wait;
  } else {
    finish_wait = 0;
  }
  if (!ApplyFamily(firmware::FamilyOfImage(version))) return false;
  autoselect_index = 0;
  ArmConnection();
  return true;
}

bool TForm1::OpenScript(const std::string& path) {
  StaticText_version_info_File.caption = firmware::NamePart(path);
  script_file_name = path;
  const auto bytes = firmware::ReadWholeFile(path);
  auto line = bytes ? firmware::ReadScriptLine(*bytes, 0) : std::nullopt;
  if (line && line->ended && line->text != "[begin1]") return false;  // not ours: no message
  while (line && line->ended && line->text != "[begin2]") {
    line = firmware::ReadScriptLine(*bytes, line->next);
    if (!line || !line->ended) break;
    if (line->text.rfind("[f]", 0) == 0 && !OpenScriptImage(path, line->text)) return false;
  }
  if (!line || !line->ended) {
    dialogs.message(ui::BoxKind::plain, file_texts::reading_error);
    return false;
  }
  staged_download = 1;
  ArmConnection();
  return true;
}

bool TForm1::OpenScriptImage(const std::string& script_path, const std::string& step_line) {
  if (!ValidateNamedImage(script_path, step_line)) return false;
  fast_baud = 0;
  const std::string name = firmware::ClassifyStep(step_line).image_name;
  const Family family = firmware::FamilyOfScriptImage(name);
  if (family.supported) fast_baud = family.fast_baud ? 1 : 0;
  return ApplyFamily(family);
}

bool TForm1::ValidateNamedImage(const std::string& script_path, const std::string& step_line) {
  const std::string name = firmware::ClassifyStep(step_line).image_name;
  const auto bytes = firmware::ReadWholeFile(ScriptImagePath(script_path, name));
  if (!bytes || bytes->size() < 2) {
    dialogs.message(ui::BoxKind::plain, file_texts::reading_error);
    return false;
  }
  const firmware::ImageLayout layout = firmware::InspectImage(*bytes);
  if (!layout.checksum_ok || (layout.last_block_nr != 0 && !layout.blocks_complete)) {
    ShowFileMessage("Content of file:" + name + " is damaged", file_texts::new_file);
    return false;
  }
  last_block_nr = layout.last_block_nr;
  if (layout.last_block_nr == 0) {
    dialogs.message(ui::BoxKind::plain,
                    std::string("Error on reading file:") + name + " (no 1024 data blocks)");
    return false;
  }
  return true;
}
