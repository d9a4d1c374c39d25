// A picture in memory for kernel tests: 32-bit or 8-bit rows, stored top-down
// or bottom-up (negative stride, as in bottom-up DIB sections), with rows
// padded so that a kernel that ignores the stride shows up.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "render/pixels/AlphaKernels.h"

namespace translit::test {

template <typename T>
class Rows {
 public:
  Rows(int width, int height, bool bottomUp = false, T fill = T{})
      : FWidth(width),
        FHeight(height),
        FBottomUp(bottomUp),
        FPitch(width + 3),
        FData(static_cast<size_t>(FPitch) * static_cast<size_t>(height) + 1, fill) {}

  T* Row(int y) {
    int stored = FBottomUp ? FHeight - 1 - y : y;
    return FData.data() + static_cast<ptrdiff_t>(stored) * FPitch;
  }
  T& At(int x, int y) { return Row(y)[x]; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void Fill(T v) {
    for (int y = 0; y < FHeight; ++y)
      for (int x = 0; x < FWidth; ++x) At(x, y) = v;
  }
  // Padding words between rows: must stay untouched by every kernel.
  bool PaddingIs(T v) {
    for (int y = 0; y < FHeight; ++y)
      for (int x = FWidth; x < FPitch; ++x)
        if (Row(y)[x] != v) return false;
    return FData.back() == v;
  }
  std::uint8_t* First() { return reinterpret_cast<std::uint8_t*>(Row(0)); }
  ptrdiff_t Stride() const {
    return (FBottomUp ? -1 : 1) * static_cast<ptrdiff_t>(FPitch) * static_cast<ptrdiff_t>(sizeof(T));
  }

 private:
  int FWidth, FHeight;
  bool FBottomUp;
  int FPitch;
  std::vector<T> FData;
};

class Picture : public Rows<std::uint32_t> {
 public:
  using Rows::Rows;
  PixelView View() { return {First(), Stride(), Width(), Height()}; }
  ByteView Bytes() { return AsBytes(View()); }
  // Number of pixels equal to v.
  int Count(std::uint32_t v) {
    int n = 0;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) n += At(x, y) == v;
    return n;
  }
};

class GrayPicture : public Rows<std::uint8_t> {
 public:
  using Rows::Rows;
  GrayView View() { return {First(), Stride(), Width(), Height()}; }
};

}  // namespace translit::test
