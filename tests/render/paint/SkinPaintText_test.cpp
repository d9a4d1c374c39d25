// Skinned text and glyphs on real DIB sections: shadow sides and disabled
// colours of captions, text blended by coverage, glows laid from their
// cached mask, ellipsis fitting, glyph strip cells and disabled glyphs, the
// small check box, focus dots, 3-D frames and clipping out windowless
// children.
#define OEMRESOURCE
#include "render/paint/SkinPaintText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintParent.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/acIniFile.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinOptions.h"
#include "tests/support/GuiCounts.h"

namespace translit {
namespace {

std::unique_ptr<fw::TBitmap> Filled(int w, int h, std::uint32_t pixel) {
  auto b = NewBitmap32(w, h);
  TacFast32 f;
  f.Bind(b.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.WritePixel(x, y, pixel);
  return b;
}

// The pixel in colour order with alpha on top.
std::uint32_t At(fw::TBitmap* b, int x, int y) {
  ::GdiFlush();
  TacFast32 f;
  f.Bind(b);
  return f.ReadPixel(x, y);
}

std::vector<std::uint32_t> Pixels(fw::TBitmap* b) {
  std::vector<std::uint32_t> all;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) all.push_back(At(b, x, y) & 0xFFFFFF);
  return all;
}

void BigFont(fw::TBitmap* b) {
  b->Canvas().Font().SetName("Arial");
  b->Canvas().Font().SetHeight(-24);
}

// Plain DrawText in one colour, the way a caption is drawn by hand.
void PlainText(fw::TBitmap* b, const std::string& text, RECT r, std::uint32_t color) {
  HDC dc = b->Canvas().Handle();
  fw::SelectGuard font(dc, b->Canvas().Font().Handle());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

class SkinText : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    manager = new TsSkinManager(nullptr);
  }
  void TearDown() override { delete manager; }

  void Sections(const std::string& options) {
    manager->Sections.clear();
    TacIniFile ini;
    ini.SetText(options);
    ReadSkinSections(ini, *manager);
  }
  int Section(const char* name) { return manager->SectionIndex(name); }

