// A user's hand on a skinned frame, for tests whose input runs into a modal
// loop of the system (its drag of a window, a menu): the input comes from
// a second thread while the test's thread handles its messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "tests/support/GuiPump.h"
#include "tests/support/RealInput.h"

namespace translit::test {

// Runs hand on a thread of its own and handles this thread's messages until
// it has ended, then a moment more.
inline void WithHand(const std::function<void()>& hand, DWORD timeoutMs = 15000) {
  std::atomic<bool> done{false};
  std::thread t([&] {
    hand();
    done = true;
  });
  testing_gui::PumpUntil([&] { return done.load(); }, timeoutMs);
  t.join();
  testing_gui::PumpFor(100);
}

inline POINT Between(POINT a, POINT b, int i, int n) {
  return POINT{a.x + (b.x - a.x) * i / n, a.y + (b.y - a.y) * i / n};
}

// Presses the left button at from, moves in steps to to and releases there.
inline void Drag(POINT from, POINT to) {
  WithHand([&] {
    testing_gui::MoveMouse(from);
    testing_gui::MouseButtons(MOUSEEVENTF_LEFTDOWN);
    ::Sleep(150);
    for (int i = 1; i <= 4; ++i) {
      testing_gui::MoveMouse(Between(from, to, i, 4));
      ::Sleep(60);
    }
    testing_gui::MouseButtons(MOUSEEVENTF_LEFTUP);
    ::Sleep(100);
  });
}

// Two left clicks at a point, quick enough to be a double click.
inline void DoubleClick(POINT at) {
  WithHand([&] {
    testing_gui::MoveMouse(at);
    for (int i = 0; i < 2; ++i) {
      testing_gui::MouseButtons(MOUSEEVENTF_LEFTDOWN);
      ::Sleep(20);
      testing_gui::MouseButtons(MOUSEEVENTF_LEFTUP);
      ::Sleep(40);
    }
    ::Sleep(300);
  });
}

// The visible popup menu window of the process's desktop, or none.
inline HWND ShownPopupMenu() {
  HWND menu = ::FindWindowA("#32768", nullptr);
  return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}
inline bool PopupMenuShown() { return ShownPopupMenu() != nullptr; }

// Waits (on a thread other than the menu's) until a popup menu is shown;
// none when none came within the time.
inline HWND WaitForPopupMenu(DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  HWND menu = nullptr;
  while (!(menu = ShownPopupMenu())) {
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    ::Sleep(20);
  }
  return menu;
}

}  // namespace translit::test
