// The pilot: a full-length figure for the briefing screen and a head-and-
// shoulders portrait for the status panel. Both share the helmet so the
// player recognises the same person.
#include <cmath>

#include "palette.h"
#include "rng.h"
#include "shading.h"
#include "sprites.h"

namespace art {
namespace {

const Ramp kSuit{{58, 62, 80},    {96, 102, 122},  {138, 144, 162}, {178, 184, 198},
                 {210, 214, 224}, {234, 236, 242}, {252, 252, 255}};
const Ramp kVisor{{8, 10, 24},    {28, 22, 40},   {90, 46, 30},
                  {188, 108, 30}, {246, 188, 70}, {255, 238, 170}};

// Paints `shape` onto the canvas with cushion shading; `radius` is in pixels.
void part(Canvas& c, const Shape& shape, const Ramp& ramp, float radius, float specular = 0.35f) {
  Mask m(c.width(), c.height());
  m.add(shape);
  shade(c, m, ramp, Lighting{.radius = radius, .specular = specular});
}

// Like `part`, but hands back the mask and its light so markings can follow it.
struct Painted {
  Mask mask;
  Field light;
};
Painted surface(Canvas& c, const Shape& shape, const Ramp& ramp, float radius,
                float specular = 0.35f) {
  Mask m(c.width(), c.height());
  m.add(shape);
  Lighting lt{.radius = radius, .specular = specular};
  shade(c, m, ramp, lt);
  return {m, light_of(m, lt)};
}

// Repaints the part of a painted surface that lies inside `region`.
void marking(Canvas& c, const Painted& on, const Shape& region, const Ramp& ramp) {
  Mask m = on.mask;
  m.keep(region).cut(on.mask.edge());
  shade_as(c, m, on.light, ramp);
}

Shape both(Shape a, Shape b) {
  return [a, b](float x, float y) { return a(x, y) || b(x, y); };
}

void helmet(Canvas& c, float cx, float cy, float r) {
  Painted shell = surface(c, circle(cx, cy, r), kSuit, r * 0.9f, 0.5f);
  // A red crest stripe over the crown.
  marking(c, shell, rect(cx - r * 0.16f, 0, cx + r * 0.16f, cy - r * 0.5f), tones::kRed);
  // Ear pieces.
  part(c, ellipse(cx - r * 0.92f, cy + r * 0.12f, r * 0.2f, r * 0.3f), tones::kDarkHull, r * 0.12f);
  part(c, ellipse(cx + r * 0.92f, cy + r * 0.12f, r * 0.2f, r * 0.3f), tones::kDarkHull, r * 0.12f);

  // Visor frame, then the glass: dark at the top, reflecting a warm
  // horizon below, with the highlight curving along the upper left.
  const float vx = cx, vy = cy + r * 0.1f, vw = r * 0.76f, vh = r * 0.52f;
  part(c,
       rounded_rect(vx - vw - r * 0.1f, vy - vh - r * 0.1f, vx + vw + r * 0.1f, vy + vh + r * 0.12f,
                    vh * 0.9f),
       tones::kDarkHull, r * 0.08f);
  Mask glass(c.width(), c.height());
  glass.add(rounded_rect(vx - vw, vy - vh, vx + vw, vy + vh, vh * 0.8f));
  Field gl = light_of(glass, Lighting{.radius = vh, .ambient = 0.3f, .specular = 0.0f});
  paint(c, glass, gl, [&](int x, int y, float l) {
    float t = (y + 0.5f - (vy - vh)) / (2 * vh);
    float u = (x + 0.5f - (vx - vw)) / (2 * vw);
    float horizon = t + (u - 0.5f) * (u - 0.5f) * 0.6f;
    float tone = horizon < 0.55f ? horizon * 0.45f : 0.45f + (horizon - 0.55f) * 1.3f;
    return kVisor.smooth(std::clamp(tone * (0.6f + 0.6f * l), 0.0f, 1.0f));
  });
  // Highlight streak.
  Mask shine(c.width(), c.height());
  Shape outer = ellipse(vx - vw * 0.1f, vy + vh * 0.4f, vw * 0.85f, vh * 1.2f);
  Shape inner = ellipse(vx - vw * 0.02f, vy + vh * 0.55f, vw * 0.8f, vh * 1.15f);
  shine.add([&](float x, float y) { return outer(x, y) && !inner(x, y) && x < vx; });
  shine.keep([&](float x, float y) { return glass.at(int(x), int(y)); });
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (shine.at(x, y)) c.tint(x, y, {255, 255, 255}, 0.75f);
  // A couple of reflected stars.
  Rng rng(0x715);
  for (int i = 0; i < 4; ++i) {
    int x = int(vx - vw * 0.5f + rng.range(0, vw)),
        y = int(vy - vh * 0.6f + rng.range(0, vh * 0.5f));
    if (glass.at(x, y)) c.set(x, y, {230, 230, 255});
  }
}

}  // namespace

Canvas pilot() {
  Canvas c(248, 300);
  const float mid = 124;
  auto mirror = [mid](Vec2 p) { return Vec2{2 * mid - p.x, p.y}; };

  // Life-support pack behind the shoulders.
  part(c, rounded_rect(70, 70, 178, 150, 16), tones::kDarkHull, 8);

  // Legs: thigh, shin and boot on each side, a slightly wide stance.
  for (int side = 0; side < 2; ++side) {
    auto p = [&](float x, float y) { return side ? mirror({x, y}) : Vec2{x, y}; };
    Painted thigh = surface(c, capsule(p(107, 196), p(102, 238), 15.5f), kSuit, 11);
    marking(
        c, thigh, [&](float x, float) { return side ? x > 152 && x < 156 : x < 96 && x > 92; },
        tones::kRed);
    part(c, capsule(p(102, 238), p(99, 270), 13.5f), kSuit, 10);
    part(c, ellipse(p(102, 240).x, 240, 11, 9), tones::kRed, 6);
    Vec2 toe = p(side ? 112 : 80, 290), heel = p(side ? 80 : 112, 290);
    Shape boot = both(rounded_rect(std::min(p(86, 0).x, p(114, 0).x), 264,
                                   std::max(p(86, 0).x, p(114, 0).x), 292, 8),
                      capsule(toe, heel, 7));
    part(c, boot, tones::kDarkHull, 6);
    part(c,
         rounded_rect(std::min(p(85, 0).x, p(115, 0).x), 262, std::max(p(85, 0).x, p(115, 0).x),
                      268, 3),
         tones::kRed, 2);
  }

  // Hips and torso.
  part(c, polygon({{90, 172}, {158, 172}, {162, 204}, {86, 204}}), kSuit, 10);
  Painted torso = surface(
      c, both(polygon({{74, 84}, {174, 84}, {160, 176}, {88, 176}}), ellipse(mid, 92, 52, 18)),
      kSuit, 22);
  // Red piping down the sides of the suit.
  marking(
      c, torso, [](float x, float) { return (x > 84 && x < 90) || (x > 158 && x < 164); },
      tones::kRed);
  part(c, rect(88, 168, 160, 180), tones::kDarkHull, 3);
  part(c, rounded_rect(114, 166, 134, 182, 3),
       {{90, 60, 10}, {150, 104, 20}, {210, 160, 40}, {246, 206, 80}, {255, 240, 160}}, 4, 0.6f);

  // Chest unit with its displays and switches.
  part(c, rounded_rect(102, 98, 146, 134, 6), tones::kDarkHull, 4);
  part(c, rounded_rect(108, 103, 130, 116, 2),
       {{10, 30, 20}, {20, 60, 40}, {40, 120, 80}, {90, 200, 140}, {190, 255, 220}}, 3, 0.2f);
  for (int i = 0; i < 3; ++i) c.set(111 + i * 5, 110 - i * 2, {200, 255, 220});
  const Rgb buttons[] = {{255, 70, 60}, {255, 210, 60}, {90, 230, 120}};
  for (int i = 0; i < 3; ++i)
    part(c, circle(114 + i * 9, 125, 3),
         {{40, 40, 40}, scale(buttons[i], 0.5f), buttons[i], {255, 255, 255}}, 2, 0.8f);
  part(c, rect(134, 104, 141, 116), tones::kRed, 2);

  // Arms hang at the sides; gloves and cuffs in the suit's dark tone.
  for (int side = 0; side < 2; ++side) {
    auto p = [&](float x, float y) { return side ? mirror({x, y}) : Vec2{x, y}; };
    part(c, capsule(p(76, 98), p(64, 150), 14), kSuit, 10);
    part(c, capsule(p(64, 150), p(60, 192), 12.5f), kSuit, 9);
    part(c, capsule(p(64, 148), p(64, 152), 11), kSuit, 7);
    part(c, ellipse(p(60, 192).x, 192, 13.5f, 6), tones::kRed, 4);
    part(c, both(ellipse(p(60, 206).x, 206, 12, 13), capsule(p(52, 206), p(56, 220), 5)),
         tones::kDarkHull, 7);
    part(c, ellipse(p(76, 92).x, 92, 20, 15), tones::kRed, 10, 0.5f);
  }

  // Collar ring and helmet.
  part(c, ellipse(mid, 76, 26, 9), tones::kHull, 5, 0.6f);
  helmet(c, mid, 44, 31);

  c.outline(kOutline, true);
  c.outline(kOutline);
  return c;
}

Canvas portrait() {
  Canvas c(72, 62);
  const float mid = 36;
  // Shoulders fill the bottom of the frame.
  part(c, rounded_rect(6, 44, 66, 70, 12), tones::kDarkHull, 4);
  Painted chest = surface(c, ellipse(mid, 64, 32, 17), kSuit, 10);
  marking(
      c, chest, [](float x, float) { return (x > 13 && x < 16) || (x > 56 && x < 59); },
      tones::kRed);
  part(c, ellipse(10, 55, 9, 7), tones::kRed, 5, 0.5f);
  part(c, ellipse(62, 55, 9, 7), tones::kRed, 5, 0.5f);
  part(c, rounded_rect(28, 54, 44, 66, 2), tones::kDarkHull, 2);
  c.set(31, 57, {255, 70, 60});
  c.set(35, 57, {255, 210, 60});
  c.set(39, 57, {90, 230, 120});
  part(c, ellipse(mid, 47, 15, 5), tones::kHull, 3, 0.6f);
  helmet(c, mid, 25, 21);
  c.outline(kOutline, true);
  return c;
}

}  // namespace art
