// Mask and texture painters on real DIB sections. Every picture a mask is
// cut from encodes its own coordinates in each pixel, so a painted pixel
// tells which source pixel it came from: tiling, stretching, margins and
// state columns are checked pixel by pixel against the expected mapping.
#include "render/paint/SkinPaintMasks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "framework/Handles.h"
#include "skin/sSkinTables.h"
#include "tests/skin/SkinFixtures.h"

namespace translit {
namespace {

constexpr std::uint32_t kBack = 0xFF000000u;  // black, opaque: never an encoded pixel

// Pixel (x, y) of a source picture: red and green carry x + 1 and y + 1,
// blue marks it as a picture pixel.
constexpr std::uint32_t Encode(int x, int y) {
  return 0xFF000000u | static_cast<std::uint32_t>(x + 1) << 16 | static_cast<std::uint32_t>(y + 1) << 8 | 0x40u;
}

struct Source {
  int x = -1, y = -1;
  bool operator==(const Source&) const = default;
};

void PrintTo(const Source& s, std::ostream* os) { *os << "(" << s.x << ", " << s.y << ")"; }

Source Decode(std::uint32_t pixel) {
  if ((pixel & 0xFFu) != 0x40u) return {};
  return {static_cast<int>((pixel >> 16) & 0xFFu) - 1, static_cast<int>((pixel >> 8) & 0xFFu) - 1};
}

std::unique_ptr<fw::TBitmap> Filled(int w, int h, std::uint32_t pixel) {
  auto b = NewBitmap32(w, h);
  PixelView v = ViewOf(b.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v.At(x, y) = pixel;
  return b;
}

std::uint32_t At(fw::TBitmap* b, int x, int y) { return ViewOf(b).At(x, y); }

// Tables whose master bitmap is an encoded picture of w x imageH pixels;
// with a mask layer the rows from layerTop down are 0 (image fully shown).
struct Skin {
  TsSkinTables tables{test::FakeSystem()};
  Skin(int w, int h, int layerTop = -1) {
    tables.MasterBitmap = NewBitmap32(w, h);
    PixelView v = ViewOf(tables.MasterBitmap.get());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) v.At(x, y) = (layerTop >= 0 && y >= layerTop) ? 0xFF000000u : Encode(x, y);
  }
  void Set(int x, int y, std::uint32_t pixel) { ViewOf(tables.MasterBitmap.get()).At(x, y) = pixel; }
  TsMaskData Mask(int states, int stateW, int stateH, int layers, int fillMode, int ml, int mt, int mr, int mb) {
    TsMaskData m;
    m.Owner = &tables;
    m.SrcRight = states * stateW;
    m.SrcBottom = stateH * (layers + 1);
    m.StateCount = static_cast<std::int16_t>(states);
    m.ExtraLayers = static_cast<std::int16_t>(layers);
    m.FillMode = static_cast<std::int16_t>(fillMode);
    m.MarginLeft = static_cast<std::int16_t>(ml);
    m.MarginTop = static_cast<std::int16_t>(mt);
    m.MarginRight = static_cast<std::int16_t>(mr);
    m.MarginBottom = static_cast<std::int16_t>(mb);
    return m;
  }
};

// The source coordinate inside one state for position pos of a side of
// length len: margins unscaled, the middle tiled or stretched.
int ExpectedAlong(int pos, int len, int nearM, int farM, int size, bool stretch) {
  if (pos < nearM) return pos;
  if (pos >= len - farM) return size - (len - pos);
  const int middle = size - nearM - farM;
  const int inner = pos - nearM;
  return nearM + (stretch ? inner * middle / (len - nearM - farM) : inner % middle);
}

struct BorderCase {
  const char* name;
  int states, stateW, stateH, layers, fillMode, margin;
  int rectW, rectH, state;
  bool drawn, stretch, centre;
  int drawnState;
  int wl, wr;  // margins after fitting into the rectangle
};

// Checks the whole bitmap: inside rect the expected source pixel (or the
// background in an undrawn centre), outside rect the background.
void CheckBorder(const BorderCase& c, fw::TBitmap* b, const RECT& r, int wt, int wb) {
  const int sw = c.stateW;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) {
      const std::uint32_t v = At(b, x, y);
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      const int px = x - r.left, py = y - r.top;
      const bool middleX = px >= c.wl && px < c.rectW - c.wr;
      const bool middleY = py >= wt && py < c.rectH - wb;
      if (!inside || !c.drawn || (middleX && middleY && !c.centre)) {
        ASSERT_EQ(v, kBack) << c.name << " at " << x << "," << y;
        continue;
      }
      Source want{c.drawnState * sw + ExpectedAlong(px, c.rectW, c.wl, c.wr, sw, c.stretch),
                  ExpectedAlong(py, c.rectH, wt, wb, c.stateH, c.stretch)};
      ASSERT_EQ(Decode(v), want) << c.name << " at " << x << "," << y;
    }
}

const BorderCase kBorderCases[] = {
    // name, states, sw, sh, layers, fill, margin, W, H, state, drawn, stretch, centre, drawnState, wl, wr
    {"key mask tiled, no centre, cut last tiles", 1, 6, 6, 0, 0, 2, 11, 9, 0, true, false, false, 0, 2, 2},
    {"key mask tiled with centre", 1, 6, 6, 0, 4, 2, 11, 9, 0, true, false, true, 0, 2, 2},
    {"fill 5 on key mask stretches edges and centre", 1, 6, 6, 0, 5, 2, 10, 10, 0, true, true, true, 0, 2, 2},
    {"fill 5 on alpha mask tiles", 1, 6, 6, 1, 5, 2, 10, 10, 0, true, false, true, 0, 2, 2},
    {"alpha mask without centre", 1, 6, 6, 1, 0, 2, 11, 9, 0, true, false, false, 0, 2, 2},
    {"fill 2 in state 0 draws nothing", 2, 6, 6, 0, 2, 2, 10, 10, 0, false, false, false, 0, 2, 2},
    {"fill 2 in state 1 draws state 1", 2, 6, 6, 0, 2, 2, 10, 10, 1, true, false, false, 1, 2, 2},
    {"margins 5 and 5 in a 7 wide rect become 4 and 3", 1, 12, 12, 0, 4, 5, 7, 12, 0, true, false, true, 0, 4, 3},
    {"state 6 of 4 draws state 3", 4, 6, 6, 0, 4, 2, 8, 8, 6, true, false, true, 3, 2, 2},
};

TEST(PaintBorderMask, MapsEveryPixelToItsSourcePiece) {
  for (const BorderCase& c : kBorderCases) {
    Skin skin(c.states * c.stateW, c.stateH * (c.layers + 1), c.layers ? c.stateH : -1);
    TsMaskData mask =
        skin.Mask(c.states, c.stateW, c.stateH, c.layers, c.fillMode, c.margin, c.margin, c.margin, c.margin);
    auto b = Filled(c.rectW + 3, c.rectH + 4, kBack);
    const RECT r{1, 2, 1 + c.rectW, 2 + c.rectH};
    PaintBorderMask(b.get(), r, false, c.state, mask, ParentCache{});
    CheckBorder(c, b.get(), r, c.margin, c.margin);
  }
}

TEST(PaintBorderMask, KeyCornerShowsParentBitmapOrColourWhileEdgesCopyTheKey) {
  Skin skin(6, 6);
  skin.Set(0, 0, KeyPixel);  // top-left corner
  skin.Set(2, 0, KeyPixel);  // top edge
  TsMaskData mask = skin.Mask(1, 6, 6, 0, 0, 2, 2, 2, 2);
  auto parentBitmap = Filled(20, 20, kBack);
  ViewOf(parentBitmap.get()).At(4, 5) = 0xFF123456u;
  struct {
    const char* name;
    ParentCache parent;
    std::uint32_t corner;
  } cases[] = {
      {"parent bitmap", ParentCache{parentBitmap.get(), 3, 4, 0x00FF00FF, true}, 0x123456u},
      {"parent colour", ParentCache{nullptr, 0, 0, 0x00336699, false}, 0x996633u},
  };
  for (const auto& c : cases) {
    auto b = Filled(10, 10, kBack);
    PaintBorderMask(b.get(), RECT{1, 1, 9, 9}, true, 0, mask, c.parent);
    EXPECT_EQ(At(b.get(), 1, 1) & 0xFFFFFFu, c.corner) << c.name;
    EXPECT_EQ(At(b.get(), 3, 1) & 0xFFFFFFu, 0xFF00FFu) << c.name;
    EXPECT_EQ(Decode(At(b.get(), 2, 1)), (Source{1, 0})) << c.name;
  }
}

TEST(PaintBorderMask, BadGeometryPaintsNothing) {
  Skin skin(6, 6);
  struct {
    const char* name;
    int sw, margin, w, h;
    int srcRight;
  } cases[] = {
      {"rect one pixel wide", 6, 2, 1, 8, 6},
      {"margins wider than the state", 6, 4, 20, 20, 6},
      {"source rect beyond the master bitmap", 6, 2, 20, 20, 40},
  };
  for (const auto& c : cases) {
    TsMaskData mask = skin.Mask(1, c.sw, 6, 0, 4, c.margin, c.margin, c.margin, c.margin);
    mask.SrcRight = c.srcRight;
    auto b = Filled(22, 22, kBack);
    PaintBorderMask(b.get(), RECT{1, 1, 1 + c.w, 1 + c.h}, false, 0, mask, ParentCache{});
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 22; ++x) ASSERT_EQ(At(b.get(), x, y), kBack) << c.name << " at " << x << "," << y;
  }
}

