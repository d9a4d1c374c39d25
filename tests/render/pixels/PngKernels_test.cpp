// The PNG row kernels: the scalar filters against the standard's definitions
// written out plainly, and the SSE2 forms against the scalar ones on random
// rows of every length, every filter type and every pixel width (fixed seed).
// Bytes around the row must stay untouched.
#include "render/pixels/PngKernels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "render/pixels/PixelKernels.h"

namespace translit::kernels {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kGuard = 16;
constexpr std::uint8_t kGuardByte = 0xA5;
const std::size_t kPixelWidths[] = {1, 2, 3, 4, 6, 8};

// Byte by byte, as the standard defines the filters: a left, b above, c above left.
void UnfilterByDefinition(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp) {
  for (std::size_t i = 0; i < size; ++i) {
    const int a = i >= bpp ? cur[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
    int predictor = 0;
    switch (filter) {
      case 1:
        predictor = a;
        break;
      case 2:
        predictor = b;
        break;
      case 3:
        predictor = (a + b) / 2;
        break;
      case 4: {
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        break;
      }
      default:
        break;
    }
    cur[i] = static_cast<std::uint8_t>(cur[i] + predictor);
  }
}

// Uniform bytes, or bytes from a few values near the ends and the middle,
// where the Paeth distances tie and the averages carry.
Bytes RandomRow(std::mt19937& rng, std::size_t size, bool fewValues) {
  static const std::uint8_t few[] = {0, 1, 2, 127, 128, 129, 253, 254, 255};
  Bytes row(size);
  for (auto& v : row) v = fewValues ? few[rng() % std::size(few)] : static_cast<std::uint8_t>(rng());
  return row;
}

// The row with guard bytes on both sides; Row() is where the row starts.
struct Guarded {
  Bytes bytes;
  explicit Guarded(const Bytes& row) : bytes(kGuard, kGuardByte) {
    bytes.insert(bytes.end(), row.begin(), row.end());
    bytes.insert(bytes.end(), kGuard, kGuardByte);
  }
  std::uint8_t* Row() { return bytes.data() + kGuard; }
  Bytes Inside() const { return Bytes(bytes.begin() + kGuard, bytes.end() - kGuard); }
  bool GuardsIntact() const {
    for (std::size_t i = 0; i < kGuard; ++i)
      if (bytes[i] != kGuardByte || bytes[bytes.size() - 1 - i] != kGuardByte) return false;
    return true;
  }
};

using UnfilterFn = void (*)(int, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);

// Runs f and the definition on the same random rows of every length up to
// maxSize, for every filter type (5 being one the standard does not define).
void ExpectUnfilterMatches(UnfilterFn f, UnfilterFn reference, const char* what, std::size_t maxSize) {
  std::mt19937 rng(20240917);
  for (std::size_t bpp : kPixelWidths)
    for (int filter = 0; filter <= 5; ++filter)
      for (std::size_t size = 0; size <= maxSize; ++size)
        for (int round = 0; round < 6; ++round) {
          const bool few = round % 2 == 1;
          const Bytes row = RandomRow(rng, size, few), prev = RandomRow(rng, size, few);
          Guarded expected(row), got(row);
          reference(filter, expected.Row(), prev.data(), size, bpp);
          f(filter, got.Row(), prev.data(), size, bpp);
          ASSERT_EQ(expected.Inside(), got.Inside())
              << what << ": filter " << filter << ", " << bpp << " bytes per pixel, " << size << " bytes";
          ASSERT_TRUE(got.GuardsIntact()) << what << " wrote outside the row: filter " << filter << ", " << bpp
                                          << " bytes per pixel, " << size << " bytes";
        }
}

TEST(PngKernels, ScalarFiltersFollowTheDefinitions) {
  ExpectUnfilterMatches(UnfilterRowScalar, UnfilterByDefinition, "scalar", 70);
}

TEST(PngKernels, Sse2FiltersMatchScalar) {
  if (!UseSse2()) GTEST_SKIP() << "no SSE2";
  ExpectUnfilterMatches(UnfilterRowSse2, UnfilterRowScalar, "SSE2", 200);
}

// A whole picture's worth of rows, each filtered against the one before, as
// the decoder runs them: an error that only shows in a later row (a left
// pixel carried wrongly) shows here.
TEST(PngKernels, Sse2FiltersMatchScalarRowAfterRow) {
  if (!UseSse2()) GTEST_SKIP() << "no SSE2";
  std::mt19937 rng(7);
  for (std::size_t bpp : kPixelWidths) {
    const std::size_t size = 1923 * bpp;
    Bytes prevScalar(size, 0), prevVector(size, 0);
    for (int y = 0; y < 60; ++y) {
      const int filter = static_cast<int>(rng() % 5);
      Bytes scalar = RandomRow(rng, size, y % 3 == 0), vector = scalar;
      UnfilterRowScalar(filter, scalar.data(), prevScalar.data(), size, bpp);
      UnfilterRowSse2(filter, vector.data(), prevVector.data(), size, bpp);
      ASSERT_EQ(scalar, vector) << "row " << y << ", filter " << filter << ", " << bpp << " bytes per pixel";
      prevScalar.swap(scalar);
      prevVector.swap(vector);
    }
  }
}

// Every triple of left (a), above (b) and above-left (c) through the vector
// Paeth filter, for 3- and 4-byte pixels: each lane of a row holds one pair
// (b, c), the row above alternates c and b, and the even pixels of the answer
// count a from 0 to 255, so that every odd pixel meets one triple. The row is
// filtered by the definition and must come back.
TEST(PngKernels, Sse2PaethEveryNeighbourTriple) {
  if (!UseSse2()) GTEST_SKIP() << "no SSE2";
  for (std::size_t bpp : {std::size_t{3}, std::size_t{4}}) {
    const std::size_t pixels = 512, size = pixels * bpp;
    Bytes prev(size), answer(size), row(size);
    for (std::size_t pair = 0; pair < 65536; pair += bpp) {
      for (std::size_t k = 0; k < pixels; ++k)
        for (std::size_t lane = 0; lane < bpp; ++lane) {
          const std::size_t bc = (pair + lane) & 0xFFFF;
          prev[k * bpp + lane] = static_cast<std::uint8_t>(k % 2 == 0 ? bc & 0xFF : bc >> 8);
          answer[k * bpp + lane] = static_cast<std::uint8_t>(k % 2 == 0 ? k / 2 : 37 * k + lane);
        }
      // Filter: each byte less its predictor from the answer's own neighbours.
      for (std::size_t i = 0; i < size; ++i) {
        const int a = i >= bpp ? answer[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        const int predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        row[i] = static_cast<std::uint8_t>(answer[i] - predictor);
      }
      UnfilterRowSse2(4, row.data(), prev.data(), size, bpp);
      ASSERT_EQ(answer, row) << bpp << " bytes per pixel, pairs from " << pair;
    }
  }
}

TEST(PngKernels, RedAndBlueExchangePlaces) {
  std::mt19937 rng(11);
  for (std::size_t count = 0; count <= 70; ++count) {
    const Bytes rgba = RandomRow(rng, 4 * count, false), rgb = RandomRow(rng, 3 * count, false);
    Bytes bgra(4 * count), bgr(3 * count);
    for (std::size_t i = 0; i < count; ++i) {
      bgra[4 * i] = rgba[4 * i + 2];
      bgra[4 * i + 1] = rgba[4 * i + 1];
      bgra[4 * i + 2] = rgba[4 * i];
      bgra[4 * i + 3] = rgba[4 * i + 3];
      bgr[3 * i] = rgb[3 * i + 2];
      bgr[3 * i + 1] = rgb[3 * i + 1];
      bgr[3 * i + 2] = rgb[3 * i];
    }
    struct Form {
      const char* name;
      void (*rgba)(const std::uint8_t*, std::uint8_t*, std::size_t);
      void (*rgb)(const std::uint8_t*, std::uint8_t*, std::size_t);
      bool available;
    };
    for (const Form& form : {Form{"scalar", RgbaToBgraRowScalar, RgbToBgrRowScalar, true},
                             Form{"SSE2", RgbaToBgraRowSse2, RgbToBgrRowSse2, UseSse2()}}) {
      if (!form.available) continue;
      Guarded four(Bytes(4 * count, 0)), three(Bytes(3 * count, 0));
      form.rgba(rgba.data(), four.Row(), count);
      form.rgb(rgb.data(), three.Row(), count);
      ASSERT_EQ(bgra, four.Inside()) << form.name << " RGBA, " << count << " pixels";
      ASSERT_EQ(bgr, three.Inside()) << form.name << " RGB, " << count << " pixels";
      ASSERT_TRUE(four.GuardsIntact() && three.GuardsIntact()) << form.name << " wrote outside, " << count << " pixels";
    }
  }
}

}  // namespace
}  // namespace translit::kernels
