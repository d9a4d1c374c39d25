// Reading a 32-bit picture in the tests.
#pragma once

#include <cstdint>

#include "render/bitmaps/sAlphaGraph.h"

namespace testing_gui {

// A pixel of a 32-bit picture as 0xRRGGBB.
inline std::uint32_t PicturePixel(fw::TBitmap* bitmap, int x, int y) {
  return translit::ViewOf(bitmap).At(x, y) & 0xFFFFFFu;
}

// The same pixel in colour order, 0xBBGGRR, as colours are written.
inline std::uint32_t PictureColor(fw::TBitmap* bitmap, int x, int y) {
  translit::TacFast32 f;
  f.Bind(bitmap);
  return f.ReadPixel(x, y) & 0xFFFFFFu;
}

}  // namespace testing_gui
