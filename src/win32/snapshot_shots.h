#pragma once

#include <string>

#include "app/composition.h"
#include "win32/form_view.h"

namespace win32ui {

// Puts the main window into each state a user meets (panels, gauge, spinner,
// port settings) and writes a picture of each into `dir`, naming each file on
// stdout. Returns how many could not be written (each reported on stderr).
int WriteMainWindowShots(app::Composition& program, FormView& view, const std::string& dir);

}  // namespace win32ui
