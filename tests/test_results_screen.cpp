// The results screen: what it shows, the credit scroll and its activations.
#include <gtest/gtest.h>

#include "game_fixture.h"

using namespace kv;

namespace {

constexpr long long kHandOver = 4600;  // an idle game

class Results : public ::testing::Test {
 protected:
  void SetUp() override { game.run_to(kHandOver); }
  void reactivate(long long ms) {
    game.backend.inject(ms * 1000, {InputEvent::Kind::Deactivate, game.form2()->Port(), 0});
    game.backend.inject(ms * 1000, {InputEvent::Kind::Activate, game.form2()->Port(), 0});
  }
  Game game{true};
};

TEST_F(Results, ShowsGameOverThePointsAndTheFixedWindow) {
  TForm2& r = *game.form2();
  EXPECT_EQ(r.ClientWidth(), 677);
  EXPECT_EQ(r.ClientHeight(), 453);
  EXPECT_EQ(r.Caption(), "     KORVALEN BY MIRTOSKA SOFTWARE");
  auto lime_in = [&](const char* name) {
    const Rect b = r.Component<TLabel>(name)->BoundsRect();
    int n = 0;
    for (int y = b.top; y < b.bottom; ++y)
      for (int x = std::max(0, b.left); x < std::min(677, b.right); ++x)
        n += (r.GetSurface().at(x, y) & 0xFFFFFF) == 0x00FF00;
    return n;
  };
  EXPECT_GT(lime_in("Label1"), 200);  // GAME OVER, large
  EXPECT_GT(lime_in("Label3"), 5);    // the points
  EXPECT_EQ(r.Label3->Caption(), "4");
  EXPECT_EQ(r.Component<TLabel>("Label9")->Caption(), "Piloto por Telmadi");
}

TEST_F(Results, CreditLineScrollsOnePixelPerTickAndStopsAt400) {
  TForm2& r = *game.form2();
  game.run_to(kHandOver + 10);
  EXPECT_EQ(r.Label4->Left(), -199);
  game.run_to(kHandOver + 1000);
  EXPECT_EQ(r.Label4->Left(), -100);
  game.run_to(kHandOver + 6000);
  EXPECT_EQ(r.Label4->Left(), 400);
  EXPECT_FALSE(r.Timer1->Enabled());
  game.run_to(kHandOver + 9000);
  EXPECT_EQ(r.Label4->Left(), 400);
}

// Only equality with 400 stops the line, so once started again it runs away.
TEST_F(Results, ActivatedAgainAfterItStoppedTheLineLeavesTheWindow) {
  TForm2& r = *game.form2();
  game.run_to(kHandOver + 7000);
  reactivate(kHandOver + 7000);
  game.run_to(kHandOver + 7010);
  EXPECT_EQ(r.Label4->Left(), 401);
  game.run_to(kHandOver + 10000);
  EXPECT_EQ(r.Label4->Left(), 700);
  EXPECT_TRUE(r.Timer1->Enabled());
}

TEST_F(Results, ActivatedAgainWhileMovingChangesNothing) {
  TForm2& r = *game.form2();
  reactivate(kHandOver + 505);
  game.run_to(kHandOver + 1000);
  EXPECT_EQ(r.Label4->Left(), -100);  // the period was not restarted
}

TEST_F(Results, KeepsTheRankOfTheFirstActivation) {
  TForm2& r = *game.form2();
  r.Label8->SetCaption("Aprendiz");  // as if copied at the hand-over
  reactivate(kHandOver + 100);
  game.run_to(kHandOver + 100);
  EXPECT_EQ(r.Label8->Caption(), "Aprendiz");
}

TEST(ResultsClose, ClosingTheResultsScreenEndsTheProgram) {
  Game game;
  game.run_to(kHandOver);
  game.backend.inject((kHandOver + 300) * 1000, {InputEvent::Kind::Close, nullptr, 0});
  game.run_to(kHandOver + 1000);
  EXPECT_TRUE(game.project.Application.Terminated());
}

TEST(ResultsRank, CopiesTheRankReachedAtTheHandOver) {
  Game game;
  TForm1& f = *game.form1();
  for (int s = 0; s < 20; ++s) f.Timer1Timer();  // the clock at 20 s: "Prácticas"
  f.TimerdestruidaTimer();
  EXPECT_EQ(game.form2()->Label8->Caption(),
            "Pr\xE1"
            "cticas");
  EXPECT_EQ(game.form2()->Label3->Caption(), "20");
  EXPECT_EQ(game.form1(), nullptr);
}

// ---- The sound cues

TEST(Cues, StillPlayingIsNotRestartedFinishedIsAndCuesOverlap) {
  Game game;
  TForm2& r = *game.form2();
  auto starts = [&](const std::string& file) {
    int n = 0;
    for (const auto& s : game.backend.sounds_started) n += s.second == file;
    return n;
  };
  const Micros beep = r.MediaPlayerbeep->Length();
  ASSERT_GT(beep, 0);
  r.MediaPlayerbeep->Play();
  r.MediaPlayerex->Play();
  EXPECT_EQ(starts("sfx/spacebeep.wav"), 1);
  EXPECT_EQ(starts("sfx/ex.wav"), 1);
  EXPECT_TRUE(r.MediaPlayertema->Playing());  // the theme goes on under both
  game.backend.busy_for(beep - 1);
  r.MediaPlayerbeep->Play();
  EXPECT_EQ(starts("sfx/spacebeep.wav"), 1);
  game.backend.busy_for(1);
  r.MediaPlayerbeep->Play();
  EXPECT_EQ(starts("sfx/spacebeep.wav"), 2);
}

TEST(Cues, ThemeIsNotStoppedAtTheHandOverAndDoesNotLoop) {
  Game game;
  TForm2& r = *game.form2();
  game.run_to(kHandOver);
  EXPECT_TRUE(r.MediaPlayertema->Playing());
  game.backend.busy_for(r.MediaPlayertema->Length() - game.backend.now());
  EXPECT_FALSE(r.MediaPlayertema->Playing());
}

TEST(Cues, PlayOnAClosedPlayerIsAnError) {
  Game game;
  TMediaPlayer& p = *game.form2()->MediaPlayerufo;
  p.Close();
  EXPECT_THROW(p.Play(), EMCIDeviceError);
}

}  // namespace
