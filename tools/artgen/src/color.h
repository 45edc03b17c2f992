// Colours and colour ramps. Everything is drawn in true colour first and
// reduced to a GIF palette only when written, so shading can be as smooth as
// each picture needs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace art {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;

  constexpr Rgb() = default;
  constexpr Rgb(int red, int green, int blue)
      : r(static_cast<std::uint8_t>(std::clamp(red, 0, 255))),
        g(static_cast<std::uint8_t>(std::clamp(green, 0, 255))),
        b(static_cast<std::uint8_t>(std::clamp(blue, 0, 255))) {}

  friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline Rgb mix(Rgb a, Rgb b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  auto lerp = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5f); };
  return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

inline Rgb scale(Rgb c, float k) {
  return {static_cast<int>(c.r * k + 0.5f), static_cast<int>(c.g * k + 0.5f),
          static_cast<int>(c.b * k + 0.5f)};
}

// A handful of hand-picked tones from dark to light. Sprites pick discrete
// steps (crisp pixel-art bands); large pictures interpolate.
class Ramp {
 public:
  Ramp(std::initializer_list<Rgb> stops) : stops_(stops) {}

  std::size_t size() const { return stops_.size(); }
  Rgb operator[](std::size_t i) const { return stops_[std::min(i, stops_.size() - 1)]; }

  Rgb step(float t) const {
    t = std::clamp(t, 0.0f, 1.0f);
    return stops_[static_cast<std::size_t>(t * (stops_.size() - 1) + 0.5f)];
  }

  Rgb smooth(float t) const {
    t = std::clamp(t, 0.0f, 1.0f) * (stops_.size() - 1);
    auto i = std::min(static_cast<std::size_t>(t), stops_.size() - 2);
    return mix(stops_[i], stops_[i + 1], t - i);
  }

 private:
  std::vector<Rgb> stops_;
};

// Silhouettes sit on a black star field, so the outline is a deep blue-grey
// rather than pure black: it separates the sprite without looking like a hole.
inline constexpr Rgb kOutline{22, 24, 36};

}  // namespace art
