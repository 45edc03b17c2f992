// The seam between the form library and the machine it runs on. The SDL back-end
// gives real windows, a monotonic clock and real sound; the headless one gives
// offscreen surfaces, a virtual clock, injected input and recorded sound.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>

#include "platform/geometry.h"
#include "platform/image.h"
#include "platform/sound_file.h"
#include "platform/sound_port.h"
#include "platform/surface.h"

namespace kv {

using Micros = std::int64_t;
inline constexpr Micros kNever = std::numeric_limits<Micros>::max();

class WindowPort {
 public:
  virtual ~WindowPort() = default;
  // What the window shows; painting goes here and becomes visible on present().
  virtual Surface surface() = 0;
  virtual void present(std::span<const Rect> rects) = 0;
  virtual void show() = 0;
  virtual void hide() = 0;
};

struct WindowSpec {
  std::string caption;  // UTF-8
  int client_width = 0;
  int client_height = 0;
  bool centred = true;
  const RgbaImage* icon = nullptr;
};

struct InputEvent {
  enum class Kind { Key, Activate, Deactivate, Close, Quit };
  Kind kind = Kind::Key;
  // The window it concerns; null means the active window (keys, closing) or
  // the main window (activation).
  WindowPort* window = nullptr;
  int key = 0;  // virtual-key code
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual Micros now() = 0;
  // Sleeps until `deadline` or until input is pending, whichever comes first.
  virtual void wait_until(Micros deadline) = 0;
  virtual bool poll(InputEvent& ev) = 0;

  virtual std::unique_ptr<WindowPort> create_window(const WindowSpec& desc) = 0;
  virtual std::unique_ptr<SoundPort> open_sound(const SoundFile& file, const std::string& name) = 0;

  // The error dialog: must not stop the message loop.
  virtual void show_error(const std::string& text) = 0;
  // A failure before the game could start: told on standard error and, where
  // a display exists, in a message box.
  virtual void show_fatal(const std::string& text) = 0;

  // False where nobody will ever look at the pixels, so painting can be skipped.
  virtual bool painting() const = 0;
};

}  // namespace kv
