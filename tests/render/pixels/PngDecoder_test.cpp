// The PNG decoder on files written by the tests themselves: every colour type
// and depth of the format table, Adam7, the chunk rules, CRC checks, the error
// table and truncated files.
#include "render/pixels/PngDecoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <typeinfo>

#include "tests/support/PngWriter.h"

using namespace translit;
using pngtest::Assemble;
using pngtest::Bytes;
using pngtest::Chunk;
using pngtest::ImageChunks;
using pngtest::RawImage;

namespace {

PngBitmap Decode(const Bytes& file) { return DecodePng(file.data(), file.size()); }

// The colour a raw pixel must decode to, from the format table (no gamma).
std::uint32_t ExpectedColor(const RawImage& img, std::uint32_t x, std::uint32_t y) {
  const std::uint64_t v = img.Pixel(x, y);
  const int d = img.depth;
  auto level = [d](std::uint64_t s) -> std::uint32_t {
    switch (d) {
      case 1:
        return static_cast<std::uint32_t>(s * 255);
      case 2:
        return static_cast<std::uint32_t>(s * 85);
      case 4:
        return static_cast<std::uint32_t>(s * 17);
      case 8:
        return static_cast<std::uint32_t>(s);
      default:
        return static_cast<std::uint32_t>(s * 255 / 65535);
    }
  };
  const std::uint64_t mask = (std::uint64_t{1} << d) - 1;
  auto grey = [](std::uint32_t l) { return 0xFF000000u | (l << 16) | (l << 8) | l; };
  switch (img.colorType) {
    case 0:
      return grey(level(v));
    case 4:
      return grey(level(v >> d));
    case 2:
      return 0xFF000000u | (level(v >> 2 * d) << 16) | (level((v >> d) & mask) << 8) | level(v & mask);
    case 6:
      return (level(v & mask) << 24) | (level(v >> 3 * d) << 16) | (level((v >> 2 * d) & mask) << 8) |
             level((v >> d) & mask);
    case 3: {
      Bytes pal = pngtest::TestPalette(1 << d);
      return 0xFF000000u | (std::uint32_t{pal[3 * v]} << 16) | (std::uint32_t{pal[3 * v + 1]} << 8) | pal[3 * v + 2];
    }
  }
  return 0;
}

PngPixelFormat ExpectedFormat(int colorType, int depth) {
  switch (colorType) {
    case 2:
      return PngPixelFormat::pf24bit;
    case 6:
      return PngPixelFormat::pf32bit;
    case 4:
      return PngPixelFormat::pf8bit;
    default:
      return depth == 1 ? PngPixelFormat::pf1bit : depth <= 4 ? PngPixelFormat::pf4bit : PngPixelFormat::pf8bit;
  }
}

void ExpectPicture(const RawImage& img, const PngBitmap& bmp, const std::string& what) {
  ASSERT_EQ(bmp.Layout.Width, static_cast<int>(img.width)) << what;
  ASSERT_EQ(bmp.Layout.Height, static_cast<int>(img.height)) << what;
  EXPECT_EQ(bmp.Layout.PixelFormat, ExpectedFormat(img.colorType, img.depth)) << what;
  std::vector<std::uint32_t> px = bmp.ToBGRA32();
  int bad = 0;
  for (std::uint32_t y = 0; y < img.height; ++y)
    for (std::uint32_t x = 0; x < img.width; ++x) {
      std::uint32_t got = px[y * img.width + x], want = ExpectedColor(img, x, y);
      if (got != want && ++bad <= 3)
        ADD_FAILURE() << what << ": pixel (" << x << "," << y << ") is " << std::hex << got << ", want " << want;
    }
  EXPECT_EQ(bad, 0) << what;
}

// The class and message a decode must fail with.
template <class E>
void ExpectFailure(const Bytes& file, const std::string& message, const std::string& what) {
  try {
    Decode(file);
    ADD_FAILURE() << what << ": decoded, expected \"" << message << "\"";
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message) << what;
  } catch (const fw::Exception& e) {
    ADD_FAILURE() << what << ": " << typeid(e).name() << " \"" << e.Message() << "\", expected " << typeid(E).name();
  }
}

