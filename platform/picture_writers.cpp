// Snapshots and recordings of windows. PNG goes through zlib directly (a screenshot needs
// nothing more than RGB rows); GIF recordings go through giflib's encoder, one frame at a
// time, so a long recording never sits in memory.

#include "platform/picture_writers.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/errors.h"

namespace kv {
namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what) {
  throw EPlatformError(path + ": " + what);
}

bool valid_view(const PixelView& v) {
  return v.pixels != nullptr && v.width > 0 && v.height > 0 && v.pitch >= v.width;
}

// ---- PNG ----

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

void put_chunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::uint8_t* data,
               std::size_t len) {
  put_u32(out, static_cast<std::uint32_t>(len));
  const std::size_t type_at = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + len);
  // The CRC covers the type and the data, not the length.
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), out.data() + type_at, static_cast<uInt>(len + 4));
  put_u32(out, static_cast<std::uint32_t>(crc));
}

// Each row is stored with whichever of None, Sub and Up gives the smallest sum of
// magnitudes, the usual cheap guess at what deflate will like best. Game screens are flat
// areas and repeated rows, which Sub and Up turn into runs of zeros.
std::vector<std::uint8_t> filtered_rows(const PixelView& v) {
  const std::size_t stride = static_cast<std::size_t>(v.width) * 3;
  std::vector<std::uint8_t> out((stride + 1) * v.height);
  std::vector<std::uint8_t> prev(stride, 0), cur(stride), sub(stride), up(stride);
  for (int y = 0; y < v.height; ++y) {
    const std::uint32_t* src = v.pixels + static_cast<std::size_t>(y) * v.pitch;
    for (int x = 0; x < v.width; ++x) {
      cur[x * 3 + 0] = static_cast<std::uint8_t>(src[x] >> 16);
      cur[x * 3 + 1] = static_cast<std::uint8_t>(src[x] >> 8);
      cur[x * 3 + 2] = static_cast<std::uint8_t>(src[x]);
    }
    unsigned long cost_none = 0, cost_sub = 0, cost_up = 0;
    for (std::size_t i = 0; i < stride; ++i) {
      sub[i] = static_cast<std::uint8_t>(cur[i] - (i >= 3 ? cur[i - 3] : 0));
      up[i] = static_cast<std::uint8_t>(cur[i] - prev[i]);
      cost_none += static_cast<std::int8_t>(cur[i]) < 0 ? 256 - cur[i] : cur[i];
      cost_sub += static_cast<std::int8_t>(sub[i]) < 0 ? 256 - sub[i] : sub[i];
      cost_up += static_cast<std::int8_t>(up[i]) < 0 ? 256 - up[i] : up[i];
    }
    std::uint8_t* row = out.data() + static_cast<std::size_t>(y) * (stride + 1);
    const std::uint8_t* chosen = cur.data();
    row[0] = 0;
    if (cost_sub < cost_none && cost_sub <= cost_up) {
      row[0] = 1;
      chosen = sub.data();
    } else if (cost_up < cost_none) {
      row[0] = 2;
      chosen = up.data();
    }
    std::copy_n(chosen, stride, row + 1);
    std::swap(prev, cur);
  }
  return out;
}

// ---- GIF ----

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};

// The palette used when a frame has more than 256 colours: 6 levels of red, 7 of green
// (the eye is most sensitive to it) and 6 of blue. Nearest colour is then per channel,
// which is a table lookup, so a thousand busy frames stay cheap.
constexpr int kRedLevels = 6, kGreenLevels = 7, kBlueLevels = 6;

struct FixedPalette {
  std::array<std::uint8_t, 256> red, green, blue;  // channel value to its part of the index
  std::array<GifColorType, 256> colours{};

  FixedPalette() {
    auto level = [](int v, int levels) { return (v * (levels - 1) + 127) / 255; };
    for (int v = 0; v < 256; ++v) {
      red[v] = static_cast<std::uint8_t>(level(v, kRedLevels) * kGreenLevels * kBlueLevels);
      green[v] = static_cast<std::uint8_t>(level(v, kGreenLevels) * kBlueLevels);
      blue[v] = static_cast<std::uint8_t>(level(v, kBlueLevels));
    }
    auto value = [](int l, int levels) {
      return static_cast<GifByteType>((l * 255 + (levels - 1) / 2) / (levels - 1));
    };
    for (int r = 0; r < kRedLevels; ++r)
      for (int g = 0; g < kGreenLevels; ++g)
        for (int b = 0; b < kBlueLevels; ++b)
          colours[(r * kGreenLevels + g) * kBlueLevels + b] = {
              value(r, kRedLevels), value(g, kGreenLevels), value(b, kBlueLevels)};
  }
};

const FixedPalette& fixed_palette() {
  static const FixedPalette palette;
  return palette;
}