TEST(PaintBorderMask, RectPartlyOutsideTheBitmapIsClipped) {
  Skin skin(6, 6);
  TsMaskData mask = skin.Mask(1, 6, 6, 0, 4, 2, 2, 2, 2);
  auto b = Filled(5, 5, kBack);
  PaintBorderMask(b.get(), RECT{-3, -3, 40, 40}, false, 0, mask, ParentCache{});
  // (0, 0) is (3, 3) of the item: inside the tiled centre, source (2 + 1 % 2, 3).
  EXPECT_EQ(Decode(At(b.get(), 0, 0)), (Source{3, 3}));
  EXPECT_EQ(Decode(At(b.get(), 4, 4)), (Source{3, 3}));
}

TEST(CopyLayeredPiece, ComposesEachChannelWithItsMaskChannel) {
  // Image row 0, mask row 1 (half of a two-row source).
  Skin skin(4, 2);
  TsMaskData mask = skin.Mask(1, 4, 1, 1, 0, 0, 0, 0, 0);
  skin.Set(0, 0, 0xFF204060u);
  skin.Set(0, 1, 0x00FF8000u);  // red 255 keeps d, green 128 halves, blue 0 takes s
  skin.Set(1, 0, KeyPixel);
  skin.Set(1, 1, 0x00000000u);
  auto parentBitmap = Filled(8, 8, 0xFF0A0B0Cu);
  struct {
    const char* name;
    bool fromParent;
    ParentCache parent;
    std::uint32_t keyPixel;  // what the key pixel leaves at (1, 0)
    std::uint32_t alpha;     // alpha of the composed pixel
  } cases[] = {
      {"parent bitmap, from parent", true, ParentCache{parentBitmap.get(), 0, 0, 0x00FF00FF, true}, 0xFF0A0B0Cu,
       0xFF000000u},
      {"parent bitmap, not from parent: the key is blended", false,
       ParentCache{parentBitmap.get(), 0, 0, 0x00FF00FF, true}, 0x10FF00FFu, 0x10000000u},
      {"colour, from parent", true, ParentCache{nullptr, 0, 0, 0x00336699, false}, 0xFF996633u, 0x10000000u},
      {"colour, not from parent: skipped", false, ParentCache{nullptr, 0, 0, 0x00336699, false}, 0x10808080u,
       0x10000000u},
  };
  for (const auto& c : cases) {
    auto b = Filled(4, 4, 0x10808080u);
    CopyLayeredPiece(RECT{0, 0, 2, 1}, RECT{0, 0, 2, 1}, b.get(), mask, c.fromParent, c.parent,
                     skin.tables.MasterBitmap.get());
    // red ((0x80 - 0x20) * 255 + 256 * 0x20) >> 8 = 0x7F, green 0x60, blue 0x60
    EXPECT_EQ(At(b.get(), 0, 0), c.alpha | 0x7F6060u) << c.name;
    EXPECT_EQ(At(b.get(), 1, 0), c.keyPixel) << c.name;
    EXPECT_EQ(At(b.get(), 0, 1), 0x10808080u) << c.name;
  }
}

