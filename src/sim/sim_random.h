#pragma once
// A small seeded generator (SplitMix64) whose sequence is the same on every platform and
// library, so fault injection is repeatable from a seed.
#include <cstdint>

namespace audiodsp {

class SimRandom {
 public:
  explicit SimRandom(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double unit() { return double(next() >> 11) * 0x1.0p-53; }
  // True with probability p.
  bool chance(double p) { return p > 0 && unit() < p; }
  // Uniform in [lo, hi].
  int64_t range(int64_t lo, int64_t hi) { return lo + int64_t(next() % uint64_t(hi - lo + 1)); }

 private:
  uint64_t state_;
};

}  // namespace audiodsp
