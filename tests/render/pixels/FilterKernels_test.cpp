// The grey blur and the resampling filters.
#include "render/pixels/FilterKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "framework/core/SysUtils.h"
#include "tests/render/pixels/KernelsPicture.h"

namespace translit {
namespace {

using test::GrayPicture;
using test::Picture;

TEST(BlurKernel, RadiusAndNormalisation) {
  struct Case {
    double sigma;
    int radius;
  } cases[] = {{1.0, 2}, {2.0, 5}, {0.01, 1}, {40.0, 97}};
  for (const Case& c : cases) {
    BlurKernel k = MakeBlurKernel(c.sigma);
    EXPECT_EQ(k.Radius, c.radius) << "sigma " << c.sigma;
    double sum = 0;
    for (int t = -k.Radius; t <= k.Radius; ++t) sum += k.Tap(t);
    EXPECT_NEAR(sum, 1.0, 1e-5) << "sigma " << c.sigma;
    EXPECT_FLOAT_EQ(k.Tap(1), k.Tap(-1));
  }
}

// The blur as its formula reads, in floating point with the kernel's own
// single-precision taps.
void ReferenceBlur(GrayPicture& p, double sigma) {
  const BlurKernel k = MakeBlurKernel(sigma);
  const int w = p.Width(), h = p.Height(), r = k.Radius;
  auto pass = [&](int n, auto get, auto set) {
    std::vector<std::uint8_t> out(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      double sum = 0;
      for (int t = -r; t <= r; ++t) sum += static_cast<double>(k.Tap(t)) * get(std::clamp(i - t, 0, n - 1));
      out[static_cast<size_t>(i)] = static_cast<std::uint8_t>(std::clamp(sum, 0.0, 255.0));
    }
    for (int i = 0; i < n; ++i) set(i, out[static_cast<size_t>(i)]);
  };
  for (int y = 0; y < h; ++y)
    pass(
        w, [&](int x) { return p.At(x, y); }, [&](int x, std::uint8_t v) { p.At(x, y) = v; });
  for (int x = 0; x < w; ++x)
    pass(
        h, [&](int y) { return p.At(x, y); }, [&](int y, std::uint8_t v) { p.At(x, y) = v; });
}

class BlurRows : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Layouts, BlurRows, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BottomUp" : "TopDown"; });

TEST_P(BlurRows, WhitePixelSpreadsTwoEachWayForSigmaOne) {
  GrayPicture p(9, 9, GetParam(), 0);
  p.At(4, 4) = 255;
  BlurGray8(p.View(), 1.0);
  for (int d = -2; d <= 2; ++d) {
    EXPECT_GT(p.At(4 + d, 4), 0) << "row, distance " << d;
    EXPECT_GT(p.At(4, 4 + d), 0) << "column, distance " << d;
  }
  for (int d : {-3, 3}) {
    EXPECT_EQ(p.At(4 + d, 4), 0) << "row, distance " << d;
    EXPECT_EQ(p.At(4, 4 + d), 0) << "column, distance " << d;
  }
  EXPECT_EQ(p.At(4, 4), 41) << "255 x 0.4026 twice, truncated after each pass";
  EXPECT_EQ(p.At(6, 6), 0) << "13 x 0.0545 truncates to 0";
  EXPECT_TRUE(p.PaddingIs(0));
}

TEST_P(BlurRows, FlatStaysFlatAndFollowsTheFormula) {
  for (std::uint8_t v : {std::uint8_t{0}, std::uint8_t{128}, std::uint8_t{255}}) {
    GrayPicture flat(13, 5, GetParam(), v);
    BlurGray8(flat.View(), 2.0);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 13; ++x) ASSERT_EQ(flat.At(x, y), v) << x << "," << y;
  }
  std::mt19937 rng(5);
  for (double sigma : {0.7, 2.0, 5.0, 30.0}) {
    GrayPicture ours(37, 23, GetParam()), reference(37, 23, GetParam());
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 37; ++x)
        ours.At(x, y) = reference.At(x, y) = static_cast<std::uint8_t>(rng() % 4 ? rng() : 255);
    BlurGray8(ours.View(), sigma);
    ReferenceBlur(reference, sigma);
    int off = 0;
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 37; ++x) {
        int d = int(ours.At(x, y)) - int(reference.At(x, y));
        ASSERT_LE(std::abs(d), 1) << "sigma " << sigma << " at " << x << "," << y;
        off += d != 0;
      }
    EXPECT_LT(off, 37 * 23 / 20) << "sigma " << sigma << ": fixed point differs from the formula too often";
  }
  GrayPicture untouched(4, 4, GetParam(), 9);
  untouched.At(1, 1) = 200;
  BlurGray8(untouched.View(), 0.0);
  BlurGray8(untouched.View(), -1.0);
  EXPECT_EQ(untouched.At(1, 1), 200);
}

