#pragma once

namespace win32ui {

// Tells the system that the program draws for the monitor's dpi itself, so
// that it is not stretched (blurred); then the scale to draw at: dpi / 96.
double DeclareDpiAwareAndGetScale();

}  // namespace win32ui
