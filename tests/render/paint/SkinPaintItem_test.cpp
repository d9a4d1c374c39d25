// Skin items on real DIB sections: how a section's transparency lets the
// parent through, the order of texture, gradient and colour, corner images,
// texture strips, and the painters that copy to a DC or go by name.
#include "render/paint/SkinPaintItem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Application.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "render/paint/SkinPaintText.h"
#include "tests/support/PaintsWhileLoading.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/acIniFile.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinOptions.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/PicturePixels.h"

namespace translit {
namespace {

using testing_gui::PictureColor;

// A manager whose sections are read from an options text and whose master
// bitmap and pieces the test makes itself.
class SkinItems : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    manager = new TsSkinManager(nullptr);
  }
  void TearDown() override { delete manager; }

  void Sections(const char* options) {
    TacIniFile ini;
    ini.SetText(options);
    ReadSkinSections(ini, *manager);
  }
  // A piece cut from the master bitmap at (left, top), one state.
  int AddPiece(const char* section, const char* prop, RECT src, int fillMode, int format = 0) {
    TsMaskData m;
    m.Section = section;
    m.Prop = prop;
    m.SrcLeft = src.left, m.SrcTop = src.top, m.SrcRight = src.right, m.SrcBottom = src.bottom;
    m.FillMode = static_cast<std::int16_t>(fillMode);
    m.Format = static_cast<std::uint8_t>(format);
    m.Owner = manager;
    manager->Masks.push_back(m);
    return static_cast<int>(manager->Masks.size()) - 1;
  }
  void Master(int w, int h, std::uint32_t pixel) {
    manager->MasterBitmap = std::shared_ptr<fw::TBitmap>(NewBitmap32(w, h).release());
    FillBitmapRect(manager->MasterBitmap.get(), RECT{0, 0, w, h}, static_cast<fw::TColor>(pixel));
  }
  int Section(const char* name) { return manager->SectionIndex(name); }

  TsSkinManager* manager = nullptr;
};

TEST_F(SkinItems, TransparencyLetsTheParentThrough) {
  Sections("[FULL]\r\nCOLOR=0x0000FF\r\nTRANSPARENCY=100\r\n[PART]\r\nCOLOR=0x0000FF\r\nTRANSPARENCY=40\r\n");
  auto parent = NewBitmap32(50, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) {
      TacFast32 f;
      f.Bind(parent.get());
      f.WritePixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 4 + (y << 8)));
    }
  auto item = NewBitmap32(10, 10);
  // Fully transparent: exactly the parent's pixels at its position plus the offset.
  PaintSkinItem(Section("FULL"), "FULL", MakeParentCache(parent.get(), 5, 6), -1, -1, manager, item.get(), POINT{2, 3},
                RECT{0, 0, 10, 10}, 0);
  EXPECT_EQ(PictureColor(item.get(), 0, 0), PictureColor(parent.get(), 7, 9));
  EXPECT_EQ(PictureColor(item.get(), 9, 9), PictureColor(parent.get(), 16, 18));

  // 40 % of a parent colour, 60 % of the section's.
  ParentCache colour;
  colour.FillColor = 0x00FF0000;
  PaintSkinItem(Section("PART"), "PART", colour, -1, -1, manager, item.get(), POINT{0, 0}, RECT{0, 0, 10, 10}, 0);
  const std::uint32_t p = PictureColor(item.get(), 4, 4);
  EXPECT_EQ(p & 0xFF, 153u);          // section red 255 at 60 %
  EXPECT_EQ((p >> 16) & 0xFF, 102u);  // parent blue 255 at 40 %

  // 40 % of a parent picture: the section's layers mixed over it.
  FillBitmapRect(parent.get(), RECT{0, 0, 50, 40}, 0x00FF0000);
  PaintSkinItem(Section("PART"), "PART", MakeParentCache(parent.get(), 0, 0), -1, -1, manager, item.get(), POINT{0, 0},
                RECT{0, 0, 10, 10}, 0);
  // (d x 102 + s x 153 + 127) >> 8 with the parent d and the section s.
  EXPECT_EQ(PictureColor(item.get(), 4, 4), 0x660098u) << "red (255 x 153 + 127) >> 8, blue (255 x 102 + 127) >> 8";
}

