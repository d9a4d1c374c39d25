// Worker threads and the hand-over of work to the user-interface thread.
#include "framework/Threads.h"

#include <windows.h>

#include <deque>

#include "framework/Application.h"

namespace fw {
namespace {

struct SyncRequest {
  std::function<void()> work;
  bool done = false;
  std::exception_ptr error;
};

std::mutex gSyncMutex;
std::condition_variable gSyncDone;
std::deque<SyncRequest*> gSyncQueue;
DWORD gMainThreadId = ::GetCurrentThreadId();

// Wakes the main thread's message loop so that it looks at the queue.
void WakeMainThread() {
  // Through the application window when there is one: every message loop,
  // a system dialog's too, dispatches it, and the window runs the work.
  if (Application && Application->HandleAllocated())
    ::PostMessageA(Application->Handle(), WM_NULL, 0, 0);
  else
    ::PostThreadMessageA(gMainThreadId, WM_NULL, 0, 0);
}

}  // namespace

TThread::TThread() = default;

TThread::~TThread() {
  if (FThread.joinable()) {
    Terminate();
    WaitFor();
  }
}

void TThread::SetMainThread() { gMainThreadId = ::GetCurrentThreadId(); }

void TThread::Start() {
  FThread = std::thread([this] {
    try {
      Execute();
    } catch (...) {
      FFatal = std::current_exception();
    }
    FFinished = true;
    WakeMainThread();
  });
}

void TThread::WaitFor() {
  if (!FThread.joinable()) return;
  if (::GetCurrentThreadId() == gMainThreadId) {
    // A worker may be waiting in Synchronize for this very thread.
    while (!FFinished) {
      if (!CheckSynchronize()) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  FThread.join();
}

void TThread::Synchronize(const std::function<void()>& work) {
  if (::GetCurrentThreadId() == gMainThreadId) {
    work();
    return;
  }
  SyncRequest request;
  request.work = work;
  {
    std::unique_lock lock(gSyncMutex);
    gSyncQueue.push_back(&request);
  }
  WakeMainThread();
  std::unique_lock lock(gSyncMutex);
  gSyncDone.wait(lock, [&] { return request.done; });
  if (request.error) std::rethrow_exception(request.error);
}

bool TThread::CheckSynchronize() {
  if (::GetCurrentThreadId() != gMainThreadId) return false;
  bool any = false;
  for (;;) {
    SyncRequest* request;
    {
      std::lock_guard lock(gSyncMutex);
      if (gSyncQueue.empty()) break;
      request = gSyncQueue.front();
      gSyncQueue.pop_front();
    }
    any = true;
    try {
      request->work();
    } catch (...) {
      request->error = std::current_exception();
    }
    {
      std::lock_guard lock(gSyncMutex);
      request->done = true;
    }
    gSyncDone.notify_all();
  }
  return any;
}

}  // namespace fw
