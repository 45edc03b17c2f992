#include "quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace art {
namespace {

struct Entry {
  std::array<int, 3> c;
  std::uint64_t count;
};

struct Box {
  std::vector<Entry> entries;

  std::uint64_t weight() const {
    std::uint64_t w = 0;
    for (const auto& e : entries) w += e.count;
    return w;
  }
  // Widest channel and its extent.
  std::pair<int, int> spread() const {
    int best = 0, axis = 0;
    for (int a = 0; a < 3; ++a) {
      int lo = 255, hi = 0;
      for (const auto& e : entries) {
        lo = std::min(lo, e.c[a]);
        hi = std::max(hi, e.c[a]);
      }
      if (hi - lo > best) {
        best = hi - lo;
        axis = a;
      }
    }
    return {axis, best};
  }
  Rgb mean() const {
    std::uint64_t s[3] = {0, 0, 0}, n = weight();
    for (const auto& e : entries)
      for (int a = 0; a < 3; ++a) s[a] += std::uint64_t(e.c[a]) * e.count;
    return {int((s[0] + n / 2) / n), int((s[1] + n / 2) / n), int((s[2] + n / 2) / n)};
  }
};

std::uint32_t key(Rgb c) {
  return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}

std::vector<Rgb> median_cut(const std::map<std::uint32_t, std::uint64_t>& hist, int max_colours) {
  Box all;
  for (auto [k, n] : hist)
    all.entries.push_back({{int(k >> 16), int((k >> 8) & 0xFF), int(k & 0xFF)}, n});
  std::vector<Box> boxes{all};
  while (static_cast<int>(boxes.size()) < max_colours) {
    // Split where it buys the most: wide boxes covering many pixels. The square
    // root on the weight keeps rare but distinct colours (highlights, outlines)
    // from being swallowed by big smooth areas.
    std::size_t pick = boxes.size();
    double best = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].entries.size() < 2) continue;
      auto [axis, extent] = boxes[i].spread();
      double score =
          double(extent) * double(extent) * std::sqrt(static_cast<double>(boxes[i].weight()));
      if (score > best) {
        best = score;
        pick = i;
      }
    }
    if (pick == boxes.size()) break;
    Box& b = boxes[pick];
    int axis = b.spread().first;
    std::stable_sort(b.entries.begin(), b.entries.end(), [axis](const Entry& p, const Entry& q) {
      return p.c[axis] != q.c[axis] ? p.c[axis] < q.c[axis] : p.c < q.c;
    });
    std::uint64_t half = b.weight() / 2, run = 0;
    std::size_t cut = 1;
    for (; cut < b.entries.size() - 1; ++cut) {
      run += b.entries[cut - 1].count;
      if (run >= half) break;
    }
    Box upper;
    upper.entries.assign(b.entries.begin() + static_cast<std::ptrdiff_t>(cut), b.entries.end());
    b.entries.resize(cut);
    boxes.push_back(std::move(upper));
  }
  std::vector<Rgb> palette;
  for (const auto& b : boxes) palette.push_back(b.mean());
  return palette;
}

}  // namespace

Indexed quantize(const Canvas& c, int max_colours, int first) {
  std::map<std::uint32_t, std::uint64_t> hist;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.opaque(x, y)) ++hist[key(c.get(x, y))];

  Indexed out;
  if (static_cast<int>(hist.size()) <= max_colours) {
    for (auto [k, n] : hist)
      out.palette.push_back({int(k >> 16), int((k >> 8) & 0xFF), int(k & 0xFF)});
  } else {
    out.palette = median_cut(hist, max_colours);
  }

  std::map<std::uint32_t, std::uint8_t> lookup;
  for (auto [k, n] : hist) {
    int r = int(k >> 16), g = int((k >> 8) & 0xFF), b = int(k & 0xFF);
    int best = 0;
    long best_d = -1;
    for (std::size_t i = 0; i < out.palette.size(); ++i) {
      const Rgb& p = out.palette[i];
      // Weighted towards green, roughly as the eye is.
      long d = 3L * (r - p.r) * (r - p.r) + 4L * (g - p.g) * (g - p.g) + 2L * (b - p.b) * (b - p.b);
      if (best_d < 0 || d < best_d) {
        best_d = d;
        best = static_cast<int>(i);
      }
    }
    lookup[k] = static_cast<std::uint8_t>(best + first);
  }

  out.indices.resize(std::size_t(c.width()) * c.height(), 0);
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.opaque(x, y)) out.indices[std::size_t(y) * c.width() + x] = lookup[key(c.get(x, y))];
  return out;
}

}  // namespace art
