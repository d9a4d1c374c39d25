// The dialog with a skin loaded: its button and status bar are the skinned
// ones with their stored sections, the tree shows its selected node while
// the button has the focus, a real click on the skinned button runs the
// dialog's handler, and skin changes with the dialog up leave no GDI or
// USER objects behind.
#include <gtest/gtest.h>

#include <string>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "render/effects/acEffects.h"
#include "render/paint/SkinPaintMasks.h"
#include "tests/controls/ControlsFixture.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/StoredSkin.h"

namespace {

using translit::app::RegisterAppClasses;
using translit::app::TForm1;
using translit::test::kEdge;
using translit::test::PumpFor;
using translit::test::PumpUntil;
using translit::test::ScreenPixel;

std::string ClassOf(HWND wnd) {
  char name[64] = {};
  ::GetClassNameA(wnd, name, sizeof(name));
  return name;
}

class SkinnedDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication().Initialize();
    RegisterAppClasses();
    translit::InstallEffects();
  }
  void SetUp() override {
    // The stored skin folder as on a machine without the skin (scripts/run
    // may have installed one in this Wine prefix; it is put back afterwards).
    stored =
        std::make_unique<testing_skin::StoredSkinScope>(testing_skin::StoredSkin::None, TRANSLIT_SKINS_WINDOWS_DIR);
    ASSERT_TRUE(stored->Ok());
    for (const char* kind : {"T", "D"}) translit::test::WriteControlsSkin(tmp.Path(), kind, kind);
    translit::test::MouseTo(POINT{4, 4});
    form = new TForm1(fw::Application);
    // The stored skin folder is not on this machine: the manager is off
    // until it is given one that is.
    EXPECT_FALSE(form->sSkinManager1->Active());
    form->sSkinManager1->SetSkinDirectory(tmp.Path());
    form->sSkinManager1->SetSkinName("T");
    form->sSkinManager1->SetActive(true);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return form->sBitBtn1->CachedState() >= 0; }, 5000));
  }
  void TearDown() override {
    delete form;
    stored.reset();
  }

  std::unique_ptr<testing_skin::StoredSkinScope> stored;
  testing_files::TempFolder tmp;
  TForm1* form = nullptr;
};

TEST_F(SkinnedDialog, TheButtonAndTheBarAreSkinnedWithTheirStoredSections) {
  EXPECT_EQ(ClassOf(form->sBitBtn1->Handle()), "TsBitBtn");
  EXPECT_EQ(ClassOf(form->sStatusBar1->Handle()), "TsStatusBar");
  EXPECT_EQ(form->sBitBtn1->SkinData().SkinSection(), "BUTTON");
  EXPECT_EQ(form->sStatusBar1->SkinData().SkinSection(), "STATUSBAR");
  EXPECT_TRUE(form->sBitBtn1->SkinData().Skinned());
  EXPECT_TRUE(form->sStatusBar1->SkinData().Skinned());
  // The button has the focus: hot, framed by the second cell.
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(form->sBitBtn1->ClientToScreen(POINT{1, 140})) == kEdge[1]; }, 3000));
  EXPECT_EQ(ScreenPixel(form->sStatusBar1->ClientToScreen(POINT{1, 9})), translit::test::kPanelFrame);
}

