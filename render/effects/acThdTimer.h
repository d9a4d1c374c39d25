// A timer whose waiting happens on a thread of its own: the thread sleeps
// for the interval and hands each tick to the user-interface thread, where
// OnTimer runs. Unlike a message timer it ticks on time while the
// user-interface thread is busy elsewhere (ticks wait for the next message
// processing, but are not merged or dropped by the system). The form
// animations use the subclass shapes at the end, which remember an owner
// and bring their own tick.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "framework/Components.h"
#include "framework/Threads.h"

namespace translit {

class TacThreadedTimer;

// The waiting thread. Its settings are handed over under a lock; it is never
// suspended by force (a thread stopped in the middle of handing a tick over
// would hold the hand-over's lock), it parks itself instead.
class TacTimerThread : public fw::TThread {
 public:
  TacTimerThread(TacThreadedTimer& timer, unsigned intervalMs, fw::TThreadPriority priority);
  ~TacTimerThread() override;

  // From the user-interface thread. A new interval is used from the next
  // wait on; a thread that starts running again after being parked starts a
  // new wait.
  void Configure(unsigned intervalMs, fw::TThreadPriority priority, bool running);
  // Signals the thread to end; the destructor waits for it.
  void Stop();

 protected:
  void Execute() override;

 private:
  TacThreadedTimer& FTimer;
  std::mutex FLock;
  std::condition_variable FWake;
  unsigned FInterval;
  fw::TThreadPriority FPriority;
  bool FPriorityChanged = true;
  bool FRunning = false;
  bool FRestart = false;
  bool FStop = false;
  std::atomic<bool> FApplicationEnded{false};
};

class TacThreadedTimer : public fw::TComponent {
 public:
  explicit TacThreadedTimer(fw::TComponent* owner);
  ~TacThreadedTimer() override;
  const char* ClassName() const override { return "TacThreadedTimer"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  fw::TNotifyEvent OnTimer;
  void SetOnTimer(fw::TNotifyEvent e);
  fw::TThreadPriority ThreadPriority() const { return FPriority; }
  void SetThreadPriority(fw::TThreadPriority p);

  // Set while a subclass's own tick runs, so that a tick handed over while
  // it processes messages does not run inside it.
  bool InHandler = false;

  // Runs on the user-interface thread for every tick of the thread.
  void ThreadTick();

 protected:
  // The subclasses' constructor: the timer starts disabled, remembers the
  // object it works for and, with installTick, ticks into Tick.
  TacThreadedTimer(fw::TComponent* owner, void* animationOwner, bool installTick);
  // A subclass's tick.
  virtual void Tick() {}
  // Makes Tick the handler (on), or removes the handler (off).
  void InstallTick(bool on);
  void* AnimationOwner() const { return FAnimationOwner; }

 private:
  void StartThread();
  // The thread runs exactly while there is something to call.
  void UpdateThread();

  bool FEnabled = false;
  unsigned FInterval = 1000;
  fw::TThreadPriority FPriority = fw::tpNormal;
  void* FAnimationOwner = nullptr;
  bool FDestroying = false;
  std::unique_ptr<TacTimerThread> FThread;
};

// Lets stored layouts create threaded timers and set their properties.
void RegisterThreadedTimerClass();

// The shapes the form animations derive from: each remembers what it
// animates and ticks into its own Tick.
class TacHideTimer : public TacThreadedTimer {
 public:
  explicit TacHideTimer(void* animationOwner) : TacThreadedTimer(nullptr, animationOwner, true) {}
  const char* ClassName() const override { return "TacHideTimer"; }
  using TacThreadedTimer::AnimationOwner;
  using TacThreadedTimer::InstallTick;
};

class TacMoveTimer : public TacThreadedTimer {
 public:
  explicit TacMoveTimer(void* animationOwner) : TacThreadedTimer(nullptr, animationOwner, true) {}
  const char* ClassName() const override { return "TacMoveTimer"; }
  using TacThreadedTimer::AnimationOwner;
  using TacThreadedTimer::InstallTick;
};

class TacMinTimer : public TacThreadedTimer {
 public:
  explicit TacMinTimer(void* animationOwner) : TacThreadedTimer(nullptr, animationOwner, true) {}
  const char* ClassName() const override { return "TacMinTimer"; }
  using TacThreadedTimer::AnimationOwner;
  using TacThreadedTimer::InstallTick;
};

}  // namespace translit
