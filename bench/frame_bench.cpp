// What one frame of the playing field costs, and how fast whole games run on
// the headless back-end.
//
// usage: korvalen-bench-frame --script FILE [benchmark flags]   (run in assets/)
// FILE is a survivor script: the paint is measured with every hazard on the
// field, and the long game lasts as long as the script keeps the ship alive.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/project1.h"
#include "platform/headless/headless_backend.h"
#include "playfield/unit1.h"

namespace {

struct Press {
  long long ms;
  int key;
};
std::vector<Press> g_script;

void load_script(const std::string& file) {
  std::ifstream in(file);
  if (!in) {
    std::fprintf(stderr, "korvalen-bench-frame: cannot open %s\n", file.c_str());
    std::exit(2);
  }
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream w(line);
    long long ms;
    std::string name;
    w >> ms >> name;
    const int key = name == "left" ? 37 : name == "up" ? 38 : name == "right" ? 39 : 40;
    g_script.push_back({ms, key});
  }
}

struct Game {
  explicit Game(bool painting) : b(painting), p(b) {
    p.Create();
    p.Application.Start();
    for (const Press& k : g_script)
      b.inject(k.ms * 1000, {kv::InputEvent::Kind::Key, nullptr, k.key});
  }
  // Plays on to `ms`, or until the ship is hit.
  void run_to(long long ms) {
    kv::TApplication& app = p.Application;
    while (!app.Terminated() && !p.unit1.destruida &&
           std::min(app.NextDue(), b.next_input()) <= ms * 1000)
      app.ProcessInstant();
  }
  kv::HeadlessBackend b;
  Project1 p;
};

long long vm_kib(const char* field) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind(field, 0) == 0) return std::atoll(line.c_str() + std::strlen(field));
  return 0;
}

// The last instant the script is sure to reach alive.
long long script_end_ms() {
  return g_script.empty() ? 3000 : g_script.back().ms;
}

// Everything on the field: past 80 s every hazard has joined. With `meteor`
// the frame is the meteor's tick as the game does it: the paint box repainted,
// then the disc drawn on the canvas.
void paint_frames(benchmark::State& state, bool meteor) {
  Game g(true);
  g.run_to(std::min(85'000LL, script_end_ms()));
  TForm1* f = g.p.Form1;
  const Unit1& u = g.p.unit1;
  const kv::Rect all{0, 0, 674, 488};
  for (auto _ : state) {
    f->Invalidate(all);
    f->Update();
    if (meteor) {
      f->PaintBox1->Repaint();
      f->Canvas()->Ellipse(u.meteorox, u.meteoroy, u.meteorox + 10, u.meteoroy + 10);
    }
    f->Flush();
    benchmark::ClobberMemory();
  }
  state.counters["alive"] = u.destruida ? 0 : 1;
  state.counters["second"] = u.segundos;
}

void BM_FullPaint(benchmark::State& state) {
  paint_frames(state, false);
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

void BM_MeteorFrame(benchmark::State& state) {
  paint_frames(state, true);
}
BENCHMARK(BM_MeteorFrame)->Unit(benchmark::kMicrosecond);

// A whole scripted game, as the simulator plays it (no pictures) and with
// every frame painted.
void BM_LongGame(benchmark::State& state) {
  const bool painting = state.range(0) != 0;
  const long long end = script_end_ms();
  long long reached = 0;
  for (auto _ : state) {
    Game g(painting);
    g.run_to(end);
    reached = g.p.Application.Now() / 1000;
  }
  state.counters["game_s"] = static_cast<double>(reached) / 1000.0;
  // Game-minutes per CPU second, from Google Benchmark's CPU time per iteration.
  state.counters["game_min_per_cpu_s"] = benchmark::Counter(
      static_cast<double>(reached) / 60000.0 * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LongGame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Resident memory over a long painted game: a leak per tick or per paint shows
// as growth between the first minute and the end.
void BM_LongGameMemory(benchmark::State& state) {
  long long growth = 0, peak = 0;
  for (auto _ : state) {
    Game g(true);
    g.run_to(std::min(60'000LL, script_end_ms()));
    const long long at_minute = vm_kib("VmRSS:");
    g.run_to(script_end_ms());
    growth = vm_kib("VmRSS:") - at_minute;
    peak = vm_kib("VmHWM:");
  }
  state.counters["rss_growth_kib"] = static_cast<double>(growth);
  state.counters["peak_kib"] = static_cast<double>(peak);
}
BENCHMARK(BM_LongGameMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
      load_script(argv[++i]);
      continue;
    }
    rest.push_back(argv[i]);
  }
  int n = static_cast<int>(rest.size());
  benchmark::Initialize(&n, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
