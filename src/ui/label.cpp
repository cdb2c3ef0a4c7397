#include "ui/label.h"

namespace ui {

bool Label::click() {
  if (!showing() || !usable()) return false;
  if (on_click) on_click();
  return true;
}

}  // namespace ui
