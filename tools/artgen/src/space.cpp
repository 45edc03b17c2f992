// The star-field tile and the planets.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "noise.h"
#include "rng.h"
#include "shading.h"
#include "sprites.h"

namespace art {
namespace {

Vec3 add(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 mul(Vec3 a, float k) {
  return {a.x * k, a.y * k, a.z * k};
}
Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Tilts the texture so bands and poles are not aligned with the screen.
Vec3 tilt(Vec3 p, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
}

// Adds light to a pixel of the star field, wrapping at the borders so the
// tile repeats without seams.
void add_light(Canvas& c, int x, int y, Rgb colour, float k) {
  x = ((x % c.width()) + c.width()) % c.width();
  y = ((y % c.height()) + c.height()) % c.height();
  Rgb old = c.get(x, y);
  Rgb add = scale(colour, k);
  c.set(x, y, {std::max(old.r, add.r), std::max(old.g, add.g), std::max(old.b, add.b)});
}

struct Surface {
  // Colour of the ground at a point of the unit sphere (texture space).
  std::function<Rgb(Vec3)> albedo;
  // Relief, used only to bend the lighting; craters and ridges.
  std::function<float(Vec3)> height;
  // Extra light added on top (clouds, glints); may be empty.
  std::function<Rgb(Vec3 texture, Vec3 normal, Rgb lit)> overlay;
  Rgb atmosphere;
  float tilt = 0.3f;
};

Canvas render_planet(int w, int h, float radius, const Surface& s) {
  Canvas c(w, h);
  const float cx = w * 0.5f, cy = h * 0.5f;
  const Vec3 light = normalize({-0.78f, -0.42f, 0.46f});
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float dx = (x + 0.5f - cx) / radius, dy = (y + 0.5f - cy) / radius;
      float d2 = dx * dx + dy * dy;
      if (d2 > 1.0f) continue;
      Vec3 n{dx, dy, std::sqrt(1.0f - d2)};
      // Bump the normal by the relief.
      Vec3 t1 = normalize(cross({0, 1, 0}, n));
      Vec3 t2 = cross(n, t1);
      const float e = 0.004f;
      auto relief = [&](Vec3 q) { return s.height ? s.height(tilt(normalize(q), s.tilt)) : 0.0f; };
      float h0 = relief(n);
      float g1 = (relief(add(n, mul(t1, e))) - h0) / e;
      float g2 = (relief(add(n, mul(t2, e))) - h0) / e;
      Vec3 bent = normalize(add(n, add(mul(t1, -g1), mul(t2, -g2))));

      Vec3 p = tilt(n, s.tilt);
      float diffuse = std::max(0.0f, dot(bent, light));
      // Soft terminator: the sphere's own normal decides how much light
      // arrives at all, the bumped one only modulates it.
      float day = std::clamp(dot(n, light) * 2.2f + 0.35f, 0.0f, 1.0f);
      float lum = 0.05f + 1.05f * diffuse * day;
      Rgb lit = scale(s.albedo(p), std::min(lum, 1.25f));
      if (s.overlay) lit = s.overlay(p, n, lit);
      // Atmosphere thickens towards the limb on the day side.
      float limb = std::pow(1.0f - n.z, 2.5f);
      float glow = limb * std::clamp(dot(n, light) + 0.35f, 0.0f, 1.0f);
      lit = mix(lit, s.atmosphere, glow * 0.85f);
      c.set(x, y, lit);
    }
  }
  return c;
}

constexpr float kSea = 0.585f;  // land noise below this is ocean

struct Crater {
  Vec3 centre;
  float radius;  // angular, radians
  float depth;
};

std::vector<Crater> scatter_craters(std::uint64_t seed, int count) {
  Rng rng(seed);
  std::vector<Crater> out;
  for (int i = 0; i < count; ++i) {
    Vec3 p;
    do {
      p = {rng.range(-1, 1), rng.range(-1, 1), rng.range(-1, 1)};
    } while (dot(p, p) > 1.0f || dot(p, p) < 0.05f);
    float r = rng.chance(0.2f) ? rng.range(0.14f, 0.24f) : rng.range(0.04f, 0.1f);
    out.push_back({normalize(p), r, rng.range(0.5f, 1.0f)});
  }
  return out;
}

}  // namespace

Canvas starfield() {
  constexpr int kW = 300, kH = 292;
  Canvas c(kW, kH);
  c.fill({0, 0, 0});
  Rng rng(0x57A4F1E1D);
  const Rgb white{236, 240, 255}, blue{190, 210, 255}, red{255, 96, 84}, pink{255, 160, 150};
  auto colour = [&]() {
    float u = rng.uniform();
    return u < 0.22f ? red : u < 0.3f ? pink : u < 0.55f ? blue : white;
  };
  // Faint dust: the bulk of the stars, single pixels.
  for (int i = 0; i < 520; ++i)
    add_light(c, rng.below(kW), rng.below(kH), colour(), rng.range(0.18f, 0.55f));
  // Brighter stars with a soft halo.
  for (int i = 0; i < 110; ++i) {
    int x = rng.below(kW), y = rng.below(kH);
    Rgb col = colour();
    float k = rng.range(0.65f, 1.0f);
    add_light(c, x, y, col, k);
    float halo = rng.range(0.15f, 0.35f) * k;
    add_light(c, x - 1, y, col, halo);
    add_light(c, x + 1, y, col, halo);
    add_light(c, x, y - 1, col, halo);
    add_light(c, x, y + 1, col, halo);
  }
  // A few big ones with short cross-shaped glints.
  for (int i = 0; i < 16; ++i) {
    int x = rng.below(kW), y = rng.below(kH);
    Rgb col = colour();
    int arm = 2 + rng.below(2);
    add_light(c, x, y, {255, 255, 255}, 1.0f);
    for (int d = 1; d <= arm; ++d) {
      float k = 0.85f / (d + 0.3f);
      add_light(c, x - d, y, col, k);
      add_light(c, x + d, y, col, k);
      add_light(c, x, y - d, col, k);
      add_light(c, x, y + d, col, k);
    }
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) add_light(c, x + sx, y + sy, col, 0.28f);
  }
  return c;
}