TEST(ResampleKernels, Table) {
  struct Case {
    int filter;
    double x, want;
  } cases[] = {
      {rfBox, 0.5, 1},
      {rfBox, -0.5, 0},
      {rfBox, 0.0, 1},
      {rfTriangle, 0.5, 0.5},
      {rfHermite, 0.5, 0.5},
      {rfBell, 0, 0.75},
      {rfBell, 1, 0.125},
      {rfBSpline, 0, 2.0 / 3},
      {rfBSpline, 1, 1.0 / 6},
      {rfSineProduct, 0, 1},
      {rfSineProduct, 1, 0},
      {rfMitchell, 0, 8.0 / 9},
      {rfMitchell, 1, 1.0 / 18},
      {rfMitchell, 1.5, -5.0 / 144},
      {rfMitchell, -1.5, -5.0 / 144},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(ResampleKernel(c.filter, c.x), c.want, 1e-12) << "filter " << c.filter << " at " << c.x;
  EXPECT_DOUBLE_EQ(ResampleRadius(rfBox), 0.51);
  EXPECT_DOUBLE_EQ(ResampleRadius(rfSineProduct), 3.0);
}

TEST(ResampleKernels, ContributorsStayInsideTheSource) {
  for (int filter = rfBox; filter <= rfMitchell; ++filter)
    for (auto [m, n] : {std::pair{2, 1}, {2, 9}, {3, 2}, {100, 3}, {5, 5}})
      for (const auto& list : MakeResampleContributors(m, n, filter, 4))
        for (const ResampleContributor& c : list) {
          ASSERT_GE(c.Offset, 0) << filter << " " << m << "->" << n;
          ASSERT_LT(c.Offset, 4 * m) << filter << " " << m << "->" << n;
        }
}

class ResampleRows : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Layouts, ResampleRows, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BottomUp" : "TopDown"; });

TEST_P(ResampleRows, TriangleTwoToFourAndBox) {
  Picture source(2, 2, GetParam());
  for (int y = 0; y < 2; ++y) {
    source.At(0, y) = 0x40302010;
    source.At(1, y) = 0x80705030;
  }
  Picture dest(4, 2, GetParam(), 0);
  Resample(source.Bytes(), dest.Bytes(), rfTriangle);
  // Centres 0, 0.5, 1, 1.5; the last takes the mirrored last column.
  const std::uint32_t want[4] = {0x40302010, 0x60503820, 0x80705030, 0x80705030};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.At(x, y), want[x]) << x << "," << y;

  Resample(source.Bytes(), dest.Bytes(), rfBox);
  const std::uint32_t boxed[4] = {0x40302010, 0x40302010, 0x80705030, 0x80705030};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.At(x, 1), boxed[x]) << x;
  EXPECT_TRUE(dest.PaddingIs(0));
}

