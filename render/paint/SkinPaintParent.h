// How a skinned control learns the background its parent shows under it,
// and the small painters the item painters share: solid fills and border
// strips on a DC, keyed copies, the disabled look, a picture resized by
// nine parts, and the windowless children of a container painted over the
// container's background.
#pragma once

#include <windows.h>

#include <array>

#include "controls/protocol/sMessages.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

class TsSkinTables;

// {bitmap, x, y, 0x00FF00FF, true}.
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

// FillRect with a solid brush of the colour as RGB; the DC's state is kept.
void FillSolid(HDC dc, const RECT& rect, fw::TColor color);
// Four strips along the inside of rect: top (full width, top high), left
// (below the top strip), bottom (right of the left strip), right (between
// the top and bottom strips). Strips never leave rect.
void FillBorderSolid(HDC dc, const RECT& rect, int left, fw::TColor color, int bottom, int right, int top);
// Copies the ring of width border inside (x, y, x + width, y + height) from
// source, each point at the same offset from (sourceX, sourceY), as four
// strips: left, top, right, bottom.
void CopyBorderStrips(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int border);

// Over the overlap of destRect and sourceRect (both clipped to their 32-bit
// bitmaps), takes the source pixel wherever the dest pixel's colour is
// 0xFF00FF. With a mask index the test reads the mask's image instead, from
// its top-left corner, or for corner 14, 16, 17 aligned to its top-right,
// bottom-left or bottom-right corner.
void CopyKeyedFromSource(fw::TBitmap* dest, fw::TBitmap* source, const RECT& destRect, int corner,
                         TsSkinTables* manager, int maskIndex, const RECT& sourceRect);

enum TsDisabledKindFlag : unsigned { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = unsigned;

// The disabled look of a finished picture: grey first with dkGrayed; with
// dkBlended 60 % of the parent's background under it (its bitmap from
// (X + offset.x, Y + offset.y)), or half and half with the parent's colour.
void ApplyDisabledLook(fw::TBitmap* bitmap, TsDisabledKind kind, fw::TControl* control, POINT offset,
                       const ParentCache& parent);

// Paints sourceRect of source into destRect of dest by nine parts. Margins
// are the band widths (left, top, right, bottom) in the source; a smaller
// positive band of limits cuts the destination's band (the corner is copied
// that size, the side keeps the rest of the length). sideModes per side
// (left, top, right, bottom) and centreMode: 0 tiles, 1 stretches, others
// leave the part unpainted.
void StretchFrameImage(fw::TBitmap* dest, fw::TBitmap* source, const RECT& destRect, bool drawCentre, int centreMode,
                       const std::array<int, 4>& sideModes, const RECT& limits, const RECT& margins,
                       const RECT& sourceRect);

// Paints the windowless children of container over its background into dc,
// each at its place moved by offset. A call made while another runs does
// nothing; an empty clip box only tells the container it is partly outside.
void PaintGraphicChildren(HDC dc, fw::TWinControl* container, POINT offset, bool visibleOnly);

}  // namespace translit
