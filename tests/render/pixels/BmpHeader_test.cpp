// BMP headers: every header form and the places of palette, masks and pixels
// they give, and a table of damaged headers that must each be refused for
// their own reason without a byte read outside the buffer (the sanitizers
// watch the native run; every parse reads from an exactly sized copy).
#include "render/pixels/BmpHeader.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "tests/render/pixels/bmp/BmpWriter.h"

using namespace translit;
using bmptest::BmpFile;
using bmptest::Bytes;
using bmptest::WriteBmp;

namespace {

// Parses from a heap copy of exactly the file's size, so that a read past
// its end is a sanitizer error.
BmpFault ParseFile(const Bytes& file, BmpLayout& layout) {
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[file.size() + 1]);
  std::copy(file.begin(), file.end(), copy.get());
  return ParseBmpFile(copy.get(), file.size(), layout);
}
BmpFault ParseFile(const Bytes& file) {
  BmpLayout layout;
  return ParseFile(file, layout);
}

BmpFile Rgb24(int width, int height) {
  BmpFile s;
  s.width = width;
  s.height = height;
  s.pixels.assign(static_cast<std::size_t>((width * 3 + 3) / 4 * 4 * (height < 0 ? -height : height)), 0x11);
  return s;
}

BmpFile Indexed8() {
  BmpFile s;
  s.bits = 8;
  s.clrUsed = 2;
  s.palette = {0x112233, 0x445566};
  s.pixels.assign(8, 1);
  return s;
}

BmpFile BitFields(std::uint32_t headerSize) {
  BmpFile s;
  s.headerSize = headerSize;
  s.bits = 16;
  s.compression = kBmpBitFields;
  s.masks = {0xF800, 0x07E0, 0x001F};
  s.pixels.assign(8, 0);
  return s;
}

}  // namespace

TEST(BmpHeader, EveryHeaderFormGivesItsPaletteMasksAndPixels) {
  // Core header: 3-byte palette entries, sizes in 16 bits.
  BmpFile core;
  core.headerSize = 12;
  core.bits = 1;
  core.palette = {0x000000, 0xFFFFFF};
  core.pixels.assign(8, 0x80);
  BmpLayout l;
  ASSERT_EQ(ParseFile(WriteBmp(core), l), BmpFault::None);
  EXPECT_EQ(l.ColorCount, 2u);
  EXPECT_EQ(l.ColorBytes, 3u);
  EXPECT_EQ(l.ColorsOffset, 14u + 12);
  EXPECT_EQ(l.PixelOffset, 14u + 12 + 6);
  EXPECT_EQ(l.RowBytes, 4u);
  EXPECT_EQ(l.PixelBytes, 8u);

  const Bytes indexed = WriteBmp(Indexed8());
  ASSERT_EQ(ParseFile(indexed, l), BmpFault::None);
  EXPECT_EQ(l.ColorCount, 2u);
  EXPECT_EQ(l.Color(indexed.data(), 1), 0x445566u);
  EXPECT_EQ(l.PixelOffset, 14u + 40 + 8);

  // Masks after the 40-byte header, and inside every longer one.
  for (std::uint32_t size : {40u, 52u, 56u, 108u, 124u}) {
    ASSERT_EQ(ParseFile(WriteBmp(BitFields(size)), l), BmpFault::None) << size;
    EXPECT_EQ(l.Masks[0], 0xF800u) << size;
    EXPECT_EQ(l.Masks[1], 0x07E0u) << size;
    EXPECT_EQ(l.Masks[2], 0x001Fu) << size;
    EXPECT_EQ(l.PixelOffset, 14u + size + (size == 40 ? 12 : 0)) << size;
  }

  // Top-down rows, a full 256-colour palette by default.
  BmpFile top = Rgb24(3, -2);
  ASSERT_EQ(ParseFile(WriteBmp(top), l), BmpFault::None);
  EXPECT_TRUE(l.TopDown());
  EXPECT_EQ(l.AbsHeight(), 2);
  EXPECT_EQ(l.RowBytes, 12u);
  BmpFile full = Indexed8();
  full.clrUsed = 0;
  full.palette.assign(256, 0x010203);
  ASSERT_EQ(ParseFile(WriteBmp(full), l), BmpFault::None);
  EXPECT_EQ(l.ColorCount, 256u);
}

