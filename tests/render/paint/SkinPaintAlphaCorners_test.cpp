// The parent's background under the see-through corners of a frame image
// with a mask layer: the wholly see-through pixels joined to each corner
// cell's outer corner and the partly covered rim around them take the
// parent's colour (a system colour resolved) or picture; the face elsewhere,
// a see-through pixel cut off from the outer corner among them, stays.
#include "render/paint/SkinPaintAlphaCorners.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinTables.h"
#include "tests/skin/SkinFixtures.h"

namespace translit {
namespace {

constexpr std::uint32_t kFace = 0xFF102030u, kParent = 0xFF405060u;
constexpr int kCell = 8, kMargin = 3, kSize = 20;

// The mask layer of an 8 x 8 frame cell, alike in its four corners: by the
// distance d from the nearest corner (dx + dy), white (see-through) for d up
// to 1, grey (partly) for 2, black (covered) beyond; and one white pixel at
// (2, 2) from each corner that no white pixel joins to the corner.
std::uint32_t MaskPixel(int x, int y) {
  const int dx = std::min(x, kCell - 1 - x), dy = std::min(y, kCell - 1 - y);
  if (dx == 2 && dy == 2) return 0xFFFFFFFFu;
  const int d = dx + dy;
  return d <= 1 ? 0xFFFFFFFFu : d == 2 ? 0xFF808080u : 0xFF000000u;
}

struct Corners : ::testing::Test {
  TsSkinTables tables{test::FakeSystem()};
  TsMaskData mask;
  std::unique_ptr<fw::TBitmap> cache = NewBitmap32(kSize, kSize);

  void SetUp() override {
    // The image above, its mask layer below.
    tables.MasterBitmap = NewBitmap32(kCell, 2 * kCell);
    PixelView v = ViewOf(tables.MasterBitmap.get());
    for (int y = 0; y < 2 * kCell; ++y)
      for (int x = 0; x < kCell; ++x) v.At(x, y) = y < kCell ? 0xFFC0C0C0u : MaskPixel(x, y - kCell);
    mask.Owner = &tables;
    mask.SrcRight = kCell;
    mask.SrcBottom = 2 * kCell;
    mask.StateCount = 1;
    mask.ExtraLayers = 1;
    mask.MarginLeft = mask.MarginTop = mask.MarginRight = mask.MarginBottom = kMargin;
    PixelView c = ViewOf(cache.get());
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) c.At(x, y) = kFace;
  }
  std::uint32_t At(int x, int y) { return ViewOf(cache.get()).At(x, y); }
};

// Offsets from a corner (x across, y down, away from it) and whether the
// parent shows there.
struct Place {
  int x, y;
  bool parent;
};
constexpr Place kPlaces[] = {
    {0, 0, true},  {1, 0, true},  {0, 1, true},  {2, 0, true},  {0, 2, true},
    {1, 1, true},  {2, 1, false}, {1, 2, false}, {2, 2, false},  // cut off from the corner
    {3, 0, false},                                               // beyond the corner cell
};

TEST_F(Corners, AColourParentFillsTheCornersFromTheirOuterCorners) {
  ParentCache parent = EmptyParentCache();
  parent.FillColor = static_cast<fw::TColor>(0x605040);  // kParent as a colour (BGR)
  PutParentUnderAlphaCorners(cache.get(), mask, 0, parent);
  for (const Place& p : kPlaces) {
    const std::uint32_t expected = p.parent ? kParent : kFace;
    EXPECT_EQ(At(p.x, p.y), expected) << "top-left + " << p.x << ", " << p.y;
    EXPECT_EQ(At(kSize - 1 - p.x, p.y), expected) << "top-right + " << p.x << ", " << p.y;
    EXPECT_EQ(At(p.x, kSize - 1 - p.y), expected) << "bottom-left + " << p.x << ", " << p.y;
    EXPECT_EQ(At(kSize - 1 - p.x, kSize - 1 - p.y), expected) << "bottom-right + " << p.x << ", " << p.y;
  }
  EXPECT_EQ(At(kSize / 2, kSize / 2), kFace) << "the middle";
}

TEST_F(Corners, ASystemColourIsTheColourItStandsFor) {
  ParentCache parent = EmptyParentCache();
  parent.FillColor = fw::clBtnFace;
  PutParentUnderAlphaCorners(cache.get(), mask, 0, parent);
  EXPECT_EQ(At(0, 0), 0xFF000000u | ExchangeRB(::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(Corners, AParentPictureShowsAtTheControlsPlaceInIt) {
  auto back = NewBitmap32(40, 40);
  PixelView b = ViewOf(back.get());
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) b.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x << 8 | y);
  PutParentUnderAlphaCorners(cache.get(), mask, 0, MakeParentCache(back.get(), 7, 5));
  EXPECT_EQ(At(0, 0), 0xFF000000u | (7u << 8 | 5u));
  EXPECT_EQ(At(kSize - 1, kSize - 1), 0xFF000000u | (static_cast<std::uint32_t>(7 + kSize - 1) << 8 | (5 + kSize - 1)));
  EXPECT_EQ(At(2, 2), kFace);
}

TEST_F(Corners, NothingIsPaintedWithoutAnImageOrStates) {
  ParentCache parent = EmptyParentCache();
  parent.FillColor = static_cast<fw::TColor>(0x605040);
  TsMaskData none = mask;
  none.StateCount = 0;
  PutParentUnderAlphaCorners(cache.get(), none, 0, parent);
  tables.MasterBitmap.reset();
  PutParentUnderAlphaCorners(cache.get(), mask, 0, parent);
  EXPECT_EQ(At(0, 0), kFace);
}

}  // namespace
}  // namespace translit
