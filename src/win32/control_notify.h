#pragma once

#include <windows.h>

#include "win32/form_view.h"

namespace win32ui {

// What the system's own controls (combo boxes, the check box) tell the window
// holding them: the user's picks and typing, and the colours to draw them in.
// True when `msg` was one of those; `result` is then the answer.
bool ControlNotification(WindowData& holder, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Lets a system control's Alt letters and Tab reach the view, as those of our own windows do.
void ForwardKeys(HWND control, FormView* view);

}  // namespace win32ui
