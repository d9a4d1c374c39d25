// Gaussian blur of 8-bit pictures and separable resampling.
#include "render/pixels/FilterKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "framework/core/SysUtils.h"
#include "render/pixels/PixelKernels.h"
#include "render/pixels/ScratchBuffer.h"

namespace translit {

BlurKernel MakeBlurKernel(double sigma) {
  BlurKernel k;
  long double sum = 0;
  for (int i = 0; i <= 200; ++i) {
    long double x = (i - 100) / static_cast<long double>(sigma);
    k.Weights[static_cast<std::size_t>(i)] = static_cast<float>(std::exp(-x * x / 2));
    sum += k.Weights[static_cast<std::size_t>(i)];
  }
  for (float& w : k.Weights) w = static_cast<float>(w / sum);
  int r = 100;
  long double tail = 0;
  while (tail < 1.0L / 510 && r > 1) {
    tail += 2.0L * k.Tap(r);
    --r;
  }
  k.Radius = r;
  long double kept = 0;
  for (int t = -r; t <= r; ++t) kept += k.Tap(t);
  for (int t = -r; t <= r; ++t) {
    float& w = k.Weights[static_cast<std::size_t>(100 + t)];
    w = static_cast<float>(w / kept);
  }
  return k;
}

namespace {

// The kept taps as integers with the given number of fraction bits, summing
// to exactly one, so that a flat picture stays flat. The centre tap absorbs
// the rounding.
std::vector<std::int16_t> FixedTaps(const BlurKernel& k, int& shift) {
  const int taps = 2 * k.Radius + 1;
  for (shift = 15; shift >= 13; --shift) {
    const long one = 1L << shift;
    std::vector<long> q(static_cast<std::size_t>(taps));
    long sum = 0;
    for (int u = 0; u < taps; ++u) {
      // Tap u multiplies the sample at distance u - r, which is the weight
      // of distance r - u.
      q[static_cast<std::size_t>(u)] = std::lround(static_cast<double>(k.Tap(k.Radius - u)) * one);
      sum += q[static_cast<std::size_t>(u)];
    }
    q[static_cast<std::size_t>(k.Radius)] += one - sum;
    if (std::all_of(q.begin(), q.end(), [](long v) { return v >= 0 && v <= 32767; }))
      return std::vector<std::int16_t>(q.begin(), q.end());
  }
  return {};
}

}  // namespace

void BlurGray8(const GrayView& bitmap, double sigma) {
  if (bitmap.Empty() || !(sigma > 0) || !std::isfinite(sigma)) return;
  const BlurKernel kernel = MakeBlurKernel(sigma);
  int shift = 0;
  const std::vector<std::int16_t> weights = FixedTaps(kernel, shift);
  if (weights.empty()) return;
  const int r = kernel.Radius;
  const int taps = 2 * r + 1;
  const int width = bitmap.width, height = bitmap.height;
  ScratchLease rowsPassMemory(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::uint8_t* const rowsPass = rowsPassMemory.Data();
  // Rows into the buffer, then columns from the buffer back into the picture.
  std::vector<std::int16_t> line(static_cast<std::size_t>(width) + static_cast<std::size_t>(taps) + 1);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = bitmap.Row(y);
    for (int k = 0; k < width + taps; ++k) line[static_cast<std::size_t>(k)] = in[std::clamp(k - r, 0, width - 1)];
    kernels::BlurLine(line.data(), rowsPass + static_cast<std::size_t>(y) * width, width, weights.data(), taps, shift);
  }
  std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(taps));
  for (int y = 0; y < height; ++y) {
    for (int u = 0; u < taps; ++u)
      rows[static_cast<std::size_t>(u)] =
          rowsPass + static_cast<std::size_t>(std::clamp(y + u - r, 0, height - 1)) * width;
    kernels::BlurRows(rows.data(), bitmap.Row(y), width, weights.data(), taps, shift);
  }
}

