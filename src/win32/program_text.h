#pragma once

#include <string>

namespace win32ui {

// Shows `text` (the version, say) to whoever started the window program, which
// has no console of its own: on its standard output when it has one (redirected
// or handed down, as a script does it), else in the console of the command
// prompt it was started from, else in a message box.
void ShowProgramText(const std::string& text);

}  // namespace win32ui
