#include "ui/check_box.h"

namespace ui {

bool CheckBox::click() {
  if (!showing() || !usable()) return false;
  checked = !checked;
  if (on_click) on_click();
  return true;
}

}  // namespace ui