TEST_F(SkinItems, TextureThenGradientThenColour) {
  // Texture grey 0x40, gradient of one colour 0x80, section colour 0xC0:
  // mix at alpha 51 (the texture's 20 %), then 60 % picture and 40 % colour.
  Sections(
      "[X]\r\nCOLOR=0xC0C0C0\r\nIMAGEPERCENT=20\r\nGRADIENTPERCENT=40\r\n"
      "GRADIENTDATA=8421504;8421504;100;0;0\r\n");
  Master(8, 8, 0x404040);
  AddPiece("X", "PATTERN", RECT{0, 0, 8, 8}, 0, 1);
  auto item = NewBitmap32(20, 20);
  PaintSkinBackground(Section("X"), "X", EmptyParentCache(), clSkinTransparent, -1, -1, manager, item.get(),
                      POINT{0, 0}, RECT{0, 0, 20, 20}, 0);
  // (64 x 51 + 128 x 204 + 127) >> 8 = 115; round(0.6 x 115 + 0.4 x 192) = 146.
  EXPECT_EQ(PictureColor(item.get(), 10, 10), 0x929292u);
}

TEST_F(SkinItems, ColourTintStaysInsideAnItemInALargerPicture) {
  // Gradient 0x80 at 40 %, the colour 0xC0 mixed in with the rest.
  Sections("[G]\r\nCOLOR=0xC0C0C0\r\nGRADIENTPERCENT=40\r\nGRADIENTDATA=8421504;8421504;100;0;0\r\n");
  auto picture = NewBitmap32(10, 10);
  FillBitmapRect(picture.get(), RECT{0, 0, 10, 10}, 0x000000);
  PaintSkinBackground(Section("G"), "G", EmptyParentCache(), clSkinTransparent, -1, -1, manager, picture.get(),
                      POINT{0, 0}, RECT{2, 2, 6, 6}, 0);
  EXPECT_EQ(PictureColor(picture.get(), 2, 2), 0xA6A6A6u) << "round(0.4 x 128 + 0.6 x 192) = 166";
  EXPECT_EQ(PictureColor(picture.get(), 5, 5), 0xA6A6A6u);
  for (POINT outside : {POINT{6, 5}, POINT{5, 6}, POINT{6, 6}, POINT{1, 1}})
    EXPECT_EQ(PictureColor(picture.get(), outside.x, outside.y), 0u) << outside.x << "," << outside.y;
}

TEST_F(SkinItems, PicturesThatAreNot32BitGetTheParentsColourWithoutFailing) {
  Sections(
      "[FULL]\r\nCOLOR=0x0000FF\r\nTRANSPARENCY=100\r\n[PART]\r\nCOLOR=0x0000FF\r\nTRANSPARENCY=40\r\n"
      "[SOLID]\r\nCOLOR=0x0000FF\r\n");
  ParentCache blue;
  blue.FillColor = 0x00FF0000;
  struct Row {
    const char* section;
    COLORREF expected;
  } rows[] = {{"FULL", 0xFF0000}, {"PART", 0x660099}, {"SOLID", 0x0000FF}};
  for (const Row& row : rows) {
    fw::TBitmap picture(10, 10, fw::pf24bit);
    EXPECT_NO_THROW(PaintSkinItem(Section(row.section), row.section, blue, -1, -1, manager, &picture, POINT{0, 0},
                                  RECT{0, 0, 10, 10}, 0))
        << row.section;
    EXPECT_EQ(::GetPixel(picture.Canvas().Handle(), 5, 5), row.expected) << row.section;
  }
}

TEST_F(SkinItems, CornerImagesAndTextureStrips) {
  Sections("[C]\r\nCOLOR=0x00FF00\r\n[S]\r\nCOLOR=0x00FF00\r\nIMAGEPERCENT=100\r\n");
  Master(20, 20, 0x0000FF);
  const int corner = AddPiece("C", "IMGBTMRIGHT", RECT{0, 0, 6, 6}, 0);
  manager->Sections[static_cast<std::size_t>(Section("C"))].CornerBR = corner;
  auto item = NewBitmap32(40, 20);
  PaintSkinItem(Section("C"), "C", EmptyParentCache(), -1, -1, manager, item.get(), POINT{0, 0}, RECT{0, 0, 40, 20}, 0);
  EXPECT_EQ(PictureColor(item.get(), 34, 14), 0x0000FFu) << "the corner's top-left";
  EXPECT_EQ(PictureColor(item.get(), 33, 14), 0x00FF00u);
  EXPECT_EQ(PictureColor(item.get(), 34, 13), 0x00FF00u);

  // A top strip as high as the texture; the colour below it.
  AddPiece("S", "PATTERN", RECT{0, 0, 20, 5}, 2, 1);
  PaintSkinItem(Section("S"), "S", EmptyParentCache(), -1, -1, manager, item.get(), POINT{0, 0}, RECT{0, 0, 40, 20}, 0);
  EXPECT_EQ(PictureColor(item.get(), 30, 4), 0x0000FFu);
  EXPECT_EQ(PictureColor(item.get(), 30, 5), 0x00FF00u);
}

