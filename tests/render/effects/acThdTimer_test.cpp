// The threaded timer: ticks arrive on the user-interface thread, a new
// interval waits for the wait in progress, switching the timer off parks
// its thread, and the animation shapes tick into their own operation.
#include "render/effects/acThdTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "tests/render/effects/EffectsFixture.h"

namespace translit {
namespace {

using test::PumpFor;
using test::PumpUntil;

class ThreadedTimer : public ::testing::Test {
 protected:
  void SetUp() override { fw::EnsureApplication().Initialize(); }
};

TEST_F(ThreadedTimer, TicksRunOnTheUserInterfaceThreadWithTheTimerAsSender) {
  TacThreadedTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_EQ(timer.ThreadPriority(), fw::tpNormal);
  std::vector<DWORD> threads;
  timer.SetInterval(15);
  timer.SetOnTimer([&](fw::TComponent* sender) {
    EXPECT_EQ(sender, &timer);
    threads.push_back(::GetCurrentThreadId());
  });
  ASSERT_TRUE(PumpUntil([&] { return threads.size() >= 3; }, 5000));
  for (DWORD id : threads) EXPECT_EQ(id, ::GetCurrentThreadId());
}

TEST_F(ThreadedTimer, ANewIntervalTakesEffectAfterTheWaitInProgress) {
  TacThreadedTimer timer(nullptr);
  std::vector<DWORD> ticks;
  timer.SetInterval(400);
  const DWORD start = ::GetTickCount();
  timer.SetOnTimer([&](fw::TComponent*) { ticks.push_back(::GetTickCount() - start); });
  PumpFor(60);
  ASSERT_TRUE(ticks.empty());
  // The wait of 400 ms began before this change and runs to its end.
  timer.SetInterval(20);
  ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= 4; }, 5000));
  EXPECT_GE(ticks[0], 350u) << "the first tick came after " << ticks[0] << " ms";
  // From then on the short interval: three more ticks well within what
  // three long waits would take.
  EXPECT_LT(ticks[3] - ticks[0], 1000u) << ticks[0] << " .. " << ticks[3];
}

TEST_F(ThreadedTimer, SwitchedOffOrWithoutHandlerItDoesNotTick) {
  TacThreadedTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(10);
  timer.SetOnTimer([&](fw::TComponent*) { ++ticks; });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }, 5000));

  timer.SetEnabled(false);
  PumpFor(30);  // a tick already handed over may still arrive
  int parked = ticks;
  PumpFor(150);
  EXPECT_EQ(ticks, parked);

  // Running again starts a new wait with the current interval.
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= parked + 2; }, 5000));

  timer.SetOnTimer(nullptr);
  PumpFor(30);
  parked = ticks;
  PumpFor(150);
  EXPECT_EQ(ticks, parked);

  timer.SetInterval(0);
  timer.SetOnTimer([&](fw::TComponent*) { ++ticks; });
  PumpFor(150);
  EXPECT_EQ(ticks, parked);
}

// A shape of the form animations: owner remembered, own tick installed.
class TShapeTimer : public TacHideTimer {
 public:
  explicit TShapeTimer(void* owner) : TacHideTimer(owner) {}
  int ticks = 0;
  int nested = 0;
  bool pumpInside = false;

 protected:
  void Tick() override {
    ++ticks;
    if (InHandler) ++nested;
    // A tick that handles messages must not see another tick inside it.
    if (pumpInside) PumpFor(60);
  }
};

TEST_F(ThreadedTimer, AnimationShapesStartDisabledAndTickIntoTheirOwnOperation) {
  int owner = 0;
  TShapeTimer timer(&owner);
  EXPECT_EQ(timer.AnimationOwner(), &owner);
  EXPECT_FALSE(timer.Enabled());
  ASSERT_TRUE(timer.OnTimer) << "the shape's own tick is the handler";
  timer.SetInterval(10);
  PumpFor(80);
  EXPECT_EQ(timer.ticks, 0);

  timer.pumpInside = true;
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return timer.ticks >= 3; }, 5000));
  EXPECT_EQ(timer.nested, 3) << "every tick ran with the in-handler flag set";
  EXPECT_FALSE(timer.InHandler);

  timer.InstallTick(false);
  PumpFor(30);
  const int parked = timer.ticks;
  PumpFor(100);
  EXPECT_EQ(timer.ticks, parked);
}