TEST(CopyLayeredPiece, NegativeLeftShiftsBothRectangles) {
  Skin skin(4, 2, 1);
  TsMaskData mask = skin.Mask(1, 4, 1, 1, 0, 0, 0, 0, 0);  // mask row all 0: image shows
  auto b = Filled(4, 4, kBack);
  CopyLayeredPiece(RECT{-2, 0, 2, 1}, RECT{0, 0, 4, 1}, b.get(), mask, false, ParentCache{},
                   skin.tables.MasterBitmap.get());
  EXPECT_EQ(Decode(At(b.get(), 0, 0)), (Source{2, 0}));
  EXPECT_EQ(Decode(At(b.get(), 1, 0)), (Source{3, 0}));
  EXPECT_EQ(At(b.get(), 2, 0), kBack);
}

TEST(CopyLayeredPiece, KeyPixelOutsideTheParentDoesNotEndTheRow) {
  Skin skin(4, 2, 1);
  TsMaskData mask = skin.Mask(1, 4, 1, 1, 0, 0, 0, 0, 0);
  skin.Set(0, 0, KeyPixel);
  auto parentBitmap = Filled(2, 2, 0xFF0A0B0Cu);
  auto b = Filled(4, 4, 0x10808080u);
  CopyLayeredPiece(RECT{0, 0, 3, 1}, RECT{0, 0, 3, 1}, b.get(), mask, true,
                   ParentCache{parentBitmap.get(), 5, 0, 0x00FF00FF, true}, skin.tables.MasterBitmap.get());
  EXPECT_EQ(At(b.get(), 0, 0), 0x10808080u);
  EXPECT_EQ(At(b.get(), 1, 0), Encode(1, 0));
  EXPECT_EQ(At(b.get(), 2, 0), Encode(2, 0));
}

