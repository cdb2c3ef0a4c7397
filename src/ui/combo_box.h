#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

// A combo box with an editable text and a pull-down list. `caption` is unused:
// the shown text is `text`. Typing into it clears the selection; picking an
// item selects it and shows its text. The program may show items in a form of
// their own (`shown_as`); a view shows what `shown_item` and `shown_text` say.
class ComboBox : public Control {
 public:
  ComboBox(Control* parent, std::string name) : Control(Kind::combo_box, parent, std::move(name)) {}

  void set_items(std::vector<std::string> new_items);
  void select(int index);
  void type_text(std::string typed);
  std::string shown_item(std::size_t index) const;
  // The text as shown; text being typed is shown as typed, so a view leaves a
  // field that holds `text` itself as it is.
  std::string shown_text() const;

  // How an item or the text is shown; none: as it is.
  std::function<std::string(const std::string&)> shown_as;
  std::vector<std::string> items;
  int item_index = -1;
  std::string text;
  Color background = colors::white;
};

}  // namespace ui