  TsSkinManager* manager = nullptr;
};

constexpr UINT kFormat = DT_LEFT | DT_TOP | DT_SINGLELINE;
constexpr RECT kTextRect{10, 5, 70, 40};

TEST_F(SkinText, ShadowsOnlyOnTheSidesThatHaveAColour) {
  struct Side {
    const char* key;
    std::uint32_t color;
    int dx, dy;
  };
  // Sides in the order they are drawn; a later shadow covers an earlier one.
  const std::vector<std::vector<Side>> cases = {
      {{"TCLEFT", 0xFFFFFF, -1, 0}},
      {{"TCTOP", 0xFFFFFF, 0, -1}},
      {{"TCRIGHT", 0xFFFFFF, 1, 0}},
      {{"TCBOTTOM", 0xFFFFFF, 0, 1}},
      {{"TCLEFT", 0xFFFFFF, -1, 0}, {"TCRIGHT", 0x00FF00, 1, 0}},
      {{"TCTOP", 0x00FF00, 0, -1}, {"TCBOTTOM", 0xFF0000, 0, 1}},
      {},
  };
  for (const auto& sides : cases) {
    std::string options = "[S]\r\nFONTCOLOR=0x0000FF\r\nCOLOR=0x808080\r\n", what;
    for (const Side& side : sides) {
      options += std::string(side.key) + "=" + std::to_string(side.color) + "\r\n";
      what += std::string(side.key) + " ";
    }
    Sections(options);
    auto ours = Filled(80, 45, 0xFF808080);
    auto expected = Filled(80, 45, 0xFF808080);
    BigFont(ours.get());
    BigFont(expected.get());
    for (const Side& side : sides) {
      RECT moved = kTextRect;
      ::OffsetRect(&moved, side.dx, side.dy);
      PlainText(expected.get(), "Wx", moved, side.color);
    }
    PlainText(expected.get(), "Wx", kTextRect, 0x0000FF);
    WriteSkinText(ours->Canvas(), "Wx", true, manager, false, Section("S"), kFormat, kTextRect);
    const auto got = Pixels(ours.get());
    EXPECT_EQ(got, Pixels(expected.get())) << "shadows: " << what;
    EXPECT_TRUE(std::any_of(got.begin(), got.end(), [](std::uint32_t p) { return p != 0x808080u; })) << "text drawn";
    EXPECT_EQ(ours->Canvas().Font().Color(), 0x0000FF);
  }
}

TEST_F(SkinText, HotLookAndDisabledBlend) {
  Sections("[S]\r\nFONTCOLOR=0x000000\r\nCOLOR=0xFFFFFF\r\nHOTFONTCOLOR=0x00FF00\r\nHOTTCBOTTOM=0xFF0000\r\n");
  auto ours = Filled(80, 45, 0xFF808080);
  auto expected = Filled(80, 45, 0xFF808080);
  BigFont(ours.get());
  BigFont(expected.get());
  WriteSkinText(ours->Canvas(), "Wx", false, manager, true, Section("S"), kFormat, kTextRect);
  PlainText(expected.get(), "Wx", kTextRect, 0x999999);
  EXPECT_EQ(Pixels(ours.get()), Pixels(expected.get())) << "disabled: 40 % of black over 60 % of white";
  EXPECT_EQ(ours->Canvas().Font().Color(), 0x999999);

  ours = Filled(80, 45, 0xFF808080);
  expected = Filled(80, 45, 0xFF808080);
  BigFont(ours.get());
  BigFont(expected.get());
  WriteSkinText(ours->Canvas(), "Wx", true, manager, true, Section("S"), kFormat, kTextRect);
  PlainText(expected.get(), "Wx", RECT{10, 6, 70, 41}, 0xFF0000);
  PlainText(expected.get(), "Wx", kTextRect, 0x00FF00);
  EXPECT_EQ(Pixels(ours.get()), Pixels(expected.get())) << "hot: the hot shadow and font colour";

  const auto before = Pixels(ours.get());
  WriteSkinText(ours->Canvas(), "", true, manager, false, Section("S"), kFormat, kTextRect);
  WriteSkinText(ours->Canvas(), "Wx", true, manager, false, 99, kFormat, kTextRect);
  WriteSkinText(ours->Canvas(), "Wx", true, manager, false, -1, kFormat, kTextRect);
  EXPECT_EQ(Pixels(ours.get()), before) << "no text or no section: nothing";
}

TEST_F(SkinText, TextOnBitmapBlendsByCoverage) {
  Sections("[S]\r\nFONTCOLOR=0x0000FF\r\nTCBOTTOM=0x00FF00\r\n");
  const std::uint32_t back = 0x40332211;  // alpha 0x40
  auto b = Filled(80, 45, back);
  BigFont(b.get());
  WriteTextOnBitmap(b.get(), "Wl", false, manager, false, Section("S"), kFormat, kTextRect);
  int text = 0, partial = 0;
  for (int y = 0; y < 45; ++y)
    for (int x = 0; x < 80; ++x) {
      const std::uint32_t p = At(b.get(), x, y);
      if (p == back) continue;
      ASSERT_EQ(p >> 24, 0xFFu) << "touched pixels are opaque at " << x << "," << y;
      if ((p & 0xFFFFFF) == 0x0000FF) {
        ++text;
      } else {
        ++partial;
        // Between the background and red on every channel.
        EXPECT_GE(p & 0xFF, 0x11u);
        EXPECT_LE((p >> 8) & 0xFF, 0x22u);
        EXPECT_LE((p >> 16) & 0xFF, 0x33u);
      }
      EXPECT_TRUE(x >= kTextRect.left && y >= kTextRect.top) << "outside rect at " << x << "," << y;
    }
  EXPECT_GT(text, 20) << "full coverage gives the font colour itself";

  // A shadow below: green shows right under the lowest text row of the "l".
  auto s = Filled(80, 45, 0xFF000000);
  BigFont(s.get());
  WriteTextOnBitmap(s.get(), "Wl", true, manager, false, Section("S"), kFormat, kTextRect);
  int green = 0;
  for (int y = 0; y < 45; ++y)
    for (int x = 0; x < 80; ++x) green += (At(s.get(), x, y) & 0xFFFFFF) == 0x00FF00;
  EXPECT_GT(green, 0);

  // No section: the bitmap font's colour; a rect past the bitmap's corner.
  auto f = Filled(40, 20, 0xFF000000);
  BigFont(f.get());
  f->Canvas().Font().SetColor(0xFF0000);
  WriteTextOnBitmap(f.get(), "WW", true, manager, false, -1, kFormat, RECT{-10, -8, 50, 30});
  int blue = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) blue += (At(f.get(), x, y) & 0xFFFFFF) == 0xFF0000;
  EXPECT_GT(blue, 0);
}

