#pragma once

#include <windows.h>

#include <string>

#include "win32/png_file.h"

namespace win32ui {

// Handles the window messages waiting on this thread (painting among them).
void PumpWaitingMessages();
// What `window` shows on the screen, frame and all, once drawn up to date.
Rgb8Picture CaptureWindow(HWND window);
// Writes it as a PNG file, naming the file on stdout; false (said on stderr) when it cannot.
bool WriteWindowShot(HWND window, const std::string& path);

}  // namespace win32ui
