// The hazards: their first passes, wraps, new lanes and hit windows.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "playfield/lanes.h"

using namespace kv;

namespace {

struct CruiserCase {
  const char* what;
  void (TForm1::*tick)();
  int Unit1::*moving;
  int Unit1::*lane;
  bool horizontal;
  int before;  // moving coordinate before the tick
  int velocidad;
  int numerito;
  int after;       // moving coordinate after the tick
  int lane_after;  // lane coordinate after the tick
};

const CruiserCase kCruiserCases[] = {
    {"1 steps left", &TForm1::TimerenemigoTimer, &Unit1::enemigox, &Unit1::enemigoy, true, 700, 5,
     150, 695, 200},
    {"1 wraps below 50", &TForm1::TimerenemigoTimer, &Unit1::enemigox, &Unit1::enemigoy, true, 50,
     5, 150, 700, 190},
    {"1 wraps at 40 when fast", &TForm1::TimerenemigoTimer, &Unit1::enemigox, &Unit1::enemigoy,
     true, 50, 10, 280, 700, 360},
    {"1 keeps 50 at speed 10 from 60", &TForm1::TimerenemigoTimer, &Unit1::enemigox,
     &Unit1::enemigoy, true, 60, 10, 280, 50, 200},
    {"2 wraps past 470", &TForm1::Timerenemigo2Timer, &Unit1::enemigo2y, &Unit1::enemigo2x, false,
     470, 5, 64, -20, 265},
    {"2 wraps at 480 when fast", &TForm1::Timerenemigo2Timer, &Unit1::enemigo2y, &Unit1::enemigo2x,
     false, 470, 10, 65, -20, 270},
    {"3 wraps above -30", &TForm1::Timerenemigo3Timer, &Unit1::enemigo3y, &Unit1::enemigo3x, false,
     -30, 5, 150, 475, 515},
    {"4 wraps past 700", &TForm1::Timerenemigo4Timer, &Unit1::enemigo4x, &Unit1::enemigo4y, true,
     700, 5, 105, 50, 210},
    {"5 wraps past 470", &TForm1::Timerenemigo5Timer, &Unit1::enemigo5y, &Unit1::enemigo5x, false,
     470, 5, 95, -30, 500},
    {"6 wraps below 50", &TForm1::Timerenemigo6Timer, &Unit1::enemigo6x, &Unit1::enemigo6y, true,
     50, 5, 275, 700, 400},
    {"a pick below 10 keeps the lane", &TForm1::Timerenemigo6Timer, &Unit1::enemigo6x,
     &Unit1::enemigo6y, true, 50, 5, 5, 700, 400},
};

TEST(Cruisers, MoveWrapAndTakeTheirNewLane) {
  for (const CruiserCase& c : kCruiserCases) {
    Game game;
    TForm1& f = *game.form1();
    game.u.navex = 630;  // out of every window
    game.u.navey = 30;
    game.u.*c.moving = c.before;
    game.u.velocidad = c.velocidad;
    game.u.numerito = c.numerito;
    (f.*c.tick)();
    EXPECT_EQ(game.u.*c.moving, c.after) << c.what;
    EXPECT_EQ(game.u.*c.lane, c.lane_after) << c.what;
  }
}

// In its wrapping tick a cruiser's sprite keeps its place out of sight; only
// its lane is moved. The hit test already uses the reset coordinate.
TEST(Cruisers, WrapTickMovesOnlyTheLaneOnScreen) {
  Game game;
  TForm1& f = *game.form1();
  game.u.enemigox = 50;
  game.u.numerito = 10;
  f.TimerenemigoTimer();
  EXPECT_EQ(f.Imageenemigo->Left(), 45);
  EXPECT_EQ(f.Imageenemigo->Top(), 20);
  f.TimerenemigoTimer();
  EXPECT_EQ(f.Imageenemigo->Left(), 695);
}

TEST(Cruisers, CruiserThreeIsDrawnAt373UntilItsFirstWrap) {
  Game game;
  TForm1& f = *game.form1();
  f.Timerenemigo3Timer();
  EXPECT_EQ(f.Imageenemigo3->Left(), 373);
  EXPECT_EQ(game.u.enemigo3x, 365);
}

TEST(Cruisers, CruiserOneHitsInTheShipsColumn) {
  struct Case {
    int x_before, enemigoy;
    bool hit;
  };
  // Ship at (370, 440); after the tick enemigox is x_before - 5.
  const Case cases[] = {{380, 440, false}, {375, 440, true},  {370, 440, true}, {365, 440, false},
                        {375, 420, true},  {375, 415, false}, {375, 470, true}, {375, 475, false}};
  for (const Case& c : cases) {
    Game game;
    game.u.enemigox = c.x_before;
    game.u.enemigoy = c.enemigoy;
    game.form1()->TimerenemigoTimer();
    EXPECT_EQ(game.u.destruida, c.hit) << c.x_before << "," << c.enemigoy;
  }
}

TEST(Planets, RiseAndComeBackInOneOfTwoColumns) {
  struct Case {
    void (TForm1::*tick)();
    int Unit1::*x;
    int Unit1::*y;
    TImage* TForm1::*sprite;
    int numerito;
    int x_after;
  };
  const Case cases[] = {
      {&TForm1::TimerenemigopTimer, &Unit1::enemigopx, &Unit1::enemigopy, &TForm1::Imageenemigop,
       199, 90},
      {&TForm1::TimerenemigopTimer, &Unit1::enemigopx, &Unit1::enemigopy, &TForm1::Imageenemigop,
       200, 120},
      {&TForm1::TimerenemigopTimer, &Unit1::enemigopx, &Unit1::enemigopy, &TForm1::Imageenemigop, 5,
       77},
      {&TForm1::Timerenemigop2Timer, &Unit1::enemigop2x, &Unit1::enemigop2y,
       &TForm1::Imageenemigop2, 10, 500},
      {&TForm1::Timerenemigop2Timer, &Unit1::enemigop2x, &Unit1::enemigop2y,
       &TForm1::Imageenemigop2, 299, 450},
  };
  for (const Case& c : cases) {
    Game game;
    TForm1& f = *game.form1();
    game.u.*c.x = 77;
    game.u.*c.y = -100;
    game.u.numerito = c.numerito;
    (f.*c.tick)();
    EXPECT_EQ(game.u.*c.y, 500);
    EXPECT_EQ(game.u.*c.x, c.x_after) << c.numerito;
    EXPECT_EQ((f.*c.sprite)->Left(), c.x_after);
    EXPECT_EQ((f.*c.sprite)->Top(), -105);  // set again only on the next tick
  }
}

TEST(Planets, TestForHitsOnlyOnTheirTwoSecondTicks) {
  Game game;
  game.u.meteoroy = 20;  // keep the meteor out of the ship's lane
  game.u.enemigopx = 370;
  game.u.enemigopy = 475;  // one step below the ship's window
  game.run_to(3999);
  EXPECT_FALSE(game.u.destruida);
  game.run_to(4000);
  EXPECT_TRUE(game.u.destruida);
  ASSERT_FALSE(game.heard.of("MediaPlayerex").empty());
  EXPECT_EQ(game.heard.of("MediaPlayerex").front().first, 4000);
}

TEST(Boss, ComesBackAimedAtTheShipWithItsCue) {
  Game game;
  TForm1& f = *game.form1();
  game.u.navex = 90;
  game.u.enemigojefey = 500;
  f.TimerenemigojefeTimer();
  EXPECT_EQ(game.u.enemigojefex, 80);
  EXPECT_EQ(game.u.enemigojefey, -40);
  EXPECT_EQ(f.Imageenemigojefe->Left(), 80);
  EXPECT_EQ(f.Imageenemigojefe->Top(), -40);
  EXPECT_EQ(game.heard.of("MediaPlayerufo").size(), 1u);
  game.u.enemigojefey = 495;
  f.TimerenemigojefeTimer();
  EXPECT_EQ(game.u.enemigojefey, 500);  // not yet beyond 500
  EXPECT_EQ(game.heard.of("MediaPlayerufo").size(), 1u);
}

TEST(Meteor, WrapsBackInsideTheFieldOnItsLane) {
  const std::pair<int, int> cases[] = {{10, 20},   {65, 70},   {115, 125}, {250, 265},
                                       {270, 300}, {299, 300}, {5, 440}};
  for (const auto& [pick, lane] : cases) {
    Game game;
    game.u.meteorox = 700;
    game.u.numerito = pick;
    game.form1()->TimermeteoroTimer();
    EXPECT_EQ(game.u.meteorox, 100) << pick;
    EXPECT_EQ(game.u.meteoroy, lane) << pick;
  }
}

TEST(Meteor, IdleShipIsHitAfter52Ticks) {
  Game game;
  game.run_to(4600);
  const auto hits = game.heard.of("MediaPlayerex");
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(hits.front().first, 1000 + 52 * 50);
  EXPECT_EQ(game.form2()->Label3->Caption(), "4");
}

TEST(Meteor, DiscIsDrawnOverTheFieldAndTheMarginsThenWipedByTheNextRepaint) {
  Game game(true);
  TForm1& f = *game.form1();
  game.u.meteorox = 195;
  game.u.meteoroy = 465;  // the disc reaches into the bottom margin
  const std::uint32_t before = f.GetSurface().at(201, 470) & 0xFFFFFF;
  f.TimermeteoroTimer();
  EXPECT_EQ(f.GetSurface().at(205, 470) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(f.GetSurface().at(205, 473) & 0xFFFFFF, 0xFFFFFFu);  // over the silver margin
  EXPECT_EQ(f.GetSurface().at(201, 470) & 0xFFFFFF, 0xFFFFFFu);
  f.TimermeteoroTimer();
  EXPECT_EQ(f.GetSurface().at(201, 470) & 0xFFFFFF, before);
  EXPECT_EQ(f.GetSurface().at(210, 473) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(Speed, ChangesActOnTheNextTickAndKeepMultiplesOfFive) {
  Game game;
  TForm1& f = *game.form1();
  game.u.enemigo2y = 15;
  f.Timerenemigo2Timer();
  EXPECT_EQ(game.u.enemigo2y, 20);
  game.u.velocidad = 10;
  f.Timerenemigo2Timer();
  EXPECT_EQ(game.u.enemigo2y, 30);
}

}  // namespace
