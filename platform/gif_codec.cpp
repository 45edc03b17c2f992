// GIF reading over giflib, record by record. Every size is checked before the memory for it
// is taken, so a hostile file costs at most a bounded amount of memory and time.
//
// Choices made where GIF leaves room:
//  - A frame must lie wholly inside the logical screen; one that sticks out is refused
//    rather than clipped, since no sane painting program writes such a file.
//  - A pixel whose index is beyond its colour map refuses the file (unless it is the
//    transparent index), for the same reason.
//  - The screen starts transparent and "restore to background" clears to transparent,
//    as browsers do; the background colour index is ignored.
//  - Each frame is the screen as shown while that frame stands: the disposal of the
//    earlier frames is applied, its own disposal only shows in the next frame.
//  - A missing trailer counts as truncation.

#include "platform/gif_codec.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "platform/errors.h"

namespace kv {
namespace {

// Bounds on the work one file may ask for. The total counts the full-screen copy kept
// for every frame, so it also bounds the memory of the result (4 bytes a pixel).
constexpr std::size_t kMaxFrames = 1000;
constexpr std::uint64_t kMaxTotalPixels = std::uint64_t{1} << 25;
constexpr std::uintmax_t kMaxFileBytes = 16u << 20;

// Browsers stretch 0 and 1 centisecond delays to a tenth of a second; animations made
// for them are timed with that in mind.
constexpr int kShortDelayMs = 100;

[[noreturn]] void fail(const std::string& name, const std::string& what) {
  throw EInvalidGraphic(name + ": " + what);
}

[[noreturn]] void fail_corrupt(const std::string& name, const std::string& detail) {
  fail(name, "truncated or corrupt GIF data (" + detail + ")");
}

[[noreturn]] void fail_giflib(const std::string& name, int code) {
  const char* text = GifErrorString(code);
  fail_corrupt(name, text ? text : "giflib error " + std::to_string(code));
}

std::string size_text(long w, long h) {
  return std::to_string(w) + "x" + std::to_string(h);
}

struct MemoryReader {
  std::span<const std::uint8_t> bytes;
  std::size_t pos = 0;
};

int read_from_memory(GifFileType* gif, GifByteType* out, int len) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  if (len <= 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(len), reader->bytes.size() - reader->pos);
  std::memcpy(out, reader->bytes.data() + reader->pos, n);
  reader->pos += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

int read_u16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8);
}

// Settings from a Graphics Control Extension; they apply to the next image only.
struct FrameControl {
  int delay_cs = 0;
  int transparent = -1;
  int disposal = 0;
};

FrameControl parse_control(const GifByteType* ext, const std::string& name) {
  // giflib hands over the first sub-block with its length byte in front.
  if (ext == nullptr || ext[0] != 4) fail_corrupt(name, "bad graphic control extension");
  FrameControl control;
  control.disposal = (ext[1] >> 2) & 7;
  control.delay_cs = ext[2] | (ext[3] << 8);
  if (ext[1] & 1) control.transparent = ext[4];
  return control;
}

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

// Stream order of rows in an interlaced image: every 8th from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
void interlaced_rows(int height, std::vector<int>& rows) {
  rows.clear();
  constexpr std::array<int, 4> kStart = {0, 4, 2, 1};
  constexpr std::array<int, 4> kStep = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
}

class Decoder {
 public:
  Decoder(std::span<const std::uint8_t> bytes, const std::string& name)
      : bytes_(bytes), name_(name) {}