TEST_F(SkinText, GlowComesFromTheCachedMaskAndIsNotBlurredAgain) {
  auto b = Filled(60, 40, 0x00FFFFFF);  // white, alpha 0
  BigFont(b.get());
  std::unique_ptr<fw::TBitmap> cache;
  const RECT r{20, 10, 40, 30};
  const int size = 3, grow = size + 4;
  DrawGlowText(b.get(), "I", r, cache, 0x0000FF, size, gsAll, kFormat);
  ASSERT_TRUE(cache);
  ASSERT_EQ(cache->PixelFormat(), fw::pf8bit);
  ASSERT_EQ(cache->Width(), 20 + 2 * grow);
  ASSERT_EQ(cache->Height(), 20 + 2 * grow);
  const GrayView mask = GrayOf(cache.get());
  std::vector<std::uint8_t> first;
  int glowing = 0;
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      const int m = mask.Row(y)[x];
      first.push_back(static_cast<std::uint8_t>(m));
      const std::uint32_t p = At(b.get(), r.left - grow + x, r.top - grow + y);
      if (m == 255) {
        EXPECT_EQ(p, 0x00FFFFFFu);
        continue;
      }
      ++glowing;
      // White toward red by m / 255; alpha 0 raised to 255 - m.
      EXPECT_EQ(p & 0xFF, 255u);
      EXPECT_EQ((p >> 8) & 0xFF, static_cast<std::uint32_t>(m));
      EXPECT_EQ(p >> 24, static_cast<std::uint32_t>(255 - m));
    }
  EXPECT_GT(glowing, 0);
  EXPECT_EQ(At(b.get(), 5, 5), 0x00FFFFFFu) << "outside the grown rectangle";

  fw::TBitmap* const kept = cache.get();
  DrawGlowText(b.get(), "I", r, cache, 0x0000FF, size, gsAll, kFormat);
  EXPECT_EQ(cache.get(), kept);
  std::vector<std::uint8_t> second;
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) second.push_back(GrayOf(cache.get()).Row(y)[x]);
  EXPECT_EQ(second, first) << "a second blur would have spread the mask further";

  // Another size makes a new mask; a glow past the bitmap's edge is cut.
  DrawGlowText(b.get(), "I", RECT{-5, -5, 10, 10}, cache, 0x0000FF, 2, 0, kFormat);
  EXPECT_EQ(cache->Width(), 15 + 2 * 6);
}

TEST_F(SkinText, GlowSidesWidenTheMask) {
  auto b = Filled(60, 40, 0xFFFFFFFF);
  BigFont(b.get());
  std::unique_ptr<fw::TBitmap> none, all;
  DrawGlowText(b.get(), "I", RECT{20, 10, 40, 30}, none, 0, 0, 0, kFormat);
  DrawGlowText(b.get(), "I", RECT{20, 10, 40, 30}, all, 0, 0, gsAll, kFormat);
  auto dark = [](fw::TBitmap* m) {
    int n = 0;
    const GrayView v = GrayOf(m);
    for (int y = 0; y < v.height; ++y)
      for (int x = 0; x < v.width; ++x) n += v.Row(y)[x] < 128;
    return n;
  };
  EXPECT_GT(dark(none.get()), 0);
  EXPECT_GT(dark(all.get()), dark(none.get()));

  // A blurred mask reaches further than the sharp one.
  auto touched = [](fw::TBitmap* m) {
    int n = 0;
    const GrayView v = GrayOf(m);
    for (int y = 0; y < v.height; ++y)
      for (int x = 0; x < v.width; ++x) n += v.Row(y)[x] < 255;
    return n;
  };
  std::unique_ptr<fw::TBitmap> sharp, blurred;
  DrawGlowText(b.get(), "I", RECT{20, 10, 40, 30}, sharp, 0, 0, 0, kFormat);
  DrawGlowText(b.get(), "I", RECT{20, 10, 40, 30}, blurred, 0, 2, 0, kFormat);
  EXPECT_GT(touched(blurred.get()), touched(sharp.get()) + 20);
}

