// The two drawing surfaces: a Canvas holds colours (with a "nothing here"
// state for transparency) and a Mask holds a shape's coverage. Shapes are
// described in continuous coordinates and sampled at pixel centres, so the
// same artwork can be rendered at several sizes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "color.h"

namespace art {

struct Vec2 {
  float x = 0, y = 0;
};

class Canvas {
 public:
  Canvas(int width, int height) : w_(width), h_(height), px_(std::size_t(width) * height, 0) {}

  int width() const { return w_; }
  int height() const { return h_; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

  bool opaque(int x, int y) const { return inside(x, y) && (px_[index(x, y)] >> 24) != 0; }
  Rgb get(int x, int y) const;
  void set(int x, int y, Rgb c);
  void clear(int x, int y);
  // Mixes `c` over what is there; transparent pixels stay transparent.
  void tint(int x, int y, Rgb c, float amount);
  // Mixes `c` over what is there, treating transparent as `base`.
  void blend(int x, int y, Rgb c, float amount, Rgb base);

  void fill(Rgb c);
  // Copies the opaque pixels of `src` with its top-left corner at (dx, dy).
  void draw(const Canvas& src, int dx, int dy);

  // Quarter turns, clockwise.
  Canvas rotated(int quarter_turns) const;

  // Turns transparent pixels that touch the picture into `c`. Diagonal
  // neighbours count too when `corners` is set, which gives a heavier line.
  void outline(Rgb c, bool corners = false);

 private:
  std::size_t index(int x, int y) const { return std::size_t(y) * w_ + x; }

  int w_, h_;
  std::vector<std::uint32_t> px_;  // 0 = transparent, else 0xFF000000 | rgb
};

class Mask {
 public:
  Mask(int width, int height) : w_(width), h_(height), on_(std::size_t(width) * height, 0) {}

  int width() const { return w_; }
  int height() const { return h_; }
  bool at(int x, int y) const {
    return x >= 0 && y >= 0 && x < w_ && y < h_ && on_[std::size_t(y) * w_ + x] != 0;
  }
  void put(int x, int y, bool v) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) on_[std::size_t(y) * w_ + x] = v ? 1 : 0;
  }
  bool empty() const;

  // Sets every pixel whose centre satisfies `inside`.
  Mask& add(const std::function<bool(float, float)>& inside);
  Mask& cut(const std::function<bool(float, float)>& inside);
  Mask& keep(const std::function<bool(float, float)>& inside);

  Mask& add(const Mask& other);
  Mask& cut(const Mask& other);

  // Pixels of this mask that touch a pixel outside it.
  Mask edge() const;

 private:
  int w_, h_;
  std::vector<std::uint8_t> on_;
};

// Shape predicates over continuous coordinates.
using Shape = std::function<bool(float, float)>;

Shape polygon(std::vector<Vec2> points);
Shape ellipse(float cx, float cy, float rx, float ry);
Shape circle(float cx, float cy, float r);
Shape rect(float x0, float y0, float x1, float y1);
Shape capsule(Vec2 a, Vec2 b, float radius);
// A straight stroke with square ends.
Shape bar(Vec2 a, Vec2 b, float width);
Shape rounded_rect(float x0, float y0, float x1, float y1, float radius);

// Mirrors polygon points across the vertical line x = axis, reversing their
// order so the combined outline stays a simple loop.
std::vector<Vec2> mirrored(const std::vector<Vec2>& half, float axis);

// Scales every point about the origin; artwork is laid out on a fixed grid
// and scaled to the size wanted.
std::vector<Vec2> scaled(std::vector<Vec2> pts, float s);

}  // namespace art
