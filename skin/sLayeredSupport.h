// What the platform offers for translucent windows, looked up once: the
// layered-window functions of user32, whether desktop composition is on, and
// the process-wide flag that turns layered effects off for a 32-bit process
// on 64-bit Windows without composition (such systems draw layered windows
// slowly and with artefacts). The skin manager's settings, the effects and
// the form frames all ask here.
#pragma once

#include <windows.h>

#include <optional>

namespace translit {

using TUpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

// UpdateLayeredWindow, or null when the system has none (or layered windows
// are switched off by OverrideLayeredWindows).
TUpdateLayeredWindowProc UpdateLayeredWindowProc();
bool LayeredWindowsAvailable();

// Desktop composition is on (DwmIsCompositionEnabled of dwmapi.dll on
// systems of major version 6 and above; off without the library).
bool DwmCompositionEnabled();

// Set once: IsWow64Process (looked up in kernel32) answers true and
// composition is off.
bool NoLayeredEffects();

// The platform's major version.
int PlatformMajorVersion();

// Makes LayeredWindowsAvailable answer as given (tests of the paths taken
// without layered windows; a host may force them); nullopt restores the
// looked-up answer.
void OverrideLayeredWindows(std::optional<bool> available);

}  // namespace translit
