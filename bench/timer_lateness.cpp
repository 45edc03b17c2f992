// How late timer ticks arrive in real time: the desktop back-end and the real
// message loop, with the game's four hazard periods running together in one
// window. Each handler notes Now() against the instant its tick was due,
// following the loop's own rule for periods merged while it was busy.
//
// usage: korvalen-bench-timers [SECONDS]   (needs a display)
// prints: one line per timer: "<interval> <ticks> <p50 us> <p99 us> <max us>"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/application.h"
#include "platform/sdl/sdl_backend.h"

using namespace kv;

namespace {

struct Lateness {
  Micros period = 0;
  Micros due = 0;
  std::vector<Micros> late;

  void start(Micros now) { due = now + period; }
  void tick(Micros now) {
    late.push_back(now - due);
    due += ((now - due) / period + 1) * period;
  }
};

class Clock : public TForm {
 public:
  explicit Clock(TApplication& app);
  void T10() { l[0].tick(Application().Now()); }
  void T50() { l[1].tick(Application().Now()); }
  void T100() { l[2].tick(Application().Now()); }
  void T150() { l[3].tick(Application().Now()); }
  void Stop() { Application().Terminate(); }

  TTimer* timers[4] = {Component<TTimer>("T10"), Component<TTimer>("T50"),
                       Component<TTimer>("T100"), Component<TTimer>("T150")};
  TTimer* Ending = Component<TTimer>("Ending");
  Lateness l[4];
};

const ComponentDef kClock[] = {
    timer("T10", 10, handler(&Clock::T10)),       timer("T50", 50, handler(&Clock::T50)),
    timer("T100", 100, handler(&Clock::T100)),    timer("T150", 150, handler(&Clock::T150)),
    timer("Ending", 1000, handler(&Clock::Stop)),
};
const FormDef kClockForm{
    .caption = "korvalen timers", .client_width = 200, .client_height = 100, .components = kClock};

Clock::Clock(TApplication& app) : TForm(app, kClockForm) {}

Micros percentile(std::vector<Micros> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  SdlBackend backend;
  TApplication app(backend);
  Clock* form = app.CreateForm<Clock>();
  app.Start();
  const int intervals[4] = {10, 50, 100, 150};
  for (int i = 0; i < 4; ++i) {
    form->l[i].period = Micros{intervals[i]} * 1000;
    form->timers[i]->SetEnabled(true);
    form->l[i].start(app.Now());
  }
  form->Ending->SetInterval(seconds * 1000);
  form->Ending->SetEnabled(true);
  while (!app.Terminated()) app.ProcessInstant();
  for (int i = 0; i < 4; ++i) {
    const auto& v = form->l[i].late;
    std::printf("%d %zu %lld %lld %lld\n", intervals[i], v.size(),
                static_cast<long long>(percentile(v, 0.5)),
                static_cast<long long>(percentile(v, 0.99)),
                static_cast<long long>(v.empty() ? 0 : *std::max_element(v.begin(), v.end())));
  }
  return 0;
}