// Maps the colours of a rectangle to palette indices. Exact when the rectangle has at
// most 256 colours, which is nearly always the case for the game's screens.
class Quantiser {
 public:
  void run(const std::uint32_t* canvas, int canvas_width, const Rect& r,
           std::vector<GifPixelType>& indices, std::vector<GifColorType>& palette) {
    indices.resize(static_cast<std::size_t>(r.width) * r.height);
    if (exact(canvas, canvas_width, r, indices, palette)) return;
    const FixedPalette& fixed = fixed_palette();
    GifPixelType* out = indices.data();
    for (int y = 0; y < r.height; ++y) {
      const std::uint32_t* src =
          canvas + static_cast<std::size_t>(r.top + y) * canvas_width + r.left;
      for (int x = 0; x < r.width; ++x) {
        const std::uint32_t c = src[x];
        *out++ = static_cast<GifPixelType>(fixed.red[(c >> 16) & 0xFF] +
                                           fixed.green[(c >> 8) & 0xFF] + fixed.blue[c & 0xFF]);
      }
    }
    palette.assign(fixed.colours.begin(), fixed.colours.end());
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // colours are 24-bit, never this
  static constexpr int kSlots = 1024;                   // power of two, 4x the most kept

  bool exact(const std::uint32_t* canvas, int canvas_width, const Rect& r,
             std::vector<GifPixelType>& indices, std::vector<GifColorType>& palette) {
    keys_.fill(kEmpty);
    palette.clear();
    std::uint32_t last = kEmpty;
    GifPixelType last_index = 0;
    GifPixelType* out = indices.data();
    for (int y = 0; y < r.height; ++y) {
      const std::uint32_t* src =
          canvas + static_cast<std::size_t>(r.top + y) * canvas_width + r.left;
      for (int x = 0; x < r.width; ++x) {
        const std::uint32_t c = src[x] & 0xFFFFFF;
        if (c != last) {
          unsigned slot = (c * 0x9E3779B1u) >> 22;
          while (keys_[slot] != c && keys_[slot] != kEmpty) slot = (slot + 1) & (kSlots - 1);
          if (keys_[slot] == kEmpty) {
            if (palette.size() == 256) return false;
            keys_[slot] = c;
            values_[slot] = static_cast<GifPixelType>(palette.size());
            palette.push_back({static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                               static_cast<GifByteType>(c)});
          }
          last = c;
          last_index = values_[slot];
        }
        *out++ = last_index;
      }
    }
    return true;
  }

  std::array<std::uint32_t, kSlots> keys_;
  std::array<GifPixelType, kSlots> values_;
};

// giflib wants colour maps of a power of two, at least 2.
void pad_palette(std::vector<GifColorType>& palette) {
  std::size_t size = 2;
  while (size < palette.size()) size *= 2;
  palette.resize(size, GifColorType{0, 0, 0});
}

// GIF delays are 16-bit centiseconds.
constexpr int kMaxDelayCs = 65535;
// Browsers stretch 0 and 1 to a tenth of a second, so 2 is the shortest that plays as
// written.
constexpr int kMinDelayCs = 2;

}  // namespace

void write_png(const std::string& path, PixelView view) {
  if (!valid_view(view)) fail(path, "cannot write PNG (empty picture)");
  const std::vector<std::uint8_t> raw = filtered_rows(view);
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
    fail(path, "cannot write PNG (compression failed)");

  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  put_u32(header, static_cast<std::uint32_t>(view.width));
  put_u32(header, static_cast<std::uint32_t>(view.height));
  // 8 bits a channel, RGB, deflate, adaptive filtering, not interlaced.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  put_chunk(file, "IHDR", header.data(), header.size());
  put_chunk(file, "IDAT", packed.data(), packed_size);
  put_chunk(file, "IEND", nullptr, 0);

  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) fail(path, std::string("cannot write PNG (") + std::strerror(errno) + ")");
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  const int write_errno = errno;
  if (std::fclose(out) != 0 || !written)
    fail(path,
         std::string("cannot write PNG (") + std::strerror(written ? errno : write_errno) + ")");
}

struct GifRecorder::Impl {
  std::string path;
  int width = 0;
  int height = 0;
  GifFileType* gif = nullptr;
  std::string error;  // the first failure, reported by finish()
  bool finished = false;

  std::vector<std::uint32_t> canvas;  // what the file shows after the frames written so far
  std::vector<std::uint32_t> next;
  bool started = false;

  // The newest frame waits until the next one shows whether its delay has to grow.
  bool pending = false;
  Rect pending_rect;
  int pending_delay = 0;
  std::vector<GifPixelType> indices;
  std::vector<GifColorType> palette;
  Quantiser quantiser;

  void gif_failed(const char* what, int code) {
    if (!error.empty()) return;
    const char* text = GifErrorString(code);
    error =
        path + ": " + what + " (" + (text ? text : "giflib error " + std::to_string(code)) + ")";
  }

