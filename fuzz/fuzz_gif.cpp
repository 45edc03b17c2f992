// Any byte string either decodes into a picture that keeps the promises the
// painting code relies on, or is refused with EInvalidGraphic; nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/errors.h"
#include "platform/gif_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const kv::GifPicture pic = kv::decode_gif(std::span(data, size), "fuzz.gif");
    // The painter indexes frames by the screen size without checking.
    if (pic.frames.empty() || pic.width <= 0 || pic.height <= 0 || pic.width > kv::kMaxGifSide ||
        pic.height > kv::kMaxGifSide)
      std::abort();
    const std::size_t area = static_cast<std::size_t>(pic.width) * pic.height;
    for (const kv::GifFrame& f : pic.frames) {
      if (f.image.width != pic.width || f.image.height != pic.height ||
          f.image.pixels.size() != area || f.delay_ms < 0)
        std::abort();
    }
  } catch (const kv::EInvalidGraphic&) {
  }
  return 0;
}
