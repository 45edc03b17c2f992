// Software painting onto 32-bit surfaces (0x00RRGGBB). The same code paints the
// real windows and the headless ones, so a headless frame is what a player sees.
#pragma once

#include <cstdint>

#include "platform/geometry.h"
#include "platform/image.h"

namespace kv {

struct Surface {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;  // in pixels

  Rect bounds() const { return {0, 0, width, height}; }
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::ptrdiff_t>(y) * pitch + x];
  }
};

// A 1-bit-per-byte mask, as text is rendered: non-zero bytes are ink.
struct Mask {
  int width = 0;
  int height = 0;
  const std::uint8_t* bits = nullptr;
};

// Every drawing call is clipped to `clip` and to the surface.
class Painter {
 public:
  Painter(Surface s, Rect clip) : s_(s), clip_(clip.intersect(s.bounds())) {}
  // The same surface with the clip narrowed to `r`.
  Painter within(Rect r) const { return Painter(s_, clip_.intersect(r)); }
  Rect clip() const { return clip_; }

  void fill(Rect r, std::uint32_t pixel);
  // A rectangle outlined one pixel wide with `pen`, filled with `brush`.
  void rectangle(Rect r, std::uint32_t pen, std::uint32_t brush);
  // An ellipse inside `r`, outlined one pixel wide with `pen`, filled with `brush`.
  void ellipse(Rect r, std::uint32_t pen, std::uint32_t brush);
  // Draws `img` with its top-left corner at (x, y), inside `box` only;
  // transparent pixels are left alone.
  void image(const RgbaImage& img, int x, int y, Rect box);
  // Draws `img` scaled to fill `box` (nearest neighbour).
  void stretched(const RgbaImage& img, Rect box);
  void mask(const Mask& m, int x, int y, std::uint32_t pixel);

 private:
  Surface s_;
  Rect clip_;
};

}  // namespace kv
