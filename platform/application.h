// The application object and its message loop. Every handler runs on this one
// thread, one at a time, to its end: input first, then the ticks that are due,
// in the order the timers were created.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/errors.h"
#include "platform/form.h"

namespace kv {

class TTimer;
class TMediaPlayer;

// Lets tools and tests watch what the game does without touching its code.
class AppObserver {
 public:
  virtual ~AppObserver() = default;
  virtual void OnPlay(const TMediaPlayer&) {}
  virtual void OnError(const std::string&) {}
  virtual void AfterTick(const TTimer&) {}
  virtual void OnFormFreed(const TForm&) {}
};

class TApplication {
 public:
  explicit TApplication(Backend& backend);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  void Initialize() {}
  // The application icon, shown by every window created after it is set.
  std::shared_ptr<const GifPicture> Icon;
  // Creates a form from its layout; the first one created is the main window.
  template <class T, class... Args>
  T* CreateForm(Args&&... args);

  // Shows the main window, activates it, then loops until Terminate.
  void Run();
  void Start();
  // Waits for the next due tick or input and handles that instant.
  void ProcessInstant();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  Micros Now() const { return backend_.now(); }
  Micros NextDue() const;
  Backend& GetBackend() const { return backend_; }
  TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }
  TForm* ActiveForm() const { return active_; }
  const TTimer* CurrentTimer() const { return current_timer_; }
  void SetObserver(AppObserver* o) { observer_ = o; }
  AppObserver* Observer() const { return observer_; }

  // Makes `form` the active window; its activation handler runs if it was not.
  void Activate(TForm* form);
  void Deactivate(TForm* form);
  // Shows an error in the error dialog; the loop goes on.
  void ShowException(const std::exception& e);
  template <class Fn>
  void Guarded(Fn&& fn);

  // Used by components and forms.
  void RegisterTimer(TTimer* t);
  void UnregisterTimer(TTimer* t);
  void Dispose(TForm* form);
  void Dispatch(const InputEvent& ev);

 private:
  void DeliverTicks(Micros t);
  void CompactTimers();
  void Adopt(std::unique_ptr<TForm> form);
  TForm* FormOf(WindowPort* port) const;

  Backend& backend_;
  std::vector<std::unique_ptr<TForm>> forms_;
  std::vector<std::unique_ptr<TForm>> disposed_;
  std::vector<TTimer*> timers_;  // creation order; null where one was destroyed
  std::uint64_t next_order_ = 0;
  int delivering_ = 0;
  TForm* active_ = nullptr;
  const TTimer* current_timer_ = nullptr;
  AppObserver* observer_ = nullptr;
  bool terminated_ = false;
};

template <class Fn>
void TApplication::Guarded(Fn&& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    ShowException(e);
  }
}

template <class T, class... Args>
T* TApplication::CreateForm(Args&&... args) {
  auto form = std::make_unique<T>(*this, std::forward<Args>(args)...);
  T* raw = form.get();
  Adopt(std::move(form));
  try {
    raw->Loaded();
  } catch (...) {
    Dispose(raw);
    disposed_.clear();
    throw;
  }
  return raw;
}

}  // namespace kv
