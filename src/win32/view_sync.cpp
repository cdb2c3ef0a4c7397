// Bringing each window, or drawing, in line with its component.
#include <string>

#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/panel.h"
#include "win32/form_view.h"
#include "win32/frame.h"
#include "win32/look.h"
#include "win32/window_proc.h"

namespace win32ui {

namespace {

std::string WindowText(HWND hwnd) {
  char buffer[512] = {};
  ::GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

void SetText(HWND hwnd, const std::string& text) {
  if (WindowText(hwnd) != text) ::SetWindowTextA(hwnd, text.c_str());
}

std::string WantedText(const ui::Control& c) {
  if (c.kind() == ui::Kind::panel) return static_cast<const ui::Panel&>(c).shown_title();
  return c.caption;
}

}  // namespace

void FormView::sync_entry(Entry& e) {
  const ui::Control& c = *e.control;
  const RECT place = place_of(c);
  const bool moved = !::EqualRect(&place, &e.applied);
  const std::string look = LookOf(c, form_.focused == &c);
  if (e.hwnd == nullptr) {
    // Drawn on the parent's window: draw the old place and the new one again.
    if (!moved && look == e.look) return;
    HWND host = window_of(*c.parent());
    ::InvalidateRect(host, &e.applied, FALSE);
    ::InvalidateRect(host, &place, FALSE);
    e.applied = place;
    e.look = look;
    return;
  }
  HFONT font = fonts_.get(c.font);
  if (reinterpret_cast<HFONT>(::SendMessageA(e.hwnd, WM_GETFONT, 0, 0)) != font) {
    ::SendMessageA(e.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (c.kind() != ui::Kind::combo_box) SetText(e.hwnd, WantedText(c));
  if (moved) {
    PlaceWindow(e.hwnd, c, place, scale_);
    e.applied = place;
  }
  const bool shown = (::GetWindowLongA(e.hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != c.visible) ::ShowWindow(e.hwnd, c.visible ? SW_SHOWNA : SW_HIDE);
  if ((::IsWindowEnabled(e.hwnd) != FALSE) != c.enabled) ::EnableWindow(e.hwnd, c.enabled);
  sync_special(e);
  if (look != e.look) {
    ::InvalidateRect(e.hwnd, nullptr, FALSE);
    e.look = look;
  }
}

void FormView::sync_special(Entry& e) {
  if (e.control->kind() == ui::Kind::check_box) {
    const bool checked = static_cast<const ui::CheckBox&>(*e.control).checked;
    const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(::SendMessageA(e.hwnd, BM_GETCHECK, 0, 0)) != state) {
      ::SendMessageA(e.hwnd, BM_SETCHECK, state, 0);
    }
    return;
  }
  if (e.control->kind() != ui::Kind::combo_box) return;
  const auto& box = static_cast<const ui::ComboBox&>(*e.control);
  // Text the user is typing is left as typed.
  std::vector<std::string> items;
  for (std::size_t i = 0; i < box.items.size(); ++i) items.push_back(box.shown_item(i));
  if (items != e.shown_items) {
    ::SendMessageA(e.hwnd, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      ::SendMessageA(e.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    e.shown_items = items;
  }
  if (::SendMessageA(e.hwnd, CB_GETCURSEL, 0, 0) != box.item_index) {
    ::SendMessageA(e.hwnd, CB_SETCURSEL, static_cast<WPARAM>(box.item_index), 0);
  }
  const std::string shown = box.shown_text();
  const std::string now = WindowText(e.hwnd);
  if (now != shown && now != box.text) ::SetWindowTextA(e.hwnd, shown.c_str());
  FitComboHeight(e.hwnd, scaled(box.height), scale_);
}

}  // namespace win32ui
