// The message loop's timer rules on the virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/headless/headless_backend.h"

using namespace kv;

namespace {

// A form with two timers and a log of what ran when.
class Bench : public TForm {
 public:
  explicit Bench(TApplication& app);
  void ATimer() {
    log("A");
    if (on_a) on_a();
  }
  void BTimer() {
    log("B");
    if (on_b) on_b();
  }
  void KeyDown(std::uint16_t& key, TShiftState) { log("key" + std::to_string(key)); }
  void log(const std::string& what) {
    ticks.push_back(what + "@" + std::to_string(Application().Now() / 1000));
  }

  TTimer* A = Component<TTimer>("A");
  TTimer* B = Component<TTimer>("B");
  std::function<void()> on_a, on_b;
  std::vector<std::string> ticks;
};

const ComponentDef kBench[] = {
    timer("A", 100, handler(&Bench::ATimer)),
    timer("B", 100, handler(&Bench::BTimer)),
};
const FormDef kBenchForm{.caption = "bench",
                         .client_width = 10,
                         .client_height = 10,
                         .on_key_down = key_handler(&Bench::KeyDown),
                         .components = kBench};

Bench::Bench(TApplication& app) : TForm(app, kBenchForm) {}

class TimerRules : public ::testing::Test {
 protected:
  void SetUp() override {
    form = app.CreateForm<Bench>();
    app.Start();
  }
  void run_to(Micros ms) {
    while (std::min(app.NextDue(), backend.next_input()) <= ms * 1000) app.ProcessInstant();
  }
  HeadlessBackend backend{false};
  TApplication app{backend};
  Bench* form = nullptr;
};

TEST_F(TimerRules, FirstTickComesOneIntervalAfterSwitchingOn) {
  form->A->SetEnabled(true);
  run_to(350);
  EXPECT_EQ(form->ticks, (std::vector<std::string>{"A@100", "A@200", "A@300"}));
}

TEST_F(TimerRules, SwitchingOnARunningTimerKeepsItsPhase) {
  form->A->SetEnabled(true);
  form->B->SetInterval(50);
  form->B->SetEnabled(true);
  form->on_b = [&] { form->A->SetEnabled(true); };
  form->on_a = [&] { form->B->SetEnabled(false); };
  run_to(250);
  EXPECT_EQ(form->ticks, (std::vector<std::string>{"B@50", "A@100", "A@200"}));
}

TEST_F(TimerRules, SwitchingOffAndOnStartsAFreshPeriod) {
  form->A->SetEnabled(true);
  form->B->SetInterval(30);
  form->B->SetEnabled(true);
  int b_ticks = 0;
  form->on_b = [&] {
    ++b_ticks;
    if (b_ticks == 5) form->A->SetEnabled(false);  // at 150
    if (b_ticks == 6) {                            // at 180
      form->A->SetEnabled(true);
      form->B->SetEnabled(false);
    }
  };
  run_to(400);
  std::vector<std::string> a;
  for (const auto& t : form->ticks)
    if (t[0] == 'A') a.push_back(t);
  EXPECT_EQ(a, (std::vector<std::string>{"A@100", "A@280", "A@380"}));
}

TEST_F(TimerRules, TicksDoNotPileUpWhileTheThreadIsBusy) {
  form->A->SetInterval(10);
  form->A->SetEnabled(true);
  form->B->SetEnabled(true);
  int a_ticks = 0;
  form->on_a = [&] {
    if (++a_ticks == 1) backend.busy_for(35'000);  // from 10 to 45
  };
  run_to(70);
  // One merged tick at 45 for the periods due at 20, 30 and 40; then the
  // original phase again.
  EXPECT_EQ(form->ticks, (std::vector<std::string>{"A@10", "A@45", "A@50", "A@60", "A@70"}));
}

TEST_F(TimerRules, SameInstantTicksFollowCreationOrderAndSkipTimersSwitchedOff) {
  form->B->SetEnabled(true);
  form->A->SetEnabled(true);
  form->on_a = [&] {
    if (app.Now() == 200'000) form->B->SetEnabled(false);
  };
  run_to(300);
  EXPECT_EQ(form->ticks, (std::vector<std::string>{"A@100", "B@100", "A@200", "A@300"}));
}

TEST_F(TimerRules, InputAtAnInstantComesBeforeItsTicks) {
  form->A->SetEnabled(true);
  backend.inject(100'000, {InputEvent::Kind::Key, nullptr, 38});
  run_to(100);
  EXPECT_EQ(form->ticks, (std::vector<std::string>{"key38@100", "A@100"}));
}

TEST_F(TimerRules, ADisposedFormsTimersNeverTickAgain) {
  form->A->SetEnabled(true);
  form->B->SetEnabled(true);
  // The log dies with the form, so it is read just before the form goes.
  std::vector<std::string> ticks;
  form->on_a = [&] {
    ticks = form->ticks;
    form->Free();
  };
  run_to(300);
  EXPECT_EQ(ticks, (std::vector<std::string>{"A@100"}));
  EXPECT_EQ(app.NextDue(), kNever);
}

TEST_F(TimerRules, AnErrorStopsOnlyTheRestOfItsHandler) {
  form->A->SetEnabled(true);
  bool rest_ran = false;
  form->on_a = [&] {
    throw EInvalidGraphic("nave.gif: file not found");
    rest_ran = true;
  };
  run_to(250);
  EXPECT_FALSE(rest_ran);
  ASSERT_EQ(backend.errors.size(), 2u);
  EXPECT_EQ(backend.errors[0].second, "nave.gif: file not found");
  EXPECT_TRUE(form->A->Enabled());
}

}  // namespace