TEST_F(ThreadedTimer, AStoredLayoutSetsItsPropertiesAndHandler) {
  InstallEffects();
  int ticks = 0;
  fw::TForm form(fw::Application);
  form.PublishMethod("TimerTick", [&](fw::TComponent*) { ++ticks; });
  form.LoadLayoutText(R"(object F: TForm
  object acThreadedTimer1: TacThreadedTimer
    Interval = 20
    ThreadPriority = tpHigher
    OnTimer = TimerTick
  end
  object acThreadedTimer2: TacThreadedTimer
    Enabled = False
    OnTimer = TimerTick
  end
end)");
  auto* timer = dynamic_cast<TacThreadedTimer*>(form.FindComponent("acThreadedTimer1"));
  auto* idle = dynamic_cast<TacThreadedTimer*>(form.FindComponent("acThreadedTimer2"));
  ASSERT_NE(timer, nullptr);
  ASSERT_NE(idle, nullptr);
  EXPECT_EQ(timer->Interval(), 20u);
  EXPECT_EQ(timer->ThreadPriority(), fw::tpHigher);
  EXPECT_FALSE(idle->Enabled());
  EXPECT_EQ(idle->Interval(), 1000u);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }, 5000));
  timer->SetEnabled(false);
}

// A shape whose tick fails every time it is asked to.
class TFailingShapeTimer : public TacHideTimer {
 public:
  explicit TFailingShapeTimer(void* owner) : TacHideTimer(owner) {}
  int ticks = 0;
  int failFirst = 0;

 protected:
  void Tick() override {
    if (++ticks <= failFirst) throw fw::Exception("tick " + std::to_string(ticks) + " failed");
  }
};

// A failing tick goes to the application's handler on the user-interface
// thread, and the timer goes on ticking: the hide timer is made once per
// process, so one bad frame must not stop every later hide.
TEST_F(ThreadedTimer, AFailingTickIsReportedAndTheTimerGoesOn) {
  std::vector<std::string> reported;
  std::vector<DWORD> reportThreads;
  fw::Application->OnException = [&](const std::exception_ptr& e) {
    reported.push_back(fw::ExceptionMessage(e));
    reportThreads.push_back(::GetCurrentThreadId());
  };
  struct RestoreHandler {
    ~RestoreHandler() { fw::Application->OnException = nullptr; }
  } restore;

  {
    TacThreadedTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(10);
    timer.SetOnTimer([&](fw::TComponent*) {
      if (++ticks == 1) throw fw::Exception("first tick failed");
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 4; }, 5000)) << "ticks after the failure: " << ticks - 1;
    timer.SetEnabled(false);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "first tick failed");
    EXPECT_EQ(reportThreads[0], ::GetCurrentThreadId());
  }

  reported.clear();
  int owner = 0;
  TFailingShapeTimer shape(&owner);
  shape.failFirst = 2;
  shape.SetInterval(10);
  shape.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return shape.ticks >= 5; }, 5000)) << "shape ticks: " << shape.ticks;
  shape.SetEnabled(false);
  EXPECT_EQ(reported, (std::vector<std::string>{"tick 1 failed", "tick 2 failed"}));
  EXPECT_FALSE(shape.InHandler) << "a failed tick left the in-handler flag set";
}

TEST_F(ThreadedTimer, FreedWhileTicksAreUnderwayNothingRunsAfterwards) {
  int ticks = 0;
  for (int i = 0; i < 20; ++i) {
    auto timer = std::make_unique<TacThreadedTimer>(nullptr);
    timer->SetInterval(1);
    timer->SetOnTimer([&](fw::TComponent*) { ++ticks; });
    ::Sleep(5);  // ticks are now waiting to be handed over
    timer.reset();
  }
  const int after = ticks;
  PumpFor(100);
  EXPECT_EQ(ticks, after);
}

}  // namespace
}  // namespace translit
