// Image filters on framework bitmaps: the Gaussian blur of 8-bit masks and
// resampling with one of seven kernels (FilterKernels does the arithmetic).
#pragma once

#include "framework/Graphics.h"
#include "render/pixels/FilterKernels.h"

namespace translit {

// Blurs an 8-bit DIB in place; any other bitmap is left as it is.
void BlurGray8(fw::TBitmap* bitmap, double sigma);

// Makes dest a copy of source scaled to newWidth x newHeight with the filter
// (0..6). Source becomes 32-bit if it is 32-bit and 24-bit otherwise; dest
// gets the same format. Raises fw::Exception "Source bitmap is too small"
// for a source narrower or lower than two pixels; a new height of 0 does
// nothing.
void Resample(fw::TBitmap* source, fw::TBitmap* dest, int newWidth, int filter, int newHeight);

}  // namespace translit