double ResampleRadius(int filter) {
  switch (filter) {
    case rfBox:
      return 0.51;
    case rfTriangle:
    case rfHermite:
      return 1.0;
    case rfBell:
      return 1.5;
    case rfBSpline:
      return 2.0;
    case rfSineProduct:
      return 3.0;
    case rfMitchell:
      return 2.0;
    default:
      return 0;
  }
}

double ResampleKernel(int filter, double distance) {
  const double h = std::fabs(distance);
  switch (filter) {
    case rfBox:
      return distance > -0.5 && distance <= 0.5 ? 1.0 : 0.0;
    case rfTriangle:
      return h < 1 ? 1 - h : 0;
    case rfHermite:
      return h < 1 ? (2 * h - 3) * h * h + 1 : 0;
    case rfBell:
      if (h < 0.5) return 0.75 - h * h;
      if (h < 1.5) return 0.5 * (h - 1.5) * (h - 1.5);
      return 0;
    case rfBSpline:
      if (h < 1) return h * h * (h / 2 - 1) + 2.0 / 3;
      if (h < 2) return (2 - h) * (2 - h) * (2 - h) / 6;
      return 0;
    case rfSineProduct:
      if (h == 0) return 1;
      if (h < 3) return std::sin(std::numbers::pi * h) * std::sin(h) / (std::numbers::pi * h * h);
      return 0;
    case rfMitchell:
      if (h < 1) return h * h * (7.0 / 6 * h - 2) + 8.0 / 9;
      if (h < 2) return h * h * (-7.0 / 18 * h + 2) - 10.0 / 3 * h + 16.0 / 9;
      return 0;
    default:
      return 0;
  }
}

ResampleContributors MakeResampleContributors(int m, int n, int filter, std::ptrdiff_t step) {
  ResampleContributors lists(static_cast<std::size_t>(std::max(n, 0)));
  const double radius = ResampleRadius(filter);
  if (m <= 0 || n <= 0 || radius <= 0) return lists;
  const double scale = n < m ? static_cast<double>(n) / m : 1.0;
  const double width = radius / scale;
  for (int i = 0; i < n; ++i) {
    const double centre = static_cast<double>(m) * i / n;
    const long long left = static_cast<long long>(std::floor(centre - width));
    const long long right = static_cast<long long>(std::ceil(centre + width));
    auto& list = lists[static_cast<std::size_t>(i)];
    for (long long j = left; j <= right; ++j) {
      const double distance = (centre - static_cast<double>(j)) * scale;
      if (std::fabs(distance) >= radius) continue;
      const double k = ResampleKernel(filter, distance);
      if (k == 0) continue;
      long long mirrored = j < 0 ? -j : (j >= m ? 2LL * m - 1 - j : j);
      // Far past the ends (a picture shrunk to a few samples) one mirror is
      // not enough; the nearest end sample stands in.
      mirrored = std::clamp<long long>(mirrored, 0, m - 1);
      list.push_back(
          {static_cast<std::ptrdiff_t>(mirrored) * step, static_cast<std::int32_t>(std::nearbyint(k * scale * 65536))});
    }
  }
  return lists;
}

namespace {

constexpr std::uint8_t FixedToByte(std::int32_t sum) {
  if (sum < 0) return 0;
  if (sum < 0xFF0001) return static_cast<std::uint8_t>(sum >> 16);
  return 255;
}

}  // namespace