TEST(BmpHeader, PixelsStartWhereTheFileSays) {
  // A gap between the palette and the pixels: the file's offset counts.
  BmpFile gap = Indexed8();
  gap.gap = 10;
  BmpLayout l;
  ASSERT_EQ(ParseFile(WriteBmp(gap), l), BmpFault::None);
  EXPECT_EQ(l.PixelOffset, 14u + 40 + 8 + 10);

  // An offset of 0: right after the palette.
  BmpFile zero = Indexed8();
  zero.offBits = 0;
  ASSERT_EQ(ParseFile(WriteBmp(zero), l), BmpFault::None);
  EXPECT_EQ(l.PixelOffset, 14u + 40 + 8);

  // A 24-bit picture with a palette (of no use to it) before its pixels: a
  // packed DIB, which has no offset, skips it; a file goes by its offset.
  BmpFile optional = Rgb24(2, 2);
  optional.clrUsed = 3;
  optional.palette = {1, 2, 3};
  ASSERT_EQ(ParseFile(WriteBmp(optional), l), BmpFault::None);
  EXPECT_EQ(l.ColorCount, 0u);
  EXPECT_EQ(l.PixelOffset, 14u + 40 + 12);
  optional.fileHeader = false;
  const Bytes dib = WriteBmp(optional);
  ASSERT_EQ(ParseDib(dib.data(), dib.size(), 0, l), BmpFault::None);
  EXPECT_EQ(l.PixelOffset, 40u + 12);

  // A file may say 16 million colours for a 24-bit picture without writing
  // them; its offset still finds the pixels.
  BmpFile counted = Rgb24(2, 2);
  counted.clrUsed = 0xFFFFFFFF;
  ASSERT_EQ(ParseFile(WriteBmp(counted), l), BmpFault::None);
  EXPECT_EQ(l.PixelOffset, 14u + 40);
}

