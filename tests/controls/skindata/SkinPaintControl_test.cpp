// Painting from a control's skin data: its own colour and hue, the corners
// of its cache opened to the parent, and the plain frame border.
#include "controls/skindata/SkinPaintControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/protocol/sMessages.h"
#include "controls/skindata/SkinControlText.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Application.h"
#include "render/paint/SkinPaintParent.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/sSkinManager.h"
#include "tests/support/PaintsWhileLoading.h"
#include "tests/support/PicturePixels.h"
#include "tests/support/SkinDataControl.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/TempFolder.h"

namespace translit {
namespace {

using test::WriteText;
using testing_files::TempFolder;

using TPainted = test::TSkinDataControl;

using testing_gui::PictureColor;

// A parent that answers for its background as a skinned one does: with its
// own picture and offset 0, the child adding its own position. Every pixel
// of the picture tells where it lies: red is x, green is y.
class TPictureParent : public fw::TWinControl {
 public:
  explicit TPictureParent(fw::TComponent* owner) : fw::TWinControl(owner), picture(NewBitmap32(80, 60)) {
    SetBounds(0, 0, 80, 60);
    TacFast32 f;
    f.Bind(picture.get());
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x) f.WritePixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(x | (y << 8)));
  }
  const char* ClassName() const override { return "TPictureParent"; }
  std::unique_ptr<fw::TBitmap> picture;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (IsSkinMessage(m) && ReadSkinMessage(m).Command == SKINCMD_GET_BACKGROUND && m.LParam) {
      auto& request = *reinterpret_cast<BackgroundRequest*>(m.LParam);
      request.Kind = bkBitmap;
      request.Bitmap = picture.get();
      request.OffsetX = 0;
      request.OffsetY = 0;
      m.Result = 1;
      return;
    }
    fw::TWinControl::WndProc(m);
  }
};

class ControlPainting : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    WriteText(tmp.Folder("T") + "Options.dat", "[GLOBALINFO]\r\nCOLOR=0xFFFFFF\r\n[RED]\r\nCOLOR=0x0000FF\r\n");
    manager = new TsSkinManager(nullptr);
    manager->SetSkinDirectory(tmp.Path());
    manager->SetSkinName("T");
    form = new fw::TForm(fw::Application);
    form->SetColor(fw::clBlue);
    control = new TPainted(form);
    control->SetParent(form);
    control->SkinData().SetSkinSection("RED");
    form->Show();
    ASSERT_GE(control->SkinData().SkinIndex, 0);
  }
  void TearDown() override {
    delete form;
    delete manager;
  }
  // The control's 40 x 20 cache, with the border below given, filled with
  // blue and then its corner holes from the parent; null when it is not
  // there in that size.
  fw::TBitmap* CacheWithHolesFilled() {
    GiveBorder();
    TsCtrlSkinData& data = control->SkinData();
    data.SizeCache();
    fw::TBitmap* cache = data.CacheBmp.get();
    if (!cache || cache->Width() != 40 || cache->Height() != 20) return nullptr;
    FillBitmapRect(cache, RECT{0, 0, 40, 20}, 0x0000FF);
    FillCornerHoles(data, 0);
    return cache;
  }
  // A 9 x 9 border of 3-pixel margins, green with a key pixel at its top-left.
  void GiveBorder() {
    TsMaskData m;
    m.OwnBitmap = std::shared_ptr<fw::TBitmap>(NewBitmap32(9, 9).release());
    FillBitmapRect(m.OwnBitmap.get(), RECT{0, 0, 9, 9}, 0x00FF00);
    TacFast32 f;
    f.Bind(m.OwnBitmap.get());
    f.WritePixel(0, 0, 0xFF00FF);
    m.SrcRight = 9, m.SrcBottom = 9;
    m.MarginLeft = m.MarginTop = m.MarginRight = m.MarginBottom = 3;
    m.FillMode = 0;
    m.Owner = manager;
    m.Section = "RED";
    m.Prop = "BORDERSMASK";
    manager->Masks.push_back(m);
    const int index = static_cast<int>(manager->Masks.size()) - 1;
    manager->Sections[static_cast<std::size_t>(control->SkinData().SkinIndex)].BorderIndex = index;
    control->SkinData().UpdateIndexes();
    ASSERT_EQ(control->SkinData().BorderIndex, index);
  }

  TempFolder tmp;
  TsSkinManager* manager = nullptr;
  fw::TForm* form = nullptr;
  TPainted* control = nullptr;
};

TEST_F(ControlPainting, OwnColourAndHue) {
  auto item = NewBitmap32(40, 20);
  TsCtrlSkinData& data = control->SkinData();
  PaintControlItem(data, EmptyParentCache(), false, item.get(), POINT{0, 0}, RECT{0, 0, 40, 20}, 0);
  EXPECT_EQ(PictureColor(item.get(), 20, 10), 0x0000FFu) << "no hue or saturation: the section's colour";
  data.SetHUEOffset(120);
  PaintControlItem(data, EmptyParentCache(), false, item.get(), POINT{0, 0}, RECT{0, 0, 40, 20}, 0);
  EXPECT_EQ(PictureColor(item.get(), 20, 10), 0x00FF00u) << "red turned by 120 degrees is green";
  data.SetHUEOffset(0);
  control->SetColor(fw::clLime);
  data.SetCustomColor(true);
  PaintControlItem(data, EmptyParentCache(), false, item.get(), POINT{0, 0}, RECT{0, 0, 40, 20}, 0);
  EXPECT_EQ(PictureColor(item.get(), 20, 10), 0x00FF00u) << "its own colour, not the section's";
}

