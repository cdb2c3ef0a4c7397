#pragma once

#include <windows.h>

#include "ui/control.h"
#include "ui/form.h"
#include "win32/form_view.h"

namespace win32ui {

void RegisterWindowClasses();
// The windows of a view, hidden until it syncs them. `data` lives as long as the window.
HWND MakeFormWindow(const ui::Form& form, HWND owner, WindowData* data);
void MakeCloseButton(HWND root, WindowData* data);
HWND MakeComponentWindow(const ui::Control& c, HWND parent, WindowData* data);

}  // namespace win32ui
