// Hit testing of a skinned frame (WM_NCHITTEST): the title buttons, the
// sizing zones, the title band with the icon, the menu bar rows and the
// skin's size grip. The zones are exactly as wide as the system's frame on
// every side, corners included. Where the frame finds what the system finds
// as well (title, client area, menu bar), the form's default handling
// answers, since the form itself may know better there.
#pragma once

#include <windows.h>

#include "forms/acFrameGeometry.h"
#include "framework/Messages.h"

namespace translit {

class TsSkinProvider;

// The frame's own code for a point in window coordinates.
int FrameHitCode(TsSkinProvider& provider, const TacFrameMetrics& m, POINT windowPoint);
// User title button n answers this + n.
constexpr int kUserButtonHitCode = 1000;

// Minimise, maximise, close, help and the user's title buttons.
bool IsTitleButtonCode(int code);
// The hit codes that leave the answer to the form's default handling.
bool HitCodeLeftToDefault(int code);
// WM_NCHITTEST; the hot title button follows the answer.
void FrameHitTest(TsSkinProvider& provider, fw::TMessage& m);

}  // namespace translit