TEST_F(SkinItems, NothingOutsideTheBitmapAndPaintingByName) {
  Sections("[A]\r\nCOLOR=0x123456\r\n");
  auto item = NewBitmap32(10, 10);
  FillBitmapRect(item.get(), RECT{0, 0, 10, 10}, 0x000000);
  PaintSkinItem(Section("A"), "A", EmptyParentCache(), -1, -1, manager, item.get(), POINT{0, 0}, RECT{0, 0, 11, 10}, 0);
  PaintSkinItem(-1, "A", EmptyParentCache(), -1, -1, manager, item.get(), POINT{0, 0}, RECT{0, 0, 10, 10}, 0);
  EXPECT_EQ(PictureColor(item.get(), 5, 5), 0u) << "a rectangle outside the bitmap or no section: nothing";

  EXPECT_EQ(PaintSectionByName(item.get(), "NONE", "A", nullptr, 0, RECT{0, 0, 10, 10}, 0), Section("A"));
  EXPECT_EQ(PictureColor(item.get(), 5, 5), 0x123456u);
  EXPECT_EQ(PaintSectionByName(item.get(), "NONE", "NOTHING", nullptr, 0, RECT{0, 0, 10, 10}, 0), -1);

  auto screen = NewBitmap32(30, 30);
  FillBitmapRect(screen.get(), RECT{0, 0, 30, 30}, 0x000000);
  PaintSkinItemToDC(Section("A"), "A", EmptyParentCache(), manager, screen->Canvas().Handle(), POINT{0, 0},
                    RECT{10, 10, 20, 20}, 0);
  EXPECT_EQ(PictureColor(screen.get(), 10, 10), 0x123456u);
  EXPECT_EQ(PictureColor(screen.get(), 9, 9), 0u);
  PaintSkinItemToDC(Section("A"), "A", EmptyParentCache(), manager, screen->Canvas().Handle(), POINT{0, 0},
                    RECT{-1, 0, 5, 5}, 0);
  EXPECT_EQ(PictureColor(screen.get(), 0, 0), 0u) << "a negative left paints nothing";
}

