// A plain 32-bit picture in memory: 0xAARRGGBB per pixel, alpha either 0
// (transparent, not painted) or 255 (opaque).
#pragma once

#include <cstdint>
#include <vector>

namespace kv {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // row-major, width * height

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

}  // namespace kv
