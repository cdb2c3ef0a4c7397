#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

// A combo box with an editable text and a pull-down list. `caption` is unused:
// the shown text is `text`. Typing into it clears the selection; picking an
// item selects it and shows its text.
class ComboBox : public Control {
 public:
  ComboBox(Control* parent, std::string name) : Control(Kind::combo_box, parent, std::move(name)) {}

  void set_items(std::vector<std::string> new_items);
  void select(int index);
  void type_text(std::string typed);

  std::vector<std::string> items;
  int item_index = -1;
  std::string text;
  Color background = colors::white;
};

}  // namespace ui
