// Rectangles and colours as the forms describe them.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kv {

// Right and bottom edges are excluded, as in the windowing system.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Rect of(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;

  Rect intersect(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
  Rect unite(const Rect& o) const {
    if (empty()) return o;
    if (o.empty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
            std::max(bottom, o.bottom)};
  }
};

// Colours are stored the way the form data stores them: 0x00BBGGRR.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clTeal = 0x808000;
// The button face of the desktop theme; a light grey here.
inline constexpr TColor clBtnFace = 0xF0F0F0;

// Pixels on our surfaces are 0x00RRGGBB.
inline constexpr std::uint32_t to_pixel(TColor c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace kv
