// The gradient text and the vertical, horizontal and textured painters.
#include "render/pixels/GradientKernels.h"

#include <gtest/gtest.h>

#include "framework/core/SysUtils.h"
#include "tests/render/pixels/KernelsPicture.h"

namespace translit {
namespace {

using test::Picture;

TEST(ParseGradient, Texts) {
  struct Case {
    const char* text;
    size_t stops;
    std::uint32_t color1, color2;
    int percent, mode;
  } cases[] = {
      {"255;16711680;100;0;0", 1, 255, 16711680, 100, 0},
      {";;255;;16711680;100;0;0;", 1, 255, 16711680, 100, 0},
      {"255;16711680;100;0", 0, 0, 0, 0, 0},
      {"", 0, 0, 0, 0, 0},
      {";;;", 0, 0, 0, 0, 0},
      {"-5;7;150;1;x", 1, 0, 7, 100, 1},
      {"1;2;-3;-7;0;4;5;6", 1, 1, 2, 0, -7},
      {"$FF;0x10; +42;2;0", 1, 255, 16, 42, 2},
      {"$FFFFFFFF;2147483647;0;0;0", 1, 0, 2147483647, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TsGradArray g = ParseGradient(c.text);
    ASSERT_EQ(g.size(), c.stops);
    if (c.stops == 0) continue;
    EXPECT_EQ(g[0].Color1, c.color1);
    EXPECT_EQ(g[0].Color2, c.color2);
    EXPECT_EQ(g[0].Percent, c.percent);
    EXPECT_EQ(g[0].Mode, c.mode);
    EXPECT_EQ(g[0].Reserved, 0);
  }
  EXPECT_EQ(ParseGradient("0;0;50;0;0;16777215;16777215;50;0;0").size(), 2u);
}

TEST(ParseGradient, BadNumbersRaiseConversionErrors) {
  for (const char* text : {"12a;0;0;0;0", "0;0;0; 1 ;0", "0;0;0;0x;0", "2147483648;0;0;0;0", "0;0;$100000000;0;0",
                           "0;-;0;0;0", "0;0;0;\t1;0"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParseGradient(text), fw::EConvertError);
  }
  try {
    ParseGradient("1;2;3;4;5;1;zz;3;4;5");
    FAIL() << "no error";
  } catch (const fw::EConvertError& e) {
    EXPECT_EQ(e.Message(), "'zz' is not a valid integer value");
  }
  EXPECT_NO_THROW(ParseGradient("1;2;3;4;junk")) << "the fifth word is not read";
  EXPECT_NO_THROW(ParseGradient("1;2;3;4;5;junk;junk")) << "an incomplete group is ignored";
}

class GradientRows : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Layouts, GradientRows, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BottomUp" : "TopDown"; });

TEST_P(GradientRows, VerticalRedToBlue) {
  Picture p(3, 10, GetParam(), 0);
  PaintGradient(p.View(), {0, 0, 3, 10}, ParseGradient("255;16711680;100;0;0"));
  EXPECT_EQ(p.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(p.At(2, 9), 0xFF0000FFu);
  // Row 3 of 9 steps: red 255 - 3 * 255 / 9 = 170, blue 85.
  EXPECT_EQ(p.At(1, 3), 0xFFAA0055u);
  EXPECT_TRUE(p.PaddingIs(0));

  Picture none(3, 10, GetParam(), 0x12345678);
  PaintGradient(none.View(), {0, 0, 3, 10}, ParseGradient("255;16711680;100;0"));
  EXPECT_EQ(none.Count(0x12345678), 30);
}

TEST_P(GradientRows, TwoVerticalStopsShareTheBoundaryRow) {
  Picture p(2, 10, GetParam(), 0);
  PaintGradient(p.View(), {0, 0, 2, 10}, ParseGradient("0;0;50;0;0;16777215;16777215;50;0;0"));
  for (int y = 0; y < 5; ++y) EXPECT_EQ(p.At(0, y), 0xFF000000u) << "row " << y;
  for (int y = 5; y < 10; ++y) EXPECT_EQ(p.At(1, y), 0xFFFFFFFFu) << "row " << y;
}

TEST_P(GradientRows, VerticalStopsCutAtTheEndAndClipped) {
  // 80 + 80 percent: the second stop is cut at the last row; the rectangle
  // reaches past the picture on every side.
  Picture p(4, 10, GetParam(), 0);
  PaintGradient(p.View(), {-2, -5, 2, 50}, ParseGradient("255;255;80;0;0;0;16711680;80;0;0"));
  EXPECT_EQ(p.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(p.At(1, 7), 0xFFFF0000u);
  EXPECT_EQ(p.At(1, 8), 0xFF000000u) << "second stop starts at row 8 with its Color1";
  EXPECT_EQ(p.At(0, 9), 0xFF0000FFu);
  EXPECT_EQ(p.At(2, 0), 0u) << "right of the rectangle";
  EXPECT_TRUE(p.PaddingIs(0));
}

TEST_P(GradientRows, HorizontalStopsOfFifty) {
  Picture p(100, 3, GetParam(), 0);
  PaintGradient(p.View(), {0, 0, 100, 3}, ParseGradient("255;65280;50;1;0;16711680;16777215;50;1;0"));
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(p.At(0, y), 0xFFFF0000u) << "first stop starts red";
    EXPECT_EQ(p.At(49, y), 0xFF05FA00u) << "two steps of 255/50 short of green";
    EXPECT_EQ(p.At(50, y), 0xFF0000FFu) << "column 50 ends with the second stop's Color1";
    EXPECT_EQ(p.At(99, y), 0xFFFFFFFFu);
  }
}

TEST_P(GradientRows, TexturedGradientTilesFromThePictureOrigin) {
  Picture texture(4, 3, GetParam(), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) texture.At(x, y) = static_cast<std::uint32_t>(0x10 * x + 0x40 * y);
  // Whole texture: the period is 3 x 2 (one less than its size each way).
  const TsGradArray vertical = ParseGradient("0;0;100;0;0");
  Picture v(7, 5, GetParam(), 0);
  PaintGradientOnTexture(v.View(), {1, 1, 7, 5}, vertical, 128, {0, 0, 0, 0}, texture.View());
  for (int y = 1; y < 5; ++y)
    for (int x = 1; x < 7; ++x) {
      std::uint32_t t = static_cast<std::uint32_t>(0x10 * (x % 3) + 0x40 * (y % 2));
      EXPECT_EQ(v.At(x, y), 0xFF000000u | (t * 128 >> 8)) << x << "," << y;
    }
  EXPECT_EQ(v.At(0, 0), 0u);

  // Horizontal: one period of rows is mixed, then copied down.
  Picture h(4, 5, GetParam(), 0);
  PaintGradientOnTexture(h.View(), {0, 0, 4, 5}, ParseGradient("0;0;100;1;0"), 255, {0, 0, 0, 0}, texture.View());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 4; ++x) {
      std::uint32_t t = static_cast<std::uint32_t>(0x10 * (x % 3) + 0x40 * (y % 2));
      EXPECT_EQ(h.At(x, y), 0xFF000000u | (t * 255 >> 8)) << x << "," << y;
    }
  EXPECT_TRUE(h.PaddingIs(0));

  Picture thin(1, 5, GetParam(), 0);
  Picture same(2, 2, GetParam(), 0);
  PaintGradientOnTexture(same.View(), {0, 0, 2, 2}, vertical, 128, {0, 0, 0, 0}, thin.View());
  EXPECT_EQ(same.Count(0), 4) << "a texture one pixel wide has no period";
}

TEST(GradientMesh, VerticesTakeStopColours) {
  const PixelRect r = ClipGradientRect({-4, 2, 10, 8}, 8, 100);
  EXPECT_EQ(r.Left, 0);
  EXPECT_EQ(r.Right, 8);
  auto one = GradientMeshVertices(r, ParseGradient("255;0;0;2;0"));
  for (const GradientVertex& v : one) {
    EXPECT_EQ(v.Red, 0xFF00);
    EXPECT_EQ(v.Green, 0);
    EXPECT_EQ(v.Blue, 0);
    EXPECT_EQ(v.Alpha, 0xFF00);
  }
  EXPECT_EQ(one[1].X, 4);
  EXPECT_EQ(one[1].Y, 5);
  EXPECT_EQ(one[3].X, 8);
  EXPECT_EQ(one[3].Y, 8);
  auto two = GradientMeshVertices(r, ParseGradient("255;0;0;2;0;16711680;0;0;2;0"));
  EXPECT_EQ(two[0].Red, 0xFF00);
  EXPECT_EQ(two[1].Blue, 0xFF00);
  EXPECT_EQ(two[4].Blue, 0xFF00) << "missing stops repeat the previous vertex";
}

}  // namespace
}  // namespace translit