TEST(DrawMaskImage, LayeredLooksAndAlpha) {
  // Two states of 2 x 1; the mask layer one row below.
  Skin skin(4, 2);
  TsMaskData mask = skin.Mask(2, 2, 1, 1, 0, 0, 0, 0, 0);
  skin.Set(2, 0, 0xFF204060u);
  skin.Set(2, 1, 0x00408000u);  // red 64, green 128, blue 0
  skin.Set(3, 0, 0xFF204060u);
  skin.Set(3, 1, 0x00FF0000u);  // red 255: skipped
  struct {
    const char* name;
    int look;
    std::uint32_t want;
  } cases[] = {
      // alpha 0x10 + (255 - 0x10) * (255 - 64) / 255 = 0xC3; red 0x38, green 0x60, blue 0x60
      {"normal", mlNormal, 0xC3386060u},
      // mask + 100: red 164, green 228, blue 100
      {"faded", mlFaded, 0xC35D796Cu},
  };
  for (const auto& c : cases) {
    auto b = Filled(3, 3, 0x10808080u);
    DrawMaskImage(b.get(), POINT{1, 1}, 5, ParentCache{}, mask, c.look);
    EXPECT_EQ(At(b.get(), 1, 1), c.want) << c.name;
    EXPECT_EQ(At(b.get(), 2, 1), 0x10808080u) << c.name;
    EXPECT_EQ(At(b.get(), 0, 1), 0x10808080u) << c.name;
  }
}

TEST(DrawMaskImage, KeyMaskFromMasterBitmap) {
  Skin skin(4, 3);
  skin.Set(0, 0, KeyPixel);
  TsMaskData mask = skin.Mask(2, 2, 3, 0, 0, 0, 0, 0, 0);
  auto normal = Filled(4, 4, 0xFF0A0B0Cu);
  DrawMaskImage(normal.get(), POINT{-1, 0}, 0, ParentCache{nullptr, 0, 0, 0x00336699, false}, mask, mlNormal);
  EXPECT_EQ(Decode(At(normal.get(), 0, 0)), (Source{1, 0}));  // one column dropped
  EXPECT_EQ(Decode(At(normal.get(), 0, 2)), (Source{1, 2}));
  EXPECT_EQ(At(normal.get(), 1, 0), 0xFF0A0B0Cu);

  auto faded = Filled(4, 4, 0xFF0A0B0Cu);
  DrawMaskImage(faded.get(), POINT{0, 0}, 0, ParentCache{}, mask, mlFaded);
  EXPECT_EQ(At(faded.get(), 0, 0), 0xFF0A0B0Cu);  // key stays background
  const std::uint32_t s = Encode(1, 0);
  EXPECT_EQ(At(faded.get(), 1, 0) & 0xFFFFFFu, BlendColor(s, 0xFF0A0B0Cu, 0.5) & 0xFFFFFFu);
}