TEST(BmpHeader, DamagedHeadersAreRefusedForTheirReason) {
  struct Case {
    const char* what;
    std::function<Bytes()> file;
    BmpFault fault;
  };
  auto layout = [](BmpFile s, const std::function<void(BmpFile&)>& change) {
    change(s);
    return WriteBmp(s);
  };
  auto cut = [](Bytes b, std::size_t n) {
    b.resize(b.size() - n);
    return b;
  };
  const Case cases[] = {
      {"shorter than the file header",
       [] {
         return Bytes{'B', 'M', 0, 0};
       },
       BmpFault::Truncated},
      {"no header size", [&] { return cut(WriteBmp(Indexed8()), WriteBmp(Indexed8()).size() - 16); },
       BmpFault::Truncated},
      {"signature",
       [&] {
         auto b = WriteBmp(Indexed8());
         b[1] = 'A';
         return b;
       },
       BmpFault::Signature},
      {"header size 11", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.headerSize = 11; }); },
       BmpFault::HeaderSize},
      {"header size 39", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.headerSize = 39; }); },
       BmpFault::HeaderSize},
      {"header size 125", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.headerSize = 125; }); },
       BmpFault::HeaderSize},
      // The masks would straddle the header's end: refused, never read.
      {"bit fields in a header of 41", [&] { return layout(BitFields(41), [](BmpFile& s) { s.pixels.clear(); }); },
       BmpFault::HeaderSize},
      {"bit fields in a header of 51", [&] { return layout(BitFields(51), [](BmpFile&) {}); }, BmpFault::HeaderSize},
      {"header longer than the file",
       [&] { return cut(layout(BitFields(124), [](BmpFile& s) { s.pixels.clear(); }), 1); }, BmpFault::Truncated},
      {"masks cut after a 40-byte header",
       [&] {
         return layout(BitFields(40), [](BmpFile& s) {
           s.masks.pop_back();
           s.pixels.clear();
         });
       },
       BmpFault::Truncated},
      {"width 0", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.width = 0; }); }, BmpFault::Dimensions},
      {"negative width", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.width = -2; }); }, BmpFault::Dimensions},
      {"width 32768", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.width = 32768; }); }, BmpFault::Dimensions},
      {"height 0", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.height = 0; }); }, BmpFault::Dimensions},
      {"height -32768", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.height = -32768; }); },
       BmpFault::Dimensions},
      {"height INT_MIN", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.height = INT_MIN; }); },
       BmpFault::Dimensions},
      {"2 bits", [&] { return layout(Indexed8(), [](BmpFile& s) { s.bits = 2; }); }, BmpFault::BitCount},
      {"0 bits", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.bits = 0; }); }, BmpFault::BitCount},
      {"64 bits", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.bits = 64; }); }, BmpFault::BitCount},
      {"unknown compression", [&] { return layout(Rgb24(2, 2), [](BmpFile& s) { s.compression = 4; }); },
       BmpFault::Compression},
      {"bit fields of 24 bits",
       [&] {
         return layout(BitFields(40), [](BmpFile& s) {
           s.bits = 24;
           s.pixels.resize(16);
         });
       },
       BmpFault::Compression},
      {"RLE8 of 4 bits",
       [&] {
         return layout(Indexed8(), [](BmpFile& s) {
           s.bits = 4;
           s.compression = kBmpRle8;
         });
       },
       BmpFault::Compression},
      {"RLE8 top-down",
       [&] {
         return layout(Indexed8(), [](BmpFile& s) {
           s.height = -2;
           s.compression = kBmpRle8;
         });
       },
       BmpFault::Compression},
      {"RLE8 without its size",
       [&] {
         return layout(Indexed8(), [](BmpFile& s) {
           s.compression = kBmpRle8;
           s.sizeImage = 0;
         });
       },
       BmpFault::Compression},
      {"257 colours of 8 bits", [&] { return layout(Indexed8(), [](BmpFile& s) { s.clrUsed = 257; }); },
       BmpFault::Palette},
      {"17 colours of 4 bits",
       [&] {
         return layout(Indexed8(), [](BmpFile& s) {
           s.bits = 4;
           s.clrUsed = 17;
         });
       },
       BmpFault::Palette},
      {"palette cut",
       [&] {
         return layout(Indexed8(), [](BmpFile& s) {
           s.clrUsed = 200;
           s.pixels.clear();
         });
       },
       BmpFault::Truncated},
      {"pixel offset inside the file header", [&] { return layout(Indexed8(), [](BmpFile& s) { s.offBits = 10; }); },
       BmpFault::PixelOffset},
      {"pixel offset inside the info header", [&] { return layout(Indexed8(), [](BmpFile& s) { s.offBits = 30; }); },
       BmpFault::PixelOffset},
      {"pixel offset inside the palette",
       [&] { return layout(Indexed8(), [](BmpFile& s) { s.offBits = 14 + 40 + 4; }); }, BmpFault::PixelOffset},
      {"pixel offset past the end", [&] { return layout(Indexed8(), [](BmpFile& s) { s.offBits = 1000; }); },
       BmpFault::Truncated},
      {"pixels one byte short", [&] { return cut(WriteBmp(Rgb24(3, 3)), 1); }, BmpFault::Truncated},
      {"pixels short after a gap", [&] { return layout(Indexed8(), [](BmpFile& s) { s.offBits = 14 + 40 + 8 + 1; }); },
       BmpFault::Truncated},
      {"RLE size beyond the data",
       [&] {
         return layout(Indexed8(), [](BmpFile& s) {
           s.compression = kBmpRle8;
           s.sizeImage = 9;
         });
       },
       BmpFault::Truncated},
      // 32767 rows of 131068 bytes: more than 32 bits can count, never wrapped.
      {"largest picture, no pixels",
       [&] {
         return layout(Rgb24(1, 1), [](BmpFile& s) {
           s.width = 32767;
           s.height = 32767;
           s.bits = 32;
         });
       },
       BmpFault::Truncated},
      {"2^32 colours of a packed 24-bit picture",
       [&] {
         return layout(Rgb24(2, 2), [](BmpFile& s) {
           s.clrUsed = 0xFFFFFFFF;
           s.offBits = 0;
         });
       },
       BmpFault::Truncated},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BmpFaultText(ParseFile(c.file())), std::string(BmpFaultText(c.fault))) << c.what;
  }
}

TEST(BmpHeader, EveryPrefixOfAGoodFileIsRefused) {
  for (const BmpFile& s : {Indexed8(), BitFields(108), Rgb24(3, 2)}) {
    const Bytes file = WriteBmp(s);
    ASSERT_EQ(ParseFile(file), BmpFault::None);
    for (std::size_t n = 0; n < file.size(); ++n)
      EXPECT_EQ(ParseFile(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n))), BmpFault::Truncated)
          << n;
  }
}

// Inputs the fuzzer found (tests/render/pixels/bmp/regression, kept by
// fuzz/keep-input), as files and as packed DIBs: refused, or a layout inside
// the buffer. Reported as skipped while none has been kept.
TEST(BmpHeader, FuzzRegressionInputs) {
  if (!std::filesystem::is_directory(BMP_REGRESSION_DIR)) GTEST_SKIP() << "no inputs kept in " << BMP_REGRESSION_DIR;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(BMP_REGRESSION_DIR)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ++files;
    BmpLayout l;
    if (ParseFile(data, l) == BmpFault::None) {
      EXPECT_LE(l.PixelOffset + l.PixelBytes, data.size()) << entry.path();
      EXPECT_LE(l.ColorsOffset + std::size_t{l.ColorCount} * l.ColorBytes, l.PixelOffset) << entry.path();
    }
  }
  EXPECT_GT(files, 0) << BMP_REGRESSION_DIR;
}
