// TPNGGraphic on the real GDI (under Wine): loading into the bitmap's own rows
// and palette, the framework's exception classes, drawing with alpha, scaling
// and the reflection, the icon makers and ClearTransparentWhite.
#include "render/bitmaps/acPNG.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/PngWriter.h"
#include "tests/support/TempFolder.h"

using namespace translit;
using pngtest::Assemble;
using pngtest::Bytes;
using pngtest::Chunk;
using pngtest::ImageChunks;
using pngtest::RawImage;

namespace {

void Load(TPNGGraphic& g, const Bytes& file) {
  fw::TMemoryStream stream(file);
  g.LoadFromStream(stream);
}

// Pixels given as 0xRRGGBBAA, row by row.
RawImage Rgba(std::uint32_t w, std::uint32_t h, const std::vector<std::uint32_t>& rgba) {
  return pngtest::Rgb8Image(w, h, true, [&](std::uint32_t x, std::uint32_t y) {
    const std::uint32_t v = rgba[y * w + x];
    return (v >> 8) | (v << 24);
  });
}

// A 32-bit canvas filled with one colour.
struct Surface {
  fw::TBitmap bitmap;
  Surface(int w, int h, fw::TColor color) : bitmap(w, h, fw::pf32bit) {
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().FillRect(RECT{0, 0, w, h});
  }
  // 0x00RRGGBB, alpha dropped.
  std::uint32_t At(int x, int y) {
    ::GdiFlush();
    return bitmap.View().At(x, y) & 0x00FFFFFFu;
  }
};

std::vector<std::uint8_t> MaskOf(HICON icon, int w, int h) {
  ICONINFO info{};
  EXPECT_TRUE(::GetIconInfo(icon, &info));
  std::vector<std::uint8_t> bits(static_cast<std::size_t>((w + 15) / 16 * 2 * h));
  ::GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
  ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  std::vector<std::uint8_t> mask;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      mask.push_back((bits[static_cast<std::size_t>(y * ((w + 15) / 16 * 2) + x / 8)] >> (7 - x % 8)) & 1);
  return mask;
}

}  // namespace

TEST(PngGraphic, DecodesIntoTheBitmapsRowsAndPalette) {
  const struct {
    int colorType, depth;
    fw::TPixelFormat format;
  } cases[] = {{0, 1, fw::pf1bit},  {0, 2, fw::pf4bit},  {3, 4, fw::pf4bit}, {3, 8, fw::pf8bit},
               {0, 16, fw::pf8bit}, {2, 8, fw::pf24bit}, {4, 8, fw::pf8bit}, {6, 16, fw::pf32bit}};
  std::uint32_t seed = 1;
  for (const auto& c : cases) {
    for (bool interlace : {false, true}) {
      RawImage img = pngtest::RandomImage(13, 7, c.depth, c.colorType, seed++);
      Bytes file = pngtest::Encode(img, interlace);
      std::string what = "type " + std::to_string(c.colorType) + " depth " + std::to_string(c.depth);
      PngBitmap want = DecodePng(file.data(), file.size());
      TPNGGraphic g;
      Load(g, file);
      ASSERT_EQ(g.PixelFormat(), c.format) << what;
      ASSERT_EQ(g.Width(), 13) << what;
      ASSERT_EQ(g.Height(), 7) << what;
      const int bits = fw::BitsPerPixel(c.format);
      for (int y = 0; y < 7; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(g.ScanLine(y));
        // Whole pixels only: the last byte's spare bits are padding.
        const std::size_t full = static_cast<std::size_t>(13 * bits / 8);
        EXPECT_EQ(0, std::memcmp(row, want.Row(y), full)) << what << " row " << y;
      }
      if (bits <= 8) {
        RGBQUAD table[256];
        UINT n = ::GetDIBColorTable(g.Canvas().Handle(), 0, 256, table);
        ASSERT_GE(n, want.Layout.Palette.size()) << what;
        EXPECT_EQ(0, std::memcmp(table, want.Layout.Palette.data(), want.Layout.Palette.size() * 4)) << what;
      }
    }
  }
}

TEST(PngGraphic, LoadsFromFileAndResource) {
  testing_files::TempFolder dir;
  const std::string path = dir.Path() + "translit_png_test.png";
  RawImage img = Rgba(3, 2, {0xFF0000FF, 0x00FF0080, 0x0000FF00, 0x0A141EFF, 0x28323CFF, 0x46505AFF});
  {
    fw::TMemoryStream m(pngtest::Encode(img, false));
    m.SaveToFile(path);
  }
  TPNGGraphic fromFile, fromResource;
  fromFile.LoadFromFile(path);
  fromResource.LoadFromResourceName(::GetModuleHandleA(nullptr), "TESTPNG");
  for (TPNGGraphic* g : {&fromFile, &fromResource}) {
    ASSERT_EQ(g->PixelFormat(), fw::pf32bit);
    PixelView v = g->View();
    EXPECT_EQ(v.At(0, 0), 0xFFFF0000u);  // blue, green, red, alpha in memory: 0xAARRGGBB
    EXPECT_EQ(v.At(1, 0), 0x8000FF00u);
    EXPECT_EQ(v.At(2, 0), 0x000000FFu);
    EXPECT_EQ(v.At(2, 1), 0xFF46505Au);
  }
  TPNGGraphic missing;
  EXPECT_THROW(missing.LoadFromResourceName(::GetModuleHandleA(nullptr), "NOSUCHPNG"), fw::EInvalidGraphic);
}

