// Long random play and closing at arbitrary instants, in-process on the
// headless back-end. Faults that only show after many games (state that leaks
// from one run into the next, a timer that outlives its form, a close racing
// the hand-over) need many games or awkward instants, not a single script.
//
// KORVALEN_SOAK_HOURS sets the virtual play time of the random soak; the
// default keeps it to a few seconds for everyday runs. KORVALEN_SOAK_SEED
// replays one particular sequence.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "playfield/unit1.h"
#include "results/unit2.h"

using namespace kv;

namespace {

constexpr Micros kMs = 1000;

double env_double(const char* name, double fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtod(v, nullptr) : fallback;
}

std::uint64_t env_seed() {
  const char* v = std::getenv("KORVALEN_SOAK_SEED");
  return v && *v ? std::strtoull(v, nullptr, 10) : 20240611;
}

// Watches for the first hit and the playing field being freed, with the
// instant of each, and counts ticks so that a tick after the end shows.
struct Watch : Heard {
  using Heard::Heard;
  void AfterTick(const TTimer&) override {
    last_tick = app.Now();
    if (!hit_at && unit && unit->destruida) hit_at = app.Now();
  }
  void OnFormFreed(const TForm& f) override {
    if (&f == form1) freed_at = app.Now();
  }
  void OnError(const std::string& e) override { errors.push_back(e); }
  const Unit1* unit = nullptr;
  const TForm* form1 = nullptr;
  Micros hit_at = 0;  // no hit can come at instant 0: the meteor starts at 1 s
  Micros freed_at = 0;
  Micros last_tick = -1;
  std::vector<std::string> errors;
};

// One fresh run of the program.
class Run {
 public:
  Run() : project(backend), watch(project.Application) {
    watch.unit = &project.unit1;
    project.Application.SetObserver(&watch);
    project.Create();
    watch.form1 = project.Form1;
    project.Application.Start();
  }
  void key(Micros at, int vk) { backend.inject(at, {InputEvent::Kind::Key, nullptr, vk}); }
  void reactivate(Micros at) {
    backend.inject(at, {InputEvent::Kind::Deactivate, nullptr, 0});
    backend.inject(at, {InputEvent::Kind::Activate, nullptr, 0});
  }
  void close(Micros at) { backend.inject(at, {InputEvent::Kind::Close, nullptr, 0}); }
  bool step_to(Micros t) {
    TApplication& app = project.Application;
    if (app.Terminated() || std::min(app.NextDue(), backend.next_input()) > t) return false;
    app.ProcessInstant();
    return true;
  }

