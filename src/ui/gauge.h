#pragma once

#include "ui/control.h"

namespace ui {

// A horizontal bar from 0 to `max_value` with the percentage in its middle.
class Gauge : public Control {
 public:
  Gauge(Control* parent, std::string name) : Control(Kind::gauge, parent, std::move(name)) {}

  // Whole percent, rounded down, clamped to 0..100; 0 while the maximum is 0.
  int percent() const;

  int max_value = 100;
  int progress = 0;
  Color background = colors::silver;
  Color bar = colors::yellow;
};

}  // namespace ui
