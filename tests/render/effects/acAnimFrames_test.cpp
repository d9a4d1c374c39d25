// The frame arithmetic of the animations against the cases worked out by
// hand: frame counts, show and hide alphas, aero rectangles, fade weights
// and the levels of a re-skinning on a still cover.
#include "render/effects/acAnimFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace translit {
namespace {

TEST(AnimFrames, FrameCountsAreTimeDivTwelveOfASixteenBitTime) {
  const std::pair<unsigned, int> cases[] = {
      {0, 0},
      {11, 0},
      {12, 1},
      {60, 5},
      {100, 8},
      {120, 10},
      {200, 16},
      {65535, 5461},
      // A time past 16 bits is read by its low 16 bits.
      {65536 + 24, 2},
  };
  for (const auto& [time, frames] : cases) EXPECT_EQ(FrameCount(time), frames) << time;
}

TEST(AnimFrames, RoundingTakesHalvesToEven) {
  const std::pair<double, long long> cases[] = {{25.5, 26}, {76.5, 76}, {127.5, 128}, {178.5, 178}, {229.5, 230},
                                                {0.49, 0},  {0.51, 1},  {2.5, 2},     {-2.5, -2},   {-2.6, -3}};
  for (const auto& [v, r] : cases) EXPECT_EQ(RoundHalfEven(v), r) << v;
}

// The alphas a show of 120 ms at blend 255 puts on its 11 frames.
TEST(AnimFrames, ShowAlphasRiseByABlendShareAndStopAtBlend) {
  const int frames = FrameCount(120);
  std::vector<long long> alphas;
  double alpha = 0;
  for (int k = 0; k <= frames; ++k) {
    alpha = NextShowAlpha(alpha, ShowAlphaStep(255, frames), 255);
    alphas.push_back(RoundHalfEven(alpha));
  }
  EXPECT_EQ(alphas, (std::vector<long long>{26, 51, 76, 102, 128, 153, 178, 204, 230, 255, 255}));

  // A dialog rises by blend / (frames + 1) and reaches blend at its last.
  alpha = 0;
  for (int k = 0; k <= frames; ++k) alpha = NextShowAlpha(alpha, DialogShowAlphaStep(255, frames), 255);
  EXPECT_EQ(RoundHalfEven(alpha), 255);
  EXPECT_EQ(RoundHalfEven(NextShowAlpha(0, DialogShowAlphaStep(255, frames), 255)), 23);
}

TEST(AnimFrames, AeroShowGrowsFromAnEighthInsideToTheFullPicture) {
  for (int k = 0; k <= 10; ++k) {
    const TacFrameRect r = AeroShowRect(400, 240, 10, k);
    EXPECT_EQ(RoundHalfEven(r.Left), 50 - 5 * k) << k;
    EXPECT_EQ(RoundHalfEven(r.Top), 30 - 3 * k) << k;
    EXPECT_EQ(RoundHalfEven(r.Right), 350 + 5 * k) << k;
    EXPECT_EQ(RoundHalfEven(r.Bottom), 210 + 3 * k) << k;
  }
}

TEST(AnimFrames, HideAlphasFallToZeroAndAeroShrinksFromTheFullPicture) {
  const int frames = FrameCount(60);
  std::vector<long long> alphas;
  for (int k = 1; k <= frames + 1; ++k) alphas.push_back(RoundHalfEven(HideAlpha(255, frames, k)));
  EXPECT_EQ(alphas, (std::vector<long long>{204, 153, 102, 51, 0, 0}));

  const TacFrameRect first = AeroHideRect(400, 240, 5, 0);
  EXPECT_EQ(first.Left, 0);
  EXPECT_EQ(first.Bottom, 240);
  const TacFrameRect third = AeroHideRect(400, 240, 5, 2);
  EXPECT_EQ(third.Left, 20);
  EXPECT_EQ(third.Top, 12);
  EXPECT_EQ(third.Right, 380);
  EXPECT_EQ(third.Bottom, 228);
}

TEST(AnimFrames, FadeWeightsAndCoverLevels) {
  std::vector<int> weights;
  for (int step = 1; step <= 5; ++step) weights.push_back(FadeWeight(step, 5));
  EXPECT_EQ(weights, (std::vector<int>{204, 153, 102, 51, 0}));
  // Fast fades of a 5-step section take 2 steps.
  EXPECT_EQ(FadeWeight(1, 5 / 2), 127);
  EXPECT_EQ(FadeWeight(2, 5 / 2), 0);

  std::vector<int> levels;
  for (int k = 0; k <= 8; ++k) levels.push_back(SkinChangeLevel(8, k));
  EXPECT_EQ(levels, (std::vector<int>{255, 224, 193, 162, 131, 100, 69, 38, 7}));
  // Where the step divides 255, the last mix is the new picture alone.
  EXPECT_EQ(SkinChangeLevel(3, 3), 0);

  EXPECT_EQ(OldWindowAlpha(255, 0), 255);
  EXPECT_EQ(OldWindowAlpha(255, 204), 153);
  EXPECT_EQ(OldWindowAlpha(255, 255), 0);
}

}  // namespace
}  // namespace translit
