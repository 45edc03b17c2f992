#include "platform/application.h"

#include <algorithm>

#include "platform/components.h"

namespace kv {

TApplication::TApplication(Backend& backend) : backend_(backend) {}

TApplication::~TApplication() {
  // Later forms may refer to earlier ones while they go.
  while (!forms_.empty()) forms_.pop_back();
  disposed_.clear();
}

void TApplication::Adopt(std::unique_ptr<TForm> form) {
  forms_.push_back(std::move(form));
}

void TApplication::Run() {
  Start();
  while (!terminated_) ProcessInstant();
}

void TApplication::Start() {
  if (TForm* main = MainForm()) main->SetVisible(true);
  for (auto& f : forms_) {
    f->Update();
    f->Flush();
  }
}

Micros TApplication::NextDue() const {
  Micros next = kNever;
  for (const TTimer* t : timers_)
    if (t && t->enabled_ && t->interval_ms_ > 0) next = std::min(next, t->due_);
  if (backend_.painting()) {
    const Micros now = backend_.now();
    for (const auto& f : forms_)
      if (f->Visible()) next = std::min(next, f->NextAnimationChange(now));
  }
  return next;
}

void TApplication::ProcessInstant() {
  backend_.wait_until(NextDue());
  const Micros t = backend_.now();
  InputEvent ev;
  while (!terminated_ && backend_.poll(ev)) Dispatch(ev);
  if (!terminated_) DeliverTicks(t);
  const bool painting = backend_.painting();
  for (auto& f : forms_) {
    if (!painting || !f->Visible()) continue;
    f->Animate(t);
    f->Update();
    f->Flush();
  }
  disposed_.clear();
  CompactTimers();
}

void TApplication::DeliverTicks(Micros t) {
  ++delivering_;
  // Timers created or switched on by a handler have their first tick later,
  // so indexing stays valid while handlers run.
  for (std::size_t i = 0; i < timers_.size() && !terminated_; ++i) {
    TTimer* tm = timers_[i];
    if (!tm || !tm->enabled_ || tm->interval_ms_ <= 0 || tm->due_ > t) continue;
    // Periods that went by while the thread was busy merge into this one tick.
    const Micros period = Micros{tm->interval_ms_} * 1000;
    tm->due_ += ((t - tm->due_) / period + 1) * period;
    current_timer_ = tm;
    if (tm->OnTimer) Guarded(tm->OnTimer);
    current_timer_ = nullptr;
    if (observer_ && timers_[i] == tm) observer_->AfterTick(*tm);
  }
  --delivering_;
}

void TApplication::CompactTimers() {
  if (delivering_) return;
  std::erase(timers_, nullptr);
}

void TApplication::RegisterTimer(TTimer* t) {
  t->order_ = next_order_++;
  timers_.push_back(t);
}

void TApplication::UnregisterTimer(TTimer* t) {
  auto it = std::find(timers_.begin(), timers_.end(), t);
  if (it != timers_.end()) *it = nullptr;
  CompactTimers();
}

TForm* TApplication::FormOf(WindowPort* port) const {
  for (const auto& f : forms_)
    if (f->Port() == port) return f.get();
  return nullptr;
}

void TApplication::Dispatch(const InputEvent& ev) {
  using K = InputEvent::Kind;
  switch (ev.kind) {
    case K::Key:
      if (TForm* f = ev.window ? FormOf(ev.window) : active_)
        Guarded([&] { f->DoKeyDown(static_cast<std::uint16_t>(ev.key), 0); });
      break;
    case K::Activate:
      if (TForm* f = ev.window ? FormOf(ev.window) : MainForm(); f && f->Visible()) Activate(f);
      break;
    case K::Deactivate:
      Deactivate(ev.window ? FormOf(ev.window) : active_);
      break;
    case K::Close:
      if (TForm* f = ev.window ? FormOf(ev.window) : active_) {
        Guarded([&] { f->DoClose(); });
        if (f == MainForm())
          Terminate();
        else if (!terminated_)
          f->SetVisible(false);
      }
      break;
    case K::Quit:
      Terminate();
      break;
  }
}

void TApplication::Activate(TForm* form) {
  if (!form || form == active_) return;
  active_ = form;
  Guarded([&] { form->DoActivate(); });
}

void TApplication::Deactivate(TForm* form) {
  if (form && form == active_) active_ = nullptr;
}

void TApplication::ShowException(const std::exception& e) {
  if (observer_) observer_->OnError(e.what());
  backend_.show_error(e.what());
}

void TApplication::Dispose(TForm* form) {
  auto it = std::find_if(forms_.begin(), forms_.end(), [&](auto& f) { return f.get() == form; });
  if (it == forms_.end()) return;
  std::unique_ptr<TForm> gone = std::move(*it);
  forms_.erase(it);
  if (active_ == form) active_ = nullptr;
  // The form may be running one of its own handlers: it is retired at once
  // and destroyed once the current instant is over.
  gone->Retire();
  if (observer_) observer_->OnFormFreed(*gone);
  disposed_.push_back(std::move(gone));
}

}  // namespace kv
