#include "shading.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace art {
namespace {

// Felzenszwalb & Huttenlocher's squared distance transform of a sampled
// function, one row or column at a time.
void edt_1d(const std::vector<float>& f, std::vector<float>& d) {
  const int n = static_cast<int>(f.size());
  std::vector<int> v(n);
  std::vector<float> z(n + 1);
  int k = 0;
  v[0] = 0;
  z[0] = -std::numeric_limits<float>::infinity();
  z[1] = std::numeric_limits<float>::infinity();
  for (int q = 1; q < n; ++q) {
    float s;
    for (;;) {
      int p = v[k];
      s = ((f[q] + float(q) * q) - (f[p] + float(p) * p)) / (2.0f * q - 2.0f * p);
      if (s > z[k] || k == 0) break;
      --k;
    }
    if (s <= z[k]) s = z[k];
    ++k;
    v[k] = q;
    z[k] = s;
    z[k + 1] = std::numeric_limits<float>::infinity();
  }
  k = 0;
  for (int q = 0; q < n; ++q) {
    while (z[k + 1] < q) ++k;
    float dq = float(q - v[k]);
    d[q] = dq * dq + f[v[k]];
  }
}

// Averages each mask pixel with its neighbours within `k`; outside counts as
// height zero so the silhouette keeps its slope.
Field box_blur(const Field& f, const Mask& m, int k) {
  Field tmp(f.width(), f.height()), out(f.width(), f.height());
  const float n = float(2 * k + 1);
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x) {
      float sum = 0;
      for (int d = -k; d <= k; ++d) sum += f.at(x + d, y);
      tmp(x, y) = sum / n;
    }
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x) {
      if (!m.at(x, y)) continue;
      float sum = 0;
      for (int d = -k; d <= k; ++d) sum += tmp.at(x, y + d);
      out(x, y) = sum / n;
    }
  return out;
}

}  // namespace

Vec3 normalize(Vec3 v) {
  float len = std::sqrt(dot(v, v));
  return len > 0 ? Vec3{v.x / len, v.y / len, v.z / len} : Vec3{0, 0, 1};
}

Field distance_inside(const Mask& m) {
  // One pixel of padding so the picture's border counts as outside.
  const int w = m.width() + 2, h = m.height() + 2;
  const float inf = 1e12f;
  std::vector<float> grid(std::size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) grid[std::size_t(y) * w + x] = m.at(x - 1, y - 1) ? inf : 0.0f;

  std::vector<float> f, d;
  f.resize(h);
  d.resize(h);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) f[y] = grid[std::size_t(y) * w + x];
    edt_1d(f, d);
    for (int y = 0; y < h; ++y) grid[std::size_t(y) * w + x] = d[y];
  }
  f.resize(w);
  d.resize(w);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) f[x] = grid[std::size_t(y) * w + x];
    edt_1d(f, d);
    for (int x = 0; x < w; ++x) grid[std::size_t(y) * w + x] = d[x];
  }

  Field out(m.width(), m.height());
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x) out(x, y) = std::sqrt(grid[std::size_t(y + 1) * w + x + 1]);
  return out;
}

Field light_of(const Mask& m, const Lighting& lt) {
  Field dist = distance_inside(m);
  Field height(m.width(), m.height());
  const float r = std::max(lt.radius, 0.5f);
  for (int y = 0; y < m.height(); ++y) {
    for (int x = 0; x < m.width(); ++x) {
      if (!m.at(x, y)) continue;
      float u = std::clamp((dist.at(x, y) - 0.5f) / r, 0.0f, 1.0f);
      float v = 1.0f - u;
      height(x, y) = r * std::sqrt(std::max(0.0f, 1.0f - v * v));
    }
  }
  // The distance transform is exact but steppy on gentle slopes; on large
  // cushions those steps would show up as scratches in the highlights.
  const int blur = std::clamp(static_cast<int>(r / 5.0f), 0, 3);
  for (int pass = 0; pass < 2 && blur > 0; ++pass) height = box_blur(height, m, blur);
  const Vec3 l = normalize(lt.light);
  const Vec3 half = normalize({l.x, l.y, l.z + 1.0f});
  Field out(m.width(), m.height());
  for (int y = 0; y < m.height(); ++y) {
    for (int x = 0; x < m.width(); ++x) {
      if (!m.at(x, y)) continue;
      auto h = [&](int xx, int yy) { return m.at(xx, yy) ? height.at(xx, yy) : 0.0f; };
      float gx = (h(x + 1, y) - h(x - 1, y)) * 0.5f;
      float gy = (h(x, y + 1) - h(x, y - 1)) * 0.5f;
      Vec3 n = normalize({-gx, -gy, 1.0f});
      float diffuse = std::max(0.0f, dot(n, l));
      float glossy = std::pow(std::max(0.0f, dot(n, half)), lt.shininess);
      out(x, y) =
          std::clamp(lt.ambient + (1.0f - lt.ambient) * diffuse + lt.specular * glossy, 0.0f, 1.0f);
    }
  }
  return out;
}

void paint(Canvas& c, const Mask& m, const Field& light, const Painter& painter) {
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x)
      if (m.at(x, y)) c.set(x, y, painter(x, y, light.at(x, y)));
}

void shade(Canvas& c, const Mask& m, const Ramp& ramp, const Lighting& lighting, bool rim) {
  Field light = light_of(m, lighting);
  Mask edge = rim ? m.edge() : Mask(m.width(), m.height());
  paint(c, m, light, [&](int x, int y, float l) {
    if (edge.at(x, y)) return ramp[l > 0.8f ? 1 : 0];
    // The darkest tone is kept for the rim so it always reads as an edge.
    return ramp[1 + static_cast<std::size_t>(l * (ramp.size() - 2) + 0.5f)];
  });
}

void shade_smooth(Canvas& c, const Mask& m, const Ramp& ramp, const Lighting& lighting, bool rim) {
  Field light = light_of(m, lighting);
  Mask edge = rim ? m.edge() : Mask(m.width(), m.height());
  paint(c, m, light,
        [&](int x, int y, float l) { return edge.at(x, y) ? ramp[0] : ramp.smooth(l); });
}

void shade_as(Canvas& c, const Mask& region, const Field& surface_light, const Ramp& ramp) {
  paint(c, region, surface_light, [&](int, int, float l) {
    return ramp[1 + static_cast<std::size_t>(l * (ramp.size() - 2) + 0.5f)];
  });
}

void fill(Canvas& c, const Mask& m, Rgb colour) {
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x)
      if (m.at(x, y)) c.set(x, y, colour);
}

}  // namespace art
