// Painting straight from a control's skin data: its background, its whole
// item with its own hue and saturation, the corners of its cache opened to
// the parent, and the border of a control or form with a plain background.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

class TsCommonData;

// The section's background for the control; with the control's own colour
// (CustomColor) instead of the section's.
void PaintControlBackground(TsCommonData& data, ParentCache parent, int state, fw::TBitmap* bitmap, POINT offset,
                            const RECT& rect);

// Background, corner images and border, then the control's hue offset and
// saturation over the whole bitmap. A transparent section without a border
// to draw stops after the corners.
void PaintControlItem(TsCommonData& data, ParentCache parent, bool fromParent, fw::TBitmap* bitmap, POINT offset,
                      const RECT& rect, int state);

// In the four corner cells of the border, every cache pixel under a key
// pixel of the border image takes the parent's pixel or colour.
void FillCornerHoles(TsCommonData& data, int state);

// The border mask into the cache, then a band of the background colour out
// to borderWidth; copied to dc when it is not the cache's. innerRect gets
// the area inside. Without a border mask the band is filled on dc alone.
void PaintPlainFrameBorder(HDC dc, const RECT& rect, int borderWidth, TsCommonData& data, int state, RECT& innerRect);

}  // namespace translit
