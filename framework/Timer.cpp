// The window-message timer.
#include "framework/Timer.h"

#include "framework/Application.h"
#include "framework/core/SysUtils.h"

namespace fw {

namespace {
constexpr const char* kTimerClass = "TTimerWindow";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!::GetClassInfoA(instance, kTimerClass, &wc)) {
    wc.lpfnWndProc = TimerWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kTimerClass;
    ::RegisterClassA(&wc);
  }
  // A message-only window: it takes timer messages and is never shown.
  FWindow.Reset(::CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
  if (!FWindow) throw EOutOfResources("Not enough timers available");
  ::SetWindowLongPtrA(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
  // The window goes with FWindow; its timer with it.
  if (FRunning) ::KillTimer(FWindow.Get(), kTimerId);
}

void TTimer::SetEnabled(bool v) {
  FEnabled = v;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  FInterval = ms;
  Update();
}

void TTimer::SetOnTimer(TNotifyEvent e) {
  OnTimer = std::move(e);
  Update();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::Update() {
  if (FRunning) {
    ::KillTimer(FWindow.Get(), kTimerId);
    FRunning = false;
  }
  // A timer being read from a layout starts once the layout is complete.
  if (FEnabled && FInterval > 0 && HasHandler() && !Loading()) {
    if (!::SetTimer(FWindow.Get(), kTimerId, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
    FRunning = true;
  }
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (timer) {
      try {
        timer->Timer();
      } catch (...) {
        HandleCurrentException();
      }
    }
    return 0;
  }
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace fw
