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

 private:
  void Update();
  static LRESULT CALLBACK TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  bool FEnabled = true;
  unsigned FInterval = 1000;
  UniqueWindow FWindow;
  bool FRunning = false;
};

}  // namespace fw
