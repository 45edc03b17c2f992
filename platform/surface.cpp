#include "platform/surface.h"

#include <cstddef>

namespace kv {

namespace {
std::uint32_t* row(const Surface& s, int y) {
  return s.pixels + static_cast<std::ptrdiff_t>(y) * s.pitch;
}
}  // namespace

void Painter::fill(Rect r, std::uint32_t pixel) {
  r = r.intersect(clip_);
  if (r.empty()) return;
  for (int y = r.top; y < r.bottom; ++y)
    std::fill(row(s_, y) + r.left, row(s_, y) + r.right, pixel);
}

void Painter::rectangle(Rect r, std::uint32_t pen, std::uint32_t brush) {
  if (r.empty()) return;
  fill(r, pen);
  fill({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, brush);
}

void Painter::ellipse(Rect r, std::uint32_t pen, std::uint32_t brush) {
  if (r.empty()) return;
  // Pixel centres tested against the ellipse inscribed in the box; ink whose
  // 4-neighbours leave the ellipse forms the outline.
  const double cx = (r.left + r.right) / 2.0;
  const double cy = (r.top + r.bottom) / 2.0;
  const double rx = r.width() / 2.0;
  const double ry = r.height() / 2.0;
  auto inside = [&](int x, int y) {
    const double dx = (x + 0.5 - cx) / rx;
    const double dy = (y + 0.5 - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
  const Rect area = r.intersect(clip_);
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (!inside(x, y)) continue;
      const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                        !inside(x, y + 1) || x == r.left || x == r.right - 1 || y == r.top ||
                        y == r.bottom - 1;
      row(s_, y)[x] = edge ? pen : brush;
    }
  }
}

void Painter::image(const RgbaImage& img, int x, int y, Rect box) {
  const Rect r = Rect::of(x, y, img.width, img.height).intersect(box).intersect(clip_);
  if (r.empty()) return;
  for (int py = r.top; py < r.bottom; ++py) {
    const std::uint32_t* src = img.pixels.data() + static_cast<std::size_t>(py - y) * img.width;
    std::uint32_t* dst = row(s_, py);
    for (int px = r.left; px < r.right; ++px) {
      const std::uint32_t p = src[px - x];
      if (p >> 24) dst[px] = p & 0xFFFFFFu;
    }
  }
}

void Painter::stretched(const RgbaImage& img, Rect box) {
  if (box.empty() || img.width <= 0 || img.height <= 0) return;
  const Rect r = box.intersect(clip_);
  for (int py = r.top; py < r.bottom; ++py) {
    const int sy =
        static_cast<int>(static_cast<long long>(py - box.top) * img.height / box.height());
    const std::uint32_t* src = img.pixels.data() + static_cast<std::size_t>(sy) * img.width;
    std::uint32_t* dst = row(s_, py);
    for (int px = r.left; px < r.right; ++px) {
      const int sx =
          static_cast<int>(static_cast<long long>(px - box.left) * img.width / box.width());
      const std::uint32_t p = src[sx];
      if (p >> 24) dst[px] = p & 0xFFFFFFu;
    }
  }
}

void Painter::mask(const Mask& m, int x, int y, std::uint32_t pixel) {
  const Rect r = Rect::of(x, y, m.width, m.height).intersect(clip_);
  for (int py = r.top; py < r.bottom; ++py) {
    const std::uint8_t* src = m.bits + static_cast<std::size_t>(py - y) * m.width;
    std::uint32_t* dst = row(s_, py);
    for (int px = r.left; px < r.right; ++px)
      if (src[px - x]) dst[px] = pixel;
  }
}

}  // namespace kv