TEST(DrawMaskImage, OwnBitmapSmallerThanItsSourceDrawsNothing) {
  Skin skin(4, 4);
  TsMaskData mask = skin.Mask(1, 4, 4, 0, 0, 0, 0, 0, 0);
  mask.OwnBitmap = Filled(3, 4, 0xFF111111u);
  auto b = Filled(5, 5, kBack);
  DrawMaskImage(b.get(), POINT{0, 0}, 0, ParentCache{}, mask, mlNormal);
  EXPECT_EQ(At(b.get(), 0, 0), kBack);
  mask.OwnBitmap = Filled(4, 4, 0xFF111111u);
  DrawMaskImage(b.get(), POINT{0, 0}, 0, ParentCache{}, mask, mlNormal);
  EXPECT_EQ(At(b.get(), 3, 3), 0xFF111111u);
}

TEST(DrawTexture, ModesLayTheTextureAndReportTheColourArea) {
  const RECT none{-1, -1, -1, -1};
  const RECT whole{1, 1, 9, 7};
  struct {
    int mode;
    RECT painted;
    RECT left;
    bool tiled;
  } cases[] = {
      {0, whole, none, true},
      {1, whole, none, false},
      {2, {1, 1, 9, 3}, {1, 3, 9, 7}, true},
      {3, {1, 1, 4, 7}, {4, 1, 9, 7}, true},
      {4, {1, 1, 9, 3}, {1, 3, 9, 7}, false},
      {5, {1, 1, 4, 7}, {4, 1, 9, 7}, false},
      {6, {1, 5, 9, 7}, {1, 1, 9, 5}, true},
      {7, {6, 1, 9, 7}, {1, 1, 6, 7}, true},
      {8, {6, 1, 9, 7}, whole, true},
      {9, {6, 1, 9, 7}, whole, true},
      {10, whole, none, true},
      {11, {6, 1, 9, 7}, whole, true},
      {-1, {0, 0, 0, 0}, whole, true},
  };
  // A 3 x 2 texture at (1, 1) of the master bitmap.
  Skin skin(5, 4);
  TsMaskData mask = skin.Mask(1, 3, 2, 0, 0, 0, 0, 0, 0);
  mask.SrcLeft = 1, mask.SrcTop = 1, mask.SrcRight = 4, mask.SrcBottom = 3;
  for (const auto& c : cases) {
    auto b = Filled(10, 8, kBack);
    RECT r = whole;
    DrawTexture(b.get(), r, nullptr, c.mode, &mask);
    EXPECT_TRUE(EqualRect(&r, &c.left)) << "mode " << c.mode << ": " << r.left << "," << r.top << "," << r.right << ","
                                        << r.bottom;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        const Source got = Decode(At(b.get(), x, y));
        if (x < c.painted.left || x >= c.painted.right || y < c.painted.top || y >= c.painted.bottom) {
          ASSERT_EQ(At(b.get(), x, y), kBack) << "mode " << c.mode << " at " << x << "," << y;
        } else if (c.tiled) {
          const Source want{1 + (x - c.painted.left) % 3, 1 + (y - c.painted.top) % 2};
          ASSERT_EQ(got, want) << "mode " << c.mode << " at " << x << "," << y;
        } else {
          ASSERT_TRUE(got.x >= 1 && got.x <= 3 && got.y >= 1 && got.y <= 2)
              << "mode " << c.mode << " at " << x << "," << y;
        }
      }
  }
}

TEST(DrawTexture, PictureIsTiledOverTheWholeRectWhateverTheMode) {
  Skin skin(2, 2);
  auto picture = NewBitmap32(2, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) ViewOf(picture.get()).At(x, y) = Encode(x, y);
  auto b = Filled(6, 6, kBack);
  RECT r{1, 1, 6, 4};
  DrawTexture(b.get(), r, picture.get(), 2, nullptr);
  EXPECT_EQ(r.left, -1);
  EXPECT_EQ(r.bottom, -1);
  EXPECT_EQ(Decode(At(b.get(), 5, 3)), (Source{0, 0}));
  EXPECT_EQ(Decode(At(b.get(), 4, 2)), (Source{1, 1}));
  EXPECT_EQ(At(b.get(), 0, 0), kBack);
  EXPECT_EQ(At(b.get(), 5, 4), kBack);
}

