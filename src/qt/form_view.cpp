#include "qt/form_view.h"

#include <QApplication>

#include "qt/convert.h"
#include "qt/form_widget.h"
#include "qt/make_widget.h"
#include "ui/panel.h"

namespace qtui {

namespace {

// Where a parent's client area starts inside the parent's widget.
QPoint ClientOrigin(const ui::Control& parent) {
  switch (parent.kind()) {
    case ui::Kind::form: {
      const auto& f = static_cast<const ui::Form&>(parent);
      return QPoint(f.client_left(), f.client_top());
    }
    case ui::Kind::panel:
      return QPoint(0, static_cast<const ui::Panel&>(parent).client_top());
    default:
      return QPoint(0, 0);
  }
}

}  // namespace

FormView::FormView(ui::Form& form, QWidget* host) : form_(form) {
  const AfterInput after_input = [this] { sync(); };
  root_ = new FormWidget(form_, host, after_input);
  controls_[root_] = &form_;
  widgets_[&form_] = root_;
  build_children(form_, root_);
  focus_connection_ = QObject::connect(qApp, &QApplication::focusChanged,
                                       [this](QWidget*, QWidget* now) { focus_moved(now); });
  sync();
}

FormView::~FormView() {
  QObject::disconnect(focus_connection_);
  delete root_.data();
}

void FormView::build_children(ui::Control& parent, QWidget* parent_widget) {
  const AfterInput after_input = [this] { sync(); };
  for (ui::Control* child : parent.children()) {
    const MadeWidget made = MakeWidget(*child, parent_widget, after_input);
    made.widget->setObjectName(ToQString(child->name()));
    entries_.push_back(Entry{child, made.widget, made.binding});
    widgets_[child] = made.widget;
    controls_[made.widget] = child;
    build_children(*child, made.widget);
  }
}

QWidget* FormView::widget_of(const ui::Control& c) const {
  const auto it = widgets_.find(&c);
  return it == widgets_.end() ? nullptr : it->second;
}

ui::Control* FormView::control_of(const QWidget* w) const {
  for (; w != nullptr; w = w->parentWidget()) {
    const auto it = controls_.find(w);
    if (it != controls_.end()) return it->second;
  }
  return nullptr;
}

void FormView::sync() {
  // Setting a widget's state may emit one of its signals; an input forwarder
  // reached that way must not start a second sync over half-updated widgets.
  if (syncing_ || root_ == nullptr) return;
  syncing_ = true;
  root_->sync_from_component();
  for (const Entry& e : entries_) sync_entry(e);
  sync_focus();
  syncing_ = false;
  if (after_sync) after_sync();
}

void FormView::sync_entry(const Entry& e) {
  const ui::Control& c = *e.control;
  const QFont font = ToQFont(c.font);
  if (e.widget->font() != font) e.widget->setFont(font);
  e.binding->sync_from_component();
  const QPoint origin = ClientOrigin(*c.parent());
  const QRect place = e.binding->wanted_place(c, origin + QPoint(c.left, c.top));
  if (e.widget->geometry() != place) e.widget->setGeometry(place);
  if (e.widget->isHidden() == c.visible) e.widget->setVisible(c.visible);
  if (e.widget->testAttribute(Qt::WA_ForceDisabled) == c.enabled) e.widget->setEnabled(c.enabled);
}

void FormView::sync_focus() {
  if (form_.focused == applied_focus_) return;
  applied_focus_ = form_.focused;
  if (applied_focus_ == nullptr) return;
  if (QWidget* w = widget_of(*applied_focus_)) w->setFocus(Qt::OtherFocusReason);
}

void FormView::focus_moved(QWidget* now) {
  if (now == nullptr || root_ == nullptr || now->window() != root_->window()) return;
  ui::Control* c = control_of(now);
  if (c == nullptr || c == &form_) return;
  form_.focused = c;
  applied_focus_ = c;
}

}  // namespace qtui
