// The change watcher and its thread.
#include "shell/tree/acShellChangeNotifier.h"

#include "shell/acShellUnit.h"
#include "framework/Handles.h"
#include "shell/acShellRoot.h"

namespace translit {

namespace {

class LockScope {
 public:
  LockScope() { ::EnterCriticalSection(&ShellChangeLock()); }
  ~LockScope() { ::LeaveCriticalSection(&ShellChangeLock()); }
  LockScope(const LockScope&) = delete;
  LockScope& operator=(const LockScope&) = delete;
};

}  // namespace

TacShellChangeThread::TacShellChangeThread(std::function<void()> changeCall)
    : FWakeEvent(::CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      FChangeCall(std::move(changeCall)),
      FStopEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      FActiveEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  // The lock lives with the shell unit; making it here keeps the thread
  // from being the first to ask for it.
  ShellChangeLock();
}

TacShellChangeThread::~TacShellChangeThread() {
  ::SetEvent(FStopEvent.Get());
  Terminate();
  // Waiting runs the thread's pending calls into this thread meanwhile, so
  // a thread that waits for one of them still comes to its end.
  WaitFor();
}

void TacShellChangeThread::Retarget(const std::string& directory, bool watchTree, DWORD notifyFlags) {
  {
    LockScope lock;
    FDirectory = directory;
    FWatchTree = watchTree;
    FNotifyFlags = notifyFlags;
    FSettingsChanged = true;
  }
  ::SetEvent(FWakeEvent.Get());
}

bool TacShellChangeThread::SettingsChanged() const {
  LockScope lock;
  return FSettingsChanged;
}

void TacShellChangeThread::ReopenHandle() {
  FChangeHandle.Reset();
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (!FDirectory.empty()) {
    // No box for a drive without a medium: the folder is simply not watched.
    fw::ErrorModeScope errorMode;
    handle = ::FindFirstChangeNotificationA(FDirectory.c_str(), FWatchTree ? TRUE : FALSE, FNotifyFlags);
  }
  if (handle != INVALID_HANDLE_VALUE) FChangeHandle.Reset(handle);
  FSettingsChanged = false;
  FWatching = static_cast<bool>(FChangeHandle);
}

void TacShellChangeThread::Execute() {
  ::SetEvent(FActiveEvent.Get());
  struct ActiveScope {
    HANDLE event;
    ~ActiveScope() { ::ResetEvent(event); }
  } active{FActiveEvent.Get()};
  {
    LockScope lock;
    ReopenHandle();
  }
  while (!Terminated()) {
    HANDLE waits[3];
    DWORD count = 0;
    // Only this thread opens and closes the change handle, so it cannot
    // go while the wait holds it.
    HANDLE change = FChangeHandle.Get();
    if (change) waits[count++] = change;
    waits[count++] = FWakeEvent.Get();
    waits[count++] = FStopEvent.Get();
    const DWORD result = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
    if (result == WAIT_FAILED || result >= WAIT_OBJECT_0 + count) break;
    HANDLE signalled = waits[result - WAIT_OBJECT_0];
    if (signalled == FStopEvent.Get()) {
      Terminate();
      break;
    }
    if (signalled == change) {
      // The call is read on the user-interface thread, where it is set and
      // cleared.
      Synchronize([this] {
        if (FChangeCall) FChangeCall();
      });
      if (::WaitForSingleObject(FStopEvent.Get(), 0) != WAIT_OBJECT_0) ::FindNextChangeNotification(change);
    }
    LockScope lock;
    if (FSettingsChanged) ReopenHandle();
  }
}

TacCustomShellChangeNotifier::TacCustomShellChangeNotifier(fw::TComponent* owner) : fw::TComponent(owner) {}

TacCustomShellChangeNotifier::~TacCustomShellChangeNotifier() {
  // The handler goes first: a change reported while the thread stops calls
  // nothing.
  FOnChange = nullptr;
  if (FThread) FThread->SetChangeCall(nullptr);
  FThread.reset();
}

void TacCustomShellChangeNotifier::SetRoot(const TacRoot& root) {
  if (SameTextIgnoringCase(root, FRoot)) return;
  FRoot = root;
  Retarget();
}

void TacCustomShellChangeNotifier::SetWatchSubTree(bool v) {
  FWatchSubTree = v;
  Retarget();
}

void TacCustomShellChangeNotifier::SetNotifyFilters(TacNotifyFilters v) {
  FFilters = v;
  Retarget();
}

void TacCustomShellChangeNotifier::Retarget() {
  if (FThread) FThread->Retarget(FRoot, FWatchSubTree, NotifyFilterFlags(FFilters));
}

void TacCustomShellChangeNotifier::SetOnChange(std::function<void()> handler) {
  FOnChange = std::move(handler);
  if (FThread) {
    FThread->SetChangeCall(FOnChange);
  } else if (FOnChange) {
    FThread = std::make_unique<TacShellChangeThread>(FOnChange);
    Retarget();
    FThread->Start();
  }
}

}  // namespace translit
