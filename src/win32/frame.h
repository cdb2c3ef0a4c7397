#pragma once

#include <windows.h>

#include <string>

#include "ui/control.h"
#include "ui/form.h"

namespace win32ui {

// Caption, size, place and shape of a form's window. A centred form is
// centred on the screen's work area the first time only (`placed` false).
void SyncFormWindow(HWND root, const ui::Form& form, double scale, bool placed);
// Moves a component's window to `place` (its parent's client coordinates).
void PlaceWindow(HWND hwnd, const ui::Control& c, RECT place, double scale);
// Makes a drop-down combo box `height` pixels high when closed.
void FitComboHeight(HWND combo, int height, double scale);
// Across the rounded corner of a panel: a radius of 8.
int PanelCorner(double scale);
void RememberCloseButton(HWND root, HWND close);

}  // namespace win32ui
