#include "win32/control_notify.h"

#include <commctrl.h>

#include <cctype>

#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/group_box.h"
#include "ui/panel.h"

namespace win32ui {

namespace {

std::string TextOf(HWND hwnd) {
  char buffer[512] = {};
  ::GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

bool Command(WindowData& holder, WPARAM wp, LPARAM lp) {
  FormView& view = *holder.view;
  HWND from = reinterpret_cast<HWND>(lp);
  ui::Control* c = view.control_of(from);
  if (c == nullptr || c == holder.control || view.syncing()) return false;
  const WORD code = HIWORD(wp);
  if (c->kind() == ui::Kind::check_box && code == BN_CLICKED) {
    static_cast<ui::CheckBox*>(c)->click();
  } else if (c->kind() == ui::Kind::combo_box && code == CBN_SELCHANGE) {
    const LRESULT index = ::SendMessageA(from, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) static_cast<ui::ComboBox*>(c)->select(static_cast<int>(index));
  } else if (c->kind() == ui::Kind::combo_box && code == CBN_EDITCHANGE) {
    static_cast<ui::ComboBox*>(c)->type_text(TextOf(from));
  } else {
    return false;
  }
  view.input_on(*c);
  return true;
}

ui::Color FaceOf(const ui::Control& holder) {
  if (holder.kind() == ui::Kind::group_box)
    return static_cast<const ui::GroupBox&>(holder).background;
  if (holder.kind() == ui::Kind::panel) return static_cast<const ui::Panel&>(holder).face_from;
  return ui::colors::silver;
}

LRESULT CALLBACK Forwarder(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* view = reinterpret_cast<FormView*>(ref);
  if (msg == WM_SYSCHAR && std::isalnum(static_cast<unsigned char>(wp)) &&
      view->press_accelerator(static_cast<char>(std::toupper(static_cast<int>(wp))))) {
    return 0;
  }
  if (msg == WM_KEYDOWN && wp == VK_TAB) {
    view->tab(::GetKeyState(VK_SHIFT) < 0);
    return 0;
  }
  if (msg == WM_SETFOCUS) {
    if (ui::Control* c = view->control_of(hwnd)) view->focus_came(*c);
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool ControlNotification(WindowData& holder, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      result = 0;
      return Command(holder, wp, lp);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      ui::Control* c = holder.view->control_of(reinterpret_cast<HWND>(lp));
      if (c == nullptr) return false;
      // A combo box keeps its colours when disabled (its edit then asks as
      // static text); the check box takes its holder's face.
      ui::Color back;
      if (c->kind() == ui::Kind::combo_box) {
        back = static_cast<const ui::ComboBox&>(*c).background;
      } else if (c->kind() == ui::Kind::check_box) {
        back = FaceOf(*holder.control);
      } else {
        return false;
      }
      HDC dc = reinterpret_cast<HDC>(wp);
      ::SetTextColor(dc, Rgb(c->font.color));
      ::SetBkColor(dc, Rgb(back));
      result = reinterpret_cast<LRESULT>(holder.view->brush(back));
      return true;
    }
    default:
      return false;
  }
}

void ForwardKeys(HWND control, FormView* view) {
  ::SetWindowSubclass(control, Forwarder, 1, reinterpret_cast<DWORD_PTR>(view));
}

}  // namespace win32ui