  HeadlessBackend backend{false};
  Project1 project;
  Watch watch;
};

// Everything that must hold at any instant between two handled instants.
void expect_invariants(Run& r, const std::string& where) {
  const Unit1& u = r.project.unit1;
  ASSERT_EQ(u.navex % 5, 0) << where;
  ASSERT_EQ(u.navey % 5, 0) << where;
  ASSERT_GE(u.navex, 90) << where;
  ASSERT_LE(u.navex, 630) << where;
  ASSERT_GE(u.navey, 30) << where;
  ASSERT_LE(u.navey, 440) << where;
  if (r.backend.now() >= 10 * kMs) {
    ASSERT_GE(u.numerito, 10) << where;
    ASSERT_LE(u.numerito, 299) << where;
  }
  ASSERT_TRUE(r.watch.errors.empty()) << where << ": " << r.watch.errors.front();
  ASSERT_TRUE(r.backend.errors.empty()) << where;
  const std::string points = std::to_string(u.segundos);
  if (u.segundos) {
    ASSERT_EQ(r.project.Form2->Label3->Caption(), points) << where;
  }
  if (TForm1* f = r.project.Form1) {
    ASSERT_EQ(f->Imagenave->Left(), u.navex) << where;
    ASSERT_EQ(f->Imagenave->Top(), u.navey) << where;
    if (u.segundos) {
      ASSERT_EQ(f->Label2->Caption(), points) << where;
    }
    // The clock stops at the hand-over, never before.
    ASSERT_TRUE(f->Timer1->Enabled()) << where;
    if (r.watch.hit_at) {
      ASSERT_LE(r.backend.now(), r.watch.hit_at + 1000 * kMs)
          << where << ": the playing field outlived its wreck second";
    }
  }
}

// Space, A and Enter: keys the game has no use for must change nothing.
constexpr int kIgnored[] = {32, 65, 13};

struct SoakTotals {
  Micros virtual_time = 0;
  long games = 0;
  long survived_cap = 0;  // games still going when the cap closed them
  int best_points = 0;
  long inputs = 0;
  long past_boss = 0;  // games that lived to see the boss (80 s)
};

// Plays one game with random keys and activations, then lingers on the
// results screen and closes it.
void play_one(std::mt19937_64& rng, SoakTotals& totals, Micros cap) {
  Run r;
  const std::string game = "game " + std::to_string(totals.games + 1);
  std::uniform_int_distribution<int> gap_ms(10, 1200), pick(0, 99), arrow(37, 40);
  std::uniform_int_distribution<int> linger_ms(1, 9000);
  Micros next_input = gap_ms(rng) * kMs;
  Micros close_at = kNever;
  long instants = 0;
  while (!r.project.Application.Terminated()) {
    if (r.project.Form1 && r.backend.now() >= cap && close_at == kNever) {
      ++totals.survived_cap;
      close_at = r.backend.now() + kMs;
      r.close(close_at);
    }
    if (!r.project.Form1 && close_at == kNever) {
      ASSERT_EQ(r.watch.freed_at, r.watch.hit_at + 1000 * kMs)
          << game << ": hand-over not 1 s after the first hit";
      ASSERT_TRUE(r.project.Form2->Visible()) << game;
      ASSERT_EQ(r.project.Form2->Label3->Caption(), std::to_string(r.project.unit1.segundos))
          << game;
      close_at = r.watch.freed_at + linger_ms(rng) * kMs;
      r.close(close_at);
    }
    if (next_input < close_at && r.backend.next_input() > next_input) {
      const int p = pick(rng);
      if (p < 6)
        r.reactivate(next_input);
      else
        r.key(next_input, p < 9 ? kIgnored[p - 6] : arrow(rng));
      ++totals.inputs;
      next_input += gap_ms(rng) * kMs;
    }
    if (!r.step_to(std::min(next_input, close_at))) continue;
    if (++instants % 97 == 0) {
      expect_invariants(r, game + " at " + std::to_string(r.backend.now() / kMs) + " ms");
      if (testing::Test::HasFatalFailure()) return;
    }
  }
  expect_invariants(r, game + " at the end");
  if (testing::Test::HasFatalFailure()) return;
  // Nothing runs once the close has been handled.
  ASSERT_LT(r.watch.last_tick, close_at) << game;
  ASSERT_EQ(r.backend.now(), close_at) << game;
  totals.virtual_time += r.backend.now();
  totals.best_points = std::max(totals.best_points, r.project.unit1.segundos);
  totals.past_boss += r.project.unit1.segundos >= 80;
  ++totals.games;
}

TEST(Soak, RandomPlayManyGamesBackToBack) {
  const double hours = env_double("KORVALEN_SOAK_HOURS", 2);
  const Micros target = static_cast<Micros>(hours * 3600e6);
  const std::uint64_t seed = env_seed();
  std::mt19937_64 rng(seed);
  SoakTotals totals;
  // A player who dodges for half an hour is not what this looks for.
  const Micros cap = 30 * 60 * 1000 * kMs;
  while (totals.virtual_time < target) {
    play_one(rng, totals, cap);
    if (HasFatalFailure()) {
      ADD_FAILURE() << "seed " << seed;
      return;
    }
  }
  std::printf(
      "soak: seed %llu, %.2f virtual hours, %ld games, %ld inputs, best %d points, %ld past 80 s, "
      "%ld cut at 30 min\n",
      static_cast<unsigned long long>(seed), totals.virtual_time / 3600e6, totals.games,
      totals.inputs, totals.best_points, totals.past_boss, totals.survived_cap);
}

// ---- Closing at chosen instants

enum class How { CloseActive, Quit };

struct CloseCase {
  const char* phase;
  long long at_ms;  // relative to `from`
  enum From { Start, Hit, HandOver } from;
  How how = How::CloseActive;
};

// For an idle game the meteor hits at 3600 ms and the hand-over is at 4600 ms;
// for random games both are measured first, so the same table fits them.
const CloseCase kCloseCases[] = {
    {"at once", 0, CloseCase::Start},
    {"first tick", 10, CloseCase::Start},
    {"play", 1500, CloseCase::Start},
    {"play, quit", 2000, CloseCase::Start, How::Quit},
    {"just before the hit", -1, CloseCase::Hit},
    {"at the hit", 0, CloseCase::Hit},
    {"wreck second", 1, CloseCase::Hit},
    {"wreck second", 500, CloseCase::Hit},
    {"wreck second, quit", 700, CloseCase::Hit, How::Quit},
    {"just before the hand-over", -1, CloseCase::HandOver},
    {"at the hand-over", 0, CloseCase::HandOver},
    {"at the hand-over, quit", 0, CloseCase::HandOver, How::Quit},
    {"just after the hand-over", 1, CloseCase::HandOver},
    {"results, credits scrolling", 2500, CloseCase::HandOver},
    {"results, credits stopped", 7000, CloseCase::HandOver},
    {"results, quit", 3000, CloseCase::HandOver, How::Quit},
};

struct Inputs {
  std::vector<std::pair<Micros, int>> keys;  // key 0: an activation
};

void feed(Run& r, const Inputs& in) {
  for (const auto& [at, vk] : in.keys)
    if (vk)
      r.key(at, vk);
    else
      r.reactivate(at);
}

// Runs a game with these inputs to its hand-over and returns (hit, hand-over).
std::pair<Micros, Micros> measure(const Inputs& in) {
  Run r;
  feed(r, in);
  while (r.project.Form1 && r.backend.now() < 3600 * 1000 * kMs)
    if (!r.step_to(kNever)) break;
  return {r.watch.hit_at, r.watch.freed_at};
}

void close_at_each_case(const Inputs& in, const std::string& what) {
  const auto [hit, hand_over] = measure(in);
  ASSERT_GT(hit, 0) << what;
  ASSERT_EQ(hand_over, hit + 1000 * kMs) << what;
  for (const CloseCase& c : kCloseCases) {
    const Micros base = c.from == CloseCase::Start ? 0 : c.from == CloseCase::Hit ? hit : hand_over;
    const Micros at = base + c.at_ms * kMs;
    const std::string label = what + ", " + c.phase + " at " + std::to_string(at / kMs) + " ms";
    auto r = std::make_unique<Run>();
    feed(*r, in);
    if (c.how == How::Quit)
      r->backend.inject(at, {InputEvent::Kind::Quit, nullptr, 0});
    else
      r->close(at);
    while (r->step_to(kNever)) {
    }
    EXPECT_TRUE(r->project.Application.Terminated()) << label;
    EXPECT_EQ(r->backend.now(), at) << label;
    EXPECT_LT(r->watch.last_tick, at) << label << ": a tick ran after the close";
    // Input is handled before the ticks of its instant, so a close at the
    // hand-over instant still finds the playing field.
    EXPECT_EQ(r->project.Form1 != nullptr, at <= hand_over) << label;
    EXPECT_TRUE(r->watch.errors.empty()) << label;
    // Destroying the program right after is where a dangling timer or form
    // would show under the sanitizers.
    r.reset();
  }
}

TEST(CloseAtAnyInstant, IdleGame) {
  close_at_each_case({}, "idle game");
}

TEST(CloseAtAnyInstant, SeededRandomGames) {
  std::mt19937_64 rng(env_seed() + 1);
  std::uniform_int_distribution<int> gap_ms(10, 900), pick(0, 19), arrow(37, 40);
  for (int g = 0; g < 6; ++g) {
    Inputs in;
    Micros t = 0;
    // Inputs beyond ten minutes are never reached: random games end sooner.
    while (t < 600 * 1000 * kMs) {
      t += gap_ms(rng) * kMs;
      in.keys.emplace_back(t, pick(rng) == 0 ? 0 : arrow(rng));
    }
    close_at_each_case(in, "random game " + std::to_string(g));
    if (HasFatalFailure()) return;
  }
}

}  // namespace