Canvas red_planet(int width, int height, float radius) {
  auto craters = std::make_shared<std::vector<Crater>>(scatter_craters(0xC7A7E75, 38));
  Surface s;
  s.tilt = 0.35f;
  s.atmosphere = {255, 150, 110};
  s.albedo = [](Vec3 p) {
    float warp = fbm(p.x * 2.5f + 5, p.y * 2.5f, p.z * 2.5f, 4, 3);
    float v = p.y * 9.0f + warp * 3.2f;
    float band = 0.5f + 0.5f * std::sin(v);
    float grit = fbm(p.x * 9, p.y * 9, p.z * 9, 3, 8);
    static const Ramp kRust{
        {78, 18, 14}, {140, 38, 24}, {190, 70, 38}, {222, 118, 70}, {238, 170, 120}};
    return kRust.smooth(0.08f + band * 0.8f + (grit - 0.5f) * 0.45f);
  };
  s.height = [craters](Vec3 p) {
    float h = fbm(p.x * 6, p.y * 6, p.z * 6, 3, 21) * 0.006f;
    for (const auto& cr : *craters) {
      float a = std::acos(std::clamp(dot(p, cr.centre), -1.0f, 1.0f));
      float t = a / cr.radius;
      if (t > 1.6f) continue;
      float bowl = t < 1.0f ? (t * t - 1.0f) : 0.0f;
      float rim = std::exp(-(t - 1.0f) * (t - 1.0f) / 0.03f);
      h += cr.radius * cr.depth * (0.22f * bowl + 0.1f * rim);
    }
    return h;
  };
  return render_planet(width, height, radius, s);
}

Canvas blue_planet(int width, int height, float radius) {
  Surface s;
  s.tilt = -0.4f;
  s.atmosphere = {120, 190, 255};
  auto land = [](Vec3 p) { return fbm(p.x * 1.8f + 11, p.y * 1.8f, p.z * 1.8f, 5, 44); };
  s.albedo = [land](Vec3 p) {
    float l = land(p);
    float polar = std::abs(p.y) + (fbm(p.x * 5, p.y * 5, p.z * 5, 3, 9) - 0.5f) * 0.2f;
    if (polar > 0.86f) return Rgb{236, 244, 255};
    if (l < kSea) {
      // Shallow water near the coasts, deep water further out.
      float depth = std::clamp((kSea - l) / 0.16f, 0.0f, 1.0f);
      return mix(Rgb{40, 120, 200}, Rgb{12, 36, 110}, depth);
    }
    float up = std::clamp((l - kSea) / 0.16f, 0.0f, 1.0f);
    float dry = fbm(p.x * 4, p.y * 4, p.z * 4, 3, 5);
    Rgb green = mix(Rgb{52, 140, 60}, Rgb{30, 96, 44}, up);
    return mix(green, Rgb{150, 128, 80}, std::clamp((dry - 0.55f) * 3.0f, 0.0f, 0.8f));
  };
  s.height = [land](Vec3 p) { return std::max(0.0f, land(p) - kSea) * 0.05f; };
  s.overlay = [land](Vec3 p, Vec3 n, Rgb lit) {
    const Vec3 light = normalize({-0.78f, -0.42f, 0.46f});
    float day = std::clamp(dot(n, light) * 2.2f + 0.35f, 0.0f, 1.0f);
    // Sun glint on open water.
    if (land(p) < kSea) {
      Vec3 half = normalize({light.x, light.y, light.z + 1});
      float g = std::pow(std::max(0.0f, dot(n, half)), 40.0f);
      lit = mix(lit, Rgb{220, 240, 255}, g * 0.7f);
    }
    // Swirled cloud cover.
    float swirl = fbm(p.x * 2 + 3, p.y * 2, p.z * 2, 2, 70) * 2.0f;
    float cl = fbm(p.x * 3.5f + swirl, p.y * 7.0f, p.z * 3.5f - swirl, 5, 61);
    float cover = std::clamp((cl - 0.56f) * 5.0f, 0.0f, 0.9f);
    float bright = 0.08f + 0.95f * std::max(0.0f, dot(n, light)) * day;
    return mix(lit, scale(Rgb{245, 248, 255}, std::min(bright, 1.0f)), cover);
  };
  return render_planet(width, height, radius, s);
}

}  // namespace art