  GifPicture run() {
    check_header();
    MemoryReader reader{bytes_};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, read_from_memory, &error));
    if (!gif) fail_giflib(name_, error);
    gif_ = gif.get();

    picture_.width = gif_->SWidth;
    picture_.height = gif_->SHeight;
    if (picture_.width != width_ || picture_.height != height_)
      fail_corrupt(name_, "screen descriptor misread");
    canvas_.assign(static_cast<std::size_t>(width_) * height_, 0);

    for (;;) {
      GifRecordType type = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(gif_, &type) == GIF_ERROR) fail_giflib(name_, gif_->Error);
      if (type == TERMINATE_RECORD_TYPE) break;
      if (type == EXTENSION_RECORD_TYPE) {
        read_extension();
      } else if (type == IMAGE_DESC_RECORD_TYPE) {
        read_image();
      } else {
        fail_corrupt(name_, "unexpected record");
      }
    }
    if (picture_.frames.empty()) fail(name_, "no picture in the GIF file");
    picture_.frames.back().image.pixels = std::move(canvas_);
    finish_delays();
    return std::move(picture_);
  }

 private:
  void check_header() {
    static constexpr char kStamp87[] = "GIF87a";
    static constexpr char kStamp89[] = "GIF89a";
    const std::size_t stamp_len = std::min<std::size_t>(bytes_.size(), 6);
    const bool stamp_ok = std::memcmp(bytes_.data(), kStamp87, stamp_len) == 0 ||
                          std::memcmp(bytes_.data(), kStamp89, stamp_len) == 0;
    if (!stamp_ok) fail(name_, "not a GIF picture");
    // 6 bytes of stamp, then the 7-byte logical screen descriptor.
    if (bytes_.size() < 13) fail_corrupt(name_, "file ends in the header");
    width_ = read_u16(bytes_, 6);
    height_ = read_u16(bytes_, 8);
    if (width_ <= 0 || height_ <= 0)
      fail(name_, "picture has no area (" + size_text(width_, height_) + ")");
    if (width_ > kMaxGifSide || height_ > kMaxGifSide)
      fail(name_, "picture too large (" + size_text(width_, height_) + ")");
  }

  void read_extension() {
    int code = 0;
    GifByteType* ext = nullptr;
    if (DGifGetExtension(gif_, &code, &ext) == GIF_ERROR) fail_giflib(name_, gif_->Error);
    if (code == GRAPHICS_EXT_FUNC_CODE) control_ = parse_control(ext, name_);
    while (ext != nullptr)
      if (DGifGetExtensionNext(gif_, &ext) == GIF_ERROR) fail_giflib(name_, gif_->Error);
  }

  void read_image() {
    const std::uint64_t screen = static_cast<std::uint64_t>(width_) * height_;
    if (picture_.frames.size() >= kMaxFrames)
      fail(name_, "too many frames (more than " + std::to_string(kMaxFrames) + ")");
    if ((picture_.frames.size() + 1) * screen > kMaxTotalPixels)
      fail(name_, "picture too large (" + size_text(width_, height_) + ", " +
                      std::to_string(picture_.frames.size() + 1) + " frames)");

    if (DGifGetImageDesc(gif_) == GIF_ERROR) fail_giflib(name_, gif_->Error);
    const GifImageDesc& desc = gif_->Image;
    const Rect rect{desc.Left, desc.Top, desc.Width, desc.Height};
    const std::string frame_text = "frame " + std::to_string(picture_.frames.size() + 1);
    if (rect.width <= 0 || rect.height <= 0)
      fail(name_, frame_text + " has no area (" + size_text(rect.width, rect.height) + ")");
    if (rect.left < 0 || rect.top < 0 || rect.left + rect.width > width_ ||
        rect.top + rect.height > height_)
      fail(name_, frame_text + " (" + size_text(rect.width, rect.height) + " at " +
                      std::to_string(rect.left) + "," + std::to_string(rect.top) +
                      ") lies outside the " + size_text(width_, height_) + " screen");

    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
    if (map == nullptr || map->Colors == nullptr || map->ColorCount <= 0)
      fail(name_, frame_text + " has no colour map");

    // An opaque entry always has its alpha set, so 0 in the table means "do not paint"
    // for the transparent index and "corrupt" for anything else.
    std::array<std::uint32_t, 256> colours{};
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
      const GifColorType& c = map->Colors[i];
      colours[i] =
          0xFF000000u | (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
    }
    if (control_.transparent >= 0) colours[control_.transparent] = 0;

    const std::size_t area = static_cast<std::size_t>(rect.width) * rect.height;
    indices_.resize(area);
    // One call for the whole image: giflib's per-call overhead is most of the cost of
    // small pictures. The size fits an int because both sides are at most kMaxGifSide.
    if (DGifGetLine(gif_, indices_.data(), static_cast<int>(area)) == GIF_ERROR)
      fail_giflib(name_, gif_->Error);

    if (!picture_.frames.empty()) picture_.frames.back().image.pixels = canvas_;
    apply_disposal();
    if (control_.disposal == 3) save_under(rect);

    if (desc.Interlace) {
      interlaced_rows(rect.height, rows_);
    } else {
      rows_.resize(rect.height);
      for (int y = 0; y < rect.height; ++y) rows_[y] = y;
    }
    bool bad_index = false;
    const int transparent = control_.transparent;
    for (int i = 0; i < rect.height; ++i) {
      const GifPixelType* src = indices_.data() + static_cast<std::size_t>(i) * rect.width;
      std::uint32_t* dst =
          canvas_.data() + static_cast<std::size_t>(rect.top + rows_[i]) * width_ + rect.left;
      for (int x = 0; x < rect.width; ++x) {
        const std::uint32_t c = colours[src[x]];
        if (c != 0)
          dst[x] = c;
        else if (src[x] != transparent)
          bad_index = true;
      }
    }
    if (bad_index)
      fail_corrupt(name_, frame_text + " uses a colour beyond its colour map of " +
                              std::to_string(map->ColorCount));

    // The screen is copied into a frame only once the next image needs to change it, so
    // a still picture hands its screen over without a copy.
    GifFrame frame;
    frame.image.width = width_;
    frame.image.height = height_;
    frame.delay_ms = control_.delay_cs;  // centiseconds until finish_delays()
    picture_.frames.push_back(std::move(frame));

    last_rect_ = rect;
    last_disposal_ = control_.disposal;
    control_ = FrameControl{};
  }

  // Disposal of the previous frame, done just before the next one is painted.
  void apply_disposal() {
    if (picture_.frames.empty()) return;
    const Rect& r = last_rect_;
    if (last_disposal_ == 2) {
      for (int y = 0; y < r.height; ++y) {
        std::uint32_t* row = canvas_.data() + static_cast<std::size_t>(r.top + y) * width_ + r.left;
        std::fill(row, row + r.width, 0u);
      }
    } else if (last_disposal_ == 3) {
      for (int y = 0; y < r.height; ++y)
        std::copy_n(under_.data() + static_cast<std::size_t>(y) * r.width, r.width,
                    canvas_.data() + static_cast<std::size_t>(r.top + y) * width_ + r.left);
    }
  }

  void save_under(const Rect& r) {
    under_.resize(static_cast<std::size_t>(r.width) * r.height);
    for (int y = 0; y < r.height; ++y)
      std::copy_n(canvas_.data() + static_cast<std::size_t>(r.top + y) * width_ + r.left, r.width,
                  under_.data() + static_cast<std::size_t>(y) * r.width);
  }

  void finish_delays() {
    if (!picture_.animated()) {
      picture_.frames.front().delay_ms = 0;
      return;
    }
    for (GifFrame& f : picture_.frames)
      f.delay_ms = f.delay_ms <= 1 ? kShortDelayMs : f.delay_ms * 10;
  }

  std::span<const std::uint8_t> bytes_;
  const std::string& name_;
  GifFileType* gif_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  GifPicture picture_;
  std::vector<std::uint32_t> canvas_;
  std::vector<std::uint32_t> under_;  // what a "restore previous" frame covers
  std::vector<GifPixelType> indices_;
  std::vector<int> rows_;
  FrameControl control_;
  Rect last_rect_;
  int last_disposal_ = 0;
};

}  // namespace

GifPicture decode_gif(std::span<const std::uint8_t> bytes, const std::string& name) {
  if (bytes.empty()) fail(name, "empty file");
  return Decoder(bytes, name).run();
}

GifPicture load_gif_file(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) fail(path, "file not found");
  if (ec) fail(path, "cannot be read (" + ec.message() + ")");
  if (status.type() == fs::file_type::directory) fail(path, "is a directory");
  // A pipe or device could block or never end.
  if (status.type() != fs::file_type::regular) fail(path, "not a regular file");

  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path, "cannot be read");
  std::vector<std::uint8_t> bytes;
  // Read in chunks rather than trusting the size from stat: the file may change under us.
  constexpr std::size_t kChunk = 64 * 1024;
  while (in) {
    const std::size_t old = bytes.size();
    bytes.resize(old + kChunk);
    in.read(reinterpret_cast<char*>(bytes.data() + old), kChunk);
    bytes.resize(old + static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxFileBytes)
      fail(path, "file too large (over " + std::to_string(kMaxFileBytes >> 20) + " MiB)");
  }
  if (in.bad()) fail(path, "cannot be read");
  if (bytes.empty()) fail(path, "empty file");
  return decode_gif(bytes, path);
}

}  // namespace kv