const std::string kInvalid = "Cannot load image. Invalid or unexpected PNG image format.";
const std::string kCrc = "Cannot load image. CRC error found in PNG file.";
const std::string kPalette = "Cannot load image. Palette in PNG file is invalid.";
const std::string kExtra = "Cannot load image. Extra compressed data found in PNG file.";
const std::string kCompression = "Cannot load image. Compression error found in PNG file.";
const std::string kCritical = "Cannot load PNG image. Unexpected but critical chunk detected.";
const std::string kColorFormat = "Invalid color format in PNG file.";

struct Format {
  int colorType, depth;
};
const Format kTable[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                         {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

}  // namespace

TEST(PngDecoder, EveryFormatOfTheTableInterlacedOrNot) {
  // Widths around the byte boundaries of packed rows and the Adam7 grid.
  const std::uint32_t sizes[][2] = {{1, 1}, {3, 2}, {8, 8}, {13, 9}, {33, 17}};
  std::uint32_t seed = 1;
  for (const Format& f : kTable)
    for (bool interlace : {false, true})
      for (const auto& s : sizes) {
        RawImage img = pngtest::RandomImage(s[0], s[1], f.depth, f.colorType, seed++);
        std::string what = "type " + std::to_string(f.colorType) + " depth " + std::to_string(f.depth) +
                           (interlace ? " Adam7 " : " ") + std::to_string(s[0]) + "x" + std::to_string(s[1]);
        ExpectPicture(img, Decode(pngtest::Encode(img, interlace)), what);
      }
}

TEST(PngDecoder, SplitAndEmptyIdatChunksDecodeAsOne) {
  RawImage img = pngtest::RandomImage(21, 11, 8, 6, 7);
  for (bool interlace : {false, true}) {
    const std::vector<std::vector<std::size_t>> splits = {{1}, {0, 3}, {5, 0, 0, 17}, {1000}};
    for (const auto& split : splits) {
      std::vector<Chunk> chunks = ImageChunks(img, interlace, {}, split);
      // An empty IDAT first and last, too.
      chunks.insert(chunks.begin() + 1, Chunk{"IDAT", {}});
      chunks.insert(chunks.end() - 1, Chunk{"IDAT", {}});
      ExpectPicture(img, Decode(Assemble(chunks)), "split " + std::to_string(split[0]));
    }
  }
}

TEST(PngDecoder, RowsAroundTheSizeOfTheInflateStage) {
  // Rows are inflated through a 256 KiB stage, or straight into the row when
  // one is at least that long: rows just below and above it, five rows so
  // that every filter type meets them, 8-bit RGB and RGBA.
  const std::uint32_t widths[][2] = {{6, 65535}, {6, 65536}, {2, 87380}, {2, 87381}};
  for (const auto& w : widths) {
    RawImage img = pngtest::RandomImage(w[1], 5, 8, static_cast<int>(w[0]), w[1]);
    ExpectPicture(img, Decode(pngtest::Encode(img, false)),
                  "type " + std::to_string(w[0]) + " width " + std::to_string(w[1]));
  }
}

TEST(PngDecoder, SixteenBitSamplesAreScaledDown) {
  // 16-bit RGB: each channel is value * 255 div 65535.
  RawImage img;
  img.width = 4;
  img.height = 1;
  img.depth = 16;
  img.colorType = 2;
  img.rows = {{0x00, 0x00, 0x01, 0x00, 0x01, 0x01,  //
               0x80, 0x80, 0x80, 0x7F, 0xFF, 0xFE,  //
               0xFF, 0xFF, 0x12, 0x34, 0xAB, 0xCD,  //
               0x01, 0x02, 0x03, 0x04, 0x05, 0x06}};
  PngBitmap bmp = Decode(pngtest::Encode(img, false));
  ASSERT_EQ(bmp.Layout.PixelFormat, PngPixelFormat::pf24bit);
  const std::uint8_t want[] = {1, 0, 0, 254, 127, 128, 171, 18, 255, 5, 3, 1};  // B, G, R
  EXPECT_EQ(Bytes(bmp.Pixels.begin(), bmp.Pixels.end()), Bytes(std::begin(want), std::end(want)));
}

TEST(PngDecoder, GreyAlphaLosesItsAlphaAndIndexedIgnoresTrns) {
  // Grey with alpha becomes 8-bit grey: every pixel is its grey sample, not
  // its alpha sample, and nothing of the alpha stays.
  RawImage ga = pngtest::RandomImage(5, 4, 8, 4, 3);
  PngBitmap g = Decode(pngtest::Encode(ga, false));
  ExpectPicture(ga, g, "grey with alpha");
  EXPECT_FALSE(g.Layout.Transparent);

  RawImage ix = pngtest::RandomImage(6, 3, 8, 3, 4);
  Bytes trns(256, 0);  // every entry fully transparent
  PngBitmap p = Decode(Assemble(ImageChunks(ix, false, {{"tRNS", trns}})));
  ExpectPicture(ix, p, "indexed with tRNS");
  EXPECT_FALSE(p.Layout.Transparent);
}

// A header within the pixel limit the caller allows, whose rows the program
// could not address: 2^20 x 2^12 pixels at four bytes are 2^34 bytes, past
// the 32-bit program's sizes. Refused from the header, before anything is
// allocated (64-bit sizes hold it, so only the 32-bit build has the case).
TEST(PngDecoder, PicturesBeyondTheProgramsSizesAreRefused) {
  if (sizeof(std::size_t) > 4) GTEST_SKIP() << "64-bit sizes hold every picture of 2^20 x 2^20 pixels";
  RawImage rgba = pngtest::RandomImage(2, 2, 8, 6, 5);
  std::vector<Chunk> chunks = ImageChunks(rgba, false);
  chunks[0].data = pngtest::Ihdr(1u << 20, 1u << 12, 8, 6);
  const Bytes file = Assemble(chunks);
  try {
    DecodePng(file.data(), file.size(), std::uint64_t{1} << 40);
    ADD_FAILURE() << "decoded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), kInvalid);
  }
}

TEST(PngDecoder, ChunkNamesAndCriticality) {
  RawImage img = pngtest::RandomImage(7, 5, 8, 2, 9);
  // Ancillary unknown chunks are skipped, even with a wrong CRC.
  ExpectPicture(img, Decode(Assemble(ImageChunks(img, false, {{"vpAg", Bytes(9, 1), true}}))), "vpAg");
  ExpectPicture(img, Decode(Assemble(ImageChunks(img, false, {{"tEXt", Bytes(20, 'a'), true}}))), "tEXt");
  ExpectFailure<EInvalidGraphic>(Assemble(ImageChunks(img, false, {{"VPAG", Bytes(9, 1)}})), kCritical, "VPAG");
  // A second IHDR is a critical chunk out of place.
  ExpectFailure<EInvalidGraphic>(Assemble(ImageChunks(img, false, {{"IHDR", pngtest::Ihdr(7, 5, 8, 2)}})), kCritical,
                                 "IHDR twice");

  // Chunk types are compared without letter case: "idat" is image data.
  std::vector<Chunk> chunks = ImageChunks(img, false, {}, {10});
  for (Chunk& c : chunks)
    if (c.type == "IDAT") c.type = "idat";
  ExpectPicture(img, Decode(Assemble(chunks)), "idat");
}

TEST(PngDecoder, WrongCrcOfEveryReadChunk) {
  RawImage grey = pngtest::RandomImage(9, 4, 8, 0, 11);
  RawImage indexed = pngtest::RandomImage(9, 4, 4, 3, 12);
  Bytes gama{0, 0, 0xB1, 0x8F}, bkgd16{0, 7}, trns16{0, 9};
  struct Case {
    const char* name;
    const RawImage& img;
    std::vector<Chunk> extra;
    std::string corrupt;  // the type whose first chunk gets a wrong CRC
    int nth = 0;
  };
  const Case cases[] = {
      {"IHDR", grey, {}, "IHDR"},
      {"PLTE", indexed, {}, "PLTE"},
      {"gAMA", grey, {{"gAMA", gama}}, "gAMA"},
      {"bKGD", grey, {{"bKGD", bkgd16}}, "bKGD"},
      {"tRNS", grey, {{"tRNS", trns16}}, "tRNS"},
      {"first IDAT", grey, {}, "IDAT", 0},
      {"middle IDAT", grey, {}, "IDAT", 2},
      {"last IDAT", grey, {}, "IDAT", -1},
  };
  for (const Case& c : cases) {
    std::vector<Chunk> chunks = ImageChunks(c.img, false, c.extra, {8});
    std::vector<Chunk*> matching;
    for (Chunk& ch : chunks)
      if (ch.type == c.corrupt) matching.push_back(&ch);
    ASSERT_FALSE(matching.empty()) << c.name;
    (c.nth < 0 ? matching.back() : matching.at(static_cast<std::size_t>(c.nth)))->badCrc = true;
    ExpectFailure<EInvalidGraphic>(Assemble(chunks), kCrc, c.name);
  }
}

TEST(PngDecoder, ErrorTable) {
  RawImage rgb = pngtest::RandomImage(6, 6, 8, 2, 21);
  auto withHeader = [&](Bytes ihdr) {
    std::vector<Chunk> chunks = ImageChunks(rgb, false);
    chunks[0].data = std::move(ihdr);
    return Assemble(chunks);
  };
  auto withImageData = [&](Bytes z) {
    std::vector<Chunk> chunks = ImageChunks(rgb, false);
    chunks[1].data = std::move(z);
    return Assemble(chunks);
  };
  const Bytes good = pngtest::Encode(rgb, false);
  const Bytes raw = pngtest::Scanlines(rgb, false);

  Bytes badSignature = good;
  badSignature[1] = 'p';
  ExpectFailure<EInvalidGraphic>(badSignature, kInvalid, "signature");
  std::vector<Chunk> dataFirst = ImageChunks(rgb, false);
  std::swap(dataFirst[0], dataFirst[1]);
  ExpectFailure<EInvalidGraphic>(Assemble(dataFirst), kInvalid, "IDAT before IHDR");
  ExpectFailure<EInvalidGraphic>(withHeader(pngtest::Ihdr(0, 6, 8, 2)), kInvalid, "width 0");
  ExpectFailure<EInvalidGraphic>(withHeader(pngtest::Ihdr(6, 0, 8, 2)), kInvalid, "height 0");
  ExpectFailure<EInvalidGraphic>(withHeader(pngtest::Ihdr(0x7FFFFFFF, 0x7FFFFFFF, 8, 6)), kInvalid, "huge");
  ExpectFailure<EInvalidGraphic>(withHeader(pngtest::Ihdr(8192, 8192, 8, 6)), kInvalid, "64 Mpixel");
  Bytes longHeader = pngtest::Ihdr(6, 6, 8, 2);
  longHeader.push_back(0);
  ExpectFailure<EInvalidGraphic>(withHeader(longHeader), kInvalid, "IHDR of 14 bytes");
  ExpectFailure<EInvalidGraphic>(withHeader(pngtest::Ihdr(6, 6, 8, 2, 2)), kInvalid, "interlace method 2");
  ExpectFailure<EInvalidGraphic>(withHeader(pngtest::Ihdr(6, 6, 8, 2, 0, 0, 1)), kInvalid, "filter method 1");
  ExpectFailure<EInvalidGraphic>(withHeader(pngtest::Ihdr(6, 6, 8, 2, 0, 1)),
                                 "Cannot load image. The compression scheme is not supported for PNG files.",
                                 "compression 1");

  const Format badFormats[] = {{0, 3}, {2, 4}, {3, 16}, {4, 4}, {6, 1}, {1, 8}, {5, 8}, {7, 8}};
  for (const Format& f : badFormats) {
    std::vector<Chunk> chunks = ImageChunks(rgb, false);
    chunks[0].data = pngtest::Ihdr(6, 6, f.depth, f.colorType);
    if (f.colorType == 3) chunks.insert(chunks.begin() + 1, Chunk{"PLTE", Bytes(6, 0)});
    ExpectFailure<EInvalidGraphic>(Assemble(chunks), kColorFormat,
                                   "type " + std::to_string(f.colorType) + " depth " + std::to_string(f.depth));
  }

  std::vector<Chunk> palette = ImageChunks(pngtest::RandomImage(4, 4, 8, 3, 2), false);
  palette[1].data.resize(10);
  ExpectFailure<EInvalidGraphic>(Assemble(palette), kPalette, "PLTE of 10 bytes");
  palette[1].data.resize(771);
  ExpectFailure<EInvalidGraphic>(Assemble(palette), kPalette, "PLTE of 257 entries");
  palette.erase(palette.begin() + 1);
  ExpectFailure<EInvalidGraphic>(Assemble(palette), kPalette, "indexed without PLTE");

  Bytes garbage = pngtest::Zlib(raw);
  garbage[2] ^= 0xFF;
  garbage[3] ^= 0x55;
  ExpectFailure<EInvalidGraphic>(withImageData(garbage), kCompression, "corrupt deflate data");
  Bytes dictionary = pngtest::Zlib(raw);
  // The preset dictionary flag, with the header's check bits made right again.
  dictionary[1] = static_cast<std::uint8_t>((dictionary[1] & 0xC0) | 0x20);
  dictionary[1] = static_cast<std::uint8_t>(dictionary[1] + (31 - (dictionary[0] * 256 + dictionary[1]) % 31) % 31);
  ExpectFailure<EInvalidGraphic>(withImageData(dictionary), kCompression, "preset dictionary");

  ExpectFailure<EInvalidGraphic>(withImageData(pngtest::Zlib(Bytes(raw.begin(), raw.end() - 5))), kExtra,
                                 "stream ends inside the last row");
  ExpectFailure<EInvalidGraphic>(withImageData(pngtest::Zlib(Bytes(raw.begin(), raw.begin() + 19))), kExtra,
                                 "stream ends after one row");
  Bytes trailing = pngtest::Zlib(raw);
  trailing.insert(trailing.end(), {1, 2, 3});
  ExpectFailure<EInvalidGraphic>(withImageData(trailing), kExtra, "bytes after the stream");

  std::vector<Chunk> noData = ImageChunks(rgb, false);
  noData.erase(noData.begin() + 1);
  ExpectFailure<EInvalidGraphic>(Assemble(noData), kInvalid, "no IDAT");
  std::vector<Chunk> twoRuns = ImageChunks(rgb, false);
  twoRuns.insert(twoRuns.end() - 1, {Chunk{"tEXt", Bytes(3, 'x')}, twoRuns[1]});
  ExpectFailure<EInvalidGraphic>(Assemble(twoRuns), kExtra, "second run of IDAT");

  ExpectFailure<fw::EReadError>(Bytes(good.begin(), good.begin() + 5), "Stream read error", "5 bytes");
}

TEST(PngDecoder, EveryTruncatedPrefixFailsWithAReadError) {
  for (bool interlace : {false, true}) {
    RawImage img = pngtest::RandomImage(11, 7, 4, 3, 5);
    Bytes file = Assemble(ImageChunks(img, interlace, {{"gAMA", {0, 0, 0xB1, 0x8F}}, {"tEXt", Bytes(5, 'k')}}, {40}));
    for (std::size_t n = 0; n < file.size(); ++n) {
      Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
      if (n + 4 >= file.size()) {
        // Only the CRC of IEND is missing: the picture is whole.
        ExpectPicture(img, Decode(prefix), "prefix " + std::to_string(n));
      } else {
        ExpectFailure<fw::EReadError>(prefix, "Stream read error", "prefix " + std::to_string(n));
      }
    }
  }
}

TEST(PngDecoder, UnknownFilterTypeLeavesTheBytes) {
  RawImage img = pngtest::RandomImage(5, 3, 8, 0, 31);
  Bytes lines = pngtest::Scanlines(img, false);  // row 0 uses filter 0
  lines[0] = 7;
  std::vector<Chunk> chunks = ImageChunks(img, false);
  chunks[1].data = pngtest::Zlib(lines);
  ExpectPicture(img, Decode(Assemble(chunks)), "filter type 7");
}

TEST(PngDecoder, ShortImageDataLeavesRowsIncomplete) {
  // The IDAT run ends before the stream has given every row: the rows that
  // are complete are right, the rest is no error and shows zero samples,
  // never what an earlier row left in the decoder's buffers.
  RawImage img = pngtest::RandomImage(4, 6, 8, 0, 41);
  Bytes lines = pngtest::Scanlines(img, false);
  z_stream z{};
  ASSERT_EQ(deflateInit(&z, 6), Z_OK);
  Bytes out(1024);
  z.next_in = lines.data();
  z.avail_in = 10;  // two complete rows of five bytes
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  ASSERT_EQ(deflate(&z, Z_SYNC_FLUSH), Z_OK);
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  std::vector<Chunk> chunks = ImageChunks(img, false);
  chunks[1].data = out;
  PngBitmap bmp = Decode(Assemble(chunks));
  for (std::uint32_t y = 0; y < img.height; ++y)
    for (std::uint32_t x = 0; x < 4; ++x)
      EXPECT_EQ(bmp.Row(static_cast<int>(y))[x], y < 2 ? img.rows[y][x] : 0) << x << "," << y;
}

TEST(PngDecoder, GammaCorrectsColourButNotAlphaOrIndexes) {
  // gAMA 1.0 with display gamma 2.2: v -> round((v / 255) ^ (1 / 2.2) * 255).
  RawImage img;
  img.width = 2;
  img.height = 1;
  img.depth = 8;
  img.colorType = 6;
  img.rows = {{128, 0, 255, 64, 10, 200, 50, 128}};
  Bytes gamma1{0x00, 0x01, 0x86, 0xA0};  // 100000
  PngBitmap bmp = Decode(Assemble(ImageChunks(img, false, {{"gAMA", gamma1}})));
  ASSERT_EQ(bmp.Layout.PixelFormat, PngPixelFormat::pf32bit);
  const std::uint8_t want[] = {255, 0, 186, 64, 122, 228, 59, 128};  // B, G, R, A (alpha unchanged)
  EXPECT_EQ(bmp.Pixels, Bytes(std::begin(want), std::end(want)));

  // A gamma of 1 / 2.2 leaves 8-bit values as they are; indexes never change.
  RawImage ix = pngtest::RandomImage(9, 2, 8, 3, 51);
  ExpectPicture(ix, Decode(Assemble(ImageChunks(ix, false, {{"gAMA", gamma1}}))), "indexed with gAMA");
  // A gamma of 0 is ignored.
  RawImage grey = pngtest::RandomImage(9, 2, 8, 0, 52);
  ExpectPicture(grey, Decode(Assemble(ImageChunks(grey, false, {{"gAMA", {0, 0, 0, 0}}}))), "gAMA 0");

  PngDecoder decoder;
  fw::TMemoryStream stream(Assemble(ImageChunks(grey, false, {{"gAMA", {0, 0, 0xB1, 0x8F}}})));
  PngBitmap target;
  decoder.Load(stream, target);
  EXPECT_NEAR(decoder.ImageProperties().FileGamma, 0.45455, 1e-9);
  EXPECT_TRUE(decoder.ImageProperties().UseGamma);
}

TEST(PngDecoder, BackgroundAndTransparentColours) {
  struct Case {
    const char* name;
    int colorType, depth;
    Bytes bkgd, trns;
    std::uint32_t background, transparent;  // 0x00BBGGRR
  };
  const Case cases[] = {
      {"grey 2", 0, 2, {0, 2}, {0, 3}, 0xAAAAAA, 0xFFFFFF},
      {"grey 4", 0, 4, {0, 1}, {0, 15}, 0x111111, 0xFFFFFF},
      {"grey 16", 0, 16, {0x80, 0x80}, {0x01, 0x01}, 0x808080, 0x010101},
      {"rgb 8", 2, 8, {0, 1, 0, 2, 0, 3}, {0, 10, 0, 20, 0, 30}, 0x030201, 0x1E140A},
      {"rgb 16", 2, 16, {0xFF, 0xFF, 0, 0, 0x12, 0x34}, {0, 0, 0, 0, 0, 0}, 0x1200FF, 0},
      {"indexed", 3, 8, {2}, {0, 0}, 0x4AFD02, 0x1FFFFFFF},
  };
  for (const Case& c : cases) {
    RawImage img = pngtest::RandomImage(3, 3, c.depth, c.colorType, 61);
    PngDecoder decoder;
    fw::TMemoryStream stream(Assemble(ImageChunks(img, false, {{"bKGD", c.bkgd}, {"tRNS", c.trns}})));
    PngBitmap bmp;
    decoder.Load(stream, bmp);
    EXPECT_EQ(decoder.BackgroundColor(), c.background) << c.name;
    EXPECT_EQ(decoder.TransparentColor(), c.transparent) << c.name;
    EXPECT_EQ(bmp.Layout.Transparent, c.colorType != 3) << c.name;
  }
}

TEST(PngDecoder, ProgressEventsAndAFailedDecoderStaysFailed) {
  RawImage img = pngtest::RandomImage(4, 3, 8, 6, 71);
  std::vector<std::string> events;
  PngDecoder decoder;
  decoder.OnProgress = [&](PngProgressStage stage, int percent, const PngRect&, const std::string& msg) {
    const char* s = stage == PngProgressStage::Starting ? "start" : stage == PngProgressStage::Ending ? "end" : "run";
    events.push_back(std::string(s) + " " + std::to_string(percent) + " " + msg);
  };
  fw::TMemoryStream stream(pngtest::Encode(img, false));
  PngBitmap bmp;
  decoder.Load(stream, bmp);
  EXPECT_EQ(events,
            (std::vector<std::string>{"start 0 Preparing...", "end 100 ", "start 0 Transfering...", "end 100 "}));
  EXPECT_EQ(decoder.ProgressRect().Top, 3);

  // A failure still reports the end; the decoder then keeps failing.
  events.clear();
  PngDecoder failing;
  failing.OnProgress = decoder.OnProgress;
  Bytes bad = pngtest::Encode(img, false);
  bad[0] = 0;
  fw::TMemoryStream badStream(bad);
  EXPECT_THROW(failing.Load(badStream, bmp), EInvalidGraphic);
  EXPECT_EQ(events, (std::vector<std::string>{"start 0 Preparing...", "end 0 "}));
  fw::TMemoryStream goodStream(pngtest::Encode(img, false));
  EXPECT_THROW(failing.Load(goodStream, bmp), EInvalidGraphic);
}

TEST(PngDecoder, ReadsFromTheStreamPositionAndLeavesItAfterTheFile) {
  RawImage img = pngtest::RandomImage(3, 3, 8, 2, 81);
  Bytes file = pngtest::Encode(img, false);
  Bytes data{'x', 'y', 'z'};
  data.insert(data.end(), file.begin(), file.end());
  data.push_back('!');
  fw::TMemoryStream stream(data);
  stream.SetPosition(3);
  PngDecoder decoder;
  PngBitmap bmp;
  decoder.Load(stream, bmp);
  ExpectPicture(img, bmp, "at offset 3");
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(3 + file.size()));
}