// The tree as the dialog stores it hides its selection while it has no
// focus, and the button has the focus from the start; the skinned selection
// is drawn all the same, in the section's normal look, so that the computer
// selected at start shows as selected. With the focus it takes the hot look.
TEST_F(SkinnedDialog, TheTreeShowsItsSelectionWhileTheButtonHasTheFocus) {
  constexpr COLORREF kSelection = 0x00FFFF, kSelectionFocused = 0x00C0FF;
  translit::test::WriteControlsSkin(tmp.Path(), "TS", "T");
  translit::test::WriteText(tmp.Path() + "TS\\Options.dat",
                            translit::test::SkinOptions("T") +
                                "[EDIT]\r\nCOLOR=0xF0E0D0\r\nFONTCOLOR=0x203040\r\nSTATES=1\r\n"
                                "[SELECTION]\r\nCOLOR=0x00FFFF\r\nSTATES=2\r\nHOTCOLOR=0x00C0FF\r\n"
                                "FONTCOLOR=0x000000\r\nHOTFONTCOLOR=0x000000\r\n");
  form->sSkinManager1->SetSkinName("TS");
  translit::TsShellTreeView* tree = form->sShellTreeView1;
  ASSERT_TRUE(tree->SkinData().Skinned());
  ASSERT_TRUE(tree->HideSelection()) << "the dialog's own setting";
  ASSERT_NE(tree->Selected(), nullptr);
  ASSERT_EQ(tree->Selected(), tree->Items().GetFirstNode()) << "the computer, selected at start";
  ASSERT_TRUE(PumpUntil([&] { return form->sBitBtn1->Focused(); }, 3000)) << "the button has the focus";
  ASSERT_FALSE(tree->Focused());

  // A point of the node's text rectangle that no letter covers: its second
  // row, a little inside its left end.
  const RECT r = tree->Selected()->DisplayRect(true);
  auto shown = [&] {
    fw::WindowDC dc(tree->Handle());
    return ::GetPixel(dc.Get(), r.left + 3, r.top + 1);
  };
  EXPECT_TRUE(PumpUntil([&] { return shown() == kSelection; }, 3000)) << std::hex << shown();
  tree->SetFocus();
  EXPECT_TRUE(PumpUntil([&] { return shown() == kSelectionFocused; }, 3000)) << std::hex << shown();
}

// The "Готово!" box the handler shows is answered from a timer that runs
// inside the box's own message loop.
int gBoxes = 0;
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = ::FindWindowA("TMessageForm", nullptr);
  if (!box || !::IsWindowVisible(box)) return;
  ++gBoxes;
  ::KillTimer(nullptr, id);
  if (HWND ok = ::FindWindowExA(box, nullptr, "TButton", nullptr)) ::SendMessageA(ok, BM_CLICK, 0, 0);
}

TEST_F(SkinnedDialog, ARealClickOnTheSkinnedButtonRunsTheDialogsHandler) {
  // The computer is selected: nothing on disk is walked, the box is shown
  // and the dialog closes.
  gBoxes = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerBox);
  translit::test::MouseTo(form->sBitBtn1->ClientToScreen(POINT{56, 140}));
  translit::test::MouseButton(true);
  ASSERT_TRUE(PumpUntil(
      [&] {
        return ScreenPixel(form->sBitBtn1->ClientToScreen(POINT{1, 140})) == kEdge[2];
      },
      3000))
      << "pressed";
  translit::test::MouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return !form->Visible(); }, 10000)) << "the dialog closed";
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(gBoxes, 1);
}

TEST_F(SkinnedDialog, SkinChangesWithTheDialogUpLeaveNoGdiOrUserObjects) {
  auto change = [&](const char* name) {
    form->sSkinManager1->SetSkinName(name);
    PumpFor(20);
  };
  auto offAndOn = [&] {
    form->sSkinManager1->SetActive(false);
    PumpFor(50);
    form->sSkinManager1->SetActive(true);
    PumpFor(50);
  };
  // The first round makes what the unskinned look keeps for good (brushes
  // of the platform's painting).
  change("D");
  change("T");
  offAndOn();
  PumpFor(100);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 0; i < 25; ++i) {
    change("D");
    change("T");
  }
  PumpFor(100);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi) << "after 50 changes";
  for (int i = 0; i < 5; ++i) offAndOn();
  PumpFor(100);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
  EXPECT_TRUE(form->sBitBtn1->SkinData().Skinned());
}

// The dialog with the generated skin BlueIce, as the program shows it when
// the skin is at its stored folder.
class BlueIceDialog : public SkinnedDialog {
 protected:
  void SetUp() override {
    if (std::string(TRANSLIT_SKINS_WINDOWS_DIR).empty()) GTEST_SKIP() << "built without the skin";
    stored =
        std::make_unique<testing_skin::StoredSkinScope>(testing_skin::StoredSkin::None, TRANSLIT_SKINS_WINDOWS_DIR);
    ASSERT_TRUE(stored->Ok());
    translit::test::MouseTo(POINT{4, 4});
    form = new TForm1(fw::Application);
    form->sSkinManager1->SetSkinDirectory(std::string(TRANSLIT_SKINS_WINDOWS_DIR) + "\\");
    form->sSkinManager1->SetSkinName("BlueIce");
    form->sSkinManager1->SetActive(true);
    form->Show();
    ASSERT_TRUE(form->sBitBtn1->SkinData().Skinned());
    ASSERT_TRUE(PumpUntil([&] { return form->sBitBtn1->CachedState() >= 0; }, 5000));
  }

