// A tiny fixed-seed generator so every run produces byte-identical files,
// independent of the standard library's distribution implementations.
#pragma once

#include <cstdint>

namespace art {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1).
  float uniform() { return static_cast<float>(next() >> 40) / static_cast<float>(1 << 24); }
  float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  bool chance(float p) { return uniform() < p; }

 private:
  std::uint64_t state_;
};

}  // namespace art
