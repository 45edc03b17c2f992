#include "noise.h"

#include <cmath>

namespace art {
namespace {

std::uint32_t hash(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
  std::uint32_t h = seed * 0x27D4EB2Du;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
  h = (h << 11) | (h >> 21);
  h ^= static_cast<std::uint32_t>(z) * 0x165667B1u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

float lattice(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
  return static_cast<float>(hash(x, y, z, seed) >> 8) / static_cast<float>(1 << 24);
}

float smooth(float t) {
  return t * t * (3.0f - 2.0f * t);
}
float lerp(float a, float b, float t) {
  return a + (b - a) * t;
}

// `period` <= 0 means no wrapping.
float noise3(float x, float y, float z, std::uint32_t seed, int period) {
  float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy),
       iz = static_cast<std::int32_t>(fz);
  float tx = smooth(x - fx), ty = smooth(y - fy), tz = smooth(z - fz);
  auto wrap = [period](std::int32_t v) {
    if (period <= 0) return v;
    v %= period;
    return v < 0 ? v + period : v;
  };
  std::int32_t x0 = wrap(ix), x1 = wrap(ix + 1), y0 = wrap(iy), y1 = wrap(iy + 1);
  auto plane = [&](std::int32_t zz) {
    float a = lerp(lattice(x0, y0, zz, seed), lattice(x1, y0, zz, seed), tx);
    float b = lerp(lattice(x0, y1, zz, seed), lattice(x1, y1, zz, seed), tx);
    return lerp(a, b, ty);
  };
  return lerp(plane(iz), plane(iz + 1), tz);
}

}  // namespace

float value_noise(float x, float y, float z, std::uint32_t seed) {
  return noise3(x, y, z, seed, 0);
}

float fbm(float x, float y, float z, int octaves, std::uint32_t seed) {
  float sum = 0.0f, amp = 0.5f, norm = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * noise3(x, y, z, seed + 101u * i, 0);
    norm += amp;
    x *= 2.03f;
    y *= 2.03f;
    z *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

float fbm_tiled(float x, float y, int period, int octaves, std::uint32_t seed) {
  float sum = 0.0f, amp = 0.5f, norm = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * noise3(x, y, 0.0f, seed + 101u * i, period);
    norm += amp;
    x *= 2.0f;
    y *= 2.0f;
    period *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

}  // namespace art
