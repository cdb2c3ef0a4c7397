#include "ui/control.h"

namespace ui {

Control::Control(Kind kind, Control* parent, std::string name)
    : kind_(kind), parent_(parent), name_(std::move(name)) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

void Control::set_bounds(int l, int t, int w, int h) {
  left = l;
  top = t;
  width = w;
  height = h;
}

void Control::move_to(int l, int t) {
  left = l;
  top = t;
}

bool Control::showing() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible) return false;
  }
  return true;
}

bool Control::usable() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->enabled) return false;
  }
  return true;
}

}  // namespace ui
