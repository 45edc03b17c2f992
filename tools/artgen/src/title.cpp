// The title picture: the red planet, the game's name and the fighter.
#include <cmath>

#include "font.h"
#include "palette.h"
#include "shading.h"
#include "sprites.h"

namespace art {
namespace {

// Gold chrome: bright sky above a dark "horizon" at mid height, warm below.
// The hard step in the middle is what makes flat letters read as polished.
Rgb chrome(float t) {
  static const Ramp kUpper{{255, 252, 226}, {255, 232, 140}, {252, 196, 64}};
  static const Ramp kLower{{150, 50, 14}, {212, 104, 30}, {250, 170, 60}, {255, 226, 140}};
  return t < 0.5f ? kUpper.smooth(t / 0.5f) : kLower.smooth((t - 0.5f) / 0.5f);
}

void glint(Canvas& c, int x, int y, int arm) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      c.blend(x + dx, y + dy, {255, 255, 255}, 0.6f, {255, 200, 120});
  for (int d = -arm; d <= arm; ++d) {
    float k = 1.0f - std::abs(d) / float(arm + 1);
    c.blend(x + d, y, {255, 255, 255}, k, {255, 200, 120});
    c.blend(x, y + d, {255, 255, 255}, k, {255, 200, 120});
  }
}

Canvas lettering(int width, int height) {
  Canvas c(width, height);
  LetterStyle st;
  const char* text = "KORVALEN";
  const float x0 = (width - text_width(text, st)) / 2.0f, y0 = 26.0f;
  Mask face(width, height);
  draw_text(face, text, x0, y0, st);

  // Extruded depth towards the lower right, darkening as it recedes.
  const int depth = 6;
  for (int d = depth; d >= 1; --d) {
    Rgb tone = mix(Rgb{120, 24, 20}, Rgb{40, 8, 16}, d / float(depth));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (face.at(x - d, y - d)) c.set(x, y, tone);
  }

  Field light = light_of(face, Lighting{.radius = 3.5f, .ambient = 0.3f, .specular = 0.6f});
  Mask edge = face.edge();
  paint(c, face, light, [&](int x, int y, float l) {
    if (edge.at(x, y)) return Rgb{90, 30, 10};
    float t = (y + 0.5f - y0) / st.height;
    Rgb base = chrome(t);
    return l > 0.62f ? mix(base, Rgb{255, 255, 255}, (l - 0.62f) * 1.6f)
                     : scale(base, 0.55f + l * 0.73f);
  });
  c.outline(kOutline, true);
  c.outline(kOutline);
  c.outline({70, 40, 90});

  glint(c, static_cast<int>(x0 + 3), static_cast<int>(y0 + 3), 7);
  glint(c, static_cast<int>(x0 + 5 * (st.width + st.gap) + st.width * 0.5f),
        static_cast<int>(y0 + 2), 6);
  return c;
}

}  // namespace

Canvas title() {
  Canvas c(400, 300);
  c.draw(red_planet(240, 240, 118.0f), 196, 118);
  c.draw(fighter(4), 46, 164);
  c.draw(lettering(400, 120), 0, 0);
  return c;
}

}  // namespace art
