// Deterministic randomness for the generator: a SplitMix64 stream with a
// fixed seed per asset, and hash-based value noise. Nothing here reads the
// clock or depends on iteration order, so every run makes the same bytes.
#pragma once

#include <cmath>
#include <cstdint>

namespace datakit {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  float Unit() { return static_cast<float>(Next() >> 40) / 16777216.0f; }
  float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
  // Uniform integer in [lo, hi].
  int Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  bool Chance(float p) { return Unit() < p; }
  // Roughly normal, mean 0, deviation 1 (sum of four uniforms).

 private:
  std::uint64_t state_;
};

// A well-mixed hash of a lattice point, in [0, 1).
inline float Hash2(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                    static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

// Smooth value noise in [0, 1), one lattice cell per unit.
inline float ValueNoise(float x, float y, std::uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const float a = Hash2(ix, iy, seed), b = Hash2(ix + 1, iy, seed);
  const float c = Hash2(ix, iy + 1, seed), d = Hash2(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Fractal sum of value noise, in [0, 1). `scale` is the size of the largest
// features in pixels.
inline float Fbm(float x, float y, float scale, int octaves, std::uint32_t seed) {
  float sum = 0, amp = 0.5f, norm = 0, f = 1.0f / scale;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x * f, y * f, seed + 101u * static_cast<std::uint32_t>(i));
    norm += amp;
    amp *= 0.5f;
    f *= 2.0f;
  }
  return sum / norm;
}

}  // namespace datakit
