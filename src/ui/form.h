#pragma once

#include "ui/control.h"

namespace ui {

enum class Frame { custom, borderless };
enum class ModalResult { none, ok, cancel };

// A top-level window. `left`/`top` place it on the screen, `width`/`height`
// are its outer size, `caption` its title. Children are placed in the client area.
class Form : public Control {
 public:
  Form(std::string name) : Control(Kind::form, nullptr, std::move(name)) {}

  int client_left() const { return frame == Frame::custom ? border : 0; }
  int client_top() const { return frame == Frame::custom ? caption_height : 0; }
  int client_width() const { return width - 2 * client_left(); }
  int client_height() const { return height - client_top() - client_left(); }

  Control* focused = nullptr;
  Frame frame = Frame::custom;
  int caption_height = 24;
  int border = 2;
  bool centred = false;
  Color base = colors::silver;
  Color client_from = colors::silver;
  Color client_to = colors::silver;
  ModalResult modal_result = ModalResult::none;
};

}  // namespace ui