  void open() {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
      error = path + ": cannot record a " + std::to_string(width) + "x" + std::to_string(height) +
              " GIF";
      return;
    }
    // Opened here rather than by giflib, which would make the file private to its owner.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
      error = path + ": cannot write GIF (" + std::strerror(errno) + ")";
      return;
    }
    int code = 0;
    gif = EGifOpenFileHandle(fd, &code);
    if (gif == nullptr) {
      ::close(fd);
      gif_failed("cannot write GIF", code);
      return;
    }
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, width, height, 8, 0, nullptr) == GIF_ERROR)
      return gif_failed("cannot write GIF", gif->Error);
    // Loop forever.
    static const GifByteType kNetscape[] = "NETSCAPE2.0";
    static const GifByteType kLoop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 11, kNetscape) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 3, kLoop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif) == GIF_ERROR)
      return gif_failed("cannot write GIF", gif->Error);
    const std::size_t area = static_cast<std::size_t>(width) * height;
    canvas.assign(area, 0);
    next.assign(area, 0);
  }

  void add(const PixelView& view, int delay_cs) {
    if (gif == nullptr || !error.empty() || finished) return;
    delay_cs = std::clamp(delay_cs, 0, kMaxDelayCs);

    const bool has_pixels = valid_view(view);
    const int w = has_pixels ? std::min(view.width, width) : 0;
    const int h = has_pixels ? std::min(view.height, height) : 0;
    for (int y = 0; y < height; ++y) {
      std::uint32_t* row = next.data() + static_cast<std::size_t>(y) * width;
      int x = 0;
      if (y < h) {
        const std::uint32_t* src = view.pixels + static_cast<std::size_t>(y) * view.pitch;
        for (; x < w; ++x) row[x] = src[x] & 0xFFFFFF;
      }
      std::fill(row + x, row + width, 0u);
    }

    const Rect changed = started ? changed_rect() : Rect{0, 0, width, height};
    started = true;
    if (changed.empty()) {
      if (pending_delay + delay_cs <= kMaxDelayCs) {
        pending_delay += delay_cs;
        return;
      }
      // The pause outlasts what one frame can say; repeat a pixel to carry on.
      write_pending();
      start_pending(Rect{0, 0, 1, 1}, delay_cs);
      return;
    }
    write_pending();
    std::swap(canvas, next);
    start_pending(changed, delay_cs);
  }

  Rect changed_rect() const {
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < height; ++y) {
      const std::uint32_t* a = canvas.data() + static_cast<std::size_t>(y) * width;
      const std::uint32_t* b = next.data() + static_cast<std::size_t>(y) * width;
      if (std::equal(a, a + width, b)) continue;
      if (top < 0) top = y;
      bottom = y;
      int l = 0;
      while (a[l] == b[l]) ++l;
      int r = width - 1;
      while (a[r] == b[r]) --r;
      left = std::min(left, l);
      right = std::max(right, r);
    }
    if (top < 0) return Rect{};
    return Rect{left, top, right - left + 1, bottom - top + 1};
  }

  void start_pending(const Rect& r, int delay_cs) {
    quantiser.run(canvas.data(), width, r, indices, palette);
    pad_palette(palette);
    pending = true;
    pending_rect = r;
    pending_delay = delay_cs;
  }

  void write_pending() {
    if (!pending || !error.empty()) return;
    pending = false;
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = std::max(pending_delay, kMinDelayCs);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    const std::size_t ext_len = EGifGCBToExtension(&control, ext);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(ext_len), ext) == GIF_ERROR)
      return gif_failed("cannot write GIF", gif->Error);

    ColorMapObject* map = GifMakeMapObject(static_cast<int>(palette.size()), palette.data());
    if (map == nullptr) {
      error = path + ": cannot write GIF (out of memory)";
      return;
    }
    const Rect& r = pending_rect;
    const int put = EGifPutImageDesc(gif, r.left, r.top, r.width, r.height, false, map);
    GifFreeMapObject(map);
    if (put == GIF_ERROR) return gif_failed("cannot write GIF", gif->Error);
    for (int y = 0; y < r.height; ++y)
      if (EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * r.width, r.width) ==
          GIF_ERROR)
        return gif_failed("cannot write GIF", gif->Error);
  }

  void close() {
    if (finished) return;
    finished = true;
    write_pending();
    if (gif == nullptr) return;
    int code = 0;
    if (EGifCloseFile(gif, &code) == GIF_ERROR) gif_failed("cannot write GIF", code);
    gif = nullptr;
  }
};

GifRecorder::GifRecorder(std::string path, int canvas_width, int canvas_height)
    : impl_(std::make_unique<Impl>()) {
  impl_->path = std::move(path);
  impl_->width = canvas_width;
  impl_->height = canvas_height;
  impl_->open();
}

GifRecorder::~GifRecorder() {
  impl_->close();
}

void GifRecorder::add_frame(PixelView view, int delay_cs) {
  impl_->add(view, delay_cs);
}

void GifRecorder::finish() {
  impl_->close();
  if (!impl_->error.empty()) throw EPlatformError(impl_->error);
}

}  // namespace kv
