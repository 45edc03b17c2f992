#include "platform/resources.h"

#include <map>
#include <string>

#include "platform/errors.h"

namespace kv {

struct EmbeddedEntry {
  std::string_view name;
  std::span<const std::uint8_t> bytes;
};
extern const EmbeddedEntry kEmbedded[];
extern const std::size_t kEmbeddedCount;

std::span<const std::uint8_t> embedded_file(std::string_view name) {
  for (std::size_t i = 0; i < kEmbeddedCount; ++i)
    if (kEmbedded[i].name == name) return kEmbedded[i].bytes;
  return {};
}

std::shared_ptr<const GifPicture> embedded_picture(std::string_view name) {
  // Several controls share one picture (the star-field tiles); decode it once.
  static std::map<std::string, std::shared_ptr<const GifPicture>, std::less<>> cache;
  if (auto it = cache.find(name); it != cache.end()) return it->second;
  const auto bytes = embedded_file(name);
  if (bytes.empty())
    throw EInvalidGraphic("no picture named " + std::string(name) + " is built in");
  auto pic = std::make_shared<const GifPicture>(decode_gif(bytes, std::string(name) + ".gif"));
  cache.emplace(std::string(name), pic);
  return pic;
}

}  // namespace kv
