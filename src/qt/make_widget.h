#pragma once

#include <QWidget>

#include "qt/component_widget.h"
#include "ui/control.h"

namespace qtui {

struct MadeWidget {
  QWidget* widget;
  ComponentWidget* binding;
};

// The widget that shows `c`, as a child of `parent`.
MadeWidget MakeWidget(ui::Control& c, QWidget* parent, const AfterInput& after_input);

}  // namespace qtui
