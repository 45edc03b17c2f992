#include "font.h"

namespace art {
namespace {

void glyph(Mask& m, char ch, float ox, float oy, const LetterStyle& st) {
  const float w = st.width, h = st.height, t = st.stroke;
  auto at = [&](float x, float y) { return Vec2{ox + x, oy + y}; };
  auto box = [&](float x0, float y0, float x1, float y1) {
    return rect(ox + x0, oy + y0, ox + x1, oy + y1);
  };
  auto poly = [&](std::initializer_list<Vec2> pts) {
    std::vector<Vec2> v;
    for (Vec2 p : pts) v.push_back(at(p.x, p.y));
    return polygon(v);
  };
  // Diagonal strokes are clipped to the glyph's box so they end square.
  auto diagonal = [&](Vec2 a, Vec2 b, float width) {
    Shape s = bar(at(a.x, a.y), at(b.x, b.y), width);
    Shape inside = box(0, 0, w, h);
    return Shape([s, inside](float x, float y) { return s(x, y) && inside(x, y); });
  };
  auto ring = [&](float x0, float y0, float x1, float y1, float r) {
    Shape outer = rounded_rect(ox + x0, oy + y0, ox + x1, oy + y1, r);
    Shape inner =
        rounded_rect(ox + x0 + t, oy + y0 + t * 0.9f, ox + x1 - t, oy + y1 - t * 0.9f, r * 0.3f);
    return Shape([outer, inner](float x, float y) { return outer(x, y) && !inner(x, y); });
  };

  switch (ch) {
    case 'K':
      m.add(box(0, 0, t, h));
      m.add(diagonal({t * 0.7f, h * 0.62f}, {w + 3, -5}, t * 1.05f));
      m.add(diagonal({t * 1.2f, h * 0.42f}, {w + 3, h + 5}, t * 1.05f));
      break;
    case 'O':
      m.add(ring(0, 0, w, h, w * 0.4f));
      break;
    case 'R':
      m.add(box(0, 0, t, h));
      m.add(ring(0, 0, w, h * 0.6f, w * 0.3f));
      m.add(diagonal({w * 0.42f, h * 0.5f}, {w + 2, h + 3}, t * 1.05f));
      break;
    case 'V':
      m.add(poly({{0, 0},
                  {t * 1.15f, 0},
                  {w / 2, h - t * 1.5f},
                  {w - t * 1.15f, 0},
                  {w, 0},
                  {w / 2 + t * 0.62f, h},
                  {w / 2 - t * 0.62f, h}}));
      break;
    case 'A': {
      m.add(poly({{w / 2 - t * 0.62f, 0},
                  {w / 2 + t * 0.62f, 0},
                  {w, h},
                  {w - t * 1.15f, h},
                  {w / 2, t * 1.5f},
                  {t * 1.15f, h},
                  {0, h}}));
      Shape hull = poly({{w / 2 - t * 0.62f, 0}, {w / 2 + t * 0.62f, 0}, {w, h}, {0, h}});
      Shape cross = box(0, h * 0.6f, w, h * 0.6f + t * 0.8f);
      m.add([hull, cross](float x, float y) { return hull(x, y) && cross(x, y); });
      break;
    }
    case 'L':
      m.add(box(0, 0, t, h));
      m.add(box(0, h - t, w * 0.95f, h));
      break;
    case 'E':
      m.add(box(0, 0, t, h));
      m.add(box(0, 0, w, t));
      m.add(box(0, h / 2 - t * 0.45f, w * 0.8f, h / 2 + t * 0.45f));
      m.add(box(0, h - t, w, h));
      break;
    case 'N':
      m.add(box(0, 0, t, h));
      m.add(box(w - t, 0, w, h));
      m.add(poly({{0, 0}, {t * 1.25f, 0}, {w, h}, {w - t * 1.25f, h}}));
      break;
    default:
      break;
  }
}

}  // namespace

float text_width(std::string_view text, const LetterStyle& st) {
  if (text.empty()) return 0;
  return text.size() * st.width + (text.size() - 1) * st.gap;
}

void draw_text(Mask& m, std::string_view text, float x, float y, const LetterStyle& st) {
  for (char ch : text) {
    glyph(m, ch, x, y, st);
    x += st.width + st.gap;
  }
}

}  // namespace art
