// The game's three sound effects, synthesised from scratch. Each returns
// unscaled mono samples at `rate`; the writer sets the final level.
#pragma once

#include <vector>

namespace kv::sfx {

std::vector<double> explosion(int rate);   // ~1.3 s noise burst over a falling rumble
std::vector<double> ufo_warble(int rate);  // ~2 s wobbling saucer tone
std::vector<double> space_beep(int rate);  // ~0.3 s rising blip

}  // namespace kv::sfx
