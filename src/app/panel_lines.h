#pragma once

#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/panel.h"

namespace app {

// What a panel shows as text, as the user reads it top to bottom: its title,
// if it has a title bar, then the non-empty captions of its visible labels and
// static texts. Bytes stay as they are; whoever writes them out makes them safe.
std::vector<std::string> PanelLines(const ui::Panel& panel);

// The faces of the panel's visible buttons, without their "&" marks.
std::vector<std::string> PanelButtons(const ui::Panel& panel);

// `s` without the blanks around it, as a caption padded for its frame reads.
std::string Trimmed(const std::string& s);

// A button's caption as the user reads it: "&Retry" is "Retry".
std::string Face(const ui::Button& button);

}  // namespace app
