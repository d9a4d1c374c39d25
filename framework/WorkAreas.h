// The work area of the monitor a window is on (a skinned frame's snapping
// and maximised place ask for it at every step of a drag). Asking the system for a window's monitor and that
// monitor's work area takes longer than the rest of a drag step together
// (under Wine each of the two calls refreshes its display cache), so the
// monitors are read once and kept until the display or the work area
// changes.
#pragma once

#include <windows.h>

namespace fw {

// The work area of the monitor with the largest part of the window (the
// nearest monitor when the window is on none).
RECT WorkAreaOf(HWND window);
// The monitors are read anew when next asked. Top-level forms call it on
// WM_DISPLAYCHANGE and WM_SETTINGCHANGE.
void ForgetWorkAreas();

}  // namespace fw
