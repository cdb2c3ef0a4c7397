#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "qt/component_widget.h"
#include "qt/form_widget.h"
#include "ui/form.h"

namespace qtui {

// One widget per component of a form, built once in the components' stacking
// order. `sync` brings every widget in line with its component; the front end
// calls it after every event it handled. Widgets hand user input back to their
// components and sync the view themselves.
class FormView {
 public:
  // Without `host` the form gets a window of its own.
  explicit FormView(ui::Form& form, QWidget* host = nullptr);
  ~FormView();
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  FormWidget* root() const { return root_; }
  ui::Form& form() const { return form_; }
  // The widget showing `c`, or nullptr for a component of another form.
  QWidget* widget_of(const ui::Control& c) const;
  // The component shown by `w` or by the widget that holds it.
  ui::Control* control_of(const QWidget* w) const;

  void sync();
  // Runs at the end of every sync.
  std::function<void()> after_sync;

 private:
  struct Entry {
    ui::Control* control;
    QWidget* widget;
    ComponentWidget* binding;
  };

  void build_children(ui::Control& parent, QWidget* parent_widget);
  void sync_entry(const Entry& e);
  void sync_focus();
  void focus_moved(QWidget* now);

  ui::Form& form_;
  QPointer<FormWidget> root_;
  std::vector<Entry> entries_;
  std::map<const ui::Control*, QWidget*> widgets_;
  std::map<const QWidget*, ui::Control*> controls_;
  ui::Control* applied_focus_ = nullptr;
  QMetaObject::Connection focus_connection_;
  bool syncing_ = false;
};

}  // namespace qtui
