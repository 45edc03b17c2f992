// Writing pictures of windows: a PNG of one frame, and an animated GIF of many.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kv {

// A view of 32-bit pixels 0x00RRGGBB (the top byte is ignored).
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;  // in pixels
};

// Writes an RGB PNG. Throws kv::EPlatformError naming the file on failure.
void write_png(const std::string& path, PixelView view);

// An animated GIF written frame by frame. Frames may be smaller than the
// canvas; they are placed at the top-left corner on black. Unchanged areas
// between frames are not stored again, so long quiet recordings stay small.
class GifRecorder {
 public:
  GifRecorder(std::string path, int canvas_width, int canvas_height);
  ~GifRecorder();
  GifRecorder(const GifRecorder&) = delete;
  GifRecorder& operator=(const GifRecorder&) = delete;

  // delay_cs: hundredths of a second this frame stands.
  void add_frame(PixelView view, int delay_cs);
  // Writes the file. Throws kv::EPlatformError naming the file on failure.
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kv
