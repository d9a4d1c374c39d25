// What the user sees of a skinned frame: after the form is shown, activated,
// deactivated, captioned anew and resized, the screen's title band is the
// skin's (the frame cache's) and shows none of the system's caption colours;
// and a hundred rounds of making, showing, activating, resizing, re-skinning,
// closing and freeing a skinned form leave no GDI or USER object behind.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/forms/FrameFixture.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/RealInput.h"

namespace translit {
namespace {

using namespace test;

class FrameOnScreen : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    manager = &FrameManager(GetParam());
    testing_gui::MoveMouse(POINT{2, 2});
    SystemTitleColours();
  }
  TsSkinManager* manager = nullptr;
};

TEST_P(FrameOnScreen, NothingUnskinnedReachesTheTitle) {
  // What the screen shows right after the system's own handling of an
  // activation change or a caption change, before the frame repaints.
  std::vector<std::pair<UINT, TitleOnScreen>> during;
  auto form = MakeDialog("Skinned title");
  auto other = MakeDialog("Some other window", 560, 420);
  auto* provider = new TsSkinProvider(form.get());
  const TacWindowProc original = provider->SavedWindowProc;
  provider->SavedWindowProc = [&](fw::TMessage& m) {
    original(m);
    if ((m.Msg == WM_NCACTIVATE || m.Msg == WM_SETTEXT) && !form->Destroying() && form->Visible()) {
      // Wine hands what windows drew to the screen when the thread finds
      // no message waiting; a look at an empty range of messages makes it
      // do so now.
      MSG none;
      ::PeekMessageA(&none, nullptr, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
      during.emplace_back(m.Msg, CompareTitle(*provider));
    }
  };
  auto expectSkinned = [&](const char* when, bool active) {
    PumpFor(120);
    EXPECT_EQ(provider->FormIsActive, active) << when;
    const TitleOnScreen title = CompareTitle(*provider);
    ASSERT_GT(title.pixels, 1000) << when;
    EXPECT_GE(title.likeCache, title.pixels * 98 / 100) << when << ": the skin's title";
    EXPECT_EQ(title.platform, 0) << when << ": the system's caption colours";
  };
  form->Show();
  ::SetForegroundWindow(form->Handle());
  expectSkinned("shown", true);
  other->Show();
  ::SetForegroundWindow(other->Handle());
  expectSkinned("deactivated", false);
  ::SetForegroundWindow(form->Handle());
  expectSkinned("activated", true);
  const auto before = provider->SkinData().CacheBmp->Width();
  form->SetCaption("A caption set while the form is up");
  expectSkinned("caption changed", true);
  form->SetBounds(form->Left(), form->Top(), form->Width() + 60, form->Height() + 30);
  expectSkinned("resized", true);
  EXPECT_EQ(provider->SkinData().CacheBmp->Width(), before + 60);
  ::SetForegroundWindow(other->Handle());
  form->SetCaption("Changed while inactive");
  expectSkinned("caption changed while inactive", false);
  int activations = 0, captions = 0;
  for (const auto& [msg, title] : during) {
    (msg == WM_NCACTIVATE ? activations : captions) += 1;
    EXPECT_EQ(title.platform, 0) << (msg == WM_NCACTIVATE ? "activation" : "caption") << ": the system's title showed";
  }
  EXPECT_GE(activations, 3);
  EXPECT_GE(captions, 2);
  provider->SavedWindowProc = original;
}

INSTANTIATE_TEST_SUITE_P(Skins, FrameOnScreen, ::testing::Values("BlueIce", "Slate"));

TEST(FrameCounts, AHundredRoundsLeaveNoObjectsBehind) {
  TsSkinManager& manager = FrameManager();
  testing_gui::MoveMouse(POINT{2, 2});
  auto round = [&](int i) {
    auto form = MakeDialog("Round " + std::to_string(i));
    new TsSkinProvider(form.get());
    form->Show();
    ::SetForegroundWindow(form->Handle());
    PumpFor(5);
    form->SetBounds(form->Left(), form->Top(), form->Width() + 10 + i % 7, form->Height() + 5);
    PumpFor(5);
    manager.SetSkinName(i % 2 ? "Slate" : "BlueIce");
    PumpFor(5);
    form->Close();
    PumpFor(5);
  };
  // The first rounds fill the caches that live as long as the process.
  for (int i = 0; i < 3; ++i) round(i);
  manager.SetSkinName("BlueIce");
  PumpFor(50);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 0; i < 100; ++i) round(i);
  manager.SetSkinName("BlueIce");
  PumpFor(50);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

}  // namespace
}  // namespace translit
