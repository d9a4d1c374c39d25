// Gradients of skin sections painted into framework bitmaps: the vertical and
// horizontal modes through GradientKernels, the triangle mesh through the
// platform's GradientFill (looked up in msimg32.dll at start-up).
#pragma once

#include <cstdint>

#include "framework/Graphics.h"
#include "render/pixels/GradientKernels.h"

namespace translit {

// Paints the gradient into rect of a 32-bit bitmap with alpha 255.
void PaintGradient(fw::TBitmap* bitmap, const RECT& rect, const TsGradArray& gradient);

// A vertical or horizontal gradient mixed with a texture tiled from the
// bitmap's origin; textureShare is the texture's weight (0..255), an empty
// textureRect the whole texture.
void PaintGradientOnTexture(fw::TBitmap* bitmap, const RECT& rect, const TsGradArray& gradient,
                            std::uint8_t textureShare, const RECT& textureRect, fw::TBitmap* texture);

// Whether the triangle mode can paint (msimg32.dll and GradientFill found).
bool GradientFillAvailable();

}  // namespace translit
