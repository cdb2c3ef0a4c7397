#pragma once

#include "qt/form_view.h"
#include "ui/control.h"

// Checks that the widget of `c` and those of all its children show what the
// components hold: place, visibility, usability, texts, state and colours.
void ExpectWidgetsFollow(const qtui::FormView& view, const ui::Control& c);
