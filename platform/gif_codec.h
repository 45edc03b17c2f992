// Reading GIF pictures. The ship pictures are files a player can replace, so
// everything here is strict: a file is either decoded whole or refused with a
// message that names it and says what is wrong.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/image.h"

namespace kv {

// Sides beyond this are refused before anything is allocated.
inline constexpr int kMaxGifSide = 4096;

struct GifFrame {
  RgbaImage image;   // the whole logical screen after this frame, disposal applied
  int delay_ms = 0;  // how long this frame stands; 0 in a one-frame picture
};

struct GifPicture {
  int width = 0;  // logical screen
  int height = 0;
  std::vector<GifFrame> frames;  // at least one

  bool animated() const { return frames.size() > 1; }
};

// Decodes a GIF held in memory. `name` is used in error messages.
// Throws EInvalidGraphic.
GifPicture decode_gif(std::span<const std::uint8_t> bytes, const std::string& name);

// Reads and decodes a GIF file. Throws EInvalidGraphic naming `path` and the
// reason (missing, a directory, unreadable, empty, not a GIF, truncated, too large).
GifPicture load_gif_file(const std::string& path);

}  // namespace kv
