// The light timers: the three states and every rule of writing Active, Period and OnTick, against the
// manual clock; the shared window lives from the first timer to the last.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "tray/SimpleTimer.h"

namespace {

class SimpleTimerTest : public ::testing::Test {
protected:
  TTestApplication Env;
  std::vector<uint64_t> Ticks;
  std::unique_ptr<TSimpleTimer> Make(uint32_t period) {
    return TSimpleTimer::CreateWithPeriod(period, [this](TObject*) { Ticks.push_back(Env.Widgets.Now()); });
  }
};

TEST_F(SimpleTimerTest, StoppedRunningAndSuspendedFollowTheWritingRules) {
  auto timer = Make(0);
  timer->SetActive(true);  // a period of 0 never runs
  EXPECT_FALSE(timer->Active());
  timer->SetPeriod(100);
  EXPECT_FALSE(timer->Active());  // a new period does not start a stopped timer
  timer->SetActive(true);
  Env.Widgets.Advance(250);
  EXPECT_EQ(Ticks, (std::vector<uint64_t>{100, 200}));

  timer->SetPeriod(0);  // suspended: Active stays, nothing ticks
  EXPECT_TRUE(timer->Active());
  Env.Widgets.Advance(500);
  EXPECT_EQ(Ticks.size(), 2u);
  timer->SetPeriod(500);  // running again with the new period
  Env.Widgets.Advance(500);
  EXPECT_EQ(Ticks.back(), 1250u);

  timer->SetOnTick(nullptr);  // suspended; a handler alone does not restart it
  EXPECT_TRUE(timer->Active());
  timer->SetOnTick([this](TObject*) { Ticks.push_back(Env.Widgets.Now()); });
  Env.Widgets.Advance(1000);
  EXPECT_EQ(Ticks.back(), 1250u);
  timer->SetActive(true);
  Env.Widgets.Advance(500);
  EXPECT_EQ(Ticks.back(), 2750u);

  timer->SetActive(false);
  Env.Widgets.Advance(1000);
  EXPECT_EQ(Ticks.back(), 2750u);
  EXPECT_EQ(Env.Widgets.TimerCount(), 0u);
}

TEST_F(SimpleTimerTest, RestartsBeginAFullPeriodAndAnEqualPeriodChangesNothing) {
  auto timer = Make(100);
  timer->SetActive(true);
  Env.Widgets.Advance(60);
  timer->SetPeriod(100);  // the same value: the countdown goes on
  Env.Widgets.Advance(40);
  EXPECT_EQ(Ticks, std::vector<uint64_t>{100});
  Env.Widgets.Advance(60);
  timer->SetActive(true);  // a restart: a fresh full period from 160
  Env.Widgets.Advance(100);
  EXPECT_EQ(Ticks, (std::vector<uint64_t>{100, 260}));
  EXPECT_TRUE(timer->StopTimer(true));
  EXPECT_FALSE(timer->StopTimer(true));
}

TEST_F(SimpleTimerTest, TimersShareOneWindowFromTheFirstToTheLastAndTickApart) {
  const size_t before = Env.Widgets.WindowCount();
  auto a = Make(100), b = Make(100);
  EXPECT_EQ(Env.Widgets.WindowCount(), before + 1);
  std::vector<TObject*> senders;
  a->SetOnTick([&](TObject* s) { senders.push_back(s); });
  b->SetOnTick([&](TObject* s) { senders.push_back(s); });
  a->SetActive(true);
  Env.Widgets.Advance(50);
  b->SetActive(true);
  Env.Widgets.Advance(100);
  EXPECT_EQ(senders, (std::vector<TObject*>{a.get(), b.get()}));
  a.reset();
  Env.Widgets.Advance(100);
  EXPECT_EQ(senders.back(), b.get());
  b.reset();
  EXPECT_EQ(SharedTimerHandler(), nullptr);
  EXPECT_EQ(Env.Widgets.WindowCount(), before);
  auto c = Make(10);
  EXPECT_NE(SharedTimerHandler(), nullptr);
  EXPECT_EQ(Env.Widgets.WindowCount(), before + 1);
}

}  // namespace
