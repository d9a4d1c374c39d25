// The disabled look of a finished picture: greyed, and blended with the
// background of the parent under it.
#pragma once

#include <windows.h>

#include "framework/Controls.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

enum TsDisabledKindFlag : unsigned { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = unsigned;

// The disabled look of a finished picture: grey first with dkGrayed; with
// dkBlended 60 % of the parent's background under it (its bitmap from
// (X + offset.x, Y + offset.y)), or half and half with the parent's colour.
void ApplyDisabledLook(fw::TBitmap* bitmap, TsDisabledKind kind, fw::TControl* control, POINT offset,
                       const ParentCache& parent);

}  // namespace translit
