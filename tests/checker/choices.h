#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace checker {

// Where a run's random choices come from: a generator started from a run's
// start value, so that the number alone replays the run, or the bytes a fuzzer
// hands in, two bytes a choice.
class Choices {
 public:
  explicit Choices(std::uint64_t start_value) : state_(start_value) {}
  explicit Choices(std::span<const std::uint8_t> bytes) : bytes_(bytes), from_bytes_(true) {}

  // A number from 0 to n - 1.
  unsigned Below(unsigned n) {
    if (n <= 1) return 0;
    return static_cast<unsigned>(Next() % n);
  }
  // Picks an index by weight; weights of 0 are never picked.
  std::size_t Weighted(std::span<const unsigned> weights) {
    unsigned total = 0;
    for (unsigned w : weights) total += w;
    unsigned pick = Below(total);
    for (std::size_t i = 0; i < weights.size(); ++i) {
      if (pick < weights[i]) return i;
      pick -= weights[i];
    }
    return 0;
  }
  // A fuzzer's bytes have run out: the run ends there.
  bool Exhausted() const { return from_bytes_ && used_ >= bytes_.size(); }

 private:
  std::uint64_t Next() {
    if (from_bytes_) {
      // Two bytes a choice, so that weights above 256 still count.
      std::uint64_t v = 0;
      for (int i = 0; i < 2; ++i) v = (v << 8) | (used_ < bytes_.size() ? bytes_[used_++] : 0);
      return v;
    }
    // splitmix64: small, fast, and every start value gives its own sequence.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  std::uint64_t state_ = 0;
  std::span<const std::uint8_t> bytes_;
  std::size_t used_ = 0;
  bool from_bytes_ = false;
};

}  // namespace checker
