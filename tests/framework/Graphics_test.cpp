// Bitmaps: bottom-up DIB rows, format changes that keep the content, and BMP
// files of every depth the platform reads, damaged ones included.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/Graphics.h"
#include "tests/render/pixels/bmp/BmpWriter.h"

namespace {

using fw::TBitmap;

TEST(Bitmap, ThirtyTwoBitRowsAreBottomUp) {
  TBitmap bmp(3, 2, fw::pf32bit);
  translit::PixelView v = bmp.View();
  ASSERT_FALSE(v.Empty());
  EXPECT_EQ(v.width, 3);
  EXPECT_EQ(v.height, 2);
  EXPECT_EQ(v.rowStride, -12);
  EXPECT_EQ(static_cast<void*>(v.Row(1)), bmp.ScanLine(1));
  v.At(2, 1) = 0x00FF0000;  // red: byte 2 of a pixel
  EXPECT_EQ(static_cast<std::uint32_t>(::GetPixel(bmp.Canvas().Handle(), 2, 1)), 0x000000FFu);
  EXPECT_THROW(bmp.ScanLine(2), fw::EInvalidGraphic);
}

TEST(Bitmap, PixelFormatChangeKeepsTheContent) {
  TBitmap bmp(4, 4, fw::pf24bit);
  bmp.Canvas().Brush().SetColor(0x00336699);
  RECT r{0, 0, 4, 4};
  bmp.Canvas().FillRect(r);
  bmp.SetPixelFormat(fw::pf32bit);
  EXPECT_EQ(bmp.View().At(1, 1) & 0xFFFFFF, 0x00996633u);
  bmp.SetSize(8, 2);
  EXPECT_EQ(bmp.View().At(1, 1) & 0xFFFFFF, 0x00996633u) << "the overlapping part is kept";
}

// A BMP file from its pieces.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                                  const std::vector<std::uint8_t>& pixels, std::uint32_t compression = 0,
                                  const std::vector<std::uint32_t>& masks = {}) {
  std::vector<std::uint8_t> out(14 + 40);
  auto put32 = [&](size_t at, std::uint32_t v) { std::memcpy(&out[at], &v, 4); };
  auto put16 = [&](size_t at, std::uint16_t v) { std::memcpy(&out[at], &v, 2); };
  out[0] = 'B';
  out[1] = 'M';
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, static_cast<std::uint16_t>(bits));
  put32(30, compression);
  put32(34, static_cast<std::uint32_t>(pixels.size()));
  put32(46, static_cast<std::uint32_t>(palette.size()));
  for (std::uint32_t m : masks)
    out.insert(out.end(), reinterpret_cast<std::uint8_t*>(&m), reinterpret_cast<std::uint8_t*>(&m) + 4);
  for (std::uint32_t c : palette)
    out.insert(out.end(), reinterpret_cast<std::uint8_t*>(&c), reinterpret_cast<std::uint8_t*>(&c) + 4);
  put32(10, static_cast<std::uint32_t>(out.size()));
  out.insert(out.end(), pixels.begin(), pixels.end());
  put32(2, static_cast<std::uint32_t>(out.size()));
  return out;
}

// The colour of pixel (x, y) (y from the top) after reading the file.
std::uint32_t ColorAt(const std::vector<std::uint8_t>& file, int x, int y, fw::TPixelFormat* format = nullptr) {
  fw::TMemoryStream s(file);
  TBitmap bmp;
  bmp.LoadFromStream(s);
  if (format) *format = bmp.PixelFormat();
  return static_cast<std::uint32_t>(::GetPixel(bmp.Canvas().Handle(), x, y));
}

TEST(Bitmap, ReadsBmpFilesOfEveryDepth) {
  // 2 x 2 images; the bottom row comes first in the file. Top-left is red.
  struct Case {
    const char* what;
    std::vector<std::uint8_t> file;
    fw::TPixelFormat format;
  } cases[] = {
      {"1 bit", MakeBmp(2, 2, 1, {0x000000, 0xFF0000}, {0x00, 0, 0, 0, 0x80, 0, 0, 0}), fw::pf1bit},
      {"4 bit", MakeBmp(2, 2, 4, {0, 0xFF0000, 0x00FF00}, {0x20, 0, 0, 0, 0x12, 0, 0, 0}), fw::pf4bit},
      {"8 bit", MakeBmp(2, 2, 8, {0, 0xFF0000}, {0, 0, 0, 0, 1, 0, 0, 0}), fw::pf8bit},
      {"8 bit RLE", MakeBmp(2, 2, 8, {0, 0xFF0000}, {2, 0, 0, 0, 1, 1, 1, 0, 0, 1}, 1), fw::pf8bit},
      {"16 bit 555", MakeBmp(2, 2, 16, {}, {0, 0, 0, 0, 0x00, 0x7C, 0, 0}), fw::pf15bit},
      {"16 bit 565", MakeBmp(2, 2, 16, {}, {0, 0, 0, 0, 0x00, 0xF8, 0, 0}, 3, {0xF800, 0x07E0, 0x001F}), fw::pf16bit},
      {"24 bit", MakeBmp(2, 2, 24, {}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0}), fw::pf24bit},
      {"32 bit", MakeBmp(2, 2, 32, {}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0}), fw::pf32bit},
  };
  for (const Case& c : cases) {
    fw::TPixelFormat format{};
    EXPECT_EQ(ColorAt(c.file, 0, 0, &format), 0x0000FFu) << c.what;
    EXPECT_EQ(ColorAt(c.file, 1, 1), 0u) << c.what;
    EXPECT_EQ(format, c.format) << c.what;
  }
}

