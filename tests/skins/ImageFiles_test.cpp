// The skin generator's file writers read back by the engine's decoders, the
// three ways a drawn piece becomes skin pixels (opaque, cut with the key,
// image over mask layer), and its text in code page 1251.
#include "skins/ImageFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "skins/BlueIce.h"
#include "skins/SkinCanvas.h"
#include "tests/skins/Pictures.h"

namespace skingen {
namespace {

using translit::test::FromBmp;
using translit::test::FromJpeg;
using translit::test::FromPng;
using translit::test::Picture;

// Noise where filters cannot predict, smooth ramps where they can: the
// encoder chooses different row filters for the two.
Image TestImage(int w, int h, bool alpha, unsigned seed) {
  Image img(w, h, alpha);
  std::mt19937 random(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool noisy = (y / 4) % 2 == 0;
      Rgb c = noisy ? Rgb{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                          static_cast<std::uint8_t>(random())}
                    : Rgb{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                          static_cast<std::uint8_t>(x + y)};
      img.Set(x, y, c, static_cast<std::uint8_t>(noisy ? random() : x * 3));
    }
  return img;
}

std::uint32_t Expected(const Image& img, int x, int y) {
  Rgb c = img.ColorAt(x, y);
  std::uint32_t a = img.HasAlpha ? img.AlphaAt(x, y) : 255;
  return a << 24 | static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b;
}

TEST(SkinImageFiles, PngAndBmpReadBackExactly) {
  const struct { int w, h; } sizes[] = {{1, 1}, {2, 3}, {5, 2}, {17, 9}, {64, 33}};
  unsigned seed = 1;
  for (auto [w, h] : sizes)
    for (bool alpha : {false, true}) {
      const Image img = TestImage(w, h, alpha, seed++);
      const Picture png = FromPng(EncodePng(img));
      ASSERT_EQ(png.Width, w);
      ASSERT_EQ(png.Height, h);
      EXPECT_EQ(png.HasAlpha, alpha);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          ASSERT_EQ(png.At(x, y), Expected(img, x, y))
              << w << "x" << h << (alpha ? " RGBA" : " RGB") << " at " << x << "," << y;
      if (alpha) continue;
      // Rows of 3, 6, 15 ... bytes are padded to four in the BMP.
      const Picture bmp = FromBmp(EncodeBmp(img));
      ASSERT_EQ(bmp.Width, w);
      ASSERT_EQ(bmp.Height, h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(bmp.At(x, y), Expected(img, x, y)) << w << "x" << h << " BMP";
    }
}

TEST(SkinImageFiles, JpegKeepsSizeAndColours) {
  Image img(40, 30, false);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      img.Set(x, y, Rgb{static_cast<std::uint8_t>(200 + x), static_cast<std::uint8_t>(220 + y), 250});
  const Picture jpeg = FromJpeg(EncodeJpeg(img, 92));
  ASSERT_EQ(jpeg.Width, 40);
  ASSERT_EQ(jpeg.Height, 30);
  long error = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      std::uint32_t got = jpeg.At(x, y), want = Expected(img, x, y);
      for (int shift : {0, 8, 16})
        error += std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF));
    }
  EXPECT_LT(error / (40.0 * 30 * 3), 2.0);
}

// One pixel of each coverage, red over a white matte.
TEST(SkinImageFiles, PixelsOfTheThreeKinds) {
  const double alphas[] = {0.0, 0.4, 0.5, 0.6, 1.0};
  Canvas c(5, 1);
  for (int x = 0; x < 5; ++x) c.Blend(x, 0, Rgb{255, 0, 0}, alphas[x]);
  const Rgb white{255, 255, 255};

  const Image flat = Flatten(c, white);
  EXPECT_EQ(flat.ColorAt(0, 0), white);
  EXPECT_EQ(flat.ColorAt(1, 0), (Rgb{255, 153, 153}));
  EXPECT_EQ(flat.ColorAt(4, 0), (Rgb{255, 0, 0}));

  // The key takes pixels at most half covered.
  const Image keyed = KeyCut(c, white);
  EXPECT_EQ(keyed.ColorAt(0, 0), kKey);
  EXPECT_EQ(keyed.ColorAt(2, 0), kKey);
  EXPECT_EQ(keyed.ColorAt(3, 0), (Rgb{255, 102, 102}));
  EXPECT_EQ(keyed.ColorAt(4, 0), (Rgb{255, 0, 0}));

  // Image above, mask below: 255 lets the background through entirely.
  const Image layered = Layered(c);
  ASSERT_EQ(layered.Height, 2);
  const std::uint8_t masks[] = {255, 153, 127, 102, 0};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(layered.ColorAt(x, 0), (x == 0 ? kKey : Rgb{255, 0, 0})) << x;
    EXPECT_EQ(layered.ColorAt(x, 1), (Rgb{masks[x], masks[x], masks[x]})) << x;
  }

  // A drawn magenta is never read as the key.
  Canvas m(1, 1);
  m.Blend(0, 0, kKey, 1.0);
  EXPECT_NE(Flatten(m, white).ColorAt(0, 0), kKey);
  EXPECT_NE(KeyCut(m, white).ColorAt(0, 0), kKey);
  EXPECT_NE(Layered(m).ColorAt(0, 0), kKey);
}

TEST(SkinImageFiles, TextInCodePage1251) {
  EXPECT_EQ(skingen::ToCodePage1251("Ab Жщ Ёё «—»"), "Ab \xC6\xF9 \xA8\xB8 \xAB\x97\xBB");
  EXPECT_THROW(skingen::ToCodePage1251("\xC3\xA4"), std::invalid_argument);  // a-umlaut
  EXPECT_THROW(skingen::ToCodePage1251("\xD0"), std::invalid_argument);      // cut in the middle
}

}  // namespace
}  // namespace skingen