  // A pixel of a skin image as the screen shows it (0xRRGGBB).
  static std::uint32_t ImagePixel(fw::TBitmap* image, int x, int y) {
    return translit::test::PicturePixel(image, x, y);
  }
};

// Where a border image's left edge, repeated down from its top margin, puts
// the source row of the control's row y.
int EdgeSourceRow(const translit::TsMaskData& mask, int y) {
  const int layer = static_cast<int>(mask.Height()) / (mask.ExtraLayers + 1);
  const int middle = layer - mask.MarginTop - mask.MarginBottom;
  return mask.MarginTop + (y - mask.MarginTop) % middle;
}

TEST_F(BlueIceDialog, EachButtonStateShowsItsCellOfTheSkinsButtonImage) {
  translit::TsBitBtn* button = form->sBitBtn1;
  translit::TsSkinManager* manager = form->sSkinManager1;
  ASSERT_TRUE(manager->IsValidMask(button->SkinData().BorderIndex));
  const translit::TsMaskData& mask = manager->Masks[static_cast<std::size_t>(button->SkinData().BorderIndex)];
  ASSERT_EQ(mask.ExtraLayers, 1) << "BlueIce's button image has a mask layer";
  ASSERT_GE(mask.StateCount, 3);
  fw::TBitmap* image = translit::MaskImage(mask);
  const int stateWidth = translit::MaskStateWidth(mask);
  const int layer = static_cast<int>(mask.Height()) / 2;
  const int y = button->Height() / 2;
  const int row = mask.SrcTop + EdgeSourceRow(mask, y);
  // A column of the left edge that the mask layer leaves wholly opaque in
  // every state: there the screen shows the image's own pixel.
  int column = -1;
  for (int x = 0; x < mask.MarginLeft && column < 0; ++x) {
    bool opaque = true;
    for (int s = 0; s < 3; ++s) opaque &= ImagePixel(image, mask.SrcLeft + s * stateWidth + x, row + layer) == 0;
    if (opaque) column = x;
  }
  ASSERT_GE(column, 0) << "no opaque column in the button image's edge";
  auto expected = [&](int s) { return ImagePixel(image, mask.SrcLeft + s * stateWidth + column, row); };
  ASSERT_NE(expected(0), expected(1));
  ASSERT_NE(expected(1), expected(2));
  ASSERT_NE(expected(0), expected(2));
  auto shown = [&] { return ScreenPixel(button->ClientToScreen(POINT{column, y})); };

  form->sShellTreeView1->SetFocus();
  EXPECT_TRUE(PumpUntil([&] { return !button->Fade() && shown() == expected(0); }, 3000))
      << "normal: " << std::hex << shown() << " for " << expected(0);
  translit::test::MouseTo(button->ClientToScreen(POINT{56, 140}));
  EXPECT_TRUE(PumpUntil([&] { return !button->Fade() && shown() == expected(1); }, 3000))
      << "hot: " << std::hex << shown() << " for " << expected(1);
  button->OnClick = nullptr;  // the press is released without renaming
  translit::test::MouseButton(true);
  EXPECT_TRUE(PumpUntil([&] { return !button->Fade() && shown() == expected(2); }, 3000))
      << "pressed: " << std::hex << shown() << " for " << expected(2);
  translit::test::MouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return !button->Fade() && shown() == expected(1); }, 3000)) << "released";

  // The image's corners are rounded by its mask layer: outside them the
  // dialog's background shows (all but 1/256 of it), which is the skinned
  // frame's picture of the client.
  translit::TsSkinProvider* frame = form->sSkinProvider1;
  ASSERT_TRUE(frame->SkinnedNow());
  fw::TBitmap* background = frame->SkinData().CacheBmp.get();
  ASSERT_NE(background, nullptr);
  const int w = button->Width(), h = button->Height();
  for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
    const std::uint32_t facePixel =
        translit::test::PicturePixel(background, frame->ClientOffsetX() + button->Left() + corner.x,
                                     frame->ClientOffsetY() + button->Top() + corner.y);
    const std::uint32_t c = ScreenPixel(button->ClientToScreen(corner));
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(static_cast<int>((c >> shift) & 0xFF), static_cast<int>((facePixel >> shift) & 0xFF), 1)
          << corner.x << "," << corner.y << ": " << std::hex << c;
  }
}

