// Gradients painted into framework bitmaps, the triangle mesh through the
// platform's GradientFill.
#include "render/bitmaps/sGradient.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "render/bitmaps/sAlphaGraph.h"

namespace translit {
namespace {

COLORREF GdiPixel(fw::TBitmap& b, int x, int y) { return ::GetPixel(b.Canvas().Handle(), x, y); }

TEST(PaintGradient, VerticalAndHorizontalOnADib) {
  auto b = NewBitmap32(4, 10);
  PaintGradient(b.get(), {0, 0, 4, 10}, ParseGradient("255;16711680;100;0;0"));
  EXPECT_EQ(GdiPixel(*b, 0, 0), 0x0000FFu) << "top row red";
  EXPECT_EQ(GdiPixel(*b, 3, 9), 0xFF0000u) << "bottom row blue";
  EXPECT_EQ(static_cast<std::uint32_t*>(b->ScanLine(9))[0], 0xFF0000FFu) << "alpha 255";

  auto h = NewBitmap32(100, 3);
  PaintGradient(h.get(), {0, 0, 100, 3}, ParseGradient("0;0;50;1;0;16777215;16777215;50;1;0"));
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(GdiPixel(*h, 49, y), 0u);
    EXPECT_EQ(GdiPixel(*h, 50, y), 0xFFFFFFu);
  }
}

TEST(PaintGradient, TrianglesThroughGradientFill) {
  ASSERT_TRUE(GradientFillAvailable());
  auto one = NewBitmap32(16, 12);
  PaintGradient(one.get(), {0, 0, 16, 12}, ParseGradient("32768;0;0;2;0"));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(GdiPixel(*one, x, y), 0x008000u) << x << "," << y;

  // Five stops: corners near their own colours, the centre near stop 1.
  auto five = NewBitmap32(41, 41);
  PaintGradient(five.get(), {0, 0, 41, 41},
                ParseGradient("255;0;0;2;0;0;0;0;2;0;65280;0;0;2;0;16711680;0;0;2;0;16777215;0;0;2;0"));
  auto closeTo = [](COLORREF got, COLORREF want) {
    for (int shift : {0, 8, 16})
      if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 24) return false;
    return true;
  };
  EXPECT_TRUE(closeTo(GdiPixel(*five, 0, 0), 0x0000FF)) << std::hex << GdiPixel(*five, 0, 0);
  EXPECT_TRUE(closeTo(GdiPixel(*five, 20, 20), 0x000000)) << std::hex << GdiPixel(*five, 20, 20);
  EXPECT_TRUE(closeTo(GdiPixel(*five, 40, 0), 0x00FF00)) << std::hex << GdiPixel(*five, 40, 0);
  EXPECT_TRUE(closeTo(GdiPixel(*five, 40, 40), 0xFF0000)) << std::hex << GdiPixel(*five, 40, 40);
  EXPECT_TRUE(closeTo(GdiPixel(*five, 0, 40), 0xFFFFFF)) << std::hex << GdiPixel(*five, 0, 40);

  auto other = NewBitmap32(4, 4);
  PaintGradient(other.get(), {0, 0, 4, 4}, ParseGradient("255;0;0;3;0"));
  EXPECT_EQ(GdiPixel(*other, 1, 1), 0u) << "mode 3 paints nothing";
}

TEST(PaintGradient, OnTextureOfAnotherBitmap) {
  auto texture = NewBitmap32(3, 3);
  ::SetPixel(texture->Canvas().Handle(), 0, 0, 0xFFFFFF);
  ::SetPixel(texture->Canvas().Handle(), 1, 1, 0xFFFFFF);
  ::GdiFlush();
  auto b = NewBitmap32(4, 4);
  PaintGradientOnTexture(b.get(), {0, 0, 4, 4}, ParseGradient("0;0;100;0;0"), 255, {0, 0, 0, 0}, texture.get());
  // The period is 2 x 2, tiled from the origin: a chequer of 254 and 0.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(GdiPixel(*b, x, y), (x + y) % 2 == 0 ? 0xFEFEFEu : 0u) << x << "," << y;
}

}  // namespace
}  // namespace translit