TEST(PngGraphic, RegisteredWithTheFrameworksPictureFormats) {
  UnregisterPngGraphic();
  EXPECT_EQ(fw::FindFileFormat("png"), nullptr);
  ASSERT_NE(fw::FindFileFormat("bmp"), nullptr) << "the framework's own bitmaps are always known";
  RegisterPngGraphic();
  RegisterPngGraphic();
  const fw::TFileFormat* format = fw::FindFileFormat(".PNG");
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->Extension, "png");
  EXPECT_EQ(format->Description, "Portable network graphics (skin engine)");
  int pngs = 0;
  for (const fw::TFileFormat& f : fw::FileFormats()) pngs += f.Extension == "png";
  EXPECT_EQ(pngs, 1) << "registering twice keeps one entry";

  // A file is loaded by the class its extension names.
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "translit_png_format.Png";
  {
    fw::TMemoryStream m(pngtest::Encode(Rgba(2, 2, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0x102030FF}), false));
    m.SaveToFile(path);
  }
  std::unique_ptr<fw::TGraphic> loaded = fw::LoadGraphicFromFile(path);
  auto* png = dynamic_cast<TPNGGraphic*>(loaded.get());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->View().At(1, 1), 0xFF102030u);
  UnregisterPngGraphic();
  EXPECT_THROW(fw::LoadGraphicFromFile(path), fw::EInvalidGraphic) << "an extension nobody knows";
  std::remove(path.c_str());
  RegisterPngGraphic();
}

TEST(PngGraphic, BadFilesRaiseTheFrameworksClasses) {
  RawImage img = pngtest::RandomImage(4, 4, 8, 2, 3);
  std::vector<Chunk> chunks = ImageChunks(img, false);
  chunks[1].badCrc = true;
  TPNGGraphic g;
  try {
    Load(g, Assemble(chunks));
    ADD_FAILURE() << "decoded a file with a wrong CRC";
  } catch (const fw::EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Cannot load image. CRC error found in PNG file.");
  }
  Bytes file = pngtest::Encode(img, false);
  file.resize(file.size() - 20);
  EXPECT_THROW(Load(g, file), fw::EReadError);
  // The graphic loads again after a failure.
  Load(g, pngtest::Encode(img, false));
  EXPECT_EQ(g.Width(), 4);
}

TEST(PngGraphic, DrawComposesThroughAlpha) {
  TPNGGraphic g;
  Load(g, pngtest::Encode(Rgba(3, 1, {0xFF0000FF, 0x00FF0080, 0x0000FF00}), false));
  Surface s(3, 1, fw::clWhite);
  s.bitmap.Canvas().Draw(0, 0, g);
  EXPECT_EQ(s.At(0, 0), 0xFF0000u);
  EXPECT_EQ(s.At(2, 0), 0xFFFFFFu);
  const std::uint32_t half = s.At(1, 0);
  EXPECT_EQ((half >> 8) & 0xFF, 0xFFu);
  EXPECT_NEAR(static_cast<int>(half >> 16), 127, 2);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 127, 2);
}

TEST(PngGraphic, ReflectionComposesHalfTheHeightMoreBelowThePicture) {
  TPNGGraphic g;
  Load(g, pngtest::Encode(Rgba(4, 10, std::vector<std::uint32_t>(40, 0xFF0000FF)), false));
  for (bool reflected : {false, true}) {
    g.SetReflected(reflected);
    Surface s(4, 30, fw::clWhite);
    s.bitmap.Canvas().StretchDraw(RECT{0, 0, 4, 10}, g);
    EXPECT_EQ(s.At(2, 9), 0xFF0000u);
    EXPECT_EQ(s.At(2, 10), 0xFFFFFFu);
    for (int y = 11; y < 15; ++y) {
      if (reflected) {
        EXPECT_NE(s.At(2, y), 0xFFFFFFu) << "row " << y;
        EXPECT_EQ((s.At(2, y) >> 16) & 0xFF, 0xFFu) << "row " << y;
      } else {
        EXPECT_EQ(s.At(2, y), 0xFFFFFFu) << "row " << y;
      }
    }
    // The composed bitmap ends 15 rows down: nothing is touched below it.
    for (int y = 15; y < 30; ++y) EXPECT_EQ(s.At(2, y), 0xFFFFFFu) << "row " << y;
    // The reflection fades out downwards.
    if (reflected) {
      EXPECT_GT(s.At(2, 14) & 0xFF, s.At(2, 11) & 0xFF);
    }
  }
}

