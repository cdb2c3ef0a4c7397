#include "win32/form_view.h"

#include <cmath>

#include "ui/label.h"
#include "ui/panel.h"
#include "win32/frame.h"
#include "win32/window_proc.h"

namespace win32ui {

namespace {

constexpr UINT_PTR spinner_timer = 1;

POINT ClientOrigin(const ui::Control& parent) {
  switch (parent.kind()) {
    case ui::Kind::form: {
      const auto& f = static_cast<const ui::Form&>(parent);
      return POINT{f.client_left(), f.client_top()};
    }
    case ui::Kind::panel:
      return POINT{0, static_cast<const ui::Panel&>(parent).client_top()};
    default:
      return POINT{0, 0};
  }
}

bool Drawn(const ui::Control& c) {
  return c.kind() == ui::Kind::label || c.kind() == ui::Kind::spinner;
}

}  // namespace

FormView::FormView(ui::Form& form, HWND owner, double scale)
    : form_(form), scale_(scale), fonts_(scale) {
  RegisterWindowClasses();
  data_.push_back(std::make_unique<WindowData>(WindowData{this, &form_, Role::form}));
  root_ = MakeFormWindow(form_, owner, data_.back().get());
  controls_[root_] = &form_;
  if (form_.frame == ui::Frame::custom) {
    data_.push_back(std::make_unique<WindowData>(WindowData{this, &form_, Role::close_button}));
    MakeCloseButton(root_, data_.back().get());
  }
  build_children(form_, root_);
  sync();
}

FormView::~FormView() {
  if (root_ != nullptr) ::DestroyWindow(root_);
  for (auto& [key, b] : brushes_) ::DeleteObject(b);
}

int FormView::scaled(int px) const {
  return static_cast<int>(std::lround(px * scale_));
}

void FormView::build_children(ui::Control& parent, HWND parent_hwnd) {
  for (ui::Control* child : parent.children()) {
    HWND hwnd = Drawn(*child) ? nullptr : make_window(*child, parent_hwnd);
    index_[child] = entries_.size();
    entries_.push_back(Entry{child, hwnd, RECT{}, {}, {}});
    if (hwnd != nullptr) {
      controls_[hwnd] = child;
      // Each new window goes on top of those made before it, as the stacking order has it.
      ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      build_children(*child, hwnd);
    }
  }
}

HWND FormView::make_window(ui::Control& c, HWND parent) {
  data_.push_back(std::make_unique<WindowData>(WindowData{this, &c, Role::component}));
  return MakeComponentWindow(c, parent, data_.back().get());
}

const FormView::Entry* FormView::entry_of(const ui::Control& c) const {
  const auto it = index_.find(&c);
  return it == index_.end() ? nullptr : &entries_[it->second];
}

HWND FormView::window_of(const ui::Control& c) const {
  if (&c == &form_) return root_;
  const Entry* e = entry_of(c);
  return e == nullptr ? nullptr : e->hwnd;
}

ui::Control* FormView::control_of(HWND hwnd) const {
  for (; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
    const auto it = controls_.find(hwnd);
    if (it != controls_.end()) return it->second;
  }
  return nullptr;
}

RECT FormView::place_of(const ui::Control& c) const {
  const POINT o = ClientOrigin(*c.parent());
  const int x = scaled(o.x + c.left);
  const int y = scaled(o.y + c.top);
  const auto* label = c.kind() == ui::Kind::label ? static_cast<const ui::Label*>(&c) : nullptr;
  if (label == nullptr || !label->auto_size) {
    return RECT{x, y, x + scaled(c.width), y + scaled(c.height)};
  }
  const SIZE size = fonts_.text_size(c.font, c.caption);
  if (label->align == ui::Align::right) {
    const int right = x + scaled(c.width);
    return RECT{right - size.cx, y, right, y + size.cy};
  }
  return RECT{x, y, x + size.cx, y + size.cy};
}

void FormView::sync() {
  // Setting a window's state may send a notification back; a handler reached
  // that way must not start a second sync over half-updated windows.
  if (syncing_ || root_ == nullptr) return;
  syncing_ = true;
  sync_root();
  for (Entry& e : entries_) sync_entry(e);
  sync_focus();
  sync_spinners();
  syncing_ = false;
  if (after_sync) after_sync();
}

void FormView::sync_root() {
  SyncFormWindow(root_, form_, scale_, placed_);
  placed_ = true;
  if (::IsWindowVisible(root_) != static_cast<BOOL>(form_.visible)) {
    ::ShowWindow(root_, form_.visible ? SW_SHOW : SW_HIDE);
  }
}

void FormView::sync_focus() {
  if (form_.focused == applied_focus_) return;
  applied_focus_ = form_.focused;
  if (applied_focus_ == nullptr) return;
  if (HWND hwnd = window_of(*applied_focus_)) ::SetFocus(hwnd);
}

void FormView::sync_spinners() {
  bool any = false;
  for (const Entry& e : entries_)
    any = any || (e.control->kind() == ui::Kind::spinner && e.control->showing());
  if (any == spinning_) return;
  spinning_ = any;
  if (any) {
    ::SetTimer(root_, spinner_timer, 100, nullptr);
  } else {
    ::KillTimer(root_, spinner_timer);
  }
}

void FormView::focus_came(ui::Control& c) {
  if (syncing_) return;
  form_.focused = &c;
  applied_focus_ = &c;
}

void FormView::input_on(ui::Control&) {
  sync();
}

void FormView::close_requested() {
  closed_ = true;
  form_.visible = false;
  sync();
}

void FormView::window_moved(int x, int y) {
  if (syncing_ || form_.centred) return;
  form_.move_to(static_cast<int>(std::lround(x / scale_)),
                static_cast<int>(std::lround(y / scale_)));
}

HBRUSH FormView::brush(ui::Color c) {
  const std::uint32_t key = (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
  const auto it = brushes_.find(key);
  if (it != brushes_.end()) return it->second;
  HBRUSH b = ::CreateSolidBrush(Rgb(c));
  brushes_.emplace(key, b);
  return b;
}

}  // namespace win32ui
