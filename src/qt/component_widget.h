#pragma once

#include <QRect>
#include <functional>

#include "ui/control.h"

namespace qtui {

// Called by a widget after it has handed user input to its component, so that
// the whole view can follow what the component's handler changed.
using AfterInput = std::function<void()>;

// The side of a widget that follows its component. Place, visibility, enabled
// state and font are common to all and set by the view; the rest is the widget's own.
class ComponentWidget {
 public:
  virtual ~ComponentWidget() = default;

  // Texts, colours and state from the component.
  virtual void sync_from_component() = 0;
  // The place to give the widget, `at` being where the component puts its
  // top-left corner; widgets that size themselves to their content override it.
  virtual QRect wanted_place(const ui::Control& c, QPoint at) const {
    return QRect(at, QSize(c.width, c.height));
  }
};

}  // namespace qtui
