// Where a skinned form may be put: maximised, it fills the work area of its
// monitor with the frame's borders just off the screen; moved with
// ScreenSnap, each edge that comes closer to the work area's edge than
// SnapBuffer pixels sticks to it (at exactly SnapBuffer it does not).
#pragma once

#include <windows.h>

#include "framework/Messages.h"

namespace translit {

class TsSkinProvider;

// The top left corner a window of that size snaps to in the work area.
POINT SnappedPosition(POINT position, SIZE size, const RECT& workArea, int snapBuffer);

// WM_GETMINMAXINFO: the maximised place and size, then the default.
void FrameMinMaxInfo(TsSkinProvider& provider, fw::TMessage& m);
// WM_WINDOWPOSCHANGING: snapping, then the default.
void FramePosChanging(TsSkinProvider& provider, fw::TMessage& m);

}  // namespace translit