TEST(PngGraphic, ScaledDrawScalesColourAndAlpha) {
  TPNGGraphic g;
  // Left column opaque red, right column fully transparent.
  Load(g, pngtest::Encode(Rgba(2, 2, {0xFF0000FF, 0x00FF0000, 0xFF0000FF, 0x00FF0000}), false));
  Surface s(8, 8, fw::clWhite);
  s.bitmap.Canvas().StretchDraw(RECT{0, 0, 8, 8}, g);
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(s.At(0, y), 0xFF0000u) << y;
    EXPECT_EQ(s.At(7, y), 0xFFFFFFu) << y;
  }
}

TEST(PngGraphic, PicturesWithoutAlphaDrawWithTheirTransparentColour) {
  RawImage img;
  img.width = 2;
  img.height = 1;
  img.depth = 8;
  img.colorType = 2;
  img.rows = {{1, 2, 3, 200, 100, 50}};
  TPNGGraphic g;
  Load(g, Assemble(ImageChunks(img, false, {{"tRNS", {0, 1, 0, 2, 0, 3}}})));
  EXPECT_TRUE(g.Transparent());
  EXPECT_EQ(g.TransparentColor(), 0x030201u);
  Surface s(2, 1, fw::clWhite);
  s.bitmap.Canvas().Draw(0, 0, g);
  EXPECT_EQ(s.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(s.At(1, 0), 0xC86432u);
}

TEST(PngGraphic, ClearTransparentWhiteAfterAssignment) {
  TPNGGraphic g;
  Load(g, pngtest::Encode(Rgba(2, 1, {0xFFFFFF00, 0xFFFFFF01}), false));
  fw::TBitmap plain;
  plain.Assign(g);
  ClearTransparentWhite(plain);
  EXPECT_EQ(plain.View().At(0, 0), 0u);
  EXPECT_EQ(plain.View().At(1, 0), 0x01FFFFFFu);

  TPNGGraphic rgb;  // other formats are left alone
  RawImage white = pngtest::RandomImage(2, 2, 8, 2, 4);
  Load(rgb, pngtest::Encode(white, false));
  fw::TBitmap plain24;
  plain24.Assign(rgb);
  EXPECT_NO_THROW(ClearTransparentWhite(plain24));
  EXPECT_EQ(plain24.PixelFormat(), fw::pf24bit);
}

TEST(PngGraphic, IconMakers) {
  // A 24-bit picture: the pixels of the top-left colour become transparent.
  RawImage rgb;
  rgb.width = 3;
  rgb.height = 2;
  rgb.depth = 8;
  rgb.colorType = 2;
  rgb.rows = {{9, 9, 9, 1, 2, 3, 9, 9, 9}, {4, 5, 6, 9, 9, 9, 7, 8, 9}};
  TPNGGraphic picture;
  Load(picture, pngtest::Encode(rgb, false));
  fw::UniqueIcon keyed = MakeIcon32(picture, false);
  ASSERT_TRUE(keyed);
  EXPECT_EQ(MaskOf(keyed.Get(), 3, 2), (std::vector<std::uint8_t>{1, 0, 1, 0, 1, 0}));

  // A 32-bit picture keeps an opaque mask unless one is asked for.
  TPNGGraphic rgba;
  Load(rgba, pngtest::Encode(Rgba(2, 1, {0x10203000, 0x405060FF}), false));
  EXPECT_EQ(MaskOf(MakeIcon32(rgba, false).Get(), 2, 1), (std::vector<std::uint8_t>{0, 0}));
  EXPECT_EQ(MaskOf(MakeIcon32(rgba, true).Get(), 2, 1), (std::vector<std::uint8_t>{1, 0}));

  // Over a background: alpha 0 (or magenta in a picture without alpha) is transparent.
  EXPECT_EQ(MaskOf(MakeCompIcon(rgba, fw::clWhite).Get(), 2, 1), (std::vector<std::uint8_t>{1, 0}));
  RawImage magenta = rgb;
  magenta.rows[0] = {255, 0, 255, 1, 2, 3, 255, 0, 255};
  TPNGGraphic keyPicture;
  Load(keyPicture, pngtest::Encode(magenta, false));
  fw::UniqueIcon comp = MakeCompIcon(keyPicture, fw::clBtnFace);
  EXPECT_EQ(MaskOf(comp.Get(), 3, 2), (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 0}));
}

TEST(PngGraphic, ProgressEvents) {
  TPNGGraphic g;
  std::vector<std::string> seen;
  g.OnProgress = [&](PngProgressStage stage, int, const PngRect&, const std::string& msg) {
    seen.push_back((stage == PngProgressStage::Starting ? "start " : "end ") + msg);
  };
  Load(g, pngtest::Encode(pngtest::RandomImage(5, 5, 8, 6, 9), false));
  EXPECT_EQ(seen, (std::vector<std::string>{"start Preparing...", "end ", "start Transfering...", "end "}));
}
