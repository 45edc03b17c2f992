// Label text: Windows-1252 captions drawn with a bold sans font that fontconfig
// finds, without anti-aliasing, like the bitmap fonts of the old desktop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

std::string cp1252_to_utf8(std::string_view text);

struct FontSpec {
  int height = 11;  // em height in pixels
  bool bold = false;
  bool operator==(const FontSpec&) const = default;
};

struct TextBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bits;  // non-zero is ink
};

// Renders a caption; an empty caption gives a bitmap of zero width and the
// font's line height. Throws EPlatformError when no font can be found.
TextBitmap render_text(std::string_view cp1252, const FontSpec& font);

}  // namespace kv