TEST_P(ResampleRows, SameSizeCopiesSmallSourceRaises) {
  Picture source(4, 4, GetParam()), dest(4, 4, GetParam(), 0);
  for (int i = 0; i < 16; ++i) source.At(i % 4, i / 4) = 0x01010101u * static_cast<std::uint32_t>(i * 13);
  Resample(source.Bytes(), dest.Bytes(), rfMitchell);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(dest.At(i % 4, i / 4), source.At(i % 4, i / 4));

  Picture thin(1, 10, GetParam(), 7), out(4, 4, GetParam(), 0);
  try {
    Resample(thin.Bytes(), out.Bytes(), rfMitchell);
    FAIL() << "no error";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "Source bitmap is too small");
  }
  EXPECT_EQ(out.Count(0), 16);
}

TEST_P(ResampleRows, MitchellKeepsGreyNearlyAndWorksOn24Bits) {
  Picture grey(5, 4, GetParam(), 0xFF808080), big(13, 9, GetParam(), 0);
  Resample(grey.Bytes(), big.Bytes(), rfMitchell);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 13; ++x)
      for (int c = 0; c < 4; ++c) {
        int v = static_cast<int>(ChannelOf(big.At(x, y), c));
        int want = c == 3 ? 255 : 128;
        EXPECT_NEAR(v, want, 2) << x << "," << y << " channel " << c;
      }

  // 24-bit rows with padding to four bytes: 3 x 2 to 2 x 1.
  std::uint8_t src[2][12] = {{10, 20, 30, 10, 20, 30, 10, 20, 30, 0xEE, 0xEE, 0xEE},
                             {10, 20, 30, 10, 20, 30, 10, 20, 30, 0xEE, 0xEE, 0xEE}};
  std::uint8_t dst[8];
  std::fill(std::begin(dst), std::end(dst), 0xEE);
  Resample({&src[0][0], 12, 3, 2, 3}, {dst, 8, 2, 1, 3}, rfBSpline);
  // Unnormalised weights and two truncating passes may lose up to 2.
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(dst[i], (i % 3 + 1) * 10 - 1, 1) << "byte " << i;
  EXPECT_EQ(dst[6], 0xEE);
  EXPECT_EQ(dst[7], 0xEE);
}

// 2 x 16384 to 65536 x 1: resampling rows first wants a buffer of 4 GiB in
// between, which a 32-bit size wrapped to 0 bytes that the first pass then
// overran. The small buffer of the other order is taken instead, and the
// picture comes out as resampled: the left colour at the left end, the right
// one at the right, every channel moving one way in between.
TEST_P(ResampleRows, TallNarrowPictureToAWideRow) {
  Picture source(2, 16384, GetParam());
  const std::uint32_t left = 0xFF102030, right = 0x80F0D0B0;
  for (int y = 0; y < source.Height(); ++y) {
    source.At(0, y) = left;
    source.At(1, y) = right;
  }
  Picture dest(65536, 1, GetParam(), 0);
  Resample(source.Bytes(), dest.Bytes(), rfTriangle);
  for (int c = 0; c < 4; ++c) {
    // Unnormalised weights of 16384 rows lose a little in the first pass.
    EXPECT_NEAR(ChannelOf(dest.At(0, 0), c), ChannelOf(left, c), 2) << "channel " << c;
    EXPECT_NEAR(ChannelOf(dest.At(65535, 0), c), ChannelOf(right, c), 2) << "channel " << c;
    const bool up = ChannelOf(right, c) > ChannelOf(left, c);
    for (int x = 1; x < 65536; ++x) {
      const int step =
          static_cast<int>(ChannelOf(dest.At(x, 0), c)) - static_cast<int>(ChannelOf(dest.At(x - 1, 0), c));
      ASSERT_TRUE(up ? step >= 0 : step <= 0) << "channel " << c << " at " << x;
    }
  }
  EXPECT_TRUE(dest.PaddingIs(0));
}

}  // namespace
}  // namespace translit
