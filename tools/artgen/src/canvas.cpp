#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace art {

Rgb Canvas::get(int x, int y) const {
  if (!inside(x, y)) return {};
  std::uint32_t v = px_[index(x, y)];
  return {int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)};
}

void Canvas::set(int x, int y, Rgb c) {
  if (!inside(x, y)) return;
  px_[index(x, y)] = 0xFF000000u | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}

void Canvas::clear(int x, int y) {
  if (inside(x, y)) px_[index(x, y)] = 0;
}

void Canvas::tint(int x, int y, Rgb c, float amount) {
  if (opaque(x, y)) set(x, y, mix(get(x, y), c, amount));
}

void Canvas::blend(int x, int y, Rgb c, float amount, Rgb base) {
  if (!inside(x, y)) return;
  set(x, y, mix(opaque(x, y) ? get(x, y) : base, c, amount));
}

void Canvas::fill(Rgb c) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) set(x, y, c);
}

void Canvas::draw(const Canvas& src, int dx, int dy) {
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x)
      if (src.opaque(x, y)) set(x + dx, y + dy, src.get(x, y));
}

Canvas Canvas::rotated(int quarter_turns) const {
  quarter_turns = ((quarter_turns % 4) + 4) % 4;
  bool swap = quarter_turns % 2 == 1;
  Canvas out(swap ? h_ : w_, swap ? w_ : h_);
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      int nx = x, ny = y;
      switch (quarter_turns) {
        case 1:
          nx = h_ - 1 - y;
          ny = x;
          break;
        case 2:
          nx = w_ - 1 - x;
          ny = h_ - 1 - y;
          break;
        case 3:
          nx = y;
          ny = w_ - 1 - x;
          break;
        default:
          break;
      }
      out.px_[out.index(nx, ny)] = px_[index(x, y)];
    }
  }
  return out;
}

void Canvas::outline(Rgb c, bool corners) {
  std::vector<std::pair<int, int>> ring;
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      if (opaque(x, y)) continue;
      bool touch = opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1);
      if (corners)
        touch = touch || opaque(x - 1, y - 1) || opaque(x + 1, y - 1) || opaque(x - 1, y + 1) ||
                opaque(x + 1, y + 1);
      if (touch) ring.emplace_back(x, y);
    }
  }
  for (auto [x, y] : ring) set(x, y, c);
}

bool Mask::empty() const {
  return std::none_of(on_.begin(), on_.end(), [](std::uint8_t v) { return v != 0; });
}

Mask& Mask::add(const std::function<bool(float, float)>& inside) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (inside(x + 0.5f, y + 0.5f)) on_[std::size_t(y) * w_ + x] = 1;
  return *this;
}

Mask& Mask::cut(const std::function<bool(float, float)>& inside) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (inside(x + 0.5f, y + 0.5f)) on_[std::size_t(y) * w_ + x] = 0;
  return *this;
}

Mask& Mask::keep(const std::function<bool(float, float)>& inside) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (!inside(x + 0.5f, y + 0.5f)) on_[std::size_t(y) * w_ + x] = 0;
  return *this;
}

Mask& Mask::add(const Mask& other) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (other.at(x, y)) put(x, y, true);
  return *this;
}

Mask& Mask::cut(const Mask& other) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (other.at(x, y)) put(x, y, false);
  return *this;
}

Mask Mask::edge() const {
  Mask out(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (at(x, y) && !(at(x - 1, y) && at(x + 1, y) && at(x, y - 1) && at(x, y + 1)))
        out.put(x, y, true);
  return out;
}

Shape polygon(std::vector<Vec2> pts) {
  return [pts = std::move(pts)](float x, float y) {
    bool in = false;
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const Vec2 &a = pts[i], &b = pts[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  };
}

Shape ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) {
    float dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0f;
  };
}

Shape circle(float cx, float cy, float r) {
  return ellipse(cx, cy, r, r);
}

Shape rect(float x0, float y0, float x1, float y1) {
  return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape capsule(Vec2 a, Vec2 b, float radius) {
  return [=](float x, float y) {
    float vx = b.x - a.x, vy = b.y - a.y;
    float len2 = vx * vx + vy * vy;
    float t = len2 > 0 ? std::clamp(((x - a.x) * vx + (y - a.y) * vy) / len2, 0.0f, 1.0f) : 0;
    float dx = x - (a.x + vx * t), dy = y - (a.y + vy * t);
    return dx * dx + dy * dy <= radius * radius;
  };
}

Shape bar(Vec2 a, Vec2 b, float width) {
  float dx = b.x - a.x, dy = b.y - a.y;
  float len = std::sqrt(dx * dx + dy * dy);
  float nx = -dy / len * width * 0.5f, ny = dx / len * width * 0.5f;
  return polygon(
      {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
}

Shape rounded_rect(float x0, float y0, float x1, float y1, float r) {
  return [=](float x, float y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    float dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= r * r;
  };
}

std::vector<Vec2> mirrored(const std::vector<Vec2>& half, float axis) {
  std::vector<Vec2> out = half;
  for (auto it = half.rbegin(); it != half.rend(); ++it) out.push_back({2 * axis - it->x, it->y});
  return out;
}

std::vector<Vec2> scaled(std::vector<Vec2> pts, float s) {
  for (auto& p : pts) p = {p.x * s, p.y * s};
  return pts;
}

}  // namespace art
