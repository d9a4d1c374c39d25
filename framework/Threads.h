// Worker threads in the framework's style: Execute runs on a thread of its
// own; Synchronize hands a piece of work to the user-interface thread, which
// runs it from its message loop, and waits until it has run.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace fw {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread {
 public:
  TThread();
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts Execute on a new thread.
  void Start();
  // Asks Execute to stop; Execute looks at Terminated().
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // Waits for Execute to end (running synchronised work meanwhile when
  // called on the user-interface thread).
  void WaitFor();
  bool Finished() const { return FFinished; }
  // The exception Execute ended with, if any.
  std::exception_ptr FatalException() const { return FFatal; }

  // Runs work on the user-interface thread and waits for it; run at once
  // when called there.
  static void Synchronize(const std::function<void()>& work);
  // Runs the synchronised work that is waiting; true when there was some.
  // The message loop calls it; so may code that waits on the main thread.
  static bool CheckSynchronize();
  // The thread the framework treats as the user-interface thread.
  static void SetMainThread();

 protected:
  virtual void Execute() = 0;

 private:
  std::thread FThread;
  volatile bool FTerminated = false;
  volatile bool FFinished = false;
  std::exception_ptr FFatal;
};

}  // namespace fw
