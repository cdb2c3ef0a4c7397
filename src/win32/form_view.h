#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "win32/gdi.h"

namespace win32ui {

enum class Role { form, component, close_button };

// What a window of the view carries in its user data.
struct WindowData {
  class FormView* view;
  ui::Control* control;  // the form for the form's window and its close button
  Role role;
  bool pressed = false;
  HFONT font = nullptr;  // as WM_SETFONT gave it
};

// One window per component of a form, built once in the components' stacking
// order; labels and the spinner, which have no face of their own, are drawn by
// the window they lie on. `sync` brings every window in line with its
// component; the front end calls it after every event it handled. Windows hand
// user input back to their components and sync the view themselves.
class FormView {
 public:
  // `scale` is the monitor's dpi / 96: every place, size and font is multiplied by it.
  FormView(ui::Form& form, HWND owner, double scale);
  ~FormView();
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  HWND root() const { return root_; }
  ui::Form& form() const { return form_; }
  double scale() const { return scale_; }
  int scaled(int px) const;
  // The window showing `c`; null for a component drawn on its parent's window.
  HWND window_of(const ui::Control& c) const;
  // The component shown by `hwnd` or by the window holding it (the edit of a combo box).
  ui::Control* control_of(HWND hwnd) const;
  // Where `c` lies in the client area of its parent's window, at the view's scale.
  RECT place_of(const ui::Control& c) const;
  // Whether the user closed the window (its close button, Alt+F4).
  bool closed() const { return closed_; }
  bool syncing() const { return syncing_; }

  void sync();
  std::function<void()> after_sync;

  // --- For the windows' procedure ---
  // Presses the first shown, uncovered and usable button with Alt-letter
  // `letter`, down from the top of the stacking order.
  bool press_accelerator(char letter);
  // Presses the form's default (or cancel) button; false when it has none.
  bool press_marked(bool want_default);
  // Moves the focus to the next (or previous) control that takes it.
  void tab(bool backwards);
  void input_on(ui::Control& c);
  void focus_came(ui::Control& c);
  void close_requested();
  // The user dragged the window to (x, y) on the screen.
  void window_moved(int x, int y);
  void paint(HWND hwnd, const WindowData& data, HDC dc);
  void click_drawn(HWND host, POINT at);
  void spinner_tick();
  HBRUSH brush(ui::Color c);
  FontCache& fonts() { return fonts_; }

 private:
  struct Entry {
    ui::Control* control;
    HWND hwnd;  // null: drawn on its parent's window
    RECT applied{};
    std::vector<std::string> shown_items;
    std::string look;  // what the window or drawing showed at the last sync
  };

  void build_children(ui::Control& parent, HWND parent_hwnd);
  HWND make_window(ui::Control& c, HWND parent);
  void sync_root();
  void sync_entry(Entry& e);
  void sync_special(Entry& e);
  void sync_focus();
  void sync_spinners();
  void paint_drawn_children(HDC dc, const ui::Control& parent);
  std::vector<ui::Control*> search_order() const;
  const Entry* entry_of(const ui::Control& c) const;
  // The place of `c` in the form's client area, at the view's scale.
  RECT on_form(const ui::Control& c) const;

  ui::Form& form_;
  double scale_;
  mutable FontCache fonts_;  // measuring text fills it
  std::map<std::uint32_t, HBRUSH> brushes_;
  HWND root_ = nullptr;
  std::vector<std::unique_ptr<WindowData>> data_;
  std::vector<Entry> entries_;
  std::map<const ui::Control*, std::size_t> index_;
  std::map<HWND, ui::Control*> controls_;
  ui::Control* applied_focus_ = nullptr;
  bool syncing_ = false;
  bool closed_ = false;
  bool spinning_ = false;
  bool placed_ = false;
};

}  // namespace win32ui
