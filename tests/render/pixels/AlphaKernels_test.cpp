// Colour arithmetic and the operations on one and two 32-bit pictures, on
// top-down and bottom-up rows.
#include "render/pixels/AlphaKernels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "tests/render/pixels/KernelsPicture.h"

namespace translit {
namespace {

using test::GrayPicture;
using test::Picture;

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

TEST(ColourArithmetic, ExchangeBlendHueSaturation) {
  struct Case {
    const char* what;
    std::uint32_t got, want;
  } cases[] = {
      {"ExchangeRB of the key", ExchangeRB(0x00FF00FF), 0x00FF00FF},
      {"ExchangeRB keeps bytes 1 and 3", ExchangeRB(0x11223344), 0x11443322},
      {"BlendColor 0.4 of red over blue, A's top byte", BlendColor(0xAA0000FF, 0x00FF0000, 0.4), 0xAA990066},
      {"BlendColor half of 1 rounds to even 0", BlendColor(0x00000001, 0, 0.5), 0x00000000},
      {"BlendColor half of 3 rounds to even 2", BlendColor(0x00000003, 0, 0.5), 0x00000002},
      {"BlendColor weight above 1 stays a byte", BlendColor(0x000000FF, 0, 2.0), 0x000000FF},
      {"ShiftHue red by 120 is green", ShiftHue(0x00FF0000, 120), 0x0000FF00},
      {"ShiftHue red by 240 is blue", ShiftHue(0x00FF0000, 240), 0x000000FF},
      {"ShiftHue keeps alpha", ShiftHue(0x80FF0000, 120), 0x8000FF00},
      {"ShiftHue keeps grey", ShiftHue(0x00808080, 90), 0x00808080},
      {"ShiftHue by -120 turns red blue", ShiftHue(0x00FF0000, -120), 0x000000FF},
      {"ShiftHue by 480 is 120", ShiftHue(0x00FF0000, 480), 0x0000FF00},
      {"ShiftHue of a dark orange by 60", ShiftHue(0x00804000, 60), 0x00408000},
      {"ShiftHueRGB works in colour order", ShiftHueRGB(0x000000FF, 120), 0x0000FF00},
      {"ShiftHueRGB by 0 returns the colour", ShiftHueRGB(0x12345678, 0), 0x12345678},
      {"ScaleSaturation -100 gives grey", ScaleSaturation(0x00C86400, -100), 0x00646464},
      {"ScaleSaturation 100 doubles the distance, clipped", ScaleSaturation(0x77C86400, 100), 0x77FF6400},
      {"ScaleSaturation 0 returns the value", ScaleSaturation(0x12345678, 0), 0x12345678},
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(c.got), Hex(c.want)) << c.what;
}

class OnRows : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Layouts, OnRows, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BottomUp" : "TopDown"; });

TEST_P(OnRows, MixBitmapsRoundsAsStated) {
  Picture dest(3, 2, GetParam()), source(3, 2, GetParam());
  dest.At(0, 0) = 0xFFFFFFFF;
  dest.At(1, 0) = 0x00000000;
  MixBitmaps(dest.View(), source.View(), 255);
  EXPECT_EQ(Hex(dest.At(0, 0)), "0xFEFEFEFE") << "alpha 255 turns 255 into 254";
  EXPECT_EQ(dest.At(1, 0), 0u);

  source.At(2, 1) = 0xFF80FF80;
  MixBitmaps(dest.View(), source.View(), 0);
  EXPECT_EQ(Hex(dest.At(2, 1)), "0xFE7FFE7F") << "alpha 0 gives (255 s + 127) >> 8";
  EXPECT_TRUE(dest.PaddingIs(0));
}

TEST_P(OnRows, MixBitmapsNeedsEqualSizesOfTwoByTwo) {
  Picture dest(3, 2, GetParam(), 0x10101010), other(2, 3, GetParam(), 0xF0F0F0F0);
  MixBitmaps(dest.View(), other.View(), 0);
  EXPECT_EQ(dest.Count(0x10101010), 6) << "different sizes";
  Picture thin(1, 4, GetParam(), 0x10101010), thinSource(1, 4, GetParam(), 0xF0F0F0F0);
  MixBitmaps(thin.View(), thinSource.View(), 0);
  EXPECT_EQ(thin.Count(0x10101010), 4) << "one pixel wide cannot be bound";
}

TEST_P(OnRows, MixBitmapsAtClipsBothSides) {
  Picture dest(4, 4, GetParam(), 0), source(4, 4, GetParam());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) source.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(16 * y + x);
  // The point left of and above the destination moves the source rectangle.
  MixBitmapsAt(dest.View(), source.View(), 0, {-1, -1}, {0, 0, 3, 3});
  EXPECT_EQ(Hex(dest.At(0, 0)), Hex(0xFE000000u | ((255u * 0x11 + 127) >> 8)));
  EXPECT_EQ(Hex(dest.At(1, 1)), Hex(0xFE000000u | ((255u * 0x22 + 127) >> 8)));
  EXPECT_EQ(dest.At(2, 0), 0u) << "only 2 x 2 pixels remain";
  EXPECT_EQ(dest.At(0, 2), 0u);