TEST_F(SkinText, FitTextWithEllipsis) {
  auto b = Filled(10, 10, 0);
  fw::TCanvas& canvas = b->Canvas();
  const int doc = canvas.TextWidth("Doc...");
  const int full = canvas.TextWidth("Documents");
  struct Case {
    int width;
    const char* expected;
  };
  const Case cases[] = {
      {doc, "Doc..."},
      {canvas.TextWidth("Docu...") - 1, "Doc..."},
      {full, "Documents"},
      {full + 50, "Documents"},
      {0, ""},
      {-3, ""},
      {canvas.TextWidth("D...") - 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FitTextWithEllipsis(canvas, "Documents", c.width), c.expected) << c.width;
  EXPECT_EQ(FitTextWithEllipsis(canvas, "", 5), "");
}

// A strip of cells filled with red 40, 80, 120 ... per cell; each cell's
// bottom-left pixel and one more pixel carry the cell's key colour.
std::unique_ptr<fw::TBitmap> Strip(int cells, int cellWidth, int height) {
  auto g = std::make_unique<fw::TBitmap>(cells * cellWidth, height, fw::pf24bit);
  HDC dc = g->Canvas().Handle();
  for (int i = 0; i < cells; ++i) {
    const int left = i * cellWidth;
    FillSolid(dc, RECT{left, 0, left + cellWidth, height}, static_cast<fw::TColor>(40 * (i + 1)));
    const COLORREF key = RGB(0, 10 * (i + 1), 255);
    ::SetPixelV(dc, left, height - 1, key);
    ::SetPixelV(dc, left + 2, 2, key);
  }
  return g;
}

TEST_F(SkinText, GlyphStripCells) {
  struct Case {
    int kind, index;
    bool flag;
    int cell;  // -1: nothing drawn
  };
  const Case cases[] = {
      {0, 0, true, 0},  {1, 0, true, 1},  {2, 1, true, 3},  {2, 0, true, 2},  {2, 5, true, 1},
      {2, -9, true, 1}, {1, 0, false, 0}, {2, 1, false, 0}, {3, 0, true, -1},
  };
  auto glyph = Strip(4, 16, 16);
  for (const Case& c : cases) {
    auto dest = Filled(30, 30, 0xFF000000);
    DrawGlyphImage(glyph.get(), dest.get(), RECT{5, 6, 25, 26}, c.index, 0, c.kind, 0, c.flag, 4);
    const std::string what = "kind " + std::to_string(c.kind) + " index " + std::to_string(c.index);
    if (c.cell < 0) {
      EXPECT_EQ(At(dest.get(), 10, 10), 0xFF000000u) << what;
      continue;
    }
    EXPECT_EQ(At(dest.get(), 10, 10) & 0xFFFFFF, 40u * (c.cell + 1)) << what;
    EXPECT_EQ(At(dest.get(), 5 + 15, 6 + 15) & 0xFFFFFF, 40u * (c.cell + 1)) << what << ": one cell wide";
    EXPECT_EQ(At(dest.get(), 5 + 16, 6), 0xFF000000u) << what << ": nothing past the cell";
    EXPECT_EQ(At(dest.get(), 5 + 2, 6 + 2), 0xFF000000u) << what << ": the cell's key is transparent";
  }

  // No cells, or cells narrower than a pixel: nothing.
  for (int cells : {0, -1, 65}) {
    auto dest = Filled(30, 30, 0xFF000000);
    DrawGlyphImage(glyph.get(), dest.get(), RECT{0, 0, 20, 20}, 0, 0, 0, 0, true, cells);
    EXPECT_EQ(Pixels(dest.get()), Pixels(Filled(30, 30, 0xFF000000).get())) << cells << " cells";
  }

  // A disabled strip with Blend mixes cell 0 over the destination.
  auto dest = Filled(30, 30, 0xFF000064);  // red 100
  DrawGlyphImage(glyph.get(), dest.get(), RECT{0, 0, 16, 16}, 0, 50, 0, 0, false, 4);
  EXPECT_EQ(At(dest.get(), 8, 8) & 0xFF, 70u) << "40 and 100 half and half";
}

TEST_F(SkinText, FourBitGlyphsFallBackToTheFirstCell) {
  // Cells in greys of the 16-entry ramp: 0x33, 0x66, 0x99; white keys.
  auto glyph = std::make_unique<fw::TBitmap>(48, 8, fw::pf4bit);
  HDC dc = glyph->Canvas().Handle();
  for (int i = 0; i < 3; ++i) {
    FillSolid(dc, RECT{16 * i, 0, 16 * i + 16, 8}, static_cast<fw::TColor>(0x111111 * (3 * i + 3)));
    ::SetPixelV(dc, 16 * i, 7, 0xFFFFFF);
  }
  const struct {
    int kind, index;
    std::uint32_t grey;
  } cases[] = {{1, 0, 0x33}, {2, 0, 0x99}, {2, 7, 0x33}, {0, 0, 0x33}};
  for (const auto& c : cases) {
    auto dest = Filled(20, 10, 0xFF000000);
    DrawGlyphImage(glyph.get(), dest.get(), RECT{0, 0, 16, 8}, c.index, 0, c.kind, 0, true, 3);
    EXPECT_EQ(At(dest.get(), 4, 4) & 0xFF, c.grey) << "kind " << c.kind << " index " << c.index;
    EXPECT_EQ(At(dest.get(), 0, 7), 0xFF000000u) << "kind " << c.kind << ": the white key";
  }
}

TEST_F(SkinText, SingleGlyphEnabledAndDisabled) {
  auto glyph = Strip(1, 10, 10);  // red 40, key at (0, 9) and (2, 2)
  HDC dc = glyph->Canvas().Handle();
  ::SetPixelV(dc, 5, 5, RGB(200, 40, 0));
  auto draw = [&](bool flag, TsDisabledGlyphKind disabled, int blend) {
    auto dest = Filled(12, 12, 0xFF0000C8);  // red 200
    DrawGlyphImage(glyph.get(), dest.get(), RECT{1, 1, 11, 11}, 0, blend, 0, disabled, flag, 1);
    return dest;
  };
  auto plain = draw(true, 0, 0);
  EXPECT_EQ(At(plain.get(), 4, 4), 0xFF000028u) << "copied opaque";
  EXPECT_EQ(At(plain.get(), 3, 3), 0xFF0000C8u) << "the key is left out";

  auto blended = draw(true, 0, 25);
  EXPECT_EQ(At(blended.get(), 4, 4) & 0xFF, 80u) << "25 % of the destination kept: 40 + (200 - 40) / 4";
  EXPECT_EQ(At(blended.get(), 3, 3) & 0xFF, 50u) << "magenta is the only key here";

  auto half = draw(false, dgBlended, 0);
  EXPECT_EQ(At(half.get(), 4, 4) & 0xFF, 120u);
  EXPECT_EQ(At(half.get(), 3, 3), 0xFF0000C8u);

  auto grey = draw(false, dgGrayed, 0);
  const std::uint32_t p = At(grey.get(), 6, 6);
  EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF);
  EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF);
  EXPECT_NE(p & 0xFFFFFF, 0x0000C8u);
  EXPECT_EQ(At(grey.get(), 3, 3), 0xFF0000C8u) << "the greyed key stays transparent";
  auto disabledOpaque = draw(false, 0, 0);
  EXPECT_EQ(At(disabledOpaque.get(), 6, 6), 0xFF0028C8u);
  EXPECT_EQ(At(disabledOpaque.get(), 3, 3), 0xFF0000C8u);
}

