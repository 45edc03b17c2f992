// What the playing field shows at the start, probed on a headless render.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "platform/picture_writers.h"
#include "platform/resources.h"

using namespace kv;

namespace {

std::uint32_t px(TForm& f, int x, int y) {
  return f.GetSurface().at(x, y) & 0xFFFFFF;
}

class StartScreen : public ::testing::Test {
 protected:
  Game game{true};
  TForm1& f = *game.form1();
};

TEST_F(StartScreen, WindowIsTheFixedSizePlayingField) {
  EXPECT_EQ(f.ClientWidth(), 674);
  EXPECT_EQ(f.ClientHeight(), 488);
  EXPECT_EQ(f.Caption(), "     KORVALEN BY MIRTOSKA SOFTWARE");
  EXPECT_EQ(game.project.Application.MainForm(), &f);
  EXPECT_EQ(game.project.Application.ActiveForm(), &f);
  EXPECT_FALSE(game.form2()->Visible());
}

TEST_F(StartScreen, MarginsBarsAndPanels) {
  struct Probe {
    int x, y;
    std::uint32_t rgb;
    const char* what;
  };
  const Probe probes[] = {
      {1, 200, 0xC0C0C0, "left margin"},     {78, 300, 0xC0C0C0, "left margin edge"},
      {300, 480, 0xC0C0C0, "bottom margin"}, {300, 3, 0x000000, "top bar"},
      {5, 5, 0x000000, "score box"},         {40, 300, 0x000000, "rank panel"},
      {30, 464, 0x000000, "no bar 0 shown"}, {30, 224, 0x000000, "no bar 30 shown"},
  };
  for (const Probe& p : probes) EXPECT_EQ(px(f, p.x, p.y), p.rgb) << p.what;
}

TEST_F(StartScreen, ScoreShowsZeroInLime) {
  EXPECT_EQ(f.Label2->Caption(), "0");
  int lime = 0;
  const Rect r = f.Label2->BoundsRect();
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) lime += px(f, x, y) == 0x00FF00;
  EXPECT_GT(lime, 5);
  EXPECT_EQ(f.Labelnivel->Caption(), "");
  for (TShape* bar : f.ShapeCARNET) EXPECT_FALSE(bar->Visible());
}

// The visible sprites show their pictures; their transparent pixels show the
// star field below.
TEST_F(StartScreen, SpritesDrawOverTheStarField) {
  const auto stars = embedded_picture("starfield");
  const RgbaImage& tile = stars->frames[0].image;
  struct Sprite {
    TImage* img;
    const char* picture;
  };
  for (const Sprite& s : {Sprite{f.Imagenave, "ship"}, Sprite{f.Imageenemigojefe, "boss"}}) {
    const RgbaImage& pic = embedded_picture(s.picture)->frames[0].image;
    int opaque = 0, see_through = 0;
    for (int y = 0; y < pic.height; ++y)
      for (int x = 0; x < pic.width; ++x) {
        const int sx = s.img->Left() + x, sy = s.img->Top() + y;
        if (sy >= 472 || sy < 9) continue;  // under the margins
        if (pic.at(x, y) >> 24) {
          EXPECT_EQ(px(f, sx, sy), pic.at(x, y) & 0xFFFFFF);
          ++opaque;
        } else {
          // The right-hand tiles (from x 376) lie over the left-hand ones.
          const int tx = sx >= 376 ? sx - 376 : sx - 80;
          const int ty = sy >= 184 ? sy - 184 : sy - 8;
          EXPECT_EQ(px(f, sx, sy), tile.at(tx, ty) & 0xFFFFFF);
          ++see_through;
        }
      }
    EXPECT_GT(opaque, 50) << s.picture;
    EXPECT_GT(see_through, 50) << s.picture;
  }
  EXPECT_EQ(f.Imagenave->Left(), 370);
  EXPECT_EQ(f.Imagenave->Top(), 440);
}

TEST_F(StartScreen, ParkedSpritesStartOutOfSight) {
  const Rect field{81, 10, 674, 472};  // cruiser 2 reaches down to row 9, a transparent one
  for (TImage* img : {f.Imageenemigo, f.Imageenemigo2, f.Imageenemigo3, f.Imageenemigo4,
                      f.Imageenemigo5, f.Imageenemigo6, f.Imageenemigop, f.Imageenemigop2})
    EXPECT_TRUE(img->BoundsRect().intersect(field).empty()) << img->Name();
  EXPECT_EQ(f.Imageenemigo3->Left(), 373);  // drawn there until its first wrap
}

TEST(StartUp, ClosingThePlayingFieldEndsTheProgramAtOnce) {
  Game game;
  game.backend.inject(500'000, {InputEvent::Kind::Close, nullptr, 0});
  game.run_to(10'000);
  EXPECT_TRUE(game.project.Application.Terminated());
  EXPECT_EQ(game.project.Application.Now(), 500'000);
  EXPECT_FALSE(game.form2()->Visible());
}

TEST(StartUp, ActivationStartsClockPickerAndTheme) {
  Game game;
  TForm1& f = *game.form1();
  EXPECT_TRUE(f.Timer1->Enabled());
  EXPECT_TRUE(f.Timernumerito->Enabled());
  for (TTimer* t :
       {f.Timermeteoro, f.Timerenemigop, f.Timerenemigo, f.Timerarriba, f.Timerdestruida})
    EXPECT_FALSE(t->Enabled()) << t->Name();
  EXPECT_EQ(game.heard.of("MediaPlayertema").size(), 1u);
  EXPECT_EQ(game.backend.sounds_started.size(), 1u);
}

}  // namespace

namespace {

// A picture with several frames plays them as an animation, on its own.
TEST(Pictures, AnimatedShipPictureChangesFrameOnTime) {
  const std::string file = ::testing::TempDir() + "korvalen_anim.gif";
  {
    kv::GifRecorder rec(file, 30, 30);
    std::vector<std::uint32_t> red(900, 0xFF0000), blue(900, 0x0000FF);
    rec.add_frame({red.data(), 30, 30, 30}, 10);
    rec.add_frame({blue.data(), 30, 30, 30}, 10);
    rec.finish();
  }
  Game game(true);
  TForm1& f = *game.form1();
  f.Imagenave->Picture()->LoadFromFile(file);
  game.run_to(50);
  EXPECT_EQ(f.GetSurface().at(385, 455) & 0xFFFFFF, 0xFF0000u);
  game.run_to(150);
  EXPECT_EQ(f.GetSurface().at(385, 455) & 0xFFFFFF, 0x0000FFu);
  game.run_to(250);
  EXPECT_EQ(f.GetSurface().at(385, 455) & 0xFFFFFF, 0xFF0000u);
}

}  // namespace
