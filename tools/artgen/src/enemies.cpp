// The enemy craft. Each has its own hull colour but shares the outline,
// lighting and glass tones with the player's fighter.
#include <cmath>

#include "palette.h"
#include "shading.h"
#include "sprites.h"

namespace art {
namespace {

const Ramp kPurple{{36, 12, 52},   {64, 24, 92},    {96, 40, 136},
                   {132, 64, 176}, {176, 104, 214}, {226, 168, 246}};
const Ramp kBrown{{40, 24, 14},   {72, 44, 24},   {108, 70, 38},
                  {146, 100, 56}, {186, 138, 84}, {222, 180, 126}};
const Ramp kYellow{{74, 44, 6},    {132, 90, 10},   {196, 150, 20},
                   {236, 200, 40}, {255, 236, 110}, {255, 252, 200}};
const Ramp kGreen{{10, 40, 20},  {20, 72, 34},    {36, 110, 50},
                  {62, 150, 70}, {110, 196, 100}, {190, 240, 160}};
const Ramp kIce{{10, 20, 64},   {20, 48, 124},   {36, 88, 184},
                {76, 146, 232}, {156, 208, 255}, {232, 246, 255}};
const Ramp kAmberGlass{{40, 20, 4},    {96, 52, 8},     {170, 100, 16},
                       {236, 170, 40}, {255, 228, 130}, {255, 250, 220}};
const Ramp kGreenGlass{{6, 40, 30},    {10, 84, 60},    {24, 140, 96},
                       {70, 210, 140}, {170, 250, 200}, {240, 255, 245}};
const Ramp kRedGlass{{50, 6, 10},   {110, 14, 20},   {180, 30, 30},
                     {240, 80, 60}, {255, 170, 140}, {255, 235, 220}};

Shape above(float y0) {
  return [y0](float, float y) { return y < y0; };
}

// A running light: bright centre with softer pixels beside it.
void lamp(Canvas& c, int x, int y, Rgb core, Rgb glow) {
  c.set(x, y, core);
  c.tint(x - 1, y, glow, 0.5f);
  c.tint(x + 1, y, glow, 0.5f);
}

std::vector<Vec2> flip_x(std::vector<Vec2> pts, float axis) {
  for (auto& p : pts) p.x = 2 * axis - p.x;
  return pts;
}

std::vector<Vec2> flip_y(std::vector<Vec2> pts, float axis) {
  for (auto& p : pts) p.y = 2 * axis - p.y;
  return pts;
}

// Flat-shaded polygon: one tone for the whole facet.
void facet(Canvas& c, const std::vector<Vec2>& pts, Rgb tone) {
  Mask m(c.width(), c.height());
  m.add(polygon(pts));
  fill(c, m, tone);
}

}  // namespace

Canvas boss() {
  Canvas c(100, 30);
  Mask under(100, 30);
  under.add(ellipse(50, 19.5f, 40, 5.5f));
  shade(c, under, tones::kDarkHull, Lighting{.radius = 3});

  // Weapon emitters hang below the hull and glow.
  for (float x : {28.0f, 50.0f, 72.0f}) {
    Mask pod(100, 30);
    pod.add(ellipse(x, 24.0f, 3.2f, 2.6f));
    shade(c, pod, tones::kDarkHull, Lighting{.radius = 2});
    Mask glow(100, 30);
    glow.add(ellipse(x, 26.0f, 1.7f, 1.4f));
    fill(c, glow, {255, 120, 40});
    c.set(int(x) - 1, 26, {255, 230, 140});
    c.set(int(x), 26, {255, 230, 140});
  }

  Mask disc(100, 30);
  disc.add(ellipse(50, 16.5f, 48.5f, 5.2f));
  Field disc_light = light_of(disc, Lighting{.radius = 4, .specular = 0.5f});
  shade(c, disc, tones::kHull, Lighting{.radius = 4, .specular = 0.5f});
  // A dark seam where the upper and lower halves of the saucer meet.
  Mask seam(100, 30);
  seam.add(disc).keep(rect(0, 17, 100, 18)).cut(disc.edge());
  shade_as(c, seam, disc_light, tones::kDarkHull);

  Mask deck(100, 30);
  deck.add(ellipse(50, 12.5f, 33, 6.5f)).keep(above(15.5f));
  shade(c, deck, tones::kHull, Lighting{.radius = 3, .specular = 0.4f});

  Mask dome(100, 30);
  dome.add(ellipse(50, 8.5f, 11, 7)).keep(above(9.5f));
  shade(c, dome, kRedGlass, Lighting{.radius = 4, .ambient = 0.25f, .specular = 0.9f});

  // Portholes along the deck, lit from inside.
  for (int i = 0; i < 11; ++i) {
    float x = 25.0f + i * 5.0f;
    Mask frame(100, 30), pane(100, 30);
    frame.add(circle(x, 13.0f, 1.9f));
    pane.add(circle(x, 13.0f, 1.1f));
    fill(c, frame, {30, 34, 46});
    fill(c, pane, {255, 214, 90});
    c.set(int(x) - 1, 12, {255, 250, 210});
  }
  // Rim lights, alternately red and white.
  for (int i = 0; i < 9; ++i) {
    int x = 10 + i * 10;
    bool red = i % 2 == 0;
    lamp(c, x, 17, red ? Rgb{255, 70, 60} : Rgb{240, 250, 255},
         red ? Rgb{200, 30, 30} : Rgb{140, 200, 255});
  }
  // Antenna mast on the dome.
  for (int y = 0; y < 2; ++y) c.set(50, y, tones::kHull[4]);
  c.set(50, 0, {255, 90, 70});
  c.outline(kOutline);
  return c;
}

Canvas red_saucer() {
  Canvas c(30, 19);
  Mask belly(30, 19);
  belly.add(ellipse(15, 12, 8.5f, 4.2f));
  shade(c, belly, tones::kDarkHull, Lighting{.radius = 2.5f});
  for (int x : {11, 15, 19}) {
    c.set(x, 15, {255, 150, 50});
    c.set(x, 16, {220, 70, 20});
  }
  c.set(15, 16, {255, 220, 120});

  Mask disc(30, 19);
  disc.add(ellipse(15, 10, 14, 3.8f));
  shade(c, disc, tones::kRed, Lighting{.radius = 2.5f, .specular = 0.5f});

  Mask dome(30, 19);
  dome.add(ellipse(15, 8.0f, 6.2f, 6.0f)).keep(above(8.6f));
  shade(c, dome, tones::kGlass, Lighting{.radius = 3, .ambient = 0.3f, .specular = 0.9f});

  for (int x : {4, 9, 15, 21, 26}) lamp(c, x, 10, {255, 236, 120}, {255, 180, 40});
  c.outline(kOutline);
  return c;
}

Canvas purple_saucer() {
  Canvas c(30, 19);
  Mask belly(30, 19);
  belly.add(ellipse(15, 12.5f, 6.5f, 4));
  shade(c, belly, kPurple, Lighting{.radius = 2});
  Mask core(30, 19);
  core.add(ellipse(15, 15.2f, 2.6f, 1.6f));
  fill(c, core, {255, 110, 230});
  c.set(14, 15, {255, 220, 250});
  c.set(15, 15, {255, 220, 250});

  Mask disc(30, 19);
  disc.add(ellipse(15, 10.5f, 14, 2.9f));
  shade(c, disc, kPurple, Lighting{.radius = 2, .specular = 0.5f});

  Mask hull(30, 19);
  hull.add(ellipse(15, 9.0f, 9.5f, 4.5f)).keep(above(10.0f));
  shade(c, hull, kPurple, Lighting{.radius = 3, .specular = 0.5f});

  Mask dome(30, 19);
  dome.add(ellipse(15, 6.5f, 4.2f, 4.5f)).keep(above(6.8f));
  shade(c, dome, kGreenGlass, Lighting{.radius = 2.5f, .ambient = 0.35f, .specular = 0.9f});

  // A ring of green lights around the rim, and portholes on the upper hull.
  for (int x = 3; x <= 27; x += 4) c.set(x, 11, {120, 255, 150});
  for (int x : {9, 12, 18, 21}) c.set(x, 8, {255, 220, 255});
  c.outline(kOutline);
  return c;
}

Canvas crystal_craft() {
  Canvas c(30, 30);
  // Facet tones are picked by hand from the ramp: faces turned to the upper
  // left catch the light, the others fall off into deep blue.
  const Vec2 top{15, 1.5f}, left{7.5f, 11}, right{22.5f, 11}, tip{15, 28.5f}, ridge{15, 12};
  auto shard = [&](float dir) {
    // A smaller crystal flanking the hull, leaning outwards.
    std::vector<Vec2> a = {{11, 9}, {3.5f, 4}, {6.5f, 13}};
    std::vector<Vec2> b = {{11, 9}, {6.5f, 13}, {8.5f, 21}};
    std::vector<Vec2> e = {{3.5f, 4}, {6.5f, 13}, {5, 14}};
    if (dir > 0) {
      facet(c, flip_x(a, 15), kIce[3]);
      facet(c, flip_x(b, 15), kIce[1]);
      facet(c, flip_x(e, 15), kIce[2]);
    } else {
      facet(c, a, kIce[4]);
      facet(c, b, kIce[2]);
      facet(c, e, kIce[3]);
    }
  };
  shard(-1);
  shard(+1);
  facet(c, {top, left, ridge}, kIce[5]);
  facet(c, {top, ridge, right}, kIce[3]);
  facet(c, {left, {15, 20}, ridge}, kIce[3]);
  facet(c, {ridge, {15, 20}, right}, kIce[2]);
  facet(c, {left, tip, {15, 20}}, kIce[2]);
  facet(c, {{15, 20}, tip, right}, kIce[1]);

  // Bright ridges where facets meet.
  for (int y = 3; y < 12; ++y) c.set(14, y, kIce[5]);
  for (int y = 12; y < 27; ++y) c.tint(15, y, kIce[4], 0.5f);
  // The energy core glows through the crystal.
  Mask core(30, 30);
  core.add(polygon({{15, 10}, {17.2f, 14}, {15, 19}, {12.8f, 14}}));
  Field core_light = light_of(core, Lighting{.radius = 2});
  paint(c, core, core_light, [](int, int, float l) {
    return mix(Rgb{90, 230, 255}, Rgb{255, 255, 255}, l);
  });
  c.outline(kOutline);
  return c;
}

Canvas lander() {
  Canvas c(30, 30);
  Lighting metal{.radius = 1.5f, .specular = 0.3f};
  Mask legs(30, 30);
  std::vector<Vec2> leg = {{9, 17.5f}, {10.8f, 19}, {5.2f, 26.5f}, {3.8f, 25.5f}};
  legs.add(polygon(leg)).add(polygon(flip_x(leg, 15)));
  legs.add(rect(2, 25.5f, 7.5f, 27.5f)).add(rect(22.5f, 25.5f, 28, 27.5f));
  shade(c, legs, tones::kDarkHull, metal);

  Mask nozzle(30, 30);
  nozzle.add(polygon({{12, 20}, {18, 20}, {19.2f, 24.5f}, {10.8f, 24.5f}}));
  shade(c, nozzle, tones::kDarkHull, metal);
  Mask burn(30, 30);
  burn.add(ellipse(15, 25.0f, 3.5f, 2.4f)).keep([](float, float y) { return y > 24.5f; });
  for (int y = 24; y < 28; ++y)
    for (int x = 10; x < 20; ++x)
      if (burn.at(x, y)) c.set(x, y, tones::kFlame.step(1.0f - (y - 24) / 2.5f));

  Mask body(30, 30);
  body.add(polygon({{7, 12.5f}, {23, 12.5f}, {26, 16.5f}, {23, 21.5f}, {7, 21.5f}, {4, 16.5f}}));
  Field body_light = light_of(body, Lighting{.radius = 2.5f, .specular = 0.4f});
  shade(c, body, kBrown, Lighting{.radius = 2.5f, .specular = 0.4f});
  Mask band(30, 30);
  band.add(body).keep(rect(0, 18, 30, 19)).cut(body.edge());
  shade_as(c, band, body_light, tones::kDarkHull);
  for (int x : {8, 12, 17, 21}) c.set(x, 16, {255, 214, 90});
  c.set(4, 16, {255, 80, 60});
  c.set(25, 16, {120, 255, 140});

  Mask dome(30, 30);
  dome.add(ellipse(15, 13.0f, 7.2f, 10.0f)).keep(above(13.0f));
  shade(c, dome, tones::kGlass, Lighting{.radius = 4, .ambient = 0.3f, .specular = 0.9f});
  Mask collar(30, 30);
  collar.add(rect(7.5f, 12, 22.5f, 13.5f));
  shade(c, collar, kBrown, Lighting{.radius = 0.8f});
  c.outline(kOutline);
  return c;
}

Canvas wasp_craft() {
  Canvas c(30, 30);
  // Engines at the rear (top), since the craft dives downwards.
  for (int x : {12, 17}) {
    c.set(x, 1, tones::kFlame[2]);
    c.set(x, 2, tones::kFlame[3]);
    c.set(x + 1, 1, tones::kFlame[1]);
    c.set(x + 1, 2, tones::kFlame[3]);
  }
  Mask wings(30, 30);
  std::vector<Vec2> wing = {{12, 9}, {3.5f, 3}, {1.5f, 5}, {3, 13}, {8, 17}, {12, 17}};
  wings.add(polygon(wing)).add(polygon(flip_x(wing, 15)));
  Field wing_light = light_of(wings, Lighting{.radius = 1.5f});
  shade(c, wings, tones::kRed, Lighting{.radius = 1.5f});
  // Yellow wing tips echo the body.
  Mask tips(30, 30);
  tips.add(wings).keep([](float x, float) { return x < 5 || x > 25; }).cut(wings.edge());
  shade_as(c, tips, wing_light, kYellow);

  Mask pods(30, 30);
  pods.add(rect(11, 3, 14, 8)).add(rect(16, 3, 19, 8));
  shade(c, pods, tones::kDarkHull, Lighting{.radius = 1});

  Mask body(30, 30);
  body.add(ellipse(15, 13.5f, 5.2f, 9.5f));
  Field body_light = light_of(body, Lighting{.radius = 4, .specular = 0.5f});
  shade(c, body, kYellow, Lighting{.radius = 4, .specular = 0.5f});
  Mask stripes(30, 30);
  stripes.add(body)
      .keep([](float, float y) { return (y > 9 && y < 11) || (y > 14 && y < 16); })
      .cut(body.edge());
  shade_as(c, stripes, body_light, tones::kRed);

  Mask mandibles(30, 30);
  std::vector<Vec2> fang = {{13, 23}, {14, 24}, {12.5f, 28.5f}, {11.5f, 27.5f}};
  mandibles.add(polygon(fang)).add(polygon(flip_x(fang, 15)));
  shade(c, mandibles, tones::kRed, Lighting{.radius = 1});

  Mask head(30, 30);
  head.add(ellipse(15, 23.5f, 3.6f, 4.2f));
  shade(c, head, tones::kRed, Lighting{.radius = 3, .specular = 0.5f});
  Mask eye(30, 30);
  eye.add(ellipse(15, 23.0f, 2.2f, 1.6f));
  shade(c, eye, kGreenGlass, Lighting{.radius = 1.5f, .ambient = 0.4f, .specular = 0.9f}, false);
  c.outline(kOutline);
  return c;
}

Canvas green_craft() {
  Canvas c(30, 30);
  const float axis = 15.0f;  // mirror line, horizontal: the craft flies to the left
  Mask guns(30, 30);
  guns.add(rect(12, 4, 21, 5.4f)).add(rect(12, 24.6f, 21, 26));
  shade(c, guns, tones::kDarkHull, Lighting{.radius = 0.8f});

  Mask wings(30, 30);
  std::vector<Vec2> wing = {{9, 14}, {19, 3.2f}, {24, 3.2f}, {23, 12}};
  wings.add(polygon(wing)).add(polygon(flip_y(wing, axis)));
  Field wing_light = light_of(wings, Lighting{.radius = 1.5f});
  shade(c, wings, kGreen, Lighting{.radius = 1.5f});
  Mask panel(30, 30);
  panel.add(wings).keep([](float x, float y) { return x > 19.5f && (y < 9 || y > 21); });
  panel.cut(wings.edge());
  shade_as(c, panel, wing_light, kYellow);

  Mask engine(30, 30);
  engine.add(rect(23, 11, 27.5f, 19));
  shade(c, engine, tones::kDarkHull, Lighting{.radius = 1.2f});
  for (int y = 12; y < 18; ++y) {
    c.set(28, y, {120, 255, 200});
    c.set(27, y, {220, 255, 240});
  }
  c.set(29, 14, {60, 200, 160});
  c.set(29, 15, {60, 200, 160});

  Mask body(30, 30);
  body.add(ellipse(14, axis, 11, 4.6f));
  body.add(polygon({{1.2f, axis}, {8, 11.6f}, {8, 18.4f}}));
  shade(c, body, kGreen, Lighting{.radius = 3.5f, .specular = 0.5f});

  Mask canopy(30, 30);
  canopy.add(ellipse(9.5f, 14.2f, 3.4f, 1.8f));
  shade(c, canopy, kAmberGlass, Lighting{.radius = 1.5f, .ambient = 0.35f, .specular = 0.9f},
        false);
  c.outline(kOutline);
  return c;
}

}  // namespace art
