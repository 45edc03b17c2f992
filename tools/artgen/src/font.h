// Block lettering for titles. Glyphs are built from bars and rounded boxes
// rather than a bitmap so they stay crisp at any size.
#pragma once

#include <string_view>

#include "canvas.h"

namespace art {

struct LetterStyle {
  float width = 40;  // of one glyph
  float height = 56;
  float stroke = 11;  // thickness of the strokes
  float gap = 6;      // between glyphs
};

// Width of `text` when set in `style`.
float text_width(std::string_view text, const LetterStyle& style);

// Adds `text` to `m` with its top-left corner at (x, y). Only the letters the
// game needs are drawn; others leave a blank.
void draw_text(Mask& m, std::string_view text, float x, float y, const LetterStyle& style);

}  // namespace art