TEST(DrawTextureFromMask, WholeCellsThenParentStrips) {
  // Cells of 2 x 2, mask layer below all 0.
  Skin skin(2, 4, 2);
  TsMaskData mask = skin.Mask(1, 2, 2, 1, 10, 0, 0, 0, 0);
  auto parentBitmap = NewBitmap32(12, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ViewOf(parentBitmap.get()).At(x, y) = 0xFF000000u | (x << 16) | (y << 8) | 0x77;
  struct {
    const char* name;
    int mode;
    ParentCache parent;
  } cases[] = {
      {"mode 10, parent bitmap", 10, ParentCache{parentBitmap.get(), 2, 3, 0x00FF00FF, true}},
      {"mode 10, parent colour", 10, ParentCache{nullptr, 0, 0, 0x00336699, false}},
      {"mode 0", 0, ParentCache{}},
      {"mode 5 draws nothing", 5, ParentCache{}},
  };
  for (const auto& c : cases) {
    auto b = Filled(8, 8, kBack);
    DrawTextureFromMask(b.get(), RECT{1, 1, 6, 6}, c.parent, c.mode, mask);  // 5 x 5: two whole cells each way
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const std::uint32_t v = At(b.get(), x, y);
        const bool inRect = x >= 1 && x < 6 && y >= 1 && y < 6;
        const bool inCells = c.mode == 10 ? (x < 5 && y < 5) : true;
        if (!inRect || c.mode == 5) {
          ASSERT_EQ(v, kBack) << c.name << " at " << x << "," << y;
        } else if (inCells) {
          ASSERT_EQ(Decode(v), (Source{(x - 1) % 2, (y - 1) % 2})) << c.name << " at " << x << "," << y;
        } else if (c.parent.Ready) {
          ASSERT_EQ(v, 0xFF000000u | ((x + 2) << 16) | ((y + 3) << 8) | 0x77) << c.name << " at " << x << "," << y;
        } else {
          ASSERT_EQ(v, 0xFF996633u) << c.name << " at " << x << "," << y;
        }
      }
  }
}

TEST(PaintBorderMaskWithRegion, CornerKeysLeaveTheRegionEdgeKeysAreCopied) {
  Skin skin(6, 6);
  // Margins 3, 2, 2, 2: the top-left corner is 3 x 2, the middle one column.
  TsMaskData mask = skin.Mask(1, 6, 6, 0, 0, 3, 2, 2, 2);
  for (int x = 0; x < 3; ++x) skin.Set(x, 0, KeyPixel);
  skin.Set(3, 1, KeyPixel);  // in the top edge piece
  auto b = Filled(12, 10, 0xFF0A0B0Cu);
  fw::UniqueRgn region(::CreateRectRgn(0, 0, 12, 10));
  PaintBorderMaskWithRegion(b.get(), region.Get(), false, mask, 0);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(At(b.get(), x, 0), 0xFF0A0B0Cu) << x;
  EXPECT_EQ(Decode(At(b.get(), 0, 1)), (Source{0, 1}));
  // The top edge repeats the one middle column: every copy carries the key.
  for (int x = 3; x < 10; ++x) EXPECT_EQ(At(b.get(), x, 1), KeyPixel) << x;
  fw::UniqueRgn expected(::CreateRectRgn(0, 0, 12, 10));
  fw::UniqueRgn cut(::CreateRectRgn(0, 0, 3, 1));
  ::CombineRgn(expected.Get(), expected.Get(), cut.Get(), RGN_DIFF);
  EXPECT_TRUE(::EqualRgn(region.Get(), expected.Get()));
}

TEST(PaintBorderMaskWithRegion, CentreOnlyWhenAskedStretchOnlyForKeyMasks) {
  const BorderCase cases[] = {
      {"fill 5, centre asked: stretched", 1, 6, 6, 0, 5, 2, 10, 10, 0, true, true, true, 0, 2, 2},
      {"fill 5, centre not asked", 1, 6, 6, 0, 5, 2, 10, 10, 0, true, true, false, 0, 2, 2},
      {"fill 5 on an alpha mask: tiled", 1, 6, 6, 1, 5, 2, 11, 9, 0, true, false, true, 0, 2, 2},
      {"state 6 of 4 draws state 3", 4, 6, 6, 0, 4, 2, 9, 9, 6, true, false, true, 3, 2, 2},
  };
  for (const BorderCase& c : cases) {
    Skin skin(c.states * c.stateW, c.stateH * (c.layers + 1), c.layers ? c.stateH : -1);
    TsMaskData mask = skin.Mask(c.states, c.stateW, c.stateH, c.layers, c.fillMode, 2, 2, 2, 2);
    auto b = Filled(c.rectW, c.rectH, kBack);
    PaintBorderMaskWithRegion(b.get(), nullptr, c.centre, mask, c.state);
    CheckBorder(c, b.get(), RECT{0, 0, c.rectW, c.rectH}, 2, 2);
  }
}

