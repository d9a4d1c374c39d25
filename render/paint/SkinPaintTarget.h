// The picture a painter paints into: the bitmap, for the platform's blits,
// and its pixel view, for the work done pixel by pixel. A painter takes the
// view once and hands the pair down to every layer and piece it lays.
#pragma once

#include "framework/Graphics.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

struct TacPaintTarget {
  explicit TacPaintTarget(fw::TBitmap* bitmap) : Bitmap(bitmap), Pixels(ViewOf(bitmap)) {}

  fw::TBitmap* Bitmap;
  PixelView Pixels;  // empty unless the bitmap is a 32-bit DIB
};

}  // namespace translit
