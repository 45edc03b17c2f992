#include "gif_writer.h"

#include <gif_lib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "quantize.h"

namespace art {
namespace {

[[noreturn]] void fail(const std::string& path, int error) {
  const char* why = GifErrorString(error);
  throw std::runtime_error("cannot write " + path + ": " + (why ? why : "unknown error"));
}

struct ColorMapDeleter {
  void operator()(ColorMapObject* m) const { GifFreeMapObject(m); }
};

}  // namespace

void write_gif(const std::string& path, const Canvas& picture, Background background) {
  const bool transparent = background == Background::kTransparent;
  if (!transparent) {
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        if (!picture.opaque(x, y))
          throw std::runtime_error(path + ": opaque picture has an unpainted pixel");
  }

  const int first = transparent ? 1 : 0;
  Indexed img = quantize(picture, 256 - first, first);

  int used = static_cast<int>(img.palette.size()) + first;
  int bits = 1;
  while ((1 << bits) < used) ++bits;
  std::unique_ptr<ColorMapObject, ColorMapDeleter> map(GifMakeMapObject(1 << bits, nullptr));
  if (!map) throw std::runtime_error("cannot write " + path + ": out of memory");
  for (int i = 0; i < (1 << bits); ++i) map->Colors[i] = {0, 0, 0};
  for (std::size_t i = 0; i < img.palette.size(); ++i) {
    const Rgb& c = img.palette[i];
    map->Colors[i + first] = {c.r, c.g, c.b};
  }

  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (!gif) fail(path, error);
  auto bail = [&]() {
    int e = gif->Error;
    EGifCloseFile(gif, nullptr);
    fail(path, e);
  };

  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, picture.width(), picture.height(), bits, 0, map.get()) == GIF_ERROR)
    bail();
  if (transparent) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
    gcb.UserInputFlag = false;
    gcb.DelayTime = 0;
    gcb.TransparentColor = 0;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof ext, ext) == GIF_ERROR) bail();
  }
  if (EGifPutImageDesc(gif, 0, 0, picture.width(), picture.height(), false, nullptr) == GIF_ERROR)
    bail();
  std::vector<GifPixelType> row(static_cast<std::size_t>(picture.width()));
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x)
      row[std::size_t(x)] = img.indices[std::size_t(y) * picture.width() + x];
    if (EGifPutLine(gif, row.data(), picture.width()) == GIF_ERROR) bail();
  }
  if (EGifCloseFile(gif, &error) == GIF_ERROR) fail(path, error);
  // giflib creates files readable by the owner only; these are shipped assets.
  using std::filesystem::perms;
  std::filesystem::permissions(
      path, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
}

}  // namespace art