  Picture edge(4, 4, GetParam(), 0);
  MixBitmapsAt(edge.View(), source.View(), 0, {3, 3}, {0, 0, 4, 4});
  EXPECT_EQ(edge.Count(0), 15) << "cut to the destination's edge";
  EXPECT_TRUE(edge.PaddingIs(0));
}

TEST_P(OnRows, KeyIsTheWholePixel) {
  Picture p(2, 2, GetParam());
  p.At(0, 0) = 0x00FF00FF;
  p.At(1, 0) = 0x01FF00FF;
  p.At(0, 1) = 0x00FF00FF;
  p.At(1, 1) = 0x01FF00FF;
  GrayBitmapKeyed(p.View(), KeyPixel);
  EXPECT_EQ(Hex(p.At(0, 0)), "0x00FF00FF");
  EXPECT_EQ(Hex(p.At(1, 0)), "0x01AAAAAA") << "magenta with alpha 1 is greyed";

  Picture t(2, 1, GetParam());
  t.At(0, 0) = 0x00FF00FF;
  t.At(1, 0) = 0x01FF00FF;
  TintToward(t.View(), 0x00000000, 0.5);
  EXPECT_EQ(Hex(t.At(0, 0)), "0x00FF00FF");
  EXPECT_EQ(Hex(t.At(1, 0)), "0x01800080") << "round(127.5) is 128, halves to even";
}

TEST_P(OnRows, HueShiftKeepsGreysAndKey) {
  Picture p(3, 1, GetParam());
  p.At(0, 0) = 0x00FF0000;
  p.At(1, 0) = 0x00808080;
  p.At(2, 0) = 0x00FF00FF;
  ShiftBitmapHue(p.View(), 120);
  EXPECT_EQ(Hex(p.At(0, 0)), "0x0000FF00");
  EXPECT_EQ(Hex(p.At(1, 0)), "0x00808080");
  EXPECT_EQ(Hex(p.At(2, 0)), "0x00FF00FF");

  Picture s(3, 1, GetParam());
  s.At(0, 0) = 0x00C86400;
  s.At(1, 0) = 0x00FF00FF;
  s.At(2, 0) = 0x00404040;
  ScaleBitmapSaturation(s.View(), -100);
  EXPECT_EQ(Hex(s.At(0, 0)), "0x00646464");
  EXPECT_EQ(Hex(s.At(1, 0)), "0x00FF00FF");
  EXPECT_EQ(Hex(s.At(2, 0)), "0x00404040");
}

TEST_P(OnRows, GrayBitmapTruncatesTheMean) {
  Picture p(2, 2, GetParam(), 0x7F010102);
  GrayBitmap(p.View());
  EXPECT_EQ(p.Count(0x7F010101), 4) << "(1 + 1 + 2) div 3 = 1, alpha kept";
}

TEST_P(OnRows, TintRectIsInclusiveFillIsNot) {
  Picture tinted(10, 10, GetParam(), 0xFF000000);
  TintRect(tinted.View(), {2, 2, 4, 4}, 0, 0x000000FF);
  EXPECT_EQ(tinted.Count(0xFFFF0000), 9);
  EXPECT_EQ(tinted.At(4, 4), 0xFFFF0000u);
  EXPECT_EQ(tinted.At(5, 4), 0xFF000000u);

  Picture filled(10, 10, GetParam(), 0);
  FillBitmapRect(filled.View(), {2, 2, 4, 4}, 0x000000FF);
  EXPECT_EQ(filled.Count(0xFFFF0000), 4);
  EXPECT_EQ(filled.At(3, 3), 0xFFFF0000u);
  EXPECT_EQ(filled.At(4, 4), 0u);
}

TEST_P(OnRows, TintRectRoundsHalvesToEvenAndKeepsAlpha) {
  Picture p(2, 1, GetParam());
  p.At(0, 0) = 0x12010301;  // channels 1, 3, 1
  p.At(1, 0) = 0x34FFFFFF;
  TintRect(p.View(), {-5, -5, 50, 50}, 50, 0x00000000);
  EXPECT_EQ(Hex(p.At(0, 0)), "0x12000200") << "0.5 -> 0, 1.5 -> 2";
  EXPECT_EQ(Hex(p.At(1, 0)), "0x34808080") << "127.5 -> 128";
  TintRect(p.View(), {0, 0, 1, 0}, 100, 0x00FFFFFF);
  EXPECT_EQ(Hex(p.At(0, 0)), "0x12000200") << "percent 100 keeps the pixels";
  TintRect(p.View(), {1, 0, 1, 0}, 150, 0x00000000);
  EXPECT_EQ(Hex(p.At(1, 0)), "0x34C0C0C0") << "percent beyond 100 pushes away from the colour";
  TintRect(p.View(), {1, 0, 1, 0}, 250, 0x00000000);
  EXPECT_EQ(Hex(p.At(1, 0)), "0x34FFFFFF") << "and stays a byte";
  EXPECT_TRUE(p.PaddingIs(0));
}

TEST_P(OnRows, FillBitmapRectOnThinPictures) {
  Picture row(5, 1, GetParam(), 0);
  FillBitmapRect(row.View(), {1, 0, 3, 1}, 0x00112233);
  EXPECT_EQ(row.At(0, 0), 0u);
  EXPECT_EQ(Hex(row.At(1, 0)), "0xFF332211");
  EXPECT_EQ(Hex(row.At(2, 0)), "0xFF332211");
  EXPECT_EQ(row.At(3, 0), 0u);
  Picture column(1, 5, GetParam(), 0);
  FillBitmapRect(column.View(), {0, 0, 1, 5}, 0x00112233);
  EXPECT_EQ(column.Count(0), 5) << "one pixel wide: nothing painted";
  Picture big(4, 4, GetParam(), 0);
  FillBitmapRect(big.View(), {-3, 2, 99, 99}, 0x00FFFFFF);
  EXPECT_EQ(big.Count(0xFFFFFFFF), 8) << "clipped to the picture";
  EXPECT_TRUE(big.PaddingIs(0));
}

TEST_P(OnRows, SetRectAlphaSkipsOnlyTheExactKey) {
  Picture p(3, 2, GetParam(), 0x00FF00FF);
  p.At(1, 0) = 0x01FF00FF;
  p.At(2, 0) = 0x00123456;
  SetRectAlpha(p.View(), {0, 0, 3, 1}, 0x80, true);
  EXPECT_EQ(Hex(p.At(0, 0)), "0x00FF00FF");
  EXPECT_EQ(Hex(p.At(1, 0)), "0x80FF00FF");
  EXPECT_EQ(Hex(p.At(2, 0)), "0x80123456");
  EXPECT_EQ(Hex(p.At(0, 1)), "0x00FF00FF") << "outside the rectangle";
  SetRectAlpha(p.View(), {0, 1, 3, 1}, 0x80, false);
  EXPECT_EQ(p.Count(0x00FF00FF), 4) << "an empty rectangle";
  SetRectAlpha(p.View(), {0, 0, 9, 9}, 0x80, false);
  EXPECT_EQ(p.Count(0x80FF00FF), 5);
}

TEST_P(OnRows, BlendRectOntoClipsAndSkipsTheKey) {
  Picture source(4, 2, GetParam());
  for (int x = 0; x < 4; ++x) {
    source.At(x, 0) = 0x00000010u * static_cast<std::uint32_t>(x + 1);
    source.At(x, 1) = 0x00000010u * static_cast<std::uint32_t>(x + 1);
  }
  source.At(2, 1) = 0x00FF00FF;

  Picture dest(3, 2, GetParam(), 0x7F000000);
  BlendRectOnto(dest.View(), 0, 0, KeyPixel, 0.0, {0, 0, 3, 1}, source.View());
  EXPECT_EQ(Hex(dest.At(0, 0)), "0x7F000010") << "weight 0 copies the colour, alpha kept";
  EXPECT_EQ(Hex(dest.At(2, 0)), "0x7F000030") << "painted up to the right edge";
  EXPECT_EQ(Hex(dest.At(2, 1)), "0x7F000000") << "key pixel skipped";

  // Left of the destination: the columns that fall outside are cut off.
  Picture left(3, 2, GetParam(), 0);
  BlendRectOnto(left.View(), -1, 0, KeyPixel, 0.0, {0, 0, 3, 0}, source.View());
  EXPECT_EQ(Hex(left.At(0, 0)), "0x00000020");
  EXPECT_EQ(Hex(left.At(1, 0)), "0x00000030");
  EXPECT_EQ(Hex(left.At(2, 0)), "0x00000040");

  // A negative source top moves the destination down.
  Picture shifted(3, 3, GetParam(), 0);
  BlendRectOnto(shifted.View(), 0, 0, KeyPixel, 0.5, {0, -1, 0, 0}, source.View());
  EXPECT_EQ(shifted.At(0, 0), 0u);
  EXPECT_EQ(Hex(shifted.At(0, 1)), "0x00000008") << "round(16 - 16 * 0.5)";
  EXPECT_TRUE(shifted.PaddingIs(0));
}

TEST_P(OnRows, ComposeAlphaFormulaAndParent) {
  Picture source(2, 2, GetParam());
  source.At(0, 0) = 0x80FF8040;
  source.At(1, 0) = 0x00FF00FF;
  source.At(0, 1) = 0xFF123456;
  source.At(1, 1) = 0x00FFFFFF;
  Picture dest(2, 2, GetParam(), 0x00000000);
  ParentPixels none;
  ComposeAlpha({0, 0, 2, 2}, {0, 0, 2, 2}, dest.View(), false, none, source.View());
  EXPECT_EQ(Hex(dest.At(0, 0)), "0x807F4020");
  EXPECT_EQ(Hex(dest.At(0, 1)), "0xFF113355") << "alpha 255 gives (255 s) >> 8";
  EXPECT_EQ(Hex(dest.At(1, 1)), "0x00000000") << "alpha 0 leaves the destination";

  Picture half(1, 1, GetParam(), 0x80404040);
  Picture src1(1, 1, GetParam(), 0x80C0C0C0);
  ComposeAlpha({0, 0, 1, 1}, {0, 0, 1, 1}, half.View(), false, none, src1.View());
  EXPECT_EQ(Hex(half.At(0, 0)), "0xBF808080") << "da + a (255 - da) div 255";

  Picture back(3, 3, GetParam(), 0x00ABCDEF);
  ParentPixels parent{back.View(), 1, 1, 0, true};
  Picture withParent(2, 2, GetParam(), 0x11111111);
  ComposeAlpha({0, 0, 2, 2}, {0, 0, 2, 2}, withParent.View(), true, parent, source.View());
  EXPECT_EQ(Hex(withParent.At(1, 0)), "0xFFABCDEF") << "key taken from the parent";
  Picture without(2, 2, GetParam(), 0x11111111);
  ComposeAlpha({0, 0, 2, 2}, {0, 0, 2, 2}, without.View(), false, parent, source.View());
  EXPECT_EQ(Hex(without.At(1, 0)), "0x11111111") << "key leaves the destination";
  EXPECT_EQ(Hex(without.At(0, 1)), "0xFF113355");

  Picture clipped(2, 2, GetParam(), 0);
  ComposeAlpha({-1, 0, 1, 1}, {0, 0, 2, 1}, clipped.View(), false, none, source.View());
  EXPECT_EQ(clipped.At(0, 0), 0u) << "the key pixel (alpha 0) lands at column 0";
  ComposeAlpha({0, 0, 2, 2}, {-1, -1, 1, 1}, clipped.View(), false, none, source.View());
  EXPECT_EQ(Hex(clipped.At(1, 1)), "0x807F4020") << "negative source corner moves both";
  EXPECT_TRUE(clipped.PaddingIs(0));
}

TEST_P(OnRows, DrawAlphaPartFadeTintAndReflection) {
  Picture source(1, 4, GetParam(), 0xFF804020);
  Picture dest(1, 8, GetParam(), 0x00000000);
  ParentPixels none;
  DrawAlphaPart({0, 0, 1, 4}, {0, 0, 1, 4}, dest.View(), false, 50, NoColor, false, none, source.View());
  // level = 50 * 255 div 100 = 127
  EXPECT_EQ(Hex(dest.At(0, 0)), "0x003F1F0F");
  EXPECT_EQ(dest.At(0, 4), 0u);

  Picture tinted(1, 1, GetParam(), 0x00000000);
  Picture grey(1, 1, GetParam(), 0xFF3060F0);  // grey value (48 + 96 + 240) div 3 = 128
  DrawAlphaPart({0, 0, 1, 1}, {0, 0, 1, 1}, tinted.View(), false, 0, 0x000000FF, false, none, grey.View());
  // Red tint: red 128, green and blue 0, blended with level 255.
  EXPECT_EQ(Hex(tinted.At(0, 0)), "0x007F0000");

  Picture mirrored(1, 8, GetParam(), 0);
  Picture rows(1, 4, GetParam());
  for (int y = 0; y < 4; ++y) rows.At(0, y) = 0xFF000000u | static_cast<std::uint32_t>(0x30 * (y + 1));
  DrawAlphaPart({0, 0, 1, 4}, {0, 0, 1, 4}, mirrored.View(), true, 0, NoColor, false, none, rows.View());
  // One reflected row ((4 div 2) - 1): row 5 from source row 2 at level 85.
  EXPECT_EQ(Hex(mirrored.At(0, 5)), Hex((0x90u * 85) >> 8));
  EXPECT_EQ(mirrored.At(0, 4), 0u);
  EXPECT_EQ(mirrored.At(0, 6), 0u);
}

TEST_P(OnRows, CopyOpaqueFrom32And24Bits) {
  Picture source(3, 1, GetParam());
  source.At(0, 0) = 0x00FF00FF;
  source.At(1, 0) = 0x01FF00FF;
  source.At(2, 0) = 0x00123456;
  Picture dest(3, 1, GetParam(), 0);
  CopyOpaque(dest.View(), source.Bytes(), 0, KeyPixel, 0);
  EXPECT_EQ(dest.At(0, 0), 0u);
  EXPECT_EQ(Hex(dest.At(1, 0)), "0xFFFF00FF") << "not the key: its alpha is 1";
  EXPECT_EQ(Hex(dest.At(2, 0)), "0xFF123456");

  // 24-bit rows, key given as a colour (red 1, blue 3).
  std::uint8_t bytes[2][8] = {{3, 2, 1, 0x56, 0x34, 0x12, 0, 0}, {9, 9, 9, 3, 0, 1, 0, 0}};
  ByteView rgb{&bytes[0][0], 8, 2, 2, 3};
  Picture dest24(2, 2, GetParam(), 0);
  CopyOpaque(dest24.View(), rgb, 0, 0x00030001, 0);
  EXPECT_EQ(Hex(dest24.At(0, 0)), "0xFF010203");
  EXPECT_EQ(Hex(dest24.At(1, 0)), "0xFF123456");
  EXPECT_EQ(Hex(dest24.At(0, 1)), "0xFF090909");
  EXPECT_EQ(dest24.At(1, 1), 0u) << "0x00010003 is the key";
  Picture keyed(2, 2, GetParam(), 0);
  CopyOpaque(keyed.View(), rgb, 0, 0x00030201, 0);
  EXPECT_EQ(keyed.At(0, 0), 0u) << "0x00010203 is the key";
  EXPECT_EQ(Hex(keyed.At(1, 1)), "0xFF010003");

  // Left of the destination the source is cut, not shifted.
  Picture cut(3, 1, GetParam(), 0);
  CopyOpaque(cut.View(), source.Bytes(), -1, KeyPixel, 0);
  EXPECT_EQ(Hex(cut.At(0, 0)), "0xFFFF00FF");
  EXPECT_EQ(Hex(cut.At(1, 0)), "0xFF123456");
  EXPECT_EQ(cut.At(2, 0), 0u);
}

TEST_P(OnRows, CopyKeyedComparesWithAlphaZero) {
  Picture source(3, 1, GetParam());
  source.At(0, 0) = 0x00FF00FF;
  source.At(1, 0) = 0x01FF00FF;
  source.At(2, 0) = 0x80123456;
  Picture dest(4, 2, GetParam(), 0);
  CopyKeyed(dest.View(), source.View(), 1, KeyPixel, {0, 0, 10, 10}, 1);
  EXPECT_EQ(dest.At(1, 1), 0u);
  EXPECT_EQ(Hex(dest.At(2, 1)), "0x01FF00FF");
  EXPECT_EQ(Hex(dest.At(3, 1)), "0x80123456");
  EXPECT_EQ(dest.Count(0), 6);
  Picture left(2, 1, GetParam(), 0);
  CopyKeyed(left.View(), source.View(), -1, KeyPixel, {0, 0, 2, 0}, 0);
  EXPECT_EQ(Hex(left.At(0, 0)), "0x01FF00FF");
  EXPECT_EQ(Hex(left.At(1, 0)), "0x80123456");
  EXPECT_TRUE(left.PaddingIs(0));
}

TEST_P(OnRows, CopyKeyedOverBackThreeWays) {
  Picture source(2, 1, GetParam());
  source.At(0, 0) = 0x00FF00FF;
  source.At(1, 0) = 0x00123456;
  Picture back(4, 4, GetParam(), 0x00ABCDEF);

  Picture fromParent(2, 2, GetParam(), 0x22222222);
  CopyKeyedOverBack(fromParent.View(), source.View(), 0, true, {back.View(), 1, 1, 0, true}, KeyPixel, {0, 0, 1, 0}, 1);
  EXPECT_EQ(Hex(fromParent.At(0, 1)), "0xFFABCDEF");
  EXPECT_EQ(Hex(fromParent.At(1, 1)), "0xFF123456");
  EXPECT_EQ(Hex(fromParent.At(0, 0)), "0x22222222");

  Picture ready(2, 1, GetParam(), 0x22222222);
  CopyKeyedOverBack(ready.View(), source.View(), 0, false, {back.View(), 0, 0, 0, true}, KeyPixel, {0, 0, 1, 0}, 0);
  EXPECT_EQ(Hex(ready.At(0, 0)), "0x22222222");
  EXPECT_EQ(Hex(ready.At(1, 0)), "0x00123456");

  Picture fill(2, 1, GetParam(), 0x22222222);
  CopyKeyedOverBack(fill.View(), source.View(), 0, false, {{}, 0, 0, 0x000000FF, false}, KeyPixel, {0, 0, 1, 0}, 0);
  EXPECT_EQ(Hex(fill.At(0, 0)), "0xFFFF0000") << "fill colour with alpha 255";
  EXPECT_EQ(Hex(fill.At(1, 0)), "0x00123456");

  Picture self(2, 2, GetParam(), 0x22222222);
  CopyKeyedOverBack(self.View(), source.View(), 0, true, {self.View(), 0, 0, 0, true}, KeyPixel, {0, 0, 1, 0}, 0);
  EXPECT_EQ(Hex(self.At(0, 0)), "0x22222222") << "parent is the destination: key left alone";
  EXPECT_EQ(Hex(self.At(1, 0)), "0xFF123456");
}

TEST_P(OnRows, MergeAndMaskFormulas) {
  Picture a(2, 2, GetParam(), 0x00FF8000), b(2, 2, GetParam(), 0x00000080), dest(2, 2, GetParam(), 0x77000000);
  MergeByMask(dest.View(), a.View(), b.View(), 128, nullptr);
  EXPECT_EQ(Hex(dest.At(1, 1)), "0x777F4040") << "alpha untouched";
  Picture mask(2, 2, GetParam(), 0x00FF0000);
  const PixelView maskView = mask.View();
  MergeByMask(dest.View(), a.View(), b.View(), 0, &maskView);
  EXPECT_EQ(Hex(dest.At(0, 0)), "0x77FE0080") << "(255 a + 1 b) >> 8 per channel";
  Picture wrong(3, 2, GetParam(), 0);
  MergeByMask(dest.View(), a.View(), wrong.View(), 128, nullptr);
  EXPECT_EQ(Hex(dest.At(0, 0)), "0x77FE0080") << "sizes differ: nothing";

  Picture pic(2, 1, GetParam(), 0x11FFFFFF), bw(2, 1, GetParam());
  bw.At(0, 0) = 0x00FFFFFF;
  bw.At(1, 0) = 0x00000000;
  MaskWithColor(pic.View(), bw.View(), 0x00000080);
  EXPECT_EQ(Hex(pic.At(0, 0)), "0x11FEFEFE") << "white keeps (almost) the picture";
  EXPECT_EQ(Hex(pic.At(1, 0)), "0x11800000") << "black gives the colour";
}

TEST_P(OnRows, CopyChannelBothWays) {
  Picture wide(3, 2, GetParam(), 0x44332211);
  GrayPicture narrow(3, 2, GetParam(), 0);
  CopyChannel(wide.View(), narrow.View(), 3, true);
  EXPECT_EQ(narrow.At(2, 1), 0x44);
  narrow.At(1, 0) = 0x99;
  CopyChannel(wide.View(), narrow.View(), 1, false);
  EXPECT_EQ(Hex(wide.At(1, 0)), "0x44339911");
  EXPECT_EQ(Hex(wide.At(0, 0)), "0x44334411");
  EXPECT_TRUE(narrow.PaddingIs(0));
}

}  // namespace
}  // namespace translit

