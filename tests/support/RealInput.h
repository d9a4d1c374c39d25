// Mouse and keyboard input as a user's hand gives it, through the display
// server.
//
// The display server reports pointer motion a moment late, and under load
// it may still report an earlier move after a later one. A move therefore
// waits until the pointer is at its place and has stayed there, and buttons
// go down and up at the place of the last move, carried in the button event
// itself: a button event without a place would land wherever a late motion
// report had put the pointer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_gui {

// False when the pointer would not stay at the point.
bool MoveMouse(POINT screen);
// MOUSEEVENTF_ button flags, one event, at the last move's place.
void MouseButtons(DWORD flags);
// A move and the button events of one click there.
void ClickMouse(POINT screen, bool right = false);

// A virtual key going down or up, to whichever window has the keyboard.
void KeyEvent(WORD vk, bool down);
// A virtual key pressed and released.
void PressKey(WORD vk);

// A key (an X key name: "space", "Return", ...) pressed and released on the
// X display through its XTest extension, by the host's xdotool: what a
// keyboard gives, reaching whichever window has the keyboard. It comes a
// moment later; false when xdotool could not be started.
bool PressKeyOnDisplay(const std::string& keyName);
// Keys pressed one after another, gapMs apart, by one xdotool run: they
// arrive in their order however late the run starts, where keys of runs
// started one by one may overtake each other on a busy machine.
bool PressKeysOnDisplay(const std::vector<std::string>& keyNames, int gapMs = 300);

}  // namespace testing_gui
