#include "platform/sdl/sdl_backend.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <deque>
#include <iostream>
#include <vector>

#include "platform/errors.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_dialog.h"
#include "platform/sdl/sdl_window.h"

namespace kv {

namespace {

int virtual_key(SDL_Keycode k) {
  switch (k) {
    case SDLK_LEFT:
      return 37;
    case SDLK_UP:
      return 38;
    case SDLK_RIGHT:
      return 39;
    case SDLK_DOWN:
      return 40;
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return 13;
    case SDLK_ESCAPE:
      return 27;
    case SDLK_SPACE:
      return 32;
    case SDLK_PAGEUP:
      return 33;
    case SDLK_PAGEDOWN:
      return 34;
    case SDLK_END:
      return 35;
    case SDLK_HOME:
      return 36;
    case SDLK_INSERT:
      return 45;
    case SDLK_DELETE:
      return 46;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return 17;
    case SDLK_LALT:
    case SDLK_RALT:
      return 18;
    default:
      break;
  }
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return 112 + (k - SDLK_F1);
  return 0;
}

bool display_is_real() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::string(driver) != "dummy" && std::string(driver) != "offscreen";
}

}  // namespace

struct SdlBackend::Impl {
  class Window : public SdlWindow {
   public:
    Window(Impl& impl, const WindowSpec& desc) : SdlWindow(desc), impl_(impl) {
      impl_.windows.push_back(this);
    }
    ~Window() override {
      std::erase(impl_.windows, this);
      if (impl_.focus_lost == this) impl_.focus_lost = nullptr;
    }
    // Each of these talks to the display, which may queue its events.
    void present(std::span<const Rect> rects) override {
      SdlWindow::present(rects);
      impl_.display_quiet = false;
    }
    void show() override {
      SdlWindow::show();
      impl_.display_quiet = false;
    }
    void hide() override {
      SdlWindow::hide();
      impl_.display_quiet = false;
    }

   private:
    Impl& impl_;
  };

  Window* window(Uint32 id) {
    for (Window* w : windows)
      if (w->id() == id) return w;
    return nullptr;
  }

  void translate(const SDL_Event& e);

  std::chrono::steady_clock::time_point epoch = std::chrono::steady_clock::now();
  std::vector<Window*> windows;
  std::deque<InputEvent> pending;
  std::unique_ptr<SdlDialog> dialog;
  std::unique_ptr<SdlAudio> audio;
  Window* focus_lost = nullptr;
  int x_fd = -1;  // the display connection, to sleep on
  // True while nothing can have come from the display since it was last
  // asked: the last sleep ran out with no input and nothing was drawn since.
  // Most instants (the 10 ms lane pick) then cost no trip through SDL at all.
  bool display_quiet = false;
};

void SdlBackend::Impl::translate(const SDL_Event& e) {
  if (dialog) {
    bool closed = false;
    if (dialog->handle(e, closed)) {
      if (closed) dialog.reset();
      return;
    }
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED &&
        e.window.windowID == dialog->id()) {
      focus_lost = nullptr;  // still within the program
      return;
    }
  }
  using K = InputEvent::Kind;
  switch (e.type) {
    case SDL_QUIT:
      pending.push_back({K::Quit, nullptr, 0});
      break;
    case SDL_KEYDOWN:
      if (const int vk = virtual_key(e.key.keysym.sym))
        if (Window* w = window(e.key.windowID)) pending.push_back({K::Key, w, vk});
      break;
    case SDL_WINDOWEVENT: {
      Window* w = window(e.window.windowID);
      if (!w) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          pending.push_back({K::Close, w, 0});
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          w->present_all();
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // Told only once focus lands outside the program: our own error
          // dialog taking it does not make the form inactive.
          focus_lost = w;
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (focus_lost) pending.push_back({K::Deactivate, focus_lost, 0});
          focus_lost = nullptr;
          pending.push_back({K::Activate, w, 0});
          break;
        default:
          break;
      }
      break;
    }
    default:
      break;
  }
}

