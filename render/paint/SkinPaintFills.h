// Solid fills and border strips on a DC, the plainest painters the item,
// frame and control painters share.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"

namespace translit {

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

}  // namespace translit
