// Writes one still picture as a GIF89a file.
#pragma once

#include <string>

#include "canvas.h"

namespace art {

enum class Background { kTransparent, kOpaque };

// Transparent pictures reserve palette index 0 for "no pixel" and announce it
// in a Graphics Control Extension; opaque pictures must cover every pixel and
// carry no such extension. Throws std::runtime_error on failure.
void write_gif(const std::string& path, const Canvas& picture, Background background);

}  // namespace art
