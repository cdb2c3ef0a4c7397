#pragma once

#include <cstdint>

namespace ui {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color black{0, 0, 0};
inline constexpr Color white{255, 255, 255};
inline constexpr Color silver{192, 192, 192};
inline constexpr Color grey{128, 128, 128};
inline constexpr Color navy{0, 0, 128};
inline constexpr Color blue{0, 0, 255};
inline constexpr Color red{255, 0, 0};
inline constexpr Color yellow{255, 255, 0};
}  // namespace colors

}  // namespace ui
