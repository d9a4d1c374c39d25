// Blur and resampling of framework bitmaps.
#include "render/bitmaps/acImageFilters.h"

#include <gtest/gtest.h>

#include "framework/core/SysUtils.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {
namespace {

TEST(BlurGray8Bitmap, OnlyEightBitDibs) {
  fw::TBitmap mask(9, 9, fw::pf8bit);
  static_cast<std::uint8_t*>(mask.ScanLine(4))[4] = 255;
  BlurGray8(&mask, 1.0);
  auto at = [&](int x, int y) { return static_cast<std::uint8_t*>(mask.ScanLine(y))[x]; };
  EXPECT_GT(at(2, 4), 0);
  EXPECT_GT(at(4, 6), 0);
  EXPECT_EQ(at(1, 4), 0);
  EXPECT_EQ(at(4, 7), 0);

  auto colour = NewBitmap32(9, 9);
  static_cast<std::uint32_t*>(colour->ScanLine(4))[4] = 0xFFFFFFFF;
  BlurGray8(colour.get(), 1.0);
  EXPECT_EQ(static_cast<std::uint32_t*>(colour->ScanLine(4))[3], 0u);
}

TEST(ResampleBitmap, TooSmallSameSizeAndFormats) {
  fw::TBitmap thin(1, 10, fw::pf32bit);
  auto dest = NewBitmap32(3, 3);
  try {
    Resample(&thin, dest.get(), 4, rfMitchell, 4);
    FAIL() << "no error";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "Source bitmap is too small");
  }
  EXPECT_EQ(dest->Width(), 3) << "nothing changed";
  Resample(&thin, dest.get(), 4, rfMitchell, 0);  // height 0: nothing, no error

  auto four = NewBitmap32(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) static_cast<std::uint32_t*>(four->ScanLine(y))[x] = 0x01020304u * (x + 4 * y);
  Resample(four.get(), dest.get(), 4, rfTriangle, 4);
  ASSERT_EQ(dest->Width(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(static_cast<std::uint32_t*>(dest->ScanLine(y))[x], 0x01020304u * (x + 4 * y));

  // 8-bit sources become 24-bit; so does the result.
  fw::TBitmap grey(2, 2, fw::pf8bit);
  static_cast<std::uint8_t*>(grey.ScanLine(0))[1] = 255;
  static_cast<std::uint8_t*>(grey.ScanLine(1))[1] = 255;
  fw::TBitmap wide;
  Resample(&grey, &wide, 4, rfTriangle, 2);
  EXPECT_EQ(grey.PixelFormat(), fw::pf24bit);
  EXPECT_EQ(wide.PixelFormat(), fw::pf24bit);
  ASSERT_EQ(wide.Width(), 4);
  ASSERT_EQ(wide.Height(), 2);
  const std::uint8_t* row = static_cast<std::uint8_t*>(wide.ScanLine(1));
  const int want[4] = {0, 127, 255, 255};
  for (int x = 0; x < 4; ++x)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(row[3 * x + c], want[x]) << "column " << x;
}

TEST(ResampleBitmap, IntoItself) {
  auto b = NewBitmap32(2, 2);
  for (int y = 0; y < 2; ++y) {
    static_cast<std::uint32_t*>(b->ScanLine(y))[0] = 0xFF000000;
    static_cast<std::uint32_t*>(b->ScanLine(y))[1] = 0xFFFFFFFF;
  }
  Resample(b.get(), b.get(), 4, rfBox, 2);
  ASSERT_EQ(b->Width(), 4);
  const std::uint32_t want[4] = {0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(static_cast<std::uint32_t*>(b->ScanLine(1))[x], want[x]) << x;
}

}  // namespace
}  // namespace translit