TEST_F(BlueIceDialog, TheStatusBarShowsTheSkinsPanelFrameTextColourAndGrip) {
  translit::TsStatusBar* bar = form->sStatusBar1;
  translit::TsSkinManager* manager = form->sSkinManager1;
  const int section = bar->SkinData().SkinIndex;
  ASSERT_GE(section, 0);
  bar->Panels()[0].SetText("WWWW WWWW");
  PumpFor(200);
  auto at = [&](int x, int y) { return ScreenPixel(bar->ClientToScreen(POINT{x, y})); };

  // The one panel is the last: framed by the panel image from (1, 1) to the
  // grip's column, the frame's left edge repeated down from its top margin.
  const int frame = manager->MaskIndex(section, "STATUSBAR", "STATUSPANELMASK");
  ASSERT_TRUE(manager->IsValidMask(frame));
  const translit::TsMaskData& panel = manager->Masks[static_cast<std::size_t>(frame)];
  fw::TBitmap* panelImage = translit::MaskImage(panel);
  const int y = bar->Height() / 2;
  int checked = 0;
  for (int x = 0; x < panel.MarginLeft; ++x) {
    const std::uint32_t source = ImagePixel(panelImage, panel.SrcLeft + x, panel.SrcTop + EdgeSourceRow(panel, y - 1));
    if (source == translit::test::kKeyPixel) continue;
    EXPECT_EQ(at(1 + x, y), source) << "frame column " << x;
    ++checked;
  }
  EXPECT_GT(checked, 0);

  // The text in the section's font colour.
  const std::uint32_t font = static_cast<std::uint32_t>(
      manager->ColorToRGB(manager->Sections[static_cast<std::size_t>(section)].States[0].FontColor));
  const std::uint32_t fontPixel = ((font & 0xFF) << 16) | (font & 0xFF00) | ((font >> 16) & 0xFF);
  int textPixels = 0;
  for (int py = 0; py < bar->Height(); ++py)
    for (int px = 0; px < 120; ++px) textPixels += at(px, py) == fontPixel;
  EXPECT_GT(textPixels, 20);

  // The grip image of GLOBALINFO in the bottom-right corner: its opaque
  // pixels as they are.
  const int grip = manager->MaskIndex(manager->ConstIndexes.GlobalInfoIndex, "GLOBALINFO", "GRIPIMAGE");
  ASSERT_TRUE(manager->IsValidMask(grip));
  const translit::TsMaskData& gripMask = manager->Masks[static_cast<std::size_t>(grip)];
  fw::TBitmap* gripImage = translit::MaskImage(gripMask);
  const int gw = translit::MaskStateWidth(gripMask), gh = translit::MaskStateHeight(gripMask);
  const POINT origin{bar->Width() - gw, bar->Height() - gh};
  int opaque = 0;
  for (int py = 0; py < gh; ++py)
    for (int px = 0; px < gw; ++px) {
      const int sx = gripMask.SrcLeft + px, sy = gripMask.SrcTop + py;
      if (gripMask.ExtraLayers == 1 ? ImagePixel(gripImage, sx, sy + gh) != 0
                                    : ImagePixel(gripImage, sx, sy) == translit::test::kKeyPixel)
        continue;
      EXPECT_EQ(at(origin.x + px, origin.y + py), ImagePixel(gripImage, sx, sy)) << px << "," << py;
      ++opaque;
    }
  EXPECT_GT(opaque, 0);
}

}  // namespace