TEST_F(SkinText, SmallCheckBoxFromTheSkinOrTheSystem) {
  BITMAP info{};
  HBITMAP boxes = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES));
  ASSERT_TRUE(boxes);
  ::GetObjectA(boxes, sizeof info, &info);
  ::DeleteObject(boxes);
  const SIZE system = SmallCheckBoxSize(manager);
  EXPECT_EQ(system.cx, info.bmWidth / 4);
  EXPECT_EQ(system.cy, info.bmHeight / 3);

  // The fallback box over the parent's colour, centred.
  auto b = Filled(40, 30, 0xFF000000);
  ParentCache parent;
  parent.FillColor = 0x00FF00;
  PaintSmallCheckBox(RECT{0, 0, 40, 30}, 1, true, manager, parent, b.get());
  const int boxLeft = (40 - system.cx) / 2, boxTop = (30 - system.cy) / 2;
  EXPECT_EQ(At(b.get(), boxLeft - 1, 0) & 0xFFFFFF, 0x00FF00u) << "the strip behind the box";
  EXPECT_EQ(At(b.get(), boxLeft - 2, 0) & 0xFFFFFF, 0u);
  EXPECT_NE(At(b.get(), boxLeft + system.cx / 2, boxTop + system.cy / 2) & 0xFFFFFF, 0x00FF00u);
  auto unchecked = Filled(40, 30, 0xFF000000);
  PaintSmallCheckBox(RECT{0, 0, 40, 30}, 0, true, manager, parent, unchecked.get());
  EXPECT_NE(Pixels(unchecked.get()), Pixels(b.get()));
  auto inactive = Filled(40, 30, 0xFF000000);
  PaintSmallCheckBox(RECT{0, 0, 40, 30}, 1, false, manager, parent, inactive.get());
  EXPECT_NE(Pixels(inactive.get()), Pixels(b.get())) << "a disabled box looks inactive";

  // A skin with a small checked image of two states 7 x 9.
  Sections("[GLOBALINFO]\r\nCOLOR=0xFFFFFF\r\n");
  manager->MasterBitmap = std::shared_ptr<fw::TBitmap>(Filled(30, 30, 0xFF0000FF).release());
  TsMaskData m;
  m.Section = "GLOBALINFO";
  m.Prop = "SMALLCHECKED";
  m.SrcLeft = 0, m.SrcTop = 0, m.SrcRight = 14, m.SrcBottom = 9;
  m.StateCount = 2;
  m.ExtraLayers = 0;
  m.Owner = manager;
  manager->Masks.push_back(m);
  manager->UpdateConstIndexes();
  ASSERT_GE(manager->ConstIndexes.SmallCheckBoxChecked, 0);
  const SIZE skinned = SmallCheckBoxSize(manager);
  EXPECT_EQ(skinned.cx, 9);
  EXPECT_EQ(skinned.cy, 9);

  auto s = Filled(40, 30, 0xFF000000);
  PaintSmallCheckBox(RECT{4, 0, 40, 29}, 1, true, manager, parent, s.get());
  EXPECT_EQ(At(s.get(), 4, 10) & 0xFFFFFF, 0x0000FFu) << "vertically centred at the left";
  EXPECT_EQ(At(s.get(), 4, 9) & 0xFFFFFF, 0u);
  EXPECT_EQ(At(s.get(), 4, 18) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(At(s.get(), 4, 19) & 0xFFFFFF, 0u);
  EXPECT_EQ(At(s.get(), 3, 12) & 0xFFFFFF, 0u);

  auto faded = Filled(40, 30, 0xFF000000);
  PaintSmallCheckBox(RECT{4, 0, 40, 29}, 1, false, manager, parent, faded.get());
  const std::uint32_t red = At(faded.get(), 6, 12) & 0xFF;
  EXPECT_TRUE(red > 100 && red < 160) << "disabled: half over the background, red " << red;
  EXPECT_EQ(At(faded.get(), 6, 12) & 0xFFFF00, 0u);
}

