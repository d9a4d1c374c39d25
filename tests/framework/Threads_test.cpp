// Timers and worker threads on the user-interface thread's message loop.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include <windows.h>

#include "framework/Application.h"
#include "framework/core/SysUtils.h"
#include "framework/Threads.h"
#include "framework/Timer.h"
#include "tests/support/GuiPump.h"

namespace {

using testing_gui::PumpUntil;

TEST(Timer, TicksWhileEnabledAndStopsWhenDisabled) {
  fw::EnsureApplication().Initialize();
  fw::TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(20);
  timer.SetOnTimer([&](fw::TComponent* sender) {
    EXPECT_EQ(sender, &timer);
    ++ticks;
  });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }, 5000));
  timer.SetEnabled(false);
  int stopped = ticks;
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(ticks, stopped);
}

class Counter : public fw::TThread {
 public:
  std::vector<DWORD> threads;
  std::atomic<int> steps{0};

 protected:
  void Execute() override {
    for (int i = 0; i < 5 && !Terminated(); ++i) {
      // The work runs on the main thread; the worker waits for it.
      Synchronize([this] { threads.push_back(::GetCurrentThreadId()); });
      ++steps;
    }
  }
};

TEST(Thread, SynchronizedWorkRunsOnTheMainThreadInOrder) {
  fw::EnsureApplication().Initialize();
  Counter worker;
  worker.Start();
  ASSERT_TRUE(PumpUntil([&] { return worker.Finished(); }, 10000));
  worker.WaitFor();
  EXPECT_EQ(worker.steps, 5);
  ASSERT_EQ(worker.threads.size(), 5u);
  for (DWORD id : worker.threads) EXPECT_EQ(id, ::GetCurrentThreadId());
}

class Failing : public fw::TThread {
 protected:
  void Execute() override {
    Synchronize([] { throw fw::Exception("from the main thread"); });
  }
};

TEST(Thread, ExceptionsComeBackToTheirThread) {
  fw::EnsureApplication().Initialize();
  Failing worker;
  worker.Start();
  worker.WaitFor();  // runs the synchronised work while it waits
  ASSERT_TRUE(worker.FatalException());
  EXPECT_EQ(fw::ExceptionMessage(worker.FatalException()), "from the main thread");
}

}  // namespace
