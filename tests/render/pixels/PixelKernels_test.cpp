// The SSE2 and AVX2 row kernels give the same bytes as the scalar ones, on random rows
// of every length around the vector width (fixed seed).
#include "render/pixels/PixelKernels.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace translit::kernels {
namespace {

std::vector<std::uint32_t> RandomPixels(std::mt19937& rng, int count) {
  std::vector<std::uint32_t> v(static_cast<size_t>(count));
  std::uniform_int_distribution<std::uint32_t> any;
  std::uniform_int_distribution<int> pick(0, 5);
  for (auto& p : v) {
    p = any(rng);
    // Extremes of alpha and colour bytes, where rounding and overflow differ.
    switch (pick(rng)) {
      case 0:
        p |= 0xFF000000u;
        break;
      case 1:
        p &= 0x00FFFFFFu;
        break;
      case 2:
        p = (p & 0xFF000000u) | 0x00FFFFFFu;
        break;
      default:
        break;
    }
  }
  return v;
}

// The vector forms of the row kernels; fill has only the SSE2 one.
struct Variant {
  const char* name;
  bool available;
  void (*fill)(std::uint32_t*, int, std::uint32_t);
  void (*mix)(std::uint32_t*, const std::uint32_t*, int, std::uint8_t);
  void (*compose)(std::uint32_t*, const std::uint32_t*, int);
  void (*tint)(std::uint32_t*, int, int, std::uint32_t);
};

Variant VariantNamed(const std::string& name) {
  if (name == "SSE2") return {"SSE2", UseSse2(), FillRowSse2, MixRowSse2, ComposeRowSse2, TintRowSse2};
  return {"AVX2", UseAvx2(), FillRowSse2, MixRowAvx2, ComposeRowAvx2, TintRowAvx2};
}

// One run per instruction set; a set the CPU lacks is reported as skipped.
class PixelKernelsVector : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (!VariantNamed(GetParam()).available) GTEST_SKIP() << "the CPU has no " << GetParam();
  }
};
INSTANTIATE_TEST_SUITE_P(InstructionSets, PixelKernelsVector, ::testing::Values("SSE2", "AVX2"),
                         [](const auto& info) { return info.param; });

TEST_P(PixelKernelsVector, FillMixComposeTintMatchScalar) {
  const Variant v = VariantNamed(GetParam());
  std::mt19937 rng(20240611);
  for (int count = 0; count < 40; ++count) {
    for (int round = 0; round < 16; ++round) {
      const auto dest = RandomPixels(rng, count);
      const auto source = RandomPixels(rng, count);
      const std::uint8_t alpha = static_cast<std::uint8_t>(rng());
      auto a = dest, b = dest;
      MixRowScalar(a.data(), source.data(), count, alpha);
      v.mix(b.data(), source.data(), count, alpha);
      ASSERT_EQ(a, b) << v.name << " mix, count " << count << " alpha " << int(alpha);

      a = dest, b = dest;
      FillRowScalar(a.data(), count, alpha * 0x01010101u);
      v.fill(b.data(), count, alpha * 0x01010101u);
      ASSERT_EQ(a, b) << v.name << " fill, count " << count;

      a = dest, b = dest;
      ComposeRowScalar(a.data(), source.data(), count);
      v.compose(b.data(), source.data(), count);
      ASSERT_EQ(a, b) << v.name << " compose, count " << count;

      const int percent = static_cast<int>(rng() % 101);
      const std::uint32_t colour = static_cast<std::uint32_t>(rng());
      a = dest, b = dest;
      TintRowScalar(a.data(), count, percent, colour);
      v.tint(b.data(), count, percent, colour);
      ASSERT_EQ(a, b) << v.name << " tint, count " << count << " percent " << percent;
    }
  }
}

TEST_P(PixelKernelsVector, EveryAlphaAndPercent) {
  const Variant v = VariantNamed(GetParam());
  std::mt19937 rng(7);
  const auto dest = RandomPixels(rng, 64);
  const auto source = RandomPixels(rng, 64);
  for (int alpha = 0; alpha < 256; ++alpha) {
    auto a = dest, b = dest;
    MixRowScalar(a.data(), source.data(), 64, static_cast<std::uint8_t>(alpha));
    v.mix(b.data(), source.data(), 64, static_cast<std::uint8_t>(alpha));
    ASSERT_EQ(a, b) << v.name << " mix alpha " << alpha;
  }
  // Every colour byte against every colour channel value at every percent.
  std::vector<std::uint32_t> all(256);
  for (std::uint32_t x = 0; x < 256; ++x) all[x] = x | (x << 8) | (x << 16) | ((255 - x) << 24);
  for (int percent = 0; percent <= 100; ++percent) {
    for (std::uint32_t c = 0; c < 256; c += 5) {
      auto a = all, b = all;
      const std::uint32_t colour = c | ((255 - c) << 8) | ((c * 7 & 0xFF) << 16);
      TintRowScalar(a.data(), 256, percent, colour);
      v.tint(b.data(), 256, percent, colour);
      ASSERT_EQ(a, b) << v.name << " tint percent " << percent << " colour " << colour;
    }
  }
  // Every source alpha over every destination alpha, with colour bytes of
  // both ends and between.
  for (std::uint32_t alpha = 0; alpha < 256; ++alpha) {
    std::vector<std::uint32_t> over(256);
    for (std::uint32_t x = 0; x < 256; ++x)
      over[x] = (alpha << 24) | ((255 - x) << 16) | ((x * 77 & 0xFF) << 8) | (x & 1 ? 255 : 0);
    auto a = all, b = all;
    ComposeRowScalar(a.data(), over.data(), 256);
    v.compose(b.data(), over.data(), 256);
    ASSERT_EQ(a, b) << v.name << " compose alpha " << alpha;
  }
}

TEST(PixelKernelsSse2, BlurLinesMatchScalar) {
  if (!UseSse2()) GTEST_SKIP() << "the CPU has no SSE2";
  std::mt19937 rng(99);
  for (int taps : {1, 2, 3, 5, 11, 13, 41, 201}) {
    std::vector<std::int16_t> weights(static_cast<size_t>(taps));
    for (auto& w : weights) w = static_cast<std::int16_t>(rng() % (32768 / taps + 1));
    for (int count : {1, 7, 8, 9, 31, 64}) {
      std::vector<std::int16_t> line(static_cast<size_t>(count + taps));
      for (auto& v : line) v = static_cast<std::int16_t>(rng() % 256);
      std::vector<std::uint8_t> a(static_cast<size_t>(count)), b(a.size());
      BlurLineScalar(line.data(), a.data(), count, weights.data(), taps, 15);
      BlurLineSse2(line.data(), b.data(), count, weights.data(), taps, 15);
      ASSERT_EQ(a, b) << "line, taps " << taps << " count " << count;

      std::vector<std::vector<std::uint8_t>> rows(static_cast<size_t>(taps),
                                                  std::vector<std::uint8_t>(static_cast<size_t>(count)));
      std::vector<const std::uint8_t*> rowPointers;
      for (auto& r : rows) {
        for (auto& v : r) v = static_cast<std::uint8_t>(rng());
        rowPointers.push_back(r.data());
      }
      BlurRowsScalar(rowPointers.data(), a.data(), count, weights.data(), taps, 14);
      BlurRowsSse2(rowPointers.data(), b.data(), count, weights.data(), taps, 14);
      ASSERT_EQ(a, b) << "rows, taps " << taps << " count " << count;
    }
  }
}

}  // namespace
}  // namespace translit::kernels