TEST(PngDecoder, ClearTransparentWhite) {
  std::uint32_t px[4] = {0x00FFFFFF, 0x01FFFFFF, 0x00FFFFFE, 0xFFFFFFFF};
  PixelView view{reinterpret_cast<std::uint8_t*>(px), 8, 2, 2};
  ClearTransparentWhite(view);
  EXPECT_EQ(px[0], 0u);
  EXPECT_EQ(px[1], 0x01FFFFFFu);
  EXPECT_EQ(px[2], 0x00FFFFFEu);
  EXPECT_EQ(px[3], 0xFFFFFFFFu);
}

TEST(PngDecoder, CrcMatchesZlib) {
  std::mt19937 rng(5);
  Bytes data(1000);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  for (std::size_t n : {0u, 1u, 7u, 8u, 9u, 64u, 999u, 1000u})
    EXPECT_EQ(PngCrc32(0, data.data(), n), crc32(0, data.data(), static_cast<uInt>(n))) << n;
  EXPECT_EQ(PngCrc32(PngCrc32(0, data.data(), 300), data.data() + 300, 700), crc32(0, data.data(), 1000));
  // Values known without zlib: the standard check value, and the CRC every
  // IEND chunk carries.
  EXPECT_EQ(PngCrc32(0, "123456789", 9), 0xCBF43926u);
  EXPECT_EQ(PngCrc32(0, "IEND", 4), 0xAE426082u);
}

