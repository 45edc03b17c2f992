// Real windows on the desktop through SDL2, painted by our own software painter
// and presented through the window surface (never an OpenGL context).
#pragma once

#include <memory>

#include "platform/backend.h"

namespace kv {

class SdlBackend : public Backend {
 public:
  // Throws EPlatformError when no display can be opened.
  SdlBackend();
  ~SdlBackend() override;

  Micros now() override;
  void wait_until(Micros deadline) override;
  bool poll(InputEvent& ev) override;
  std::unique_ptr<WindowPort> create_window(const WindowSpec& desc) override;
  std::unique_ptr<SoundPort> open_sound(const SoundFile& file, const std::string& name) override;
  void show_error(const std::string& text) override;
  void show_fatal(const std::string& text) override;
  bool painting() const override { return true; }

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Tells on standard error, and in a message box where a display exists.
void report_fatal_without_backend(const std::string& text);

}  // namespace kv
