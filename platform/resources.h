// Pictures built into the program (the artwork stored with the forms).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/gif_codec.h"

namespace kv {

// The bytes of an embedded file by its base name ("starfield"), or empty.
std::span<const std::uint8_t> embedded_file(std::string_view name);

// The embedded picture decoded once and shared. Throws EInvalidGraphic for an
// unknown name.
std::shared_ptr<const GifPicture> embedded_picture(std::string_view name);

}  // namespace kv
