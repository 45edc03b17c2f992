#include "playfield/lanes.h"

#include <algorithm>
#include <cstdint>

namespace {
// Lower bound of each band; a band runs up to the next one's bound.
constexpr std::array<int, 26> kBandStarts = {10,  20,  25,  30,  35,  40,  45,  50, 55,
                                             60,  65,  70,  75,  80,  85,  90,  95, 100,
                                             105, 110, 115, 150, 200, 250, 270, 280};
}  // namespace

int band_of(int numerito) {
  const auto it = std::upper_bound(kBandStarts.begin(), kBandStarts.end(), numerito);
  return static_cast<int>(it - kBandStarts.begin());
}

int random_below(unsigned& seed, int n) {
  seed = seed * 134775813u + 1u;
  return static_cast<int>((static_cast<std::uint64_t>(seed) * static_cast<std::uint32_t>(n)) >> 32);
}

// clang-format off
const std::array<std::array<int, 6>, 26> kCruiserLanes = {{
    // cruiser: 1 top, 2 left, 3 left, 4 top, 5 left, 6 top
    {20,  200, 210, 60,  110, 20},   // 10-19
    {25,  225, 225, 70,  125, 25},   // 20-24
    {30,  230, 230, 80,  130, 30},   // 25-29
    {35,  235, 235, 85,  135, 35},   // 30-34
    {40,  240, 240, 90,  140, 40},   // 35-39
    {45,  245, 245, 95,  145, 45},   // 40-44
    {50,  250, 250, 100, 150, 50},   // 45-49
    {55,  255, 255, 105, 155, 55},   // 50-54
    {60,  260, 260, 110, 160, 60},   // 55-59
    {65,  265, 265, 115, 165, 65},   // 60-64
    {70,  270, 270, 120, 170, 70},   // 65-69
    {75,  275, 275, 125, 175, 75},   // 70-74
    {80,  280, 280, 130, 180, 80},   // 75-79
    {85,  285, 285, 135, 185, 85},   // 80-84
    {90,  290, 290, 140, 190, 90},   // 85-89
    {95,  295, 295, 145, 195, 95},   // 90-94
    {100, 300, 300, 150, 500, 100},  // 95-99
    {105, 305, 305, 155, 505, 105},  // 100-104
    {110, 310, 310, 210, 510, 110},  // 105-109
    {115, 315, 315, 215, 515, 115},  // 110-114
    {150, 350, 350, 250, 550, 150},  // 115-149
    {190, 390, 515, 315, 590, 190},  // 150-199
    {270, 370, 390, 390, 370, 270},  // 200-249
    {285, 485, 485, 385, 485, 285},  // 250-269
    {300, 500, 500, 300, 540, 400},  // 270-279
    {360, 550, 550, 400, 555, 450},  // 280-299
}};

// The meteor makes one band of the last two.
const std::array<int, 26> kMeteorLanes = {
    20,  25,  30,  35,  40,  45,  50,  55,  60,  65,  70,  75,  80,
    85,  90,  95,  100, 105, 110, 115, 125, 175, 240, 265, 300, 300};
// clang-format on
