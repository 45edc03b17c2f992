// The error dialog: one small window that shows the latest error. It never
// stops the message loop, and the same error repeating every tick updates a
// counter instead of opening window after window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_window.h"

namespace kv {

class SdlDialog {
 public:
  explicit SdlDialog(const std::string& text);
  void repeat(const std::string& text);
  // True when the event was for the dialog; sets `closed` when dismissed.
  bool handle(const SDL_Event& e, bool& closed);
  Uint32 id() const { return window_->id(); }

 private:
  void paint();
  std::unique_ptr<SdlWindow> window_;
  std::string text_;
  std::vector<std::string> lines_;  // text_ wrapped, kept while it repeats
  int count_ = 1;
};

}  // namespace kv
