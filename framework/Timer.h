// The window-message timer: a component that calls OnTimer every Interval
// milliseconds while it is enabled, on the thread that made it, through a
// hidden window of its own.
#pragma once

#include <windows.h>

#include "framework/Components.h"
#include "framework/Handles.h"

namespace fw {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  const char* ClassName() const override { return "TTimer"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  TNotifyEvent OnTimer;
  void SetOnTimer(TNotifyEvent e);

  void Loaded() override;

 protected:
  // One tick: calls OnTimer. A derived timer that overrides it may free
  // itself there, provided it touches nothing of itself afterwards.
  virtual void Timer();
  // Whether a tick has anything to call; the timer runs only then.
  virtual bool HasHandler() const { return static_cast<bool>(OnTimer); }
  // Re-evaluates whether the timer runs.
  void Update();

 private:
  static LRESULT CALLBACK TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  bool FEnabled = true;
  unsigned FInterval = 1000;
  UniqueWindow FWindow;
  bool FRunning = false;
};

}  // namespace fw
