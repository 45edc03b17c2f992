// The headless twin of the desktop: offscreen windows, a virtual clock that
// jumps from one instant to the next, input injected at chosen instants, and
// sound requests recorded instead of played.
#pragma once

#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/backend.h"

namespace kv {

class HeadlessWindow : public WindowPort {
 public:
  explicit HeadlessWindow(const WindowSpec& desc);
  Surface surface() override;
  void present(std::span<const Rect>) override {}
  void show() override { shown = true; }
  void hide() override { shown = false; }

  WindowSpec desc;
  bool shown = false;

 private:
  std::vector<std::uint32_t> pixels_;
};

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(bool painting = true) : painting_(painting) {}

  Micros now() override { return now_; }
  void wait_until(Micros deadline) override;
  bool poll(InputEvent& ev) override;
  std::unique_ptr<WindowPort> create_window(const WindowSpec& desc) override;
  std::unique_ptr<SoundPort> open_sound(const SoundFile& file, const std::string& name) override;
  void show_error(const std::string& text) override { errors.emplace_back(now_, text); }
  void show_fatal(const std::string& text) override;
  bool painting() const override { return painting_; }

  // Input at a virtual instant (milliseconds); events at one instant keep
  // the order they were given in.
  void inject(Micros at, InputEvent ev);
  // Makes the clock stop at this instant even when nothing is due then.
  void add_alarm(Micros at) { alarms_.insert(at); }
  // Lets the clock run on inside a handler, as if it were busy that long.
  void busy_for(Micros d) { now_ += d; }
  Micros next_input() const { return input_.empty() ? kNever : input_.front().first; }
  Micros next_alarm() const { return alarms_.empty() ? kNever : *alarms_.begin(); }

  std::vector<std::pair<Micros, std::string>> sounds_started;  // (time, file)
  std::vector<std::pair<Micros, std::string>> errors;

 private:
  bool painting_;
  Micros now_ = 0;
  std::deque<std::pair<Micros, InputEvent>> input_;
  std::set<Micros> alarms_;
};

}  // namespace kv
