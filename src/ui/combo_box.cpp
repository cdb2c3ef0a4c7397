#include "ui/combo_box.h"

namespace ui {

void ComboBox::set_items(std::vector<std::string> new_items) {
  items = std::move(new_items);
  item_index = -1;
}

void ComboBox::select(int index) {
  if (index < 0 || index >= static_cast<int>(items.size())) {
    item_index = -1;
    return;
  }
  item_index = index;
  text = items[static_cast<std::size_t>(index)];
}

void ComboBox::type_text(std::string typed) {
  text = std::move(typed);
  item_index = -1;
}

std::string ComboBox::shown_item(std::size_t index) const {
  return shown_as ? shown_as(items.at(index)) : items.at(index);
}

std::string ComboBox::shown_text() const {
  return shown_as ? shown_as(text) : text;
}

}  // namespace ui
