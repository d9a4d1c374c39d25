// A view of 32-bit pixel rows: the address of row 0 (firstRow), the signed
// distance in bytes from one row to the next (rowStride, negative for
// bottom-up bitmaps; TacFast32 names the pair FirstRow and RowStride), width
// and height. The pixel kernels work on views only, so they build and run
// without the platform; the framework's bitmap hands one out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace translit {

struct PixelView {
  std::uint8_t* firstRow = nullptr;
  std::ptrdiff_t rowStride = 0;
  int width = 0;
  int height = 0;

  bool Empty() const { return firstRow == nullptr || width <= 0 || height <= 0; }
  std::uint32_t* Row(int y) const {
    return reinterpret_cast<std::uint32_t*>(firstRow + static_cast<std::ptrdiff_t>(y) * rowStride);
  }
  std::uint32_t& At(int x, int y) const { return Row(y)[x]; }
};

// The same for 8-bit rows (grey masks, blur input).
struct GrayView {
  std::uint8_t* firstRow = nullptr;
  std::ptrdiff_t rowStride = 0;
  int width = 0;
  int height = 0;

  bool Empty() const { return firstRow == nullptr || width <= 0 || height <= 0; }
  std::uint8_t* Row(int y) const { return firstRow + static_cast<std::ptrdiff_t>(y) * rowStride; }
};

}  // namespace translit
