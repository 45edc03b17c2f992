// The clock's schedule, the lane picker, ship control and the crash hand-over.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "game_fixture.h"
#include "playfield/lanes.h"

using namespace kv;

namespace {

// ---- The schedule, tick by tick

struct Rank {
  int second;
  const char* text;
};
const Rank kLadder[] = {
    {10, "Aprendiz"},
    {20,
     "Pr\xE1"
     "cticas"},
    {30, "Pringao"},
    {40, "L"},
    {45, "Primerizo"},
    {50, "Novatillo"},
    {55, "Novato"},
    {60, "Novicio"},
    {65, "Grumete"},
    {70, "Principiante"},
    {80, "Normalillo"},
    {90, "Normal"},
    {95, "Mejorando"},
    {100, "Aceptable"},
    {105, "Asustadizo"},
    {110, "Bien"},
    {115, "Bastante Bien"},
    {120, "Pilotillo"},
    {125, "Piloto"},
    {130, "Capit\xE1n"},
    {135, "Coronel"},
    {140, "Comandante"},
    {145, "Especialista"},
    {150, "Experto"},
    {155, "Excelente"},
    {160, "Magnifico"},
    {170, "Superpiloto"},
    {180, "As del espacio"},
    {190, "Jefe"},
    {200, "SuperJefe"},
    {210, "UltraSuperJefe"},
};

TEST(Clock, EverySecondFollowsTheSchedule) {
  Game game;
  TForm1& f = *game.form1();
  const std::map<std::string, int> starts = {
      {"Timermeteoro", 1},    {"Timerenemigop", 2},    {"Timerenemigo", 10},  {"Timerenemigo2", 20},
      {"Timerenemigo3", 30},  {"Timerenemigo4", 40},   {"Timerenemigo5", 50}, {"Timerenemigo6", 55},
      {"Timerenemigop2", 70}, {"Timerenemigojefe", 80}};
  const std::set<int> beeps = {1, 10, 20, 30, 40, 50, 55};
  for (int s = 1; s <= 230; ++s) {
    const std::size_t heard_before = game.heard.plays.size();
    f.Timer1Timer();
    SCOPED_TRACE("second " + std::to_string(s));
    EXPECT_EQ(f.Label2->Caption(), std::to_string(s));
    EXPECT_EQ(game.form2()->Label3->Caption(), std::to_string(s));
    std::string rank;
    int bars = 0;
    for (const Rank& r : kLadder)
      if (r.second <= s) rank = r.text, ++bars;
    EXPECT_EQ(f.Labelnivel->Caption(), rank);
    for (int k = 0; k <= 30; ++k) EXPECT_EQ(f.ShapeCARNET[k]->Visible(), k < bars) << "bar " << k;
    for (const auto& [name, second] : starts)
      EXPECT_EQ(f.Component<TTimer>(name)->Enabled(), s >= second) << name;
    const int speed = s < 95 ? 5 : s < 100 ? 10 : s < 110 ? 5 : 10;
    EXPECT_EQ(game.u.velocidad, speed);
    std::vector<std::string> now;
    for (std::size_t i = heard_before; i < game.heard.plays.size(); ++i)
      now.push_back(game.heard.plays[i].second);
    std::vector<std::string> want;
    if (beeps.count(s)) want.push_back("MediaPlayerbeep");
    if (s == 80) want.push_back("MediaPlayerufo");
    EXPECT_EQ(now, want);
  }
}

// Within a row the timer starts before the cue, except at second 1.
TEST(Clock, CueAndTimerOrderWithinARow) {
  Game game;
  TForm1& f = *game.form1();
  struct Watch : AppObserver {
    TForm1* f;
    std::vector<bool> meteor_on, cruiser_on;
    void OnPlay(const TMediaPlayer&) override {
      meteor_on.push_back(f->Timermeteoro->Enabled());
      cruiser_on.push_back(f->Timerenemigo->Enabled());
    }
  } watch;
  watch.f = &f;
  game.project.Application.SetObserver(&watch);
  for (int s = 1; s <= 10; ++s) f.Timer1Timer();
  ASSERT_EQ(watch.meteor_on.size(), 2u);
  EXPECT_FALSE(watch.meteor_on[0]);  // beep at 1, meteor not yet on
  EXPECT_TRUE(watch.cruiser_on[1]);  // at 10 the cruiser is on before the beep
}

// ---- The lane picker

TEST(Picker, FirstPicksOfEveryRun) {
  for (int run = 0; run < 2; ++run) {
    Game game;
    std::vector<int> picks;
    for (int i = 0; i < 12; ++i) {
      game.form1()->TimernumeritoTimer();
      picks.push_back(game.u.numerito);
    }
    EXPECT_EQ(picks, (std::vector<int>{10, 19, 259, 68, 89, 204, 102, 56, 117, 133, 33, 147}));
  }
}

TEST(Picker, PicksStayWithinTenTo299) {
  unsigned seed = 0;
  int lo = 1000, hi = -1;
  for (int i = 0; i < 200000; ++i) {
    const int v = random_below(seed, 290) + 10;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_EQ(lo, 10);
  EXPECT_EQ(hi, 299);
}

TEST(Picker, BandEdges) {
  const std::pair<int, int> cases[] = {{0, 0},    {9, 0},    {10, 1},   {19, 1},   {20, 2},
                                       {64, 10},  {65, 11},  {114, 20}, {115, 21}, {149, 21},
                                       {150, 22}, {199, 22}, {200, 23}, {249, 23}, {250, 24},
                                       {269, 24}, {270, 25}, {279, 25}, {280, 26}, {299, 26}};
  for (const auto& [pick, band] : cases) EXPECT_EQ(band_of(pick), band) << pick;
}

// ---- Ship control

TEST(Ship, HoldingAKeyMovesNoFasterThanTappingIt) {
  Game game;
  for (int t = 0; t < 1000; t += 30) game.key(t, kUp);  // key repeat
  game.run_to(1000);
  EXPECT_EQ(game.u.navey, 440 - 5 * 6);  // ticks at 150, 300, ... 900
  EXPECT_EQ(game.u.direccion, 1);
}

TEST(Ship, CannotGoDownFromTheStart) {
  Game game;
  game.key(0, kDown);
  game.run_to(500);
  EXPECT_EQ(game.u.direccion, 0);
  EXPECT_FALSE(game.form1()->Timerabajo->Enabled());
}

TEST(Ship, TurningWaitsForTheFirstTickOfTheNewHeading) {
  Game game;
  game.key(0, kUp);
  game.run_to(1200);  // 8 ticks: 400
  ASSERT_EQ(game.u.navey, 400);
  game.key(1210, kDown);
  game.run_to(1359);
  EXPECT_EQ(game.u.navey, 400);
  game.run_to(1360);
  EXPECT_EQ(game.u.navey, 405);
  EXPECT_FALSE(game.form1()->Timerarriba->Enabled());
}

TEST(Ship, KeysRefusedAtTheEdgeWhenWreckedAndForTheSameHeading) {
  struct Case {
    const char* what;
    int navex, navey, direccion;
    bool destruida;
    int key;
    bool accepted;
  };
  const Case cases[] = {
      {"up at the top edge, heading left", 300, 30, 3, false, kUp, false},
      {"down at the bottom edge", 300, 440, 1, false, kDown, false},
      {"left at the left edge", 90, 200, 4, false, kLeft, false},
      {"right at the right edge", 630, 200, 3, false, kRight, false},
      {"same heading again", 300, 200, 1, false, kUp, false},
      {"while wrecked", 300, 200, 1, true, kLeft, false},
      {"a key that is no arrow", 300, 200, 1, false, 65, false},
      {"up one step below the edge", 300, 35, 3, false, kUp, true},
  };
  for (const Case& c : cases) {
    Game game;
    TForm1& f = *game.form1();
    game.u.navex = c.navex;
    game.u.navey = c.navey;
    game.u.direccion = c.direccion;
    game.u.destruida = c.destruida;
    std::uint16_t key = static_cast<std::uint16_t>(c.key);
    f.FormKeyDown(key, 0);
    const bool any_on = f.Timerarriba->Enabled() || f.Timerabajo->Enabled() ||
                        f.Timerizquierda->Enabled() || f.Timerderecha->Enabled();
    EXPECT_EQ(any_on, c.accepted) << c.what;
    EXPECT_EQ(game.u.direccion != c.direccion, c.accepted) << c.what;
  }
}

TEST(Ship, StaysWithinItsArea) {
  Game game;
  TForm1& f = *game.form1();
  game.u.navex = 100;
  game.u.navey = 40;
  for (int i = 0; i < 10; ++i) f.TimerarribaTimer();
  EXPECT_EQ(game.u.navey, 30);
  for (int i = 0; i < 10; ++i) f.TimerizquierdaTimer();
  EXPECT_EQ(game.u.navex, 90);
  game.u.navex = 620;
  for (int i = 0; i < 10; ++i) f.TimerderechaTimer();
  EXPECT_EQ(game.u.navex, 630);
  EXPECT_EQ(f.Imagenave->Left(), 630);
  EXPECT_EQ(f.Imagenave->Top(), 30);
  game.u.destruida = true;
  f.TimerabajoTimer();
  EXPECT_EQ(game.u.navey, 30);
}

// ---- Hits and the hand-over

TEST(HitWindow, CruiserOnesStepOneSetMatchesLikeMinusFiveAndZero) {
  const HitWindow w{{-5, 0, 1}, {-20, 30}};
  for (int dx = -40; dx <= 40; dx += 5) EXPECT_EQ(w.hits(dx, 0), dx == -5 || dx == 0) << dx;
}

TEST(HitWindow, BoundsAreInclusive) {
  const HitWindow w{{-20, 35}, {-10, 30}};
  EXPECT_TRUE(w.hits(-20, -10));
  EXPECT_TRUE(w.hits(35, 30));
  EXPECT_FALSE(w.hits(-25, 0));
  EXPECT_FALSE(w.hits(40, 0));
  EXPECT_FALSE(w.hits(0, -15));
  EXPECT_FALSE(w.hits(0, 35));
}

TEST(HandOver, IdleShipIsHitByTheMeteorAndTheResultsFollowOneSecondLater) {
  Game game;
  game.run_to(3599);
  EXPECT_FALSE(game.u.destruida);
  game.run_to(3600);
  EXPECT_TRUE(game.u.destruida);
  EXPECT_TRUE(game.form1()->Timerdestruida->Enabled());
  game.run_to(4599);
  ASSERT_NE(game.form1(), nullptr);
  const auto explosions = game.heard.of("MediaPlayerex");
  ASSERT_EQ(explosions.size(), 9u);  // meteorox 360 to 400, every tick a hit
  EXPECT_EQ(explosions.front().first, 3600);
  game.run_to(4600);
  EXPECT_EQ(game.form1(), nullptr);
  TForm2& results = *game.form2();
  EXPECT_TRUE(results.Visible());
  EXPECT_EQ(game.project.Application.ActiveForm(), &results);
  EXPECT_EQ(results.Label3->Caption(), "4");
  EXPECT_EQ(results.Label8->Caption(), "");
  EXPECT_TRUE(results.Timer1->Enabled());
  // A cue still sounding is not restarted by the later hits.
  int started = 0;
  for (const auto& s : game.backend.sounds_started) started += s.second == "sfx/ex.wav";
  EXPECT_EQ(started, 1);
  game.run_to(20'000);
  EXPECT_EQ(results.Label3->Caption(), "4");
  EXPECT_EQ(game.project.unit1.segundos, 4);
  EXPECT_EQ(game.project.Application.NextDue(), kNever);  // only the scroll ran, and ended
}

TEST(HandOver, ReactivationDuringTheWreckSecondFreesTheShipAgain) {
  Game game;
  game.activate(3700);
  game.key(3700, kUp);  // before the meteor's tick of that instant wrecks it again
  game.run_to(3700);
  EXPECT_EQ(game.u.direccion, 1);
  EXPECT_EQ(game.heard.of("MediaPlayertema").size(), 2u);
  game.run_to(4600);
  EXPECT_EQ(game.form1(), nullptr);  // still one second after the first hit
}

}  // namespace