namespace {

// Rows of the same count: every pixel of an out row from the pixels of the
// same in row that across names (byte offsets in the row).
void ResampleAcross(const ByteView& in, const ByteView& out, const ResampleContributors& across) {
  const int bpp = in.bytesPerPixel;
  for (int y = 0; y < in.height; ++y) {
    const std::uint8_t* from = in.Row(y);
    std::uint8_t* to = out.Row(y);
    for (int x = 0; x < out.width; ++x) {
      std::int32_t sum[4] = {0, 0, 0, 0};
      for (const ResampleContributor& c : across[static_cast<std::size_t>(x)]) {
        const std::uint8_t* p = from + c.Offset;
        for (int ch = 0; ch < bpp; ++ch) sum[ch] += c.Weight * p[ch];
      }
      for (int ch = 0; ch < bpp; ++ch) to[static_cast<std::size_t>(x) * bpp + ch] = FixedToByte(sum[ch]);
    }
  }
}

// Columns of the same count: every out row from the in rows that down names
// (row indexes), a whole row of sums at a time.
void ResampleDown(const ByteView& in, const ByteView& out, const ResampleContributors& down) {
  const std::size_t rowBytes = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.bytesPerPixel);
  std::vector<std::int32_t> sums(rowBytes);
  for (int y = 0; y < out.height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (const ResampleContributor& c : down[static_cast<std::size_t>(y)]) {
      const std::uint8_t* from = in.Row(static_cast<int>(c.Offset));
      const std::int32_t w = c.Weight;
      for (std::size_t i = 0; i < rowBytes; ++i) sums[i] += w * from[i];
    }
    std::uint8_t* to = out.Row(y);
    for (std::size_t i = 0; i < rowBytes; ++i) to[i] = FixedToByte(sums[i]);
  }
}

// A buffer of the pass in between larger than this is taken only when the
// other order needs more still.
constexpr std::uint64_t kPreferredBufferBytes = 256u << 20;

}  // namespace

void Resample(const ByteView& source, const ByteView& dest, int filter) {
  if (source.width < 2 || source.height < 2 || source.firstRow == nullptr)
    throw fw::Exception("Source bitmap is too small");
  if (dest.Empty()) return;
  const int bpp = source.bytesPerPixel;
  if (bpp != 3 && bpp != 4) return;
  if (dest.width == source.width && dest.height == source.height) {
    if (dest.firstRow == source.firstRow && dest.rowStride == source.rowStride) return;
    const std::size_t rowBytes = static_cast<std::size_t>(dest.width) * static_cast<std::size_t>(bpp);
    for (int y = 0; y < dest.height; ++y) std::memmove(dest.Row(y), source.Row(y), rowBytes);
    return;
  }
  // Rows first (into a buffer of the new width and the old height), then
  // columns. The other order (the old width and the new height) gives the
  // same picture up to the rounding of the pass in between; it is taken
  // when the usual buffer would be huge where the other is not, as for a
  // tall narrow picture made one row high and very wide. Sizes are counted
  // in 64 bits: on a 32-bit program their products wrap around.
  const std::uint64_t acrossFirst = static_cast<std::uint64_t>(dest.width) * static_cast<std::uint64_t>(bpp) *
                                    static_cast<std::uint64_t>(source.height);
  const std::uint64_t downFirst = static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(bpp) *
                                  static_cast<std::uint64_t>(dest.height);
  const bool rowsFirst = acrossFirst <= kPreferredBufferBytes || acrossFirst <= downFirst;
  const std::uint64_t bufferBytes = rowsFirst ? acrossFirst : downFirst;
  if (bufferBytes > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()))
    throw fw::EOutOfResources("Out of system resources");
  ScratchLease buffer(static_cast<std::size_t>(bufferBytes));
  const ResampleContributors across = MakeResampleContributors(source.width, dest.width, filter, bpp);
  const ResampleContributors down = MakeResampleContributors(source.height, dest.height, filter, 1);
  if (rowsFirst) {
    const ByteView between{buffer.Data(), static_cast<std::ptrdiff_t>(dest.width) * bpp, dest.width, source.height,
                           bpp};
    ResampleAcross(source, between, across);
    ResampleDown(between, dest, down);
  } else {
    const ByteView between{buffer.Data(), static_cast<std::ptrdiff_t>(source.width) * bpp, source.width, dest.height,
                           bpp};
    ResampleDown(source, between, down);
    ResampleAcross(between, dest, across);
  }
}

}  // namespace translit
