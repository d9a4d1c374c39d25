// Keyed copies between two 32-bit pictures: where the destination (or a
// mask image) shows the transparent key, the source's pixel is taken.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"

namespace translit {

class TsSkinTables;

// Over the overlap of destRect and sourceRect (both clipped to their 32-bit
// bitmaps), takes the source pixel wherever the dest pixel's colour is
// the key colour. With a mask index the test reads the mask's image instead, from
// its top-left corner, or for corner 14, 16, 17 aligned to its top-right,
// bottom-left or bottom-right corner.
void CopyKeyedFromSource(fw::TBitmap* dest, fw::TBitmap* source, const RECT& destRect, int corner,
                         TsSkinTables* manager, int maskIndex, const RECT& sourceRect);

}  // namespace translit
