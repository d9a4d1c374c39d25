// The bitmap layer on real DIB sections: what the kernels write is what GDI
// reads back, on the framework's bottom-up bitmaps and on a top-down section.
#include "render/bitmaps/sAlphaGraph.h"

#include <gtest/gtest.h>

#include "framework/Handles.h"
#include "framework/core/SysUtils.h"

namespace translit {
namespace {

// GDI's view of a pixel (0x00BBGGRR).
COLORREF GdiPixel(fw::TBitmap& b, int x, int y) { return ::GetPixel(b.Canvas().Handle(), x, y); }

int CountGdi(fw::TBitmap& b, COLORREF c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += GdiPixel(b, x, y) == c;
  return n;
}

void FillGdi(fw::TBitmap& b, COLORREF c) {
  fw::UniqueBrush brush(::CreateSolidBrush(c));
  RECT r{0, 0, b.Width(), b.Height()};
  ::FillRect(b.Canvas().Handle(), &r, brush.Get());
  ::GdiFlush();
}

TEST(NewBitmap, ThirtyTwoBitDibs) {
  auto b = NewBitmap32(7, 3);
  EXPECT_EQ(b->PixelFormat(), fw::pf32bit);
  EXPECT_EQ(b->HandleType(), fw::bmDIB);
  EXPECT_EQ(b->Width(), 7);
  EXPECT_EQ(b->Height(), 3);
  fw::TBitmap grey(5, 4, fw::pf24bit);
  auto like = NewBitmapLike(grey);
  EXPECT_EQ(like->PixelFormat(), fw::pf24bit);
  EXPECT_EQ(like->Width(), 5);
  EXPECT_EQ(like->Height(), 4);
}

TEST(TacFast32, BindChecksSizeBeforeFormat) {
  fw::TBitmap rgb(10, 10, fw::pf24bit);
  TacFast32 fast;
  try {
    fast.Bind(&rgb);
    FAIL() << "no error for a 24-bit bitmap";
  } catch (const fw::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Bitmap format is not supported");
  }
  fw::TBitmap thin(1, 10, fw::pf24bit);
  TacFast32 other;
  EXPECT_FALSE(other.Bind(&thin));
  EXPECT_EQ(other.Width, 0u);
}

TEST(TacFast32, AddressesBottomUpRowsThroughTheStride) {
  auto b = NewBitmap32(4, 3);
  TacFast32 fast;
  ASSERT_TRUE(fast.Bind(b.get()));
  EXPECT_EQ(fast.RowStride, static_cast<std::uint8_t*>(b->ScanLine(1)) - static_cast<std::uint8_t*>(b->ScanLine(0)));
  EXPECT_LT(fast.RowStride, 0) << "the framework's DIBs are bottom-up";
  fast.WritePixel(3, 2, 0x80123456);
  EXPECT_EQ(GdiPixel(*b, 3, 2), 0x00123456u) << "colour order in, GDI agrees";
  EXPECT_EQ(static_cast<std::uint32_t*>(b->ScanLine(2))[3], 0x80563412u);
  EXPECT_EQ(fast.ReadPixel(3, 2), 0x80123456u);
  fast.FillArea({1, 0, 3, 2}, 0x00FF0000);
  EXPECT_EQ(GdiPixel(*b, 1, 0), 0x000000FFu) << "pixel order red";
  EXPECT_EQ(GdiPixel(*b, 2, 1), 0x000000FFu);
  EXPECT_EQ(GdiPixel(*b, 3, 1), 0u);
  EXPECT_EQ(fast.ReadPixel(1, 1) >> 24, 0xFFu);
}

TEST(BitmapOperations, InclusiveAndExclusiveRectangles) {
  auto tinted = NewBitmap32(10, 10);
  TintRect(tinted.get(), {2, 2, 4, 4}, 0, 0x0000FF);
  EXPECT_EQ(CountGdi(*tinted, 0x0000FF), 9);
  EXPECT_EQ(GdiPixel(*tinted, 4, 4), 0x0000FFu);
  auto filled = NewBitmap32(10, 10);
  FillBitmapRect(filled.get(), {2, 2, 4, 4}, 0x0000FF);
  EXPECT_EQ(CountGdi(*filled, 0x0000FF), 4);
  EXPECT_EQ(GdiPixel(*filled, 2, 2), 0x0000FFu);

  auto row = NewBitmap32(6, 1);
  FillBitmapRect(row.get(), {1, 0, 4, 1}, 0x00FF00);
  EXPECT_EQ(CountGdi(*row, 0x00FF00), 3);
  auto column = NewBitmap32(1, 6);
  FillBitmapRect(column.get(), {0, 0, 1, 6}, 0x00FF00);
  EXPECT_EQ(CountGdi(*column, 0x00FF00), 0);

  // System colours are resolved for tints.
  auto system = NewBitmap32(3, 3);
  TintRect(system.get(), {0, 0, 2, 2}, 0, fw::clBtnFace);
  EXPECT_EQ(GdiPixel(*system, 1, 1), static_cast<COLORREF>(fw::ColorToRGB(fw::clBtnFace)));
}

TEST(BitmapOperations, TopDownSectionThroughAView) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 5;
  info.bmiHeader.biHeight = -4;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  fw::UniqueBitmap section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(section);
  fw::UniqueDC dc(::CreateCompatibleDC(nullptr));
  fw::SelectGuard select(dc.Get(), section.Get());
  PixelView view{static_cast<std::uint8_t*>(bits), 20, 5, 4};
  FillBitmapRect(view, {0, 0, 5, 1}, 0x00FF0000);
  TintRect(view, {4, 3, 4, 3}, 0, 0x000000FF);
  ::GdiFlush();
  EXPECT_EQ(::GetPixel(dc.Get(), 0, 0), 0x00FF0000u) << "row 0 is the top row";
  EXPECT_EQ(::GetPixel(dc.Get(), 4, 0), 0x00FF0000u);
  EXPECT_EQ(::GetPixel(dc.Get(), 0, 1), 0u);
  EXPECT_EQ(::GetPixel(dc.Get(), 4, 3), 0x000000FFu);
}

TEST(BitmapOperations, MixHueAndKeyOnDibs) {
  auto dest = NewBitmap32(3, 3), source = NewBitmap32(3, 3);
  FillGdi(*dest, 0xFFFFFF);
  SetRectAlpha(dest.get(), {0, 0, 3, 3}, 255, false);
  MixBitmaps(dest.get(), source.get(), 255);
  EXPECT_EQ(GdiPixel(*dest, 2, 2), 0xFEFEFEu);
  EXPECT_EQ(static_cast<std::uint32_t*>(dest->ScanLine(0))[0], 0xFEFEFEFEu);

  auto hue = NewBitmap32(3, 2);
  FillGdi(*hue, 0x0000FF);
  ::SetPixel(hue->Canvas().Handle(), 1, 1, 0x808080);
  ::SetPixel(hue->Canvas().Handle(), 2, 1, 0xFF00FF);
  ::GdiFlush();
  ShiftBitmapHue(hue.get(), 120);
  EXPECT_EQ(GdiPixel(*hue, 0, 0), 0x00FF00u);
  EXPECT_EQ(GdiPixel(*hue, 1, 1), 0x808080u);
  EXPECT_EQ(GdiPixel(*hue, 2, 1), 0xFF00FFu);

  // The framework's mixing object, with rectangles set by hand.
  auto a = NewBitmap32(4, 4), b = NewBitmap32(4, 4);
  FillGdi(*b, 0xFFFFFF);
  TacFastSum32 sum;
  ASSERT_TRUE(sum.Bind(b.get(), a.get()));
  sum.Alpha = 0;
  sum.DestLeft = 1, sum.DestTop = 1, sum.DestRight = 3, sum.DestBottom = 3;
  sum.SourceLeft = 0, sum.SourceTop = 0, sum.SourceRight = 2, sum.SourceBottom = 2;
  sum.Mix();
  EXPECT_EQ(CountGdi(*a, 0xFEFEFE), 4);
  EXPECT_EQ(GdiPixel(*a, 1, 1), 0xFEFEFEu);
  EXPECT_EQ(GdiPixel(*a, 3, 3), 0u);
  TacFastSum32 none;
  auto small = NewBitmap32(1, 4);
  EXPECT_FALSE(none.Bind(small.get(), a.get()));
}

TEST(BitmapOperations, BlendedPicturesAreCutAtEitherEdgeOfTheDestination) {
  // A picture of four columns (red 10, 20, 30, 40) laid with weight 0 onto a
  // picture of three: whatever falls outside is cut, on the left as on the
  // right, so a glyph half outside still shows its other half.
  auto source = NewBitmap32(4, 2);
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 2; ++y) ::SetPixel(source->Canvas().Handle(), x, y, RGB(10 * (x + 1), 0, 0));
  ::GdiFlush();
  const struct {
    int x;
    COLORREF expected[3];
  } rows[] = {{-1, {20, 30, 40}}, {-3, {40, 0, 0}}, {-4, {0, 0, 0}}, {1, {0, 10, 20}}, {0, {10, 20, 30}}};
  for (const auto& row : rows) {
    auto dest = NewBitmap32(3, 2);
    FillGdi(*dest, 0);
    BlendRectOnto(dest.get(), row.x, 0, 0x00FF00FF, 0.0, RECT{0, 0, 3, 1}, source.get());
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(GdiPixel(*dest, x, 0), row.expected[x]) << "at " << row.x << ", column " << x;
      EXPECT_EQ(GdiPixel(*dest, x, 1), row.expected[x]) << "at " << row.x << ", column " << x;
    }
  }
}

