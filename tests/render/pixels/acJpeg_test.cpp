// JPEG decoding of skin textures: colours come back in blue, green, red
// order, and damaged or oversized data fails with an error.
#include "render/pixels/acJpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/SysUtils.h"
#include "tests/support/ImageFixtures.h"

namespace translit {
namespace {

TEST(Jpeg, DecodesToBgrRows) {
  // Left half red, right half blue; quality 100 keeps flat areas near exact.
  auto file = test::MakeJpeg(
      32, 16, [](int x, int) { return x < 16 ? 0xFFFF0000u : 0xFF0000FFu; }, 100);
  TacJpegPicture p = DecodeJpeg(file.data(), file.size());
  ASSERT_EQ(p.Width, 32);
  ASSERT_EQ(p.Height, 16);
  ASSERT_EQ(p.Bgr.size(), 32u * 16 * 3);
  const std::uint8_t* left = &p.Bgr[(8 * 32 + 2) * 3];
  const std::uint8_t* right = &p.Bgr[(8 * 32 + 29) * 3];
  EXPECT_NEAR(left[2], 255, 3);  // red
  EXPECT_NEAR(left[0], 0, 3);
  EXPECT_NEAR(right[0], 255, 3);  // blue
  EXPECT_NEAR(right[2], 0, 3);
}

// Rows handed out by a target of the caller's receive the same pixels; a
// target that fails (at the start or half-way) passes its exception on, and
// the decoder works again afterwards.
TEST(Jpeg, DecodesIntoTheCallersRows) {
  auto file = test::MakeJpeg(24, 10, [](int x, int y) { return 0xFF000000u | (x * 10) << 16 | (y * 20) << 8 | 0x40; });
  const TacJpegPicture whole = DecodeJpeg(file.data(), file.size());

  class Rows : public TacJpegTarget {
   public:
    int failAt = -2;  // -1: at Begin; n: at row n
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    void Begin(int w, int h) override {
      if (failAt == -1) throw fw::Exception("no room");
      width = w;
      height = h;
      pixels.assign(static_cast<std::size_t>(w) * 3 * static_cast<std::size_t>(h), 0);
    }
    std::uint8_t* Row(int y) override {
      if (y == failAt) throw fw::Exception("row " + std::to_string(y));
      return pixels.data() + static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(y);
    }
  };
  for (int failAt : {-1, 4, -2}) {
    Rows rows;
    rows.failAt = failAt;
    try {
      DecodeJpegInto(file.data(), file.size(), rows);
      EXPECT_EQ(failAt, -2);
      EXPECT_EQ(rows.width, 24);
      EXPECT_EQ(rows.height, 10);
      EXPECT_EQ(rows.pixels, whole.Bgr);
    } catch (const fw::Exception& e) {
      EXPECT_EQ(e.Message(), failAt == -1 ? "no room" : "row 4");
    }
  }
}

TEST(Jpeg, DamagedDataFails) {
  auto file = test::MakeJpeg(8, 8, test::Solid(0xFF808080));
  for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{20}}) {
    try {
      DecodeJpeg(file.data(), cut);
      ADD_FAILURE() << "prefix of " << cut << " bytes decoded";
    } catch (const fw::Exception& e) {
      EXPECT_EQ(e.Message().rfind("JPEG error #", 0), 0u) << e.Message();
    }
  }
}

TEST(Jpeg, OversizedHeaderIsRefusedBeforeAllocating) {
  auto file = test::MakeJpeg(8, 8, test::Solid(0xFF808080));
  // The SOF0 frame header holds height and width as 16-bit big-endian.
  for (std::size_t i = 0; i + 8 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      file[i + 5] = file[i + 7] = 0xFF;  // 65280 x 65280: within the format, beyond any skin
      file[i + 6] = file[i + 8] = 0x00;
      break;
    }
  }
  try {
    DecodeJpeg(file.data(), file.size());
    FAIL() << "decoded";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "JPEG image is too large");
  }
}

}  // namespace
}  // namespace translit