TEST(PngDecoder, ColorManagerRefusesInconsistentLayouts) {
  struct Case {
    const char* name;
    std::function<void(TColorManager&)> setup;
    std::string message;
  };
  auto base = [](TColorManager& cm) {
    cm.SourceColorScheme = cm.TargetColorScheme = TColorScheme::csRGB;
    cm.SourceSamplesPerPixel = cm.TargetSamplesPerPixel = 3;
    cm.SourceBitsPerSample = cm.TargetBitsPerSample = 8;
  };
  const Case cases[] = {
      {"3 bits", [](TColorManager& cm) { cm.SourceBitsPerSample = 3; },
       "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16."},
      {"RGB with 2 samples", [](TColorManager& cm) { cm.SourceSamplesPerPixel = 2; },
       "Sample count per pixel does not correspond to the given color scheme."},
      {"indexed to RGB",
       [](TColorManager& cm) {
         cm.SourceColorScheme = TColorScheme::csIndexed;
         cm.SourceSamplesPerPixel = 1;
       },
       "Conversion between indexed and non-indexed pixel formats is not supported."},
      {"RGB to RGBA",
       [](TColorManager& cm) {
         cm.TargetColorScheme = TColorScheme::csRGBA;
         cm.TargetSamplesPerPixel = 4;
       },
       "Color conversion failed. Could not find a proper method."},
  };
  for (const Case& c : cases) {
    TColorManager cm;
    base(cm);
    c.setup(cm);
    try {
      cm.Prepare();
      ADD_FAILURE() << c.name << ": prepared";
    } catch (const EColorConversionError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.name;
    }
  }
  TColorManager ok;
  base(ok);
  EXPECT_NO_THROW(ok.Prepare());
}

// Inputs the fuzzer found (tests/render/pixels/pngsuite/regression, kept with
// their checksums made right by fuzz/keep-input): each decodes or fails with
// the framework's exception. A missing or empty folder is a failure, not a
// pass.
TEST(PngDecoder, FuzzRegressionInputs) {
  ASSERT_TRUE(std::filesystem::is_directory(PNG_REGRESSION_DIR)) << PNG_REGRESSION_DIR;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(PNG_REGRESSION_DIR)) {
    std::ifstream in(entry.path(), std::ios::binary);
    Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ++files;
    try {
      PngBitmap bmp = DecodePng(data.data(), data.size(), 1u << 20);
      (void)bmp.ToBGRA32();
    } catch (const fw::Exception&) {
    }
  }
  EXPECT_GT(files, 0) << PNG_REGRESSION_DIR;
}
