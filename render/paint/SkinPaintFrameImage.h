// A picture resized by nine parts: corners copied as they are, sides and
// centre tiled or stretched.
#pragma once

#include <windows.h>

#include <array>

#include "framework/Graphics.h"

namespace translit {

// Paints sourceRect of source into destRect of dest by nine parts. Margins
// are the band widths (left, top, right, bottom) in the source; a smaller
// positive band of limits cuts the destination's band (the corner is copied
// that size, the side keeps the rest of the length). sideModes per side
// (left, top, right, bottom) and centreMode: 0 tiles, 1 stretches, others
// leave the part unpainted.
void StretchFrameImage(fw::TBitmap* dest, fw::TBitmap* source, const RECT& destRect, bool drawCentre, int centreMode,
                       const std::array<int, 4>& sideModes, const RECT& limits, const RECT& margins,
                       const RECT& sourceRect);

}  // namespace translit