SdlBackend::SdlBackend() : impl_(std::make_unique<Impl>()) {
  // The plain window-surface path: an OpenGL context would cost several
  // times the CPU and memory of the whole game.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw EPlatformError(std::string("cannot open the display: ") + SDL_GetError());
  // Audio hot-plug events come from SDL's own threads and wake the waiting
  // loop through a message to a window that may be gone by then, which Xlib
  // punishes by ending the process. The game has no use for them.
  SDL_EventState(SDL_AUDIODEVICEADDED, SDL_IGNORE);
  SDL_EventState(SDL_AUDIODEVICEREMOVED, SDL_IGNORE);
}

SdlBackend::~SdlBackend() {
  impl_->dialog.reset();
  impl_->audio.reset();
  SDL_Quit();
}

Micros SdlBackend::now() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               impl_->epoch)
      .count();
}

void SdlBackend::wait_until(Micros deadline) {
  for (;;) {
    if (!impl_->pending.empty()) return;
    if (!impl_->display_quiet) SDL_PumpEvents();
    impl_->display_quiet = false;
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return;
    const Micros left = deadline == kNever ? kNever : deadline - now();
    if (left <= 0) return;
    if (impl_->x_fd >= 0) {
      // Sleep on the display connection ourselves, to the microsecond. SDL's
      // own wait wakes itself through a message to one of our windows on a
      // second connection; when that window is destroyed first (closing at
      // once, the hand-over) Xlib ends the process. Naps are capped so that a
      // quit pushed by a signal handler is seen soon.
      const Micros nap = std::min<Micros>(left, 250'000);
      pollfd fd{impl_->x_fd, POLLIN, 0};
      const timespec ts{static_cast<time_t>(nap / 1'000'000),
                        static_cast<long>(nap % 1'000'000) * 1000};
      if (ppoll(&fd, 1, &ts, nullptr) == 0) {
        impl_->display_quiet = true;
        if (nap == left) return;
      }
      continue;
    }
    if (left >= 1000) {
      // Sleeps in the windowing system until input or the timeout.
      const int ms = left == kNever ? -1 : static_cast<int>(std::min<Micros>(left / 1000, 1 << 30));
      if (ms < 0)
        SDL_WaitEvent(nullptr);
      else
        SDL_WaitEventTimeout(nullptr, ms);
      continue;
    }
    // Less than a millisecond: sleep the rest precisely rather than wake late.
    timespec ts{0, static_cast<long>(left * 1000)};
    nanosleep(&ts, nullptr);
    return;
  }
}

bool SdlBackend::poll(InputEvent& ev) {
  // wait_until has just pumped the display; taking what it queued is enough.
  SDL_Event e;
  while (impl_->pending.empty() &&
         SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
    impl_->translate(e);
  if (impl_->pending.empty()) return false;
  ev = impl_->pending.front();
  impl_->pending.pop_front();
  return true;
}

std::unique_ptr<WindowPort> SdlBackend::create_window(const WindowSpec& desc) {
  auto w = std::make_unique<Impl::Window>(*impl_, desc);
  if (impl_->x_fd < 0) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(w->sdl(), &info) && info.subsystem == SDL_SYSWM_X11)
      impl_->x_fd = ConnectionNumber(info.info.x11.display);
  }
  return w;
}

std::unique_ptr<SoundPort> SdlBackend::open_sound(const SoundFile& file, const std::string& name) {
  if (!impl_->audio) impl_->audio = std::make_unique<SdlAudio>();
  return impl_->audio->open(file, name);
}

void SdlBackend::show_error(const std::string& text) {
  impl_->display_quiet = false;
  try {
    if (impl_->dialog)
      impl_->dialog->repeat(text);
    else
      impl_->dialog = std::make_unique<SdlDialog>(text);
  } catch (const std::exception& e) {
    std::cerr << "korvalen: " << text << " (" << e.what() << ")\n";
  }
}

void SdlBackend::show_fatal(const std::string& text) {
  std::cerr << "korvalen: " << text << '\n';
  if (!display_is_real()) return;
  try {
    impl_->dialog = std::make_unique<SdlDialog>(text);
    SDL_Event e;
    while (impl_->dialog) {
      wait_until(kNever);
      while (impl_->dialog && SDL_PollEvent(&e)) {
        bool closed = false;
        if (e.type == SDL_QUIT || (impl_->dialog->handle(e, closed) && closed))
          impl_->dialog.reset();
      }
    }
  } catch (const std::exception&) {
  }
}

void report_fatal_without_backend(const std::string& text) {
  std::cerr << "korvalen: " << text << '\n';
}

}  // namespace kv