TEST(Bitmap, SaveAndLoadRoundTrip) {
  TBitmap bmp(5, 3, fw::pf32bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) bmp.View().At(x, y) = static_cast<std::uint32_t>(0x10203 * (x + 7 * y));
  fw::TMemoryStream s;
  bmp.SaveToStream(s);
  s.SetPosition(0);
  TBitmap back;
  back.LoadFromStream(s);
  ASSERT_EQ(back.Width(), 5);
  ASSERT_EQ(back.PixelFormat(), fw::pf32bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.View().At(x, y), bmp.View().At(x, y)) << x << "," << y;
}

TEST(Bitmap, DamagedFilesAreAnErrorNotACrash) {
  std::vector<std::uint8_t> good = MakeBmp(2, 2, 24, {}, std::vector<std::uint8_t>(16, 0));
  std::vector<std::vector<std::uint8_t>> bad;
  for (size_t n = 0; n < good.size(); n += 3) bad.emplace_back(good.begin(), good.begin() + static_cast<long>(n));
  auto huge = good;
  std::uint32_t big = 0x7FFFFFFF;
  std::memcpy(&huge[18], &big, 4);
  bad.push_back(huge);
  auto wrongDepth = good;
  wrongDepth[28] = 7;
  bad.push_back(wrongDepth);
  auto tooManyColors = MakeBmp(2, 2, 8, std::vector<std::uint32_t>(300, 0), std::vector<std::uint8_t>(8, 0));
  bad.push_back(tooManyColors);
  for (const auto& file : bad) {
    fw::TMemoryStream s(file);
    TBitmap bmp;
    EXPECT_THROW(bmp.LoadFromStream(s), fw::EInvalidGraphic) << "size " << file.size();
  }
}

// Where the pixels start: the file's pixel offset, past a gap or a palette
// that a 24-bit picture carries without using it; masks inside the longer
// headers; and a header that would cut its masks is refused.
TEST(Bitmap, PixelsAreReadFromWhereTheFileSays) {
  // 2 x 2, bottom row first, top-left red: 24-bit and 8-bit pixels.
  const std::vector<std::uint8_t> rgb = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0};
  const std::vector<std::uint8_t> indexed = {2, 2, 0, 0, 1, 2, 0, 0};
  auto layout = [](int bits, const std::vector<std::uint8_t>& pixels) {
    bmptest::BmpFile s;
    s.bits = static_cast<std::uint16_t>(bits);
    s.pixels = pixels;
    if (bits == 8) {
      s.palette = {0x00FF00, 0xFF0000, 0x000000};
      s.clrUsed = 3;
    }
    return s;
  };
  struct Case {
    const char* what;
    bmptest::BmpFile layout;
  };
  std::vector<Case> cases;
  cases.push_back({"24 bit after a gap", layout(24, rgb)});
  cases.back().layout.gap = 12;
  cases.push_back({"24 bit after a palette", layout(24, rgb)});
  cases.back().layout.clrUsed = 3;
  cases.back().layout.palette = {0x123456, 0x654321, 0xABCDEF};
  cases.push_back({"8 bit after a gap", layout(8, indexed)});
  cases.back().layout.gap = 7;
  cases.push_back({"8 bit, core header", layout(8, indexed)});
  cases.back().layout.headerSize = 12;
  cases.back().layout.palette.resize(256, 0x0000FF);
  cases.back().layout.clrUsed = 0;
  cases.push_back({"32 bit, masks in a 124-byte header", layout(32, std::vector<std::uint8_t>(16, 0))});
  cases.back().layout.headerSize = 124;
  cases.back().layout.compression = BI_BITFIELDS;
  cases.back().layout.masks = {0x0000FF00, 0x00FF0000, 0xFF000000};  // red in the second byte
  cases.back().layout.pixels[9] = 0xFF;
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> file = bmptest::WriteBmp(c.layout);
    EXPECT_EQ(ColorAt(file, 0, 0), 0x0000FFu) << c.what;
    EXPECT_EQ(ColorAt(file, 1, 1), 0u) << c.what;
    EXPECT_EQ(ColorAt(file, 1, 0), 0u) << c.what;
  }

  // A header of 45 bytes with bit fields, the file ending right after it:
  // the masks at offset 40 would run past the end.
  bmptest::BmpFile cutMasks = layout(16, {});
  cutMasks.headerSize = 45;
  cutMasks.compression = BI_BITFIELDS;
  cutMasks.masks = {0xF800, 0x07E0, 0x001F};
  fw::TMemoryStream s(bmptest::WriteBmp(cutMasks));
  TBitmap bmp;
  EXPECT_THROW(bmp.LoadFromStream(s), fw::EInvalidGraphic);
}

}  // namespace
