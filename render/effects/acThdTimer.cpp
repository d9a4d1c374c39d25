// The threaded timer and its waiting thread.
#include <windows.h>  // first: the platform headers rename RegisterClass for all that follows

#include "render/effects/acThdTimer.h"

#include <chrono>

#include "framework/Application.h"
#include "framework/ClassRegistry.h"

namespace translit {

namespace {

int PlatformPriority(fw::TThreadPriority p) {
  switch (p) {
    case fw::tpIdle:
      return THREAD_PRIORITY_IDLE;
    case fw::tpLowest:
      return THREAD_PRIORITY_LOWEST;
    case fw::tpLower:
      return THREAD_PRIORITY_BELOW_NORMAL;
    case fw::tpHigher:
      return THREAD_PRIORITY_ABOVE_NORMAL;
    case fw::tpHighest:
      return THREAD_PRIORITY_HIGHEST;
    case fw::tpTimeCritical:
      return THREAD_PRIORITY_TIME_CRITICAL;
    default:
      return THREAD_PRIORITY_NORMAL;
  }
}

bool ApplicationTerminating() { return fw::Application && fw::Application->Terminated(); }

}  // namespace

// ---- TacTimerThread

TacTimerThread::TacTimerThread(TacThreadedTimer& timer, unsigned intervalMs, fw::TThreadPriority priority)
    : FTimer(timer), FInterval(intervalMs), FPriority(priority) {}

TacTimerThread::~TacTimerThread() {
  Stop();
  WaitFor();
}

void TacTimerThread::Configure(unsigned intervalMs, fw::TThreadPriority priority, bool running) {
  {
    std::lock_guard lock(FLock);
    FInterval = intervalMs;
    if (priority != FPriority) {
      FPriority = priority;
      FPriorityChanged = true;
    }
    if (running && !FRunning) FRestart = true;
    FRunning = running;
  }
  FWake.notify_all();
}

void TacTimerThread::Stop() {
  {
    std::lock_guard lock(FLock);
    FStop = true;
  }
  FWake.notify_all();
}

void TacTimerThread::Execute() {
  using Clock = std::chrono::steady_clock;
  std::unique_lock lock(FLock);
  bool waiting = false;
  Clock::time_point deadline;
  while (!FStop && !Terminated() && !FApplicationEnded) {
    if (FPriorityChanged) {
      FPriorityChanged = false;
      ::SetThreadPriority(::GetCurrentThread(), PlatformPriority(FPriority));
    }
    if (!FRunning) {
      // Parked until the timer runs again (or ends).
      FWake.wait(lock, [this] { return FStop || FRunning || FPriorityChanged; });
      waiting = false;
      continue;
    }
    if (FRestart || !waiting) {
      FRestart = false;
      waiting = true;
      deadline = Clock::now() + std::chrono::milliseconds(FInterval);
    }
    // The wait in progress keeps its deadline through changes of the
    // interval; only parking and the end interrupt it.
    if (FWake.wait_until(lock, deadline, [this] { return FStop || !FRunning || FRestart || FPriorityChanged; }))
      continue;
    waiting = false;
    lock.unlock();
    Synchronize([this] {
      if (ApplicationTerminating()) {
        FApplicationEnded = true;
        return;
      }
      // A failing tick is reported like any failure of the user-interface
      // thread; letting it reach this thread would end it, and the timer
      // would never tick again.
      try {
        FTimer.ThreadTick();
      } catch (...) {
        fw::HandleCurrentException();
      }
    });
    lock.lock();
  }
}

// ---- TacThreadedTimer

TacThreadedTimer::TacThreadedTimer(fw::TComponent* owner) : fw::TComponent(owner) {
  if (ApplicationTerminating()) return;
  FEnabled = true;
  FInterval = 1000;
  StartThread();
}

TacThreadedTimer::TacThreadedTimer(fw::TComponent* owner, void* animationOwner, bool installTick)
    : fw::TComponent(owner), FAnimationOwner(animationOwner) {
  if (installTick) InstallTick(true);
  StartThread();
}

TacThreadedTimer::~TacThreadedTimer() {
  // A tick handed over while the thread ends finds the timer going.
  FDestroying = true;
  FThread.reset();
}

void TacThreadedTimer::InstallTick(bool on) {
  if (!on) {
    SetOnTimer(nullptr);
    return;
  }
  SetOnTimer([this](fw::TComponent*) {
    if (InHandler) return;
    InHandler = true;
    try {
      Tick();
    } catch (...) {
      InHandler = false;
      throw;
    }
    InHandler = false;
  });
}

void TacThreadedTimer::StartThread() {
  FThread = std::make_unique<TacTimerThread>(*this, FInterval, FPriority);
  UpdateThread();
  FThread->Start();
}

void TacThreadedTimer::UpdateThread() {
  if (FThread) FThread->Configure(FInterval, FPriority, FInterval != 0 && FEnabled && OnTimer);
}

void TacThreadedTimer::SetEnabled(bool v) {
  FEnabled = v;
  UpdateThread();
}

void TacThreadedTimer::SetInterval(unsigned ms) {
  FInterval = ms;
  UpdateThread();
}

void TacThreadedTimer::SetOnTimer(fw::TNotifyEvent e) {
  OnTimer = std::move(e);
  UpdateThread();
}

void TacThreadedTimer::SetThreadPriority(fw::TThreadPriority p) {
  FPriority = p;
  UpdateThread();
}

void TacThreadedTimer::ThreadTick() {
  // A tick that was on its way when the timer stopped is dropped.
  if (FDestroying || !FEnabled || FInterval == 0 || !OnTimer) return;
  // A handler may replace or remove itself while it runs.
  const fw::TNotifyEvent handler = OnTimer;
  handler(this);
}

void RegisterThreadedTimerClass() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::RegisterClass<TacThreadedTimer>("TacThreadedTimer", "TComponent")
      .Bool("Enabled", &TacThreadedTimer::SetEnabled, true)
      .Integer("Interval", &TacThreadedTimer::SetInterval, 1000)
      .Event("OnTimer", &TacThreadedTimer::SetOnTimer)
      .Enum("ThreadPriority", &TacThreadedTimer::SetThreadPriority,
            {{"tpIdle", fw::tpIdle},
             {"tpLowest", fw::tpLowest},
             {"tpLower", fw::tpLower},
             {"tpNormal", fw::tpNormal},
             {"tpHigher", fw::tpHigher},
             {"tpHighest", fw::tpHighest},
             {"tpTimeCritical", fw::tpTimeCritical}},
            "tpNormal");
}

}  // namespace translit
