#include "ui/button.h"

#include <cctype>

namespace ui {

bool Button::click() {
  if (!showing() || !usable()) return false;
  if (on_click) on_click();
  return true;
}

char Button::accelerator() const {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

}  // namespace ui
