// Reduces a true-colour picture to a palette. Pictures with few colours keep
// them exactly; the rest go through a weighted median cut.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"
#include "color.h"

namespace art {

struct Indexed {
  std::vector<Rgb> palette;           // at most `max_colours` entries
  std::vector<std::uint8_t> indices;  // row-major, indices into palette (offset by `first`)
};

// Colours are assigned indices starting at `first`, leaving the lower indices
// free (the GIF writer reserves index 0 for transparency). Transparent canvas
// pixels get index 0.
Indexed quantize(const Canvas& c, int max_colours, int first);

}  // namespace art
