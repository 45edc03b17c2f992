// The player's fighter, its wreck and the application icon built from it.
#include <cmath>

#include "noise.h"
#include "palette.h"
#include "rng.h"
#include "shading.h"
#include "sprites.h"

namespace art {
namespace {

constexpr float kAxis = 15.0f;  // the fighter is symmetric about this line

std::vector<Vec2> mirror_copy(std::vector<Vec2> pts) {
  for (auto& p : pts) p.x = 2 * kAxis - p.x;
  return pts;
}

// Everything but the outline, so the wreck can be damaged before outlining.
Canvas fighter_body(int scale, bool engines_lit) {
  const float s = static_cast<float>(scale);
  const int size = 30 * scale;
  Canvas c(size, size);
  auto poly = [s](const std::vector<Vec2>& pts) { return polygon(scaled(pts, s)); };
  auto sym = [&](const std::vector<Vec2>& half) { return poly(mirrored(half, kAxis)); };
  Lighting flat{.radius = 1.2f * s, .ambient = 0.2f, .specular = 0.2f};
  Lighting round{.radius = 3.0f * s, .ambient = 0.14f, .specular = 0.45f};

  // Wing-tip cannons sit behind the wing so the wing edge overlaps them.
  Mask guns(size, size);
  guns.add(rect(2.6f * s, 14.0f * s, 4.1f * s, 24.0f * s));
  guns.add(rect(25.9f * s, 14.0f * s, 27.4f * s, 24.0f * s));
  shade(c, guns, tones::kDarkHull, Lighting{.radius = 0.8f * s});

  std::vector<Vec2> fin = {{12.6f, 19.0f}, {8.6f, 26.0f}, {8.8f, 28.0f}, {12.9f, 25.6f}};
  Mask fins(size, size);
  fins.add(poly(fin)).add(poly(mirror_copy(fin)));
  shade(c, fins, tones::kHull, flat);

  Mask wing(size, size);
  wing.add(sym({{15.0f, 9.0f},
                {12.0f, 12.4f},
                {4.2f, 19.6f},
                {2.4f, 23.4f},
                {3.2f, 25.0f},
                {11.0f, 23.8f},
                {15.0f, 24.2f}}));
  Field wing_light = light_of(wing, flat);
  shade(c, wing, tones::kHull, flat);
  // Red flashes on the outer wing; they reuse the wing's lighting so they
  // read as paint, not as separate plates.
  Mask flash(size, size);
  flash.add(wing).keep([s](float x, float y) {
    float u = x / s, v = y / s;
    float d = u < kAxis ? u : 2 * kAxis - u;  // distance in from the nearer wing tip
    return d > 5.0f && d < 7.6f && v < 23.0f;
  });
  flash.cut(wing.edge());
  shade_as(c, flash, wing_light, tones::kRed);

  Mask pods(size, size);
  pods.add(ellipse(11.0f * s, 20.5f * s, 1.9f * s, 5.6f * s));
  pods.add(ellipse(19.0f * s, 20.5f * s, 1.9f * s, 5.6f * s));
  shade(c, pods, tones::kHull, Lighting{.radius = 1.9f * s, .specular = 0.4f}, false);

  // Nozzles and exhaust come before the fuselage so its tail caps them.
  Mask nozzles(size, size);
  nozzles.add(rect(12.6f * s, 25.0f * s, 14.7f * s, 27.4f * s));
  nozzles.add(rect(15.3f * s, 25.0f * s, 17.4f * s, 27.4f * s));
  shade(c, nozzles, tones::kDarkHull, Lighting{.radius = 0.8f * s});
  Mask flame(size, size);
  flame.add(ellipse(13.65f * s, 27.8f * s, 0.95f * s, 2.0f * s));
  flame.add(ellipse(16.35f * s, 27.8f * s, 0.95f * s, 2.0f * s));
  flame.keep([s](float, float y) { return y > 27.0f * s; });
  if (!engines_lit) flame = Mask(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (flame.at(x, y)) {
        float t = (y + 0.5f) / s - 27.0f;  // 0 at the nozzle, ~2.8 at the tip
        c.set(x, y, tones::kFlame.step(1.0f - t / 2.6f));
      }

  Mask body(size, size);
  body.add(sym({{15.0f, 1.0f},
                {13.9f, 3.4f},
                {12.9f, 7.0f},
                {12.2f, 12.0f},
                {12.0f, 19.0f},
                {12.6f, 26.2f},
                {15.0f, 26.2f}}));
  Field body_light = light_of(body, round);
  shade(c, body, tones::kHull, round);
  // A dark spine stripe running back from the canopy breaks up the fuselage.
  Mask spine(size, size);
  spine.add(body).keep(rect(14.5f * s, 15.5f * s, 15.5f * s, 24.5f * s));
  shade_as(c, spine, body_light, tones::kDarkHull);
  // A red nose tip ties the fuselage to the wing flashes.
  Mask nose(size, size);
  nose.add(body).keep([s](float, float y) { return y < 4.2f * s; });
  shade_as(c, nose, body_light, tones::kRed);

  Mask canopy(size, size);
  canopy.add(ellipse(kAxis * s, 10.4f * s, 1.9f * s, 3.6f * s));
  shade(c, canopy, tones::kGlass,
        Lighting{.radius = 1.6f * s, .ambient = 0.35f, .specular = 0.9f, .shininess = 12}, false);
  return c;
}

}  // namespace

Canvas fighter(int scale) {
  Canvas c = fighter_body(scale, true);
  c.outline(kOutline);
  return c;
}

Canvas wrecked_fighter() {
  Canvas c = fighter_body(1, false);
  Rng rng(0x5EED0001);

  // The right wing is torn off along a jagged line; a fragment of it drifts
  // away from the hull.
  Shape tear = polygon({{19.5f, 13.0f},
                        {22.0f, 16.5f},
                        {20.5f, 18.5f},
                        {23.0f, 20.0f},
                        {21.0f, 22.5f},
                        {23.5f, 26.0f},
                        {30.0f, 26.0f},
                        {30.0f, 13.0f}});
  Canvas fragment(30, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      if (c.opaque(x, y) && tear(x + 0.5f, y + 0.5f)) {
        if (x >= 24 && y >= 19) fragment.set(x + 1, y + 3, c.get(x, y));
        c.clear(x, y);
      }
  // The left cannon snapped at the wing root, and the nose is crumpled.
  for (int y = 10; y < 19; ++y) c.clear(3, y);
  c.clear(14, 1);
  c.clear(14, 2);
  c.clear(15, 3);
  c.draw(fragment, 0, 0);

  // Scorching: darker where the fire is, always a little everywhere.
  const Vec2 fires[] = {{19.5f, 18.0f}, {11.0f, 20.0f}, {15.0f, 9.5f}};
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      if (!c.opaque(x, y)) continue;
      float heat = 0;
      for (auto f : fires) {
        float dx = x + 0.5f - f.x, dy = y + 0.5f - f.y;
        heat = std::max(heat, 1.0f - std::sqrt(dx * dx + dy * dy) / 9.0f);
      }
      float n = fbm(x * 0.35f, y * 0.35f, 0.0f, 3, 77);
      float burn = std::clamp(0.08f + heat * 0.8f + (n - 0.5f) * 0.9f, 0.0f, 0.92f);
      c.set(x, y, mix(c.get(x, y), Rgb{26, 18, 14}, burn));
    }
  }
  // Cracks across the hull.
  auto crack = [&](int x, int y, int dx, int dy, int n) {
    for (int i = 0; i < n; ++i, x += dx, y += (i % 2 ? dy : 0))
      if (c.opaque(x, y)) c.set(x, y, Rgb{12, 8, 8});
  };
  crack(9, 16, 1, 1, 4);
  crack(13, 6, 1, 1, 3);
  crack(5, 21, 1, 0, 3);
  c.outline(kOutline);

