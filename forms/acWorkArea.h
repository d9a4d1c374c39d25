// The work area of the monitor a window is on, for the frame's snapping and
// its maximised place. Asking the system for a window's monitor and that
// monitor's work area takes longer than the rest of a drag step together
// (under Wine each of the two calls refreshes its display cache), so the
// monitors are read once and kept until the display or the work area
// changes.
#pragma once

#include <windows.h>

namespace translit {

// The work area of the monitor with the largest part of the window (the
// nearest monitor when the window is on none).
RECT WorkAreaOf(HWND window);
// After WM_DISPLAYCHANGE or WM_SETTINGCHANGE: the monitors are read anew
// when next asked.
void ForgetWorkAreas();

}  // namespace translit