TEST_F(SkinText, DottedFocusRectEveryThirdPixel) {
  auto b = Filled(16, 14, 0xFFFFFFFF);
  DrawDottedFocusRect(b->Canvas(), RECT{2, 2, 12, 9}, fw::clBtnFace, 0x000000);
  const std::uint32_t face = ::GetSysColor(COLOR_BTNFACE);
  auto code = [&](std::uint32_t p) {
    p &= 0xFFFFFF;
    return p == 0xFFFFFF ? '.' : p == 0 ? 'X' : p == face ? 'o' : '?';
  };
  std::string top, left, bottom, right;
  for (int x = 0; x < 14; ++x) top += code(At(b.get(), x, 2)), bottom += code(At(b.get(), x, 8));
  for (int y = 0; y < 11; ++y) left += code(At(b.get(), 2, y)), right += code(At(b.get(), 11, y));
  EXPECT_EQ(top, ".oX.oX.oX.oX..");
  EXPECT_EQ(bottom, ".oX.oX.oX.oX..");
  EXPECT_EQ(left, ".oX.oX.oX..");
  EXPECT_EQ(right, ".oX.oX.oX..");
}

TEST_F(SkinText, Frame3DNestedFrames) {
  auto b = Filled(12, 12, 0xFFFFFFFF);
  RECT r{1, 1, 11, 11};
  DrawFrame3D(b->Canvas().Handle(), r, fw::clBtnShadow, 2, 0xFF0000);
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.top, 3);
  EXPECT_EQ(r.right, 9);
  EXPECT_EQ(r.bottom, 9);
  const std::uint32_t shadow = ::GetSysColor(COLOR_BTNSHADOW);
  const struct {
    int x, y;
    std::uint32_t color;
  } cases[] = {
      {1, 1, shadow},     {5, 1, shadow},    {1, 5, shadow},    {9, 1, shadow},    {10, 1, 0xFF0000},
      {10, 10, 0xFF0000}, {1, 10, 0xFF0000}, {5, 10, 0xFF0000}, {10, 5, 0xFF0000}, {0, 10, 0xFFFFFF},
      {11, 11, 0xFFFFFF}, {2, 2, shadow},    {9, 9, 0xFF0000},  {2, 9, 0xFF0000},  {8, 2, shadow},
      {9, 2, 0xFF0000},   {3, 3, 0xFFFFFF},  {0, 0, 0xFFFFFF},
  };
  for (const auto& c : cases) {
    const std::uint32_t p = At(b.get(), c.x, c.y) & 0xFFFFFF;
    EXPECT_EQ(p, c.color & 0xFFFFFF) << c.x << "," << c.y;
  }
}

