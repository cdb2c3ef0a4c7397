#include "ui/gauge.h"

#include <algorithm>
#include <cstdint>

namespace ui {

int Gauge::percent() const {
  if (max_value <= 0) return 0;
  const std::int64_t p = static_cast<std::int64_t>(progress) * 100 / max_value;
  return static_cast<int>(std::clamp<std::int64_t>(p, 0, 100));
}

}  // namespace ui
