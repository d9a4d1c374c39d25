// Whole-picture filters on views of rows: the Gaussian blur of 8-bit masks
// (soft text glows and shadows) and the separable resampling with seven
// kernels in 16.16 fixed point. Portable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/pixels/AlphaKernels.h"

namespace translit {

// 201 single-precision taps for distances -100..100 (index 100 is the
// centre), normalised over -Radius..Radius, and the radius where the
// dropped tail reaches 1/510 of the weight.
struct BlurKernel {
  std::array<float, 201> Weights{};
  int Radius = 0;
  float Tap(int distance) const { return Weights[static_cast<std::size_t>(100 + distance)]; }
};

BlurKernel MakeBlurKernel(double sigma);

// Blurs rows, then columns; values beyond a line's ends repeat its end
// values; sums are truncated to 0..255. A sigma that is not positive leaves
// the picture as it is.
void BlurGray8(const GrayView& bitmap, double sigma);

enum TResampleFilter : int {
  rfBox = 0,
  rfTriangle = 1,
  rfHermite = 2,
  rfBell = 3,
  rfBSpline = 4,
  rfSineProduct = 5,
  rfMitchell = 6,
};

// The kernel's support radius and its value at a signed distance (only the
// box kernel tells the two signs apart).
double ResampleRadius(int filter);
double ResampleKernel(int filter, double distance);

// The source samples of one destination sample: byte offsets and 16.16
// weights (not normalised).
struct ResampleContributor {
  std::ptrdiff_t Offset;
  std::int32_t Weight;
};
using ResampleContributors = std::vector<std::vector<ResampleContributor>>;

// Contributors for m source samples to n destination samples, offsets being
// source index * step. Indexes outside the source are mirrored at its ends.
ResampleContributors MakeResampleContributors(int m, int n, int filter, std::ptrdiff_t step);

// Scales source to dest's size with the filter (0..6); both views have the
// same pixel size (3 or 4 bytes), 4 including alpha. A source narrower or
// lower than two pixels raises fw::Exception "Source bitmap is too small".
// Equal sizes copy the rows. Rows are resampled first, into a buffer of the
// new width and the old height; where that buffer would be very large and
// one of the old width and the new height is smaller, columns go first.
// fw::EOutOfResources when the buffer cannot be addressed at all.
void Resample(const ByteView& source, const ByteView& dest, int filter);

}  // namespace translit