TEST_F(SkinText, ExcludeGraphicControlsClipsVisibleWindowlessChildren) {
  fw::TWinControl container(nullptr);
  container.SetBounds(0, 0, 40, 40);
  fw::TGraphicControl shown(nullptr), hidden(nullptr);
  shown.SetBounds(0, 0, 10, 10);
  shown.SetParent(&container);
  hidden.SetBounds(20, 20, 5, 5);
  hidden.SetVisible(false);
  hidden.SetParent(&container);

  auto b = Filled(40, 40, 0xFF000000);
  HDC dc = b->Canvas().Handle();
  ExcludeGraphicControls(dc, &container, 2, 5);
  FillSolid(dc, RECT{0, 0, 40, 40}, 0x0000FF);
  ::SelectClipRgn(dc, nullptr);
  EXPECT_EQ(At(b.get(), 5, 2) & 0xFFFFFF, 0u);
  EXPECT_EQ(At(b.get(), 14, 11) & 0xFFFFFF, 0u);
  EXPECT_EQ(At(b.get(), 15, 11) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(At(b.get(), 4, 2) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(At(b.get(), 14, 12) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(At(b.get(), 26, 23) & 0xFFFFFF, 0x0000FFu) << "hidden children stay painted over";
  hidden.SetParent(nullptr);
  shown.SetParent(nullptr);
}

TEST_F(SkinText, RepeatedDrawingLeavesNoGdiObjects) {
  Sections("[S]\r\nFONTCOLOR=0x0000FF\r\nTCLEFT=0xFFFFFF\r\nTCBOTTOM=0x00FF00\r\n");
  auto b = Filled(80, 45, 0xFF808080);
  BigFont(b.get());
  auto glyph = Strip(4, 16, 16);
  ParentCache parent;
  parent.FillColor = 0x00FF00;
  auto draw = [&] {
    WriteSkinText(b->Canvas(), "Wx", true, manager, false, Section("S"), kFormat, kTextRect);
    WriteTextOnBitmap(b.get(), "Wx", true, manager, false, Section("S"), kFormat, kTextRect);
    std::unique_ptr<fw::TBitmap> cache;
    DrawGlowText(b.get(), "Wx", kTextRect, cache, 0x0000FF, 2, gsAll, kFormat);
    DrawGlyphImage(glyph.get(), b.get(), kTextRect, 1, 0, 2, dgGrayed, false, 4);
    PaintSmallCheckBox(RECT{0, 0, 20, 20}, 2, false, manager, parent, b.get());
    RECT r{2, 2, 30, 30};
    DrawFrame3D(b->Canvas().Handle(), r, fw::clBtnHighlight, 2, fw::clBtnShadow);
    DrawDottedFocusRect(b->Canvas(), RECT{1, 1, 40, 30}, fw::clBtnFace, 0);
  };
  draw();
  const int gdi = testing_gui::GdiObjectCount();
  for (int i = 0; i < 10; ++i) draw();
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
}

}  // namespace
}  // namespace translit
