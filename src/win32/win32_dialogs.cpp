#include "win32/win32_dialogs.h"

#include <commdlg.h>

#include <sstream>

#include "app/box_title.h"
#include "app/panel_lines.h"
#include "texts/texts.h"
#include "win32/form_view.h"
#include "win32/modal_pump.h"

namespace win32ui {

namespace {

UINT IconOf(ui::BoxKind kind) {
  switch (kind) {
    case ui::BoxKind::error:
      return MB_ICONERROR;
    case ui::BoxKind::warning:
      return MB_ICONWARNING;
    case ui::BoxKind::question:
      return MB_ICONQUESTION;
    case ui::BoxKind::plain:
      break;
  }
  return 0;
}

}  // namespace

std::string FilterList(const std::vector<ui::FileFilter>& filters) {
  std::string list;
  for (const ui::FileFilter& f : filters) {
    std::string patterns;
    std::istringstream in(f.pattern);
    for (std::string p; std::getline(in, p, ';');) {
      p = app::Trimmed(p);
      if (p.empty()) continue;
      if (!patterns.empty()) patterns += ';';
      patterns += p;
    }
    list += f.description;
    list += '\0';
    list += patterns;
    list += '\0';
  }
  list += '\0';
  return list;
}

ui::Answer Win32Dialogs::message_box(ui::BoxKind kind, const std::string& text,
                                     ui::BoxButtons buttons) {
  const bool yes_no = buttons == ui::BoxButtons::yes_no;
  const ModalPump pump(while_modal);
  const int pressed = ::MessageBoxA(owner_, text.c_str(), app::BoxTitle(kind),
                                    IconOf(kind) | (yes_no ? MB_YESNO : MB_OK) | MB_TASKMODAL);
  if (!yes_no) return ui::Answer::ok;
  return pressed == IDYES ? ui::Answer::yes : ui::Answer::no;
}

std::optional<std::string> Win32Dialogs::open_file(const std::vector<ui::FileFilter>& filters,
                                                   const std::string& initial_folder) {
  const std::string list = FilterList(filters);
  char path[MAX_PATH * 4] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = list.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrInitialDir = initial_folder.empty() ? nullptr : initial_folder.c_str();
  ofn.lpstrTitle = texts::open_dialog_title;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  const ModalPump pump(while_modal);
  if (!::GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(path);
}

// A message loop of its own until the form has its answer or is closed; the
// owner takes no input meanwhile.
void Win32Dialogs::show_modal(ui::Form& form) {
  form.modal_result = ui::ModalResult::none;
  form.visible = true;
  {
    const ModalPump pump(while_modal);
    FormView view(form, owner_, scale_);
    if (owner_ != nullptr) ::EnableWindow(owner_, FALSE);
    ::SetForegroundWindow(view.root());
    MSG msg{};
    bool quit = false;
    while (form.modal_result == ui::ModalResult::none && !view.closed()) {
      if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
        quit = true;
        break;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
      view.sync();
    }
    if (owner_ != nullptr) ::EnableWindow(owner_, TRUE);
    if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
  }
  form.visible = false;
  if (form.modal_result == ui::ModalResult::none) form.modal_result = ui::ModalResult::cancel;
}

}  // namespace win32ui