namespace translit {
namespace {

// Rectangles and points anywhere around the pictures: every operation stays
// inside them (the padding between rows keeps its sentinel; reads outside
// the buffers would stop the sanitizer build).
TEST(AlphaKernelsClipping, RandomPlacementsStayInside) {
  std::mt19937 rng(31337);
  auto coord = [&] { return static_cast<int>(rng() % 23) - 8; };
  auto rect = [&] { return PixelRect{coord(), coord(), coord(), coord()}; };
  const std::uint32_t sentinel = 0xDEADBEEF;
  for (int round = 0; round < 3000; ++round) {
    const bool bottomUp = round % 2 == 1;
    const int w = 1 + static_cast<int>(rng() % 6), h = 1 + static_cast<int>(rng() % 6);
    test::Picture dest(w, h, bottomUp, 0x80402010);
    test::Picture source(1 + static_cast<int>(rng() % 6), 1 + static_cast<int>(rng() % 6), !bottomUp, 0x7F00FF00);
    test::Picture back(1 + static_cast<int>(rng() % 6), 1 + static_cast<int>(rng() % 6), bottomUp, 0x00123456);
    source.At(0, 0) = KeyPixel;
    // The sentinel goes into the padding only, after the pixels are set.
    for (test::Picture* p : {&dest, &source, &back})
      for (int y = 0; y < p->Height(); ++y)
        for (int x = p->Width(); x < p->Width() + 3; ++x) p->Row(y)[x] = sentinel;
    const ParentPixels parent{back.View(), coord(), coord(), 0x000000FF, rng() % 2 == 0};
    const bool fromParent = rng() % 2 == 0;
    switch (round % 12) {
      case 0:
        FillBitmapRect(dest.View(), rect(), 0x123456);
        break;
      case 1:
        TintRect(dest.View(), rect(), static_cast<int>(rng() % 101), 0x123456);
        break;
      case 2:
        SetRectAlpha(dest.View(), rect(), 9, true);
        break;
      case 3:
        MixBitmapsAt(dest.View(), source.View(), 77, {coord(), coord()}, rect());
        break;
      case 4:
        BlendRectOnto(dest.View(), coord(), coord(), KeyPixel, 0.3, rect(), source.View());
        break;
      case 5:
        ComposeAlpha(rect(), rect(), dest.View(), fromParent, parent, source.View());
        break;
      case 6:
        DrawAlphaPart(rect(), rect(), dest.View(), true, static_cast<int>(rng() % 120),
                      rng() % 2 ? NoColor : 0x00FF8000, fromParent, parent, source.View());
        break;
      case 7:
        CopyOpaque(dest.View(), source.Bytes(), coord(), KeyPixel, coord());
        break;
      case 8:
        CopyKeyed(dest.View(), source.View(), coord(), KeyPixel, rect(), coord());
        break;
      case 9:
        CopyKeyedOverBack(dest.View(), source.View(), coord(), fromParent, parent, KeyPixel, rect(), coord());
        break;
      case 10: {
        test::Picture t(1 + static_cast<int>(rng() % 4), 1 + static_cast<int>(rng() % 4), bottomUp, 0x00FFFFFF);
        MixRect(dest.View(), rect(), source.View(), {coord(), coord()}, 200);
        MaskWithColor(dest.View(), t.View(), 0x00FF00FF);
        break;
      }
      default:
        MixBitmaps(dest.View(), source.View(), 1);
        break;
    }
    for (test::Picture* p : {&dest, &source, &back})
      for (int y = 0; y < p->Height(); ++y)
        for (int x = p->Width(); x < p->Width() + 3; ++x)
          ASSERT_EQ(p->Row(y)[x], sentinel) << "round " << round << " operation " << round % 12;
  }
}

}  // namespace
}  // namespace translit