TEST_F(ControlPainting, CornerHolesShowTheParent) {
  fw::TBitmap* cache = CacheWithHolesFilled();
  ASSERT_TRUE(cache);
  EXPECT_EQ(PictureColor(cache, 0, 0), 0xFF0000u) << "the key pixel takes the parent's blue";
  EXPECT_EQ(PictureColor(cache, 1, 0), 0x0000FFu);
  EXPECT_EQ(PictureColor(cache, 37, 0), 0x0000FFu) << "the top-right cell has no key pixel";
}

TEST_F(ControlPainting, CornerHolesShowTheParentsPictureAtTheControlsPlace) {
  auto* panel = new TPictureParent(form);
  panel->SetParent(form);
  control->SetParent(panel);
  control->SetBounds(7, 5, 40, 20);
  fw::TBitmap* cache = CacheWithHolesFilled();
  ASSERT_TRUE(cache);
  EXPECT_EQ(PictureColor(cache, 0, 0), 0x000507u) << "the parent's pixel under the control, at (7, 5)";
  EXPECT_EQ(PictureColor(cache, 1, 0), 0x0000FFu) << "no key pixel there";

  // The key corner of the plain frame border reads at the same place.
  RECT inner{};
  FillBitmapRect(cache, RECT{0, 0, 40, 20}, 0x0000FF);
  PaintPlainFrameBorder(cache->Canvas().Handle(), RECT{0, 0, 40, 20}, 0, control->SkinData(), 0, inner);
  EXPECT_EQ(PictureColor(cache, 0, 0), 0x000507u);
  EXPECT_EQ(PictureColor(cache, 1, 0), 0x00FF00u) << "the border's own pixel";
}

TEST_F(ControlPainting, PlainFrameBorderWithoutAMask) {
  auto screen = NewBitmap32(20, 20);
  FillBitmapRect(screen.get(), RECT{0, 0, 20, 20}, 0x000000);
  RECT inner{5, 5, 15, 15};
  PaintPlainFrameBorder(screen->Canvas().Handle(), RECT{0, 0, 20, 20}, 0, control->SkinData(), 0, inner);
  EXPECT_EQ(PictureColor(screen.get(), 1, 1), 0u) << "width 0 draws nothing";
  PaintPlainFrameBorder(screen->Canvas().Handle(), RECT{0, 0, 20, 20}, 3, control->SkinData(), 0, inner);
  EXPECT_EQ(PictureColor(screen.get(), 2, 10), 0x0000FFu);
  EXPECT_EQ(PictureColor(screen.get(), 17, 10), 0x0000FFu);
  EXPECT_EQ(PictureColor(screen.get(), 10, 17), 0x0000FFu);
  EXPECT_EQ(PictureColor(screen.get(), 3, 10), 0u);
  EXPECT_EQ(inner.left, 5) << "the inner rectangle is left as it was";
}

TEST_F(ControlPainting, PlainFrameBorderWithAMask) {
  GiveBorder();
  TsCtrlSkinData& data = control->SkinData();
  data.SizeCache();
  auto screen = NewBitmap32(40, 20);
  FillBitmapRect(screen.get(), RECT{0, 0, 40, 20}, 0x000000);
  RECT inner{};
  PaintPlainFrameBorder(screen->Canvas().Handle(), RECT{0, 0, 40, 20}, 5, data, 0, inner);
  EXPECT_EQ(inner.left, 5);
  EXPECT_EQ(inner.bottom, 15);
  EXPECT_EQ(PictureColor(data.CacheBmp.get(), 1, 10), 0x00FF00u) << "the border mask's edge";
  EXPECT_EQ(PictureColor(data.CacheBmp.get(), 4, 10), 0x0000FFu) << "the band of background colour";
  EXPECT_EQ(PictureColor(screen.get(), 4, 10), 0x0000FFu) << "copied to the DC";
  EXPECT_EQ(PictureColor(screen.get(), 6, 10), 0u);
}

// While a skin is being loaded its tables are half-built: painting from a
// control's skin data leaves the picture as it is. Every case paints
// something once the load is over.
TEST_F(ControlPainting, NothingIsPaintedFromTheSkinWhileOneIsBeingLoaded) {
  GiveBorder();
  TsCtrlSkinData& data = control->SkinData();
  data.SizeCache();
  const RECT all{0, 0, 40, 20};
  const std::vector<test::PaintCall> calls = {
      {"PaintControlBackground", nullptr,
       [&](fw::TBitmap* b) {
         PaintControlBackground(data, EmptyParentCache(), 0, b, POINT{0, 0}, all);
       }},
      {"PaintControlItem", nullptr,
       [&](fw::TBitmap* b) {
         PaintControlItem(data, EmptyParentCache(), false, b, POINT{0, 0}, all, 0);
       }},
      {"FillCornerHoles", data.CacheBmp.get(), [&](fw::TBitmap*) { FillCornerHoles(data, 0); }},
      {"PaintPlainFrameBorder", data.CacheBmp.get(),
       [&](fw::TBitmap* b) {
         RECT inner{};
         PaintPlainFrameBorder(b->Canvas().Handle(), all, 5, data, 0, inner);
       }},
      {"WriteControlText", nullptr,
       [&](fw::TBitmap* b) { WriteControlText(b->Canvas(), "Wx", true, false, data, DT_LEFT | DT_TOP, all); }},
  };
  test::ExpectStillWhileASkinLoads(calls, SIZE{40, 20});
}

}  // namespace
}  // namespace translit
