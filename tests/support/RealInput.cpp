#include "tests/support/RealInput.h"

#include <optional>

#include "tests/support/GuiPump.h"
#include "tests/support/HostProgram.h"

namespace testing_gui {

namespace {

// Where the last move put the pointer, once a move has been made.
std::optional<POINT> lastTarget;

bool CursorAt(POINT p) {
  POINT c;
  return ::GetCursorPos(&c) && c.x == p.x && c.y == p.y;
}

// Absolute input coordinates the system scales back to exactly this pixel.
INPUT AbsoluteMouse(POINT screen, DWORD flags) {
  const LONG w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(screen.x) * 65536 + w - 1) / w);
  in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(screen.y) * 65536 + h - 1) / h);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

}  // namespace

bool MoveMouse(POINT screen) {
  lastTarget = screen;
  for (int attempt = 0; attempt < 5; ++attempt) {
    // Wine turns a cursor placement into the mouse messages of a user's move.
    ::SetCursorPos(screen.x, screen.y);
    if (!PumpUntil([&] { return CursorAt(screen); }, 400)) continue;
    PumpFor(30);
    if (CursorAt(screen)) return true;
  }
  return false;
}

void MouseButtons(DWORD flags) {
  POINT at{};
  if (lastTarget)
    at = *lastTarget;
  else
    ::GetCursorPos(&at);
  INPUT in = AbsoluteMouse(at, flags);
  ::SendInput(1, &in, sizeof(INPUT));
}

void ClickMouse(POINT screen, bool right) {
  MoveMouse(screen);
  MouseButtons(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  MouseButtons(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void KeyEvent(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  ::SendInput(1, &in, sizeof(INPUT));
}

void PressKey(WORD vk) {
  KeyEvent(vk, true);
  KeyEvent(vk, false);
}

bool PressKeyOnDisplay(const std::string& keyName) {
  return testing_host::StartHostProgram("/usr/bin/xdotool", {"key", keyName});
}

bool PressKeysOnDisplay(const std::vector<std::string>& keyNames, int gapMs) {
  std::vector<std::string> args;
  for (const std::string& key : keyNames) {
    if (!args.empty()) args.insert(args.end(), {"sleep", std::to_string(gapMs / 1000.0)});
    args.insert(args.end(), {"key", key});
  }
  return testing_host::StartHostProgram("/usr/bin/xdotool", args);
}

}  // namespace testing_gui
