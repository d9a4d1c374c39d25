// The change watcher of the folder tree: a component that watches one folder
// of the file system on a thread of its own and calls OnChange on the
// user-interface thread whenever the folder changes.
//
// The thread waits on the folder's change handle, a wake event and a stop
// event. Retargeting only stores the new settings and wakes the thread,
// which closes the old handle and opens the new one itself: a handle is
// never closed under a wait on another thread. A folder that cannot be
// watched leaves the thread waiting for new settings or the stop, so a later
// Retarget to a folder that exists starts watching it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "framework/Components.h"
#include "framework/Handles.h"
#include "framework/Threads.h"
#include "shell/acShellTypes.h"

namespace translit {

enum TacNotifyFilter {
  nfFileNameChange,
  nfDirNameChange,
  nfAttributeChange,
  nfSizeChange,
  nfWriteChange,
  nfSecurityChange,
};
using TacNotifyFilters = TacSet<TacNotifyFilter>;

// The FILE_NOTIFY_CHANGE bits of a filter set: the five low bits as they
// are, security moved to its own bit (0x100).
constexpr DWORD NotifyFilterFlags(TacNotifyFilters filters) {
  return (filters.Bits() & 0x1Fu) | ((filters.Bits() & 0x20u) ? 0x100u : 0u);
}

inline void CloseChangeHandle(HANDLE h) { ::FindCloseChangeNotification(h); }
using fw::UniqueKernelHandle;
using UniqueChangeHandle = fw::UniqueHandle<HANDLE, CloseChangeHandle>;

class TacShellChangeThread : public fw::TThread {
 public:
  // The thread is made idle; Start runs it.
  explicit TacShellChangeThread(std::function<void()> changeCall);
  ~TacShellChangeThread() override;

  // Stores the folder and options to watch and has the running thread open
  // them; before the start they are simply what it opens first.
  void Retarget(const std::string& directory, bool watchTree, DWORD notifyFlags);
  // What a change calls, on the user-interface thread (empty: nothing).
  void SetChangeCall(std::function<void()> call) { FChangeCall = std::move(call); }
  // Whether the thread's body runs now.
  bool Active() const { return ::WaitForSingleObject(FActiveEvent.Get(), 0) == WAIT_OBJECT_0; }
  // Whether the thread holds a change handle now (it watches a folder).
  bool Watching() const { return FWatching.load(); }
  // Settings the thread has not taken up yet.
  bool SettingsChanged() const;
  const std::string& Directory() const { return FDirectory; }

 protected:
  void Execute() override;

 private:
  // Under the lock: closes the current handle and opens one for the
  // stored settings.
  void ReopenHandle();

  // Wakes the thread to take up new settings.
  UniqueKernelHandle FWakeEvent;
  UniqueChangeHandle FChangeHandle;
  std::function<void()> FChangeCall;
  std::string FDirectory;
  bool FWatchTree = false;
  bool FSettingsChanged = false;
  DWORD FNotifyFlags = 0;
  UniqueKernelHandle FStopEvent;
  UniqueKernelHandle FActiveEvent;
  std::atomic<bool> FWatching{false};
};

class TacCustomShellChangeNotifier : public fw::TComponent {
 public:
  explicit TacCustomShellChangeNotifier(fw::TComponent* owner);
  ~TacCustomShellChangeNotifier() override;
  const char* ClassName() const override { return "TacCustomShellChangeNotifier"; }

  const TacRoot& Root() const { return FRoot; }
  // A folder path; equal ignoring case changes nothing.
  void SetRoot(const TacRoot& root);
  bool WatchSubTree() const { return FWatchSubTree; }
  void SetWatchSubTree(bool v);
  TacNotifyFilters NotifyFilters() const { return FFilters; }
  void SetNotifyFilters(TacNotifyFilters v);
  // Called on the user-interface thread after each change of the folder.
  // Setting a handler starts the watching thread when none runs.
  const std::function<void()>& OnChange() const { return FOnChange; }
  void SetOnChange(std::function<void()> handler);

  // The watching thread, none before a handler was set.
  TacShellChangeThread* Thread() const { return FThread.get(); }

 private:
  void Retarget();

  TacRoot FRoot = "C:\\";
  bool FWatchSubTree = true;
  TacNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
  std::function<void()> FOnChange;
  std::unique_ptr<TacShellChangeThread> FThread;
};

class TacShellChangeNotifier : public TacCustomShellChangeNotifier {
 public:
  using TacCustomShellChangeNotifier::TacCustomShellChangeNotifier;
  const char* ClassName() const override { return "TacShellChangeNotifier"; }
};

}  // namespace translit
