// Where hazards come back when they leave the field, and when they hit the
// ship. Both are tables read by one small function each.
#pragma once

#include <array>

// The band of a lane pick: 1 to 26, or 0 below 10 (no band: the hazard keeps
// its lane).
int band_of(int numerito);

// A random integer r with 0 <= r < n, from the program's own generator.
int random_below(unsigned& seed, int n);

// The values a..b in steps of `step`, both ends included.
struct OffsetSet {
  int from;
  int to;
  int step = 5;
  bool contains(int v) const { return v >= from && v <= to && (v - from) % step == 0; }
};

// dx = hazard left - ship left, dy = hazard top - ship top.
struct HitWindow {
  OffsetSet dx;
  OffsetSet dy;
  bool hits(int dx_, int dy_) const { return dx.contains(dx_) && dy.contains(dy_); }
};

// New lane for each band (rows) and each cruiser (columns).
extern const std::array<std::array<int, 6>, 26> kCruiserLanes;
extern const std::array<int, 26> kMeteorLanes;
