// The dialog with a skin loaded: its button and status bar are the skinned
// ones with their stored sections, a real click on the skinned button runs
// the dialog's handler, and skin changes with the dialog up leave no GDI or
// USER objects behind.
#include <gtest/gtest.h>

#include <string>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "render/effects/acEffects.h"
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
    stored = std::make_unique<testing_skin::StoredSkinScope>(testing_skin::StoredSkin::None, TRANSLIT_SKINS_WINDOWS_DIR);
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
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(form->sBitBtn1->ClientToScreen(POINT{1, 140})) == kEdge[2]; }, 3000))
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

}  // namespace
