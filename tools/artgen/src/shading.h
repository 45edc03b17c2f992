// Gives flat shapes a sense of volume. A shape is "inflated": its height rises
// from the silhouette like a rounded cushion, and the surface normal of that
// cushion is lit from the upper left. This keeps every sprite consistently
// lit without hand-placing highlights.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "canvas.h"
#include "color.h"

namespace art {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

Vec3 normalize(Vec3 v);
inline float dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The whole game is lit from the upper left, slightly in front of the screen.
inline constexpr Vec3 kLight{-0.52f, -0.62f, 0.58f};

struct Lighting {
  float radius = 3.0f;  // how far inside the silhouette the surface keeps curving
  float ambient = 0.16f;
  float specular = 0.3f;
  float shininess = 20.0f;
  Vec3 light = kLight;
};

class Field {
 public:
  Field(int width, int height) : w_(width), h_(height), v_(std::size_t(width) * height, 0.0f) {}
  int width() const { return w_; }
  int height() const { return h_; }
  float at(int x, int y) const {
    return x >= 0 && y >= 0 && x < w_ && y < h_ ? v_[std::size_t(y) * w_ + x] : 0.0f;
  }
  float& operator()(int x, int y) { return v_[std::size_t(y) * w_ + x]; }

 private:
  int w_, h_;
  std::vector<float> v_;
};

// Euclidean distance of every mask pixel to the nearest pixel outside it.
Field distance_inside(const Mask& m);

// Brightness in [0, 1] for every pixel of the mask.
Field light_of(const Mask& m, const Lighting& lighting);

using Painter = std::function<Rgb(int x, int y, float light)>;

void paint(Canvas& c, const Mask& m, const Field& light, const Painter& painter);

// Shades the mask with discrete steps of `ramp`. With `rim` the silhouette's
// own edge is drawn in the ramp's darkest tone, which separates overlapping
// parts the way a hand-drawn sprite would.
void shade(Canvas& c, const Mask& m, const Ramp& ramp, const Lighting& lighting, bool rim = true);

// Same, with a smooth ramp; for large pictures where bands would look cheap.
void shade_smooth(Canvas& c, const Mask& m, const Ramp& ramp, const Lighting& lighting,
                  bool rim = false);

// Repaints `region` with `ramp` but keeps the lighting of the surface it lies
// on, for markings and panels that should not look like separate parts.
void shade_as(Canvas& c, const Mask& region, const Field& surface_light, const Ramp& ramp);

// Paints every mask pixel in one colour.
void fill(Canvas& c, const Mask& m, Rgb colour);

}  // namespace art
