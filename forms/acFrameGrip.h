// The skin's size grip in the bottom right corner of a sizeable form
// (GripMode gmRightBottom): where it lies, for the picture and for the hit
// test that turns it into a sizing corner.
#pragma once

#include <windows.h>

#include "forms/acFrameGeometry.h"

namespace translit {

class TsSkinProvider;

// The grip's mask, -1 when the form shows none: no grip mode, maximised,
// no sizing frame, or a skin without "GRIPIMAGE".
int FrameGripMask(TsSkinProvider& provider, const TacFrameMetrics& m);
// The grip's rectangle in window (cache) coordinates; empty without a grip.
RECT FrameGripRect(TsSkinProvider& provider, const TacFrameMetrics& m);

}  // namespace translit
