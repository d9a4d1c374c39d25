// 32-bit pictures for GUI tests: a DIB section to draw into, and what the
// screen shows of a rectangle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Handles.h"

namespace testing_gui {

// A top-down 32-bit DIB section of w x h pixels.
class Dib32 {
 public:
  Dib32(int w, int h);
  bool Ok() const { return FBits != nullptr; }
  HBITMAP Handle() const { return FBitmap.Get(); }
  // Every pixel as 0xRRGGBB, row by row.
  std::vector<std::uint32_t> Rgb() const;

 private:
  int FWidth, FHeight;
  void* FBits = nullptr;
  fw::UniqueBitmap FBitmap;
};

// What the screen shows of a rectangle (screen coordinates), row by row, as
// 0xRRGGBB; empty for an empty rectangle.
std::vector<std::uint32_t> ScreenPixels(const RECT& screen);

}  // namespace testing_gui