TEST(CopyMaskPiece, NegativeDestinationOrTinyBitmapCopiesNothing) {
  Skin skin(4, 4);
  TsMaskData mask = skin.Mask(1, 4, 4, 0, 0, 0, 0, 0, 0);
  auto b = Filled(4, 4, kBack);
  CopyMaskPiece(-1, 0, 2, 2, 0, 0, 3, 3, b.get(), nullptr, mask, false);
  EXPECT_EQ(At(b.get(), 0, 0), kBack);
  auto thin = Filled(1, 4, kBack);
  CopyMaskPiece(0, 0, 0, 3, 0, 0, 0, 3, thin.get(), nullptr, mask, false);
  EXPECT_EQ(At(thin.get(), 0, 0), kBack);
  // The smaller of the two sizes, and no further than the bitmap.
  CopyMaskPiece(2, 1, 9, 9, 0, 0, 0, 1, b.get(), nullptr, mask, false);
  EXPECT_EQ(Decode(At(b.get(), 2, 1)), (Source{0, 0}));
  EXPECT_EQ(Decode(At(b.get(), 2, 2)), (Source{0, 1}));
  EXPECT_EQ(At(b.get(), 3, 1), kBack);
  EXPECT_EQ(At(b.get(), 2, 3), kBack);
}

TEST(CollectMaskRegionRects, RunsOfKeysInBothCornerCells) {
  // One state of 8 x 6 plus a second state; margins 3 left, 2 right, 2 top, 2 bottom.
  Skin skin(16, 6);
  TsMaskData mask = skin.Mask(2, 8, 6, 0, 0, 3, 2, 2, 2);
  for (int x : {0, 1}) skin.Set(x, 0, KeyPixel);       // top-left: run 0..1 at row 0
  skin.Set(2, 1, KeyPixel);                            // row 1: run 2..2
  skin.Set(3, 1, KeyPixel);                            // outside the left cell: ignored
  skin.Set(7, 0, KeyPixel);                            // top-right: column 7 of the state
  skin.Set(0, 5, KeyPixel);                            // bottom-left, last row
  skin.Set(6, 4, KeyPixel), skin.Set(7, 4, KeyPixel);  // bottom-right, first scanned row
  skin.Set(8, 0, KeyPixel);                            // second state: ignored
  struct {
    const char* name;
    bool bottom;
    std::vector<RECT> want;
  } cases[] = {
      {"top", false, {{0, 10, 2, 11}, {2, 11, 3, 12}, {99, 10, 100, 11}}},
      {"bottom", true, {{0, 11, 1, 12}, {98, 10, 100, 11}}},
  };
  for (const auto& c : cases) {
    std::vector<RECT> got;
    CollectMaskRegionRects(got, 100, mask, c.bottom, 10);
    ASSERT_EQ(got.size(), c.want.size()) << c.name;
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_TRUE(EqualRect(&got[i], &c.want[i])) << c.name << " #" << i << ": " << got[i].left << "," << got[i].top
                                                  << "," << got[i].right << "," << got[i].bottom;
  }
  // Cells reaching past the picture's right edge find no runs there.
  TsMaskData wide = mask;
  wide.StateCount = 1;
  wide.SrcRight = 100;
  std::vector<RECT> clipped;
  CollectMaskRegionRects(clipped, 100, wide, false, 10);
  ASSERT_EQ(clipped.size(), 2u);
  EXPECT_EQ(clipped[1].right, 3);
  std::vector<RECT> none;
  TsMaskData orphan = mask;
  orphan.Owner = nullptr;
  CollectMaskRegionRects(none, 100, orphan, false, 0);
  EXPECT_TRUE(none.empty());
}

TEST(MaskImage, OwnBitmapFirstThenMaster) {
  Skin skin(2, 2);
  TsMaskData mask = skin.Mask(1, 2, 2, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(MaskImage(mask), skin.tables.MasterBitmap.get());
  mask.OwnBitmap = NewBitmap32(2, 2);
  EXPECT_EQ(MaskImage(mask), mask.OwnBitmap.get());
  TsMaskData bare;
  EXPECT_EQ(MaskImage(bare), nullptr);
}

}  // namespace
}  // namespace translit
