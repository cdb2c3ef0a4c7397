#pragma once

#include <string>
#include <vector>

#include "ui/font.h"

namespace ui {

enum class Kind {
  form,
  panel,
  group_box,
  button,
  label,
  static_text,
  combo_box,
  check_box,
  gauge,
  spinner,
  picture,
};

enum class Align { left, center, right };

// A component: a plain object whose properties the program sets and a front
// end shows. Children are kept in stacking order, the last one on top.
class Control {
 public:
  Control(Kind kind, Control* parent, std::string name);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }

  void set_bounds(int l, int t, int w, int h);
  void move_to(int l, int t);
  // Visible on screen: this control and every parent visible.
  bool showing() const;
  // Enabled for input: this control and every parent enabled.
  bool usable() const;

  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool visible = true;
  bool enabled = true;
  std::string caption;
  Font font;

 private:
  Kind kind_;
  Control* parent_;
  std::string name_;
  std::vector<Control*> children_;
};

}  // namespace ui
