// One SDL window with a software back buffer of our own.
#pragma once

#include <SDL2/SDL.h>

#include <span>
#include <vector>

#include "platform/backend.h"

namespace kv {

class SdlWindow : public WindowPort {
 public:
  SdlWindow(const WindowSpec& desc, Uint32 extra_flags = 0);
  ~SdlWindow() override;

  Surface surface() override;
  void present(std::span<const Rect> rects) override;
  void show() override;
  void hide() override;
  // Shows the whole back buffer again (after the window was uncovered).
  void present_all();

  SDL_Window* sdl() const { return win_; }
  Uint32 id() const { return SDL_GetWindowID(win_); }

 private:
  // Where we paint: the window surface itself when its pixels are ours
  // (what the X server is shown only changes on present), else a buffer of
  // our own that present converts. Made on first use, so a hidden window
  // costs nothing.
  void ensure_buffer();
  SDL_Window* win_ = nullptr;
  int w_, h_;
  SDL_Surface* direct_ = nullptr;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace kv