TEST(BitmapOperations, CopyOpaqueConvertsOtherFormats) {
  fw::TBitmap palette(3, 2, fw::pf8bit);  // grey ramp palette, all index 0 = black
  static_cast<std::uint8_t*>(palette.ScanLine(0))[1] = 255;
  auto dest = NewBitmap32(3, 2);
  FillGdi(*dest, 0x00FF00);
  CopyOpaque(dest.get(), &palette, 0, 0x000000, 0);
  EXPECT_EQ(palette.PixelFormat(), fw::pf24bit);
  EXPECT_EQ(GdiPixel(*dest, 0, 0), 0x00FF00u) << "black is the key here";
  EXPECT_EQ(GdiPixel(*dest, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(static_cast<std::uint32_t*>(dest->ScanLine(0))[1] >> 24, 0xFFu);
}

TEST(BitmapOperations, ParentThatIsNotThirtyTwoBitRaises) {
  auto dest = NewBitmap32(2, 2), source = NewBitmap32(2, 2);
  fw::TBitmap parentBitmap(4, 4, fw::pf24bit);
  ParentCache parent{&parentBitmap, 0, 0, 0x00FF00FF, true};
  EXPECT_THROW(CopyKeyedOverBack(dest.get(), source.get(), 0, true, parent, 0x00FF00FF, {0, 0, 1, 1}, 0),
               fw::EAssertionFailed);
  FillGdi(*source, 0xFF00FF);
  auto back = NewBitmap32(4, 4);
  FillGdi(*back, 0x123456);
  parent.Bitmap = back.get();
  CopyKeyedOverBack(dest.get(), source.get(), 0, true, parent, 0x00FF00FF, {0, 0, 1, 1}, 0);
  EXPECT_EQ(CountGdi(*dest, 0x123456), 4);
}

TEST(BitmapOperations, ShadeRectOfTheScrollBars) {
  auto b = NewBitmap32(6, 4);
  FillGdi(*b, 0x0080FF);
  // Level 60, Size 0, Radius 0 on a rectangle one pixel larger: one mix of
  // ((d - c) * 153 + 256 c) >> 8 everywhere.
  ShadeRect(b.get(), {0, 0, 7, 5}, 60, 0x000000, 0, 0);
  const COLORREF want = RGB((0xFF * 153) >> 8, (0x80 * 153) >> 8, 0);
  EXPECT_EQ(CountGdi(*b, want), 24);

  auto rings = NewBitmap32(20, 20);
  FillGdi(*rings, 0xFFFFFF);
  ShadeRect(rings.get(), {0, 0, 20, 20}, 0, 0x000000, 4, 2);
  EXPECT_EQ(GdiPixel(*rings, 10, 0), 0xFEFEFEu) << "the outer ring keeps (almost) the picture";
  EXPECT_EQ(GdiPixel(*rings, 10, 10), 0u) << "level 0: the middle takes the colour";
  const BYTE mid = GetRValue(GdiPixel(*rings, 10, 2));
  EXPECT_GT(mid, 0);
  EXPECT_LT(mid, 255);
}

}  // namespace
}  // namespace translit
