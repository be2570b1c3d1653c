#pragma once
// The generator's own random numbers: xoshiro256** seeded through splitmix64. Written out here
// rather than taken from <random>, whose distributions differ between standard libraries, so a
// seed gives the same city everywhere.
#include <cstdint>
#include <string>
#include <vector>

namespace citygen {

class Random {
 public:
  explicit Random(std::uint64_t seed) {
    for (auto& word : state_) word = SplitMix(seed);
  }

  std::uint64_t Next() {
    const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotl(state_[3], 45);
    return result;
  }

  // Uniform in [0, 1).
  double Unit() { return double(Next() >> 11) * 0x1.0p-53; }
  // Uniform in [lo, hi).
  double Uniform(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  // Uniform whole number in [lo, hi], both ends included.
  int Between(int lo, int hi) { return lo + int(Next() % std::uint64_t(hi - lo + 1)); }
  bool Chance(double p) { return Unit() < p; }
  std::size_t Index(std::size_t size) { return std::size_t(Next() % size); }

  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Index(items.size())];
  }

  // A generator of its own, so that one part of the city can draw more or fewer numbers
  // without shifting what every later part draws.
  Random Fork(std::uint64_t salt) { return Random(Next() ^ (salt * 0x9E3779B97F4A7C15ULL)); }

 private:
  static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  static std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  std::uint64_t state_[4];
};

}  // namespace citygen
