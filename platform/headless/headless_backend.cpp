#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <iostream>

namespace kv {

HeadlessWindow::HeadlessWindow(const WindowSpec& s)
    : desc(s), pixels_(static_cast<std::size_t>(s.client_width) * s.client_height, 0) {}

Surface HeadlessWindow::surface() {
  return Surface{pixels_.data(), desc.client_width, desc.client_height, desc.client_width};
}

void HeadlessBackend::wait_until(Micros deadline) {
  const Micros next = std::min({deadline, next_input(), next_alarm()});
  if (next != kNever && next > now_) now_ = next;
  while (!alarms_.empty() && *alarms_.begin() <= now_) alarms_.erase(alarms_.begin());
}

bool HeadlessBackend::poll(InputEvent& ev) {
  if (input_.empty() || input_.front().first > now_) return false;
  ev = input_.front().second;
  input_.pop_front();
  return true;
}

void HeadlessBackend::inject(Micros at, InputEvent ev) {
  // Keep the queue ordered by time, stable within one instant.
  auto it = std::upper_bound(input_.begin(), input_.end(), at,
                             [](Micros t, const auto& e) { return t < e.first; });
  input_.insert(it, {at, ev});
}

std::unique_ptr<WindowPort> HeadlessBackend::create_window(const WindowSpec& desc) {
  return std::make_unique<HeadlessWindow>(desc);
}

namespace {
class RecordedSound : public SoundPort {
 public:
  RecordedSound(HeadlessBackend& b, std::string name) : b_(b), name_(std::move(name)) {}
  void start() override { b_.sounds_started.emplace_back(b_.now(), name_); }

 private:
  HeadlessBackend& b_;
  std::string name_;
};
}  // namespace

std::unique_ptr<SoundPort> HeadlessBackend::open_sound(const SoundFile&, const std::string& name) {
  return std::make_unique<RecordedSound>(*this, name);
}

void HeadlessBackend::show_fatal(const std::string& text) {
  std::cerr << "korvalen: " << text << '\n';
}

}  // namespace kv
