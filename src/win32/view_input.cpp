// User input the view hands to its components, and the drawing of its windows.
#include <algorithm>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/label.h"
#include "ui/spinner.h"
#include "win32/form_view.h"
#include "win32/frame.h"
#include "win32/paint.h"

namespace win32ui {

namespace {

// Top of the stacking order first: a component's children lie above it, and a
// later sibling with all it holds above an earlier one.
void TopFirst(ui::Control& c, std::vector<ui::Control*>& out) {
  const auto& children = c.children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    TopFirst(**it, out);
    out.push_back(*it);
  }
}

// Whether the middle of `r` lies under one of the panels `above` (none of
// which is the button's own: those come after it, top first).
bool Covered(const RECT& r, const std::vector<RECT>& above, const ui::Control&) {
  const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  return std::any_of(above.begin(), above.end(),
                     [&](const RECT& a) { return ::PtInRect(&a, middle) != FALSE; });
}

bool TakesFocus(const ui::Control& c) {
  return c.kind() == ui::Kind::button || c.kind() == ui::Kind::combo_box ||
         c.kind() == ui::Kind::check_box;
}

}  // namespace

std::vector<ui::Control*> FormView::search_order() const {
  std::vector<ui::Control*> order;
  TopFirst(form_, order);
  return order;
}

// The system's dialogs press the first button with the letter that is visible
// in their sense: shown, though perhaps covered. Here a button covered by a
// panel above it, which the user cannot see, is passed over too.
bool FormView::press_accelerator(char letter) {
  std::vector<RECT> above;
  for (ui::Control* c : search_order()) {
    if (!c->showing()) continue;
    const RECT r = on_form(*c);
    if (c->kind() == ui::Kind::panel || c->kind() == ui::Kind::group_box) above.push_back(r);
    if (c->kind() != ui::Kind::button) continue;
    auto* b = static_cast<ui::Button*>(c);
    if (b->accelerator() != letter || !b->usable() || Covered(r, above, *b)) continue;
    b->click();
    sync();
    return true;
  }
  return false;
}

RECT FormView::on_form(const ui::Control& c) const {
  RECT r = place_of(c);
  for (const ui::Control* p = c.parent(); p != nullptr && p != &form_; p = p->parent()) {
    const RECT outer = place_of(*p);
    ::OffsetRect(&r, outer.left, outer.top);
  }
  return r;
}

bool FormView::press_marked(bool want_default) {
  for (ui::Control* c : search_order()) {
    if (c->kind() != ui::Kind::button) continue;
    auto* b = static_cast<ui::Button*>(c);
    if (!(want_default ? b->is_default : b->is_cancel)) continue;
    const bool taken = b->click();
    sync();
    return taken;
  }
  return false;
}

// Stacking order, bottom first, as the controls were made.
void FormView::tab(bool backwards) {
  std::vector<ui::Control*> order;
  for (const Entry& e : entries_) {
    if (TakesFocus(*e.control) && e.control->showing() && e.control->usable()) {
      order.push_back(e.control);
    }
  }
  if (order.empty()) return;
  if (backwards) std::reverse(order.begin(), order.end());
  const auto at = std::find(order.begin(), order.end(), form_.focused);
  form_.focused = at == order.end() || at + 1 == order.end() ? order.front() : *(at + 1);
  sync();
}

void FormView::spinner_tick() {
  for (Entry& e : entries_) {
    if (e.control->kind() == ui::Kind::spinner && e.control->showing()) {
      static_cast<ui::Spinner*>(e.control)->advance();
    }
  }
  sync();
}

void FormView::click_drawn(HWND host, POINT at) {
  ui::Control* parent = control_of(host);
  if (parent == nullptr) return;
  const auto& children = parent->children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->kind() != ui::Kind::label || !(*it)->showing()) continue;
    const RECT r = place_of(**it);
    if (!::PtInRect(&r, at)) continue;
    static_cast<ui::Label*>(*it)->click();
    sync();
    return;
  }
}

void FormView::paint(HWND hwnd, const WindowData& data, HDC dc) {
  RECT client;
  ::GetClientRect(hwnd, &client);
  Painter p{dc, client, scale_, fonts_};
  if (data.role == Role::close_button) return PaintCloseButton(p, data.pressed);
  if (data.role == Role::form) {
    PaintForm(p, form_);
  } else {
    PaintComponent(p, *data.control, PaintState{::GetFocus() == hwnd, data.pressed});
  }
  paint_drawn_children(dc, *data.control);
}

void FormView::paint_drawn_children(HDC dc, const ui::Control& parent) {
  for (const ui::Control* c : parent.children()) {
    if (c->kind() != ui::Kind::label && c->kind() != ui::Kind::spinner) continue;
    if (!c->visible) continue;
    Painter p{dc, place_of(*c), scale_, fonts_};
    PaintComponent(p, *c, PaintState{});
  }
}

}  // namespace win32ui