// While a skin is being loaded its tables are half-built: every painter
// that draws from them leaves the picture as it is. Each case paints
// something once the load is over, so an untouched picture is the guard's.
TEST_F(SkinItems, NothingIsPaintedFromTheSkinWhileOneIsBeingLoaded) {
  Sections("[A]\r\nCOLOR=0x123456\r\nFONTCOLOR=0x00FF00\r\n");
  Master(12, 12, 0x0000FF);
  const int border = AddPiece("A", "BORDERSMASK", RECT{0, 0, 12, 12}, 4);
  manager->Masks[static_cast<std::size_t>(border)].MarginLeft = 4;
  manager->Masks[static_cast<std::size_t>(border)].MarginTop = 4;
  manager->Masks[static_cast<std::size_t>(border)].MarginRight = 4;
  manager->Masks[static_cast<std::size_t>(border)].MarginBottom = 4;
  // A texture with a mask layer: green above, the lower half 0 (the image
  // fully shown).
  TsMaskData layered;
  layered.OwnBitmap = std::shared_ptr<fw::TBitmap>(NewBitmap32(6, 12).release());
  FillBitmapRect(layered.OwnBitmap.get(), RECT{0, 0, 6, 6}, 0x00FF00);
  FillBitmapRect(layered.OwnBitmap.get(), RECT{0, 6, 6, 12}, 0x000000);
  layered.SrcRight = 6, layered.SrcBottom = 12;
  layered.ExtraLayers = 1;
  layered.FillMode = 0;
  layered.Owner = manager;
  const TsMaskData& mask = manager->Masks[static_cast<std::size_t>(border)];
  const int a = Section("A");
  const RECT all{0, 0, 20, 20};
  const std::vector<test::PaintCall> calls = {
      {"PaintSkinBackground", nullptr,
       [&](fw::TBitmap* b) {
         PaintSkinBackground(a, "A", EmptyParentCache(), clSkinTransparent, -1, -1, manager, b, POINT{0, 0}, all, 0);
       }},
      {"PaintSkinItem", nullptr,
       [&](fw::TBitmap* b) {
         PaintSkinItem(a, "A", EmptyParentCache(), -1, -1, manager, b, POINT{0, 0}, all, 0);
       }},
      {"PaintSkinBackgroundPart", nullptr,
       [&](fw::TBitmap* b) {
         PaintSkinBackgroundPart(a, "A", EmptyParentCache(), clSkinTransparent, -1, -1, manager, b, POINT{0, 0}, all, 0,
                                 POINT{0, 0});
       }},
      {"PaintSkinItemPart", nullptr,
       [&](fw::TBitmap* b) {
         PaintSkinItemPart(a, "A", EmptyParentCache(), -1, -1, border, manager, b, POINT{0, 0}, all, 0, POINT{0, 0});
       }},
      {"PaintSkinItemToDC", nullptr,
       [&](fw::TBitmap* b) {
         PaintSkinItemToDC(a, "A", EmptyParentCache(), manager, b->Canvas().Handle(), POINT{0, 0}, all, 0);
       }},
      {"PaintSectionByName", nullptr, [&](fw::TBitmap* b) { PaintSectionByName(b, "A", "", nullptr, 0, all, 0); }},
      {"PaintBorderMask", nullptr,
       [&](fw::TBitmap* b) { PaintBorderMask(b, all, false, 0, mask, EmptyParentCache()); }},
      {"DrawMaskImage", nullptr,
       [&](fw::TBitmap* b) {
         DrawMaskImage(b, POINT{0, 0}, 0, EmptyParentCache(), mask, mlNormal);
       }},
      {"DrawTexture", nullptr,
       [&](fw::TBitmap* b) {
         RECT r = all;
         DrawTexture(b, r, nullptr, 0, &mask);
       }},
      {"DrawTextureFromMask", nullptr,
       [&](fw::TBitmap* b) { DrawTextureFromMask(b, all, EmptyParentCache(), 0, layered); }},
      {"PaintBorderMaskWithRegion", nullptr,
       [&](fw::TBitmap* b) { PaintBorderMaskWithRegion(b, nullptr, true, mask, 0); }},
      {"WriteTextOnBitmap", nullptr,
       [&](fw::TBitmap* b) { WriteTextOnBitmap(b, "Wx", false, manager, false, a, DT_LEFT | DT_TOP, all); }},
      {"WriteSkinText", nullptr,
       [&](fw::TBitmap* b) { WriteSkinText(b->Canvas(), "Wx", true, manager, false, a, DT_LEFT | DT_TOP, all); }},
  };
  ASSERT_EQ(DefaultManager, manager) << "painting by name uses the default manager";
  test::ExpectStillWhileASkinLoads(calls, SIZE{20, 20});
}

TEST_F(SkinItems, RepeatedPaintingLeavesNoGdiObjects) {
  Sections(
      "[T]\r\nCOLOR=0x0000FF\r\nTRANSPARENCY=40\r\nIMAGEPERCENT=20\r\nGRADIENTPERCENT=40\r\n"
      "GRADIENTDATA=255;65280;100;0;0\r\n");
  Master(8, 8, 0x404040);
  AddPiece("T", "PATTERN", RECT{0, 0, 8, 8}, 0, 1);
  auto parent = NewBitmap32(40, 40);
  auto screen = NewBitmap32(40, 40);
  auto paint = [&] {
    // Temporary pictures for the transparency, the gradient over the
    // texture and the copy to a DC.
    PaintSkinItemToDC(Section("T"), "T", MakeParentCache(parent.get(), 0, 0), manager, screen->Canvas().Handle(),
                      POINT{0, 0}, RECT{5, 5, 35, 35}, 0);
  };
  paint();
  const int gdi = testing_gui::GdiObjectCount();
  for (int i = 0; i < 20; ++i) paint();
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
}

}  // namespace
}  // namespace translit
