#include "win32/window_proc.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cctype>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "win32/control_notify.h"
#include "win32/frame.h"

namespace win32ui {

namespace {

const char* const form_class = "ZekForm";
const char* const component_class = "ZekComponent";

WindowData* DataOf(HWND hwnd) {
  return reinterpret_cast<WindowData*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool Pressable(const WindowData& d) {
  return d.role == Role::close_button ||
         (d.role == Role::component && d.control->kind() == ui::Kind::button);
}

void Activate(WindowData& d) {
  if (d.role == Role::close_button) return d.view->close_requested();
  static_cast<ui::Button*>(d.control)->click();
  d.view->input_on(*d.control);
}

// Drawn into a bitmap first, so that nothing flickers.
void Paint(HWND hwnd, WindowData& d) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd, &ps);
  RECT r;
  ::GetClientRect(hwnd, &r);
  HDC mem = ::CreateCompatibleDC(dc);
  HBITMAP bits = ::CreateCompatibleBitmap(dc, r.right, r.bottom);
  {
    Selected s(mem, bits);
    d.view->paint(hwnd, d, mem);
    ::BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
  }
  ::DeleteObject(bits);
  ::DeleteDC(mem);
  ::EndPaint(hwnd, &ps);
}

bool KeyDown(HWND hwnd, WindowData& d, WPARAM key) {
  switch (key) {
    case VK_SPACE:
    case VK_RETURN:
      if (Pressable(d) && d.role == Role::component) {
        Activate(d);
        return true;
      }
      return key == VK_RETURN && d.view->press_marked(true);
    case VK_ESCAPE:
      return d.view->press_marked(false);
    case VK_TAB:
      d.view->tab(::GetKeyState(VK_SHIFT) < 0);
      return true;
    default:
      (void)hwnd;
      return false;
  }
}

bool Mouse(HWND hwnd, WindowData& d, UINT msg, LPARAM lp) {
  const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (msg == WM_LBUTTONDOWN) {
    if (!Pressable(d)) {
      d.view->click_drawn(hwnd, at);
      return true;
    }
    if (d.role == Role::component) ::SetFocus(hwnd);
    d.pressed = true;
    ::SetCapture(hwnd);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    return true;
  }
  if (!d.pressed) return false;
  d.pressed = false;
  ::ReleaseCapture();
  ::InvalidateRect(hwnd, nullptr, FALSE);
  RECT r;
  ::GetClientRect(hwnd, &r);
  if (::PtInRect(&r, at)) Activate(d);
  return true;
}

LRESULT FormMessage(HWND hwnd, WindowData& d, UINT msg, LPARAM lp, bool& handled) {
  handled = true;
  switch (msg) {
    case WM_NCHITTEST: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ::ScreenToClient(hwnd, &at);
      const ui::Form& f = d.view->form();
      if (f.frame == ui::Frame::custom && at.y < d.view->scaled(f.caption_height)) return HTCAPTION;
      return HTCLIENT;
    }
    case WM_CLOSE:
      d.view->close_requested();
      return 0;
    case WM_TIMER:
      d.view->spinner_tick();
      return 0;
    case WM_SETFOCUS:
      // Back to the window: the focus goes where the form last had it.
      if (const ui::Control* c = d.view->form().focused) {
        HWND focused = d.view->window_of(*c);
        if (focused != nullptr && ::IsWindowVisible(focused)) ::SetFocus(focused);
      }
      return 0;
    case WM_MOVE: {
      RECT r;
      ::GetWindowRect(hwnd, &r);
      d.view->window_moved(r.left, r.top);
      return 0;
    }
    default:
      handled = false;
      return 0;
  }
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  WindowData* d = DataOf(hwnd);
  if (d == nullptr) return ::DefWindowProcA(hwnd, msg, wp, lp);
  if (d->role == Role::form) {
    bool handled = false;
    const LRESULT r = FormMessage(hwnd, *d, msg, lp, handled);
    if (handled) return r;
  }
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, *d);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (Mouse(hwnd, *d, msg, lp)) return 0;
      break;
    case WM_CAPTURECHANGED:
      d->pressed = false;
      break;
    case BM_CLICK:
      if (Pressable(*d)) Activate(*d);
      return 0;
    case WM_KEYDOWN:
      if (KeyDown(hwnd, *d, wp)) return 0;
      break;
    case WM_SYSCHAR:
      if (std::isalnum(static_cast<unsigned char>(wp)) &&
          d->view->press_accelerator(static_cast<char>(std::toupper(static_cast<int>(wp))))) {
        return 0;
      }
      break;
    case WM_SETFONT:
      d->font = reinterpret_cast<HFONT>(wp);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(d->font);
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_SETFOCUS:
      if (d->role == Role::component) d->view->focus_came(*d->control);
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    default: {
      LRESULT result = 0;
      if (ControlNotification(*d, msg, wp, lp, result)) return result;
      break;
    }
  }
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

HINSTANCE Instance() {
  return ::GetModuleHandleA(nullptr);
}

}  // namespace

void RegisterWindowClasses() {
  WNDCLASSEXA wc{};
  if (::GetClassInfoExA(Instance(), component_class, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = component_class;
  ::RegisterClassExA(&wc);
  wc.lpszClassName = form_class;
  wc.style = CS_DBLCLKS;
  ::RegisterClassExA(&wc);
}

HWND MakeFormWindow(const ui::Form& form, HWND owner, WindowData* data) {
  const DWORD style =
      WS_POPUP | WS_CLIPCHILDREN | (form.frame == ui::Frame::custom ? WS_SYSMENU : 0);
  return ::CreateWindowExA(owner == nullptr ? WS_EX_APPWINDOW : 0, form_class, form.caption.c_str(),
                           style, 0, 0, 10, 10, owner, nullptr, Instance(), data);
}

void MakeCloseButton(HWND root, WindowData* data) {
  HWND close = ::CreateWindowExA(0, component_class, "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, root,
                                 nullptr, Instance(), data);
  RememberCloseButton(root, close);
}

HWND MakeComponentWindow(const ui::Control& c, HWND parent, WindowData* data) {
  const DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
  switch (c.kind()) {
    case ui::Kind::combo_box: {
      HWND combo = ::CreateWindowExA(
          0, WC_COMBOBOXA, "", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
          0, 1, 1, parent, nullptr, Instance(), nullptr);
      ForwardKeys(combo, data->view);
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (::GetComboBoxInfo(combo, &info) && info.hwndItem != nullptr) {
        ForwardKeys(info.hwndItem, data->view);
      }
      return combo;
    }
    case ui::Kind::check_box: {
      HWND box = ::CreateWindowExA(0, WC_BUTTONA, "", child | WS_TABSTOP | BS_CHECKBOX, 0, 0, 1, 1,
                                   parent, nullptr, Instance(), nullptr);
      ForwardKeys(box, data->view);
      return box;
    }
    case ui::Kind::button:
      return ::CreateWindowExA(0, component_class, "", child | WS_TABSTOP, 0, 0, 1, 1, parent,
                               nullptr, Instance(), data);
    default:
      return ::CreateWindowExA(0, component_class, "", child | WS_CLIPCHILDREN, 0, 0, 1, 1, parent,
                               nullptr, Instance(), data);
  }
}

}  // namespace win32ui