  // Flames lick upwards from each burning spot: a hot core, orange body and
  // dark red tongues, ragged with noise.
  for (std::size_t i = 0; i < std::size(fires); ++i) {
    const Vec2 f = fires[i];
    const float size = i == 0 ? 3.6f : 2.6f;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 30; ++x) {
        float dx = (x + 0.5f - f.x) / size, dy = (y + 0.5f - f.y) / size;
        // Taller than wide, and narrowing upwards.
        float narrowing = std::max(0.8f, 1.6f - dy * 0.7f);
        float r = std::sqrt(dx * dx * narrowing + (dy > 0 ? dy * dy * 2.2f : dy * dy * 0.45f));
        float n = fbm(x * 0.6f, y * 0.6f, float(i), 2, 91);
        float t = 1.0f - r - (n - 0.5f) * 0.7f;
        if (t <= 0.05f) continue;
        c.set(x, y, tones::kFlame.step(std::min(1.0f, t * 1.5f)));
      }
    }
  }
  // Sparks thrown clear of the wreck.
  const Rgb spark_tones[] = {{255, 250, 200}, {255, 210, 80}, {255, 150, 40}};
  for (int i = 0; i < 16; ++i) {
    int x = rng.below(30), y = rng.below(30);
    if (c.opaque(x, y) && rng.chance(0.7f)) continue;
    c.set(x, y, spark_tones[rng.below(3)]);
  }
  return c;
}

Canvas icon() {
  Canvas c(32, 32);
  // A faint nebula so the icon is not a black square at small sizes.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      float dx = (x - 20.0f) / 22.0f, dy = (y - 9.0f) / 18.0f;
      float g = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
      float n = fbm(x * 0.18f, y * 0.18f, 3.0f, 3, 12);
      c.set(x, y, mix(Rgb{2, 2, 8}, Rgb{46, 22, 70}, g * g * (0.4f + n)));
    }
  Rng rng(0x1C0);
  for (int i = 0; i < 22; ++i) {
    int x = rng.below(32), y = rng.below(32);
    bool red = rng.chance(0.25f);
    float b = rng.range(0.4f, 1.0f);
    c.set(x, y, scale(red ? Rgb{255, 110, 100} : Rgb{255, 255, 255}, b));
  }
  c.draw(fighter(1), 1, 1);
  return c;
}

}  // namespace art
