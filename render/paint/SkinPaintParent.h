// How a skinned control learns the background its parent shows under it: the
// parent is asked with the skin message, and its answer (a bitmap with the
// control's place in it, or a colour) becomes the ParentCache painters take.
#pragma once

#include <windows.h>

#include "controls/protocol/sMessages.h"
#include "framework/Controls.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

// {bitmap, x, y, the key colour, true}.
ParentCache MakeParentCache(fw::TBitmap* bitmap, int x, int y);
// {none, 0, 0, 0, false}.
ParentCache EmptyParentCache();
// A bitmap answer gives the parent's bitmap with the offsets; anything else
// the offsets and the answered colour as RGB, not ready. A bitmap answer
// without a bitmap counts as an unknown colour.
ParentCache RequestToParentCache(const BackgroundRequest& request);

// Asks target for the background under the requesting control with
// SKINCMD_GET_BACKGROUND. True when target answered (Kind set by it). Else,
// when the request came with DrawNow set, target paints itself into the
// request's DC (moved by the offsets, clipped to Rect); otherwise Kind
// becomes a colour: the control's GET_COLOR answer or its own colour, for a
// bare window the default manager's global colour or clBtnFace.
bool QueryParentBackground(BackgroundRequest& request, fw::TControl* target, bool drawNow);
bool QueryParentBackground(BackgroundRequest& request, HWND target, bool drawNow);

}  // namespace translit
