#include "platform/sdl/sdl_window.h"

#include "platform/errors.h"

namespace kv {

SdlWindow::SdlWindow(const WindowSpec& desc, Uint32 extra_flags)
    : w_(desc.client_width), h_(desc.client_height) {
  const int pos = desc.centred ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
  win_ = SDL_CreateWindow(desc.caption.c_str(), pos, pos, w_, h_, SDL_WINDOW_HIDDEN | extra_flags);
  if (!win_) throw EPlatformError(std::string("cannot create a window: ") + SDL_GetError());
  if (desc.icon) {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(desc.icon->pixels.data()), desc.icon->width, desc.icon->height,
        32, desc.icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon) {
      SDL_SetWindowIcon(win_, icon);
      SDL_FreeSurface(icon);
    }
  }
}

SdlWindow::~SdlWindow() {
  SDL_DestroyWindow(win_);
}

void SdlWindow::ensure_buffer() {
  if (direct_ || !pixels_.empty()) return;
  SDL_Surface* ws = SDL_GetWindowSurface(win_);
  if (ws && ws->w == w_ && ws->h == h_ && !SDL_MUSTLOCK(ws) &&
      (ws->format->format == SDL_PIXELFORMAT_RGB888 ||
       ws->format->format == SDL_PIXELFORMAT_ARGB8888)) {
    direct_ = ws;
    return;
  }
  pixels_.assign(static_cast<std::size_t>(w_) * h_, 0);
}

Surface SdlWindow::surface() {
  ensure_buffer();
  if (direct_)
    return Surface{static_cast<std::uint32_t*>(direct_->pixels), w_, h_, direct_->pitch / 4};
  return Surface{pixels_.data(), w_, h_, w_};
}

void SdlWindow::present(std::span<const Rect> rects) {
  ensure_buffer();
  std::vector<SDL_Rect> out;
  out.reserve(rects.size());
  SDL_Surface* ws = direct_ ? direct_ : SDL_GetWindowSurface(win_);
  if (!ws) return;
  for (Rect r : rects) {
    r = r.intersect({0, 0, std::min(w_, ws->w), std::min(h_, ws->h)});
    if (r.empty()) continue;
    if (!direct_) {
      const std::uint32_t* src = pixels_.data() + static_cast<std::size_t>(r.top) * w_ + r.left;
      auto* dst = static_cast<std::uint8_t*>(ws->pixels) +
                  static_cast<std::ptrdiff_t>(r.top) * ws->pitch +
                  r.left * ws->format->BytesPerPixel;
      SDL_LockSurface(ws);
      SDL_ConvertPixels(r.width(), r.height(), SDL_PIXELFORMAT_RGB888, src, w_ * 4,
                        ws->format->format, dst, ws->pitch);
      SDL_UnlockSurface(ws);
    }
    out.push_back(SDL_Rect{r.left, r.top, r.width(), r.height()});
  }
  if (!out.empty()) SDL_UpdateWindowSurfaceRects(win_, out.data(), static_cast<int>(out.size()));
}

void SdlWindow::present_all() {
  const Rect all{0, 0, w_, h_};
  present(std::span<const Rect>(&all, 1));
}

void SdlWindow::show() {
  SDL_ShowWindow(win_);
  SDL_RaiseWindow(win_);
  present_all();
}

void SdlWindow::hide() {
  SDL_HideWindow(win_);
}

}  // namespace kv
