// Hover glows on the platform: no mask, no glow; a glow window of the mask's
// size and place that never activates and lets the mouse through; freeing
// one glow, all of them, and indexes that are no longer open; the glow a
// skinned control opens when the mouse enters it; no objects left behind.
#include "render/effects/acGlow.h"

#include <gtest/gtest.h>

#include "controls/skindata/sCommonData.h"
#include "framework/Forms.h"
#include "skin/sLayeredSupport.h"
#include "tests/render/effects/EffectsFixture.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/RealInput.h"

namespace translit {
namespace {

using test::PumpFor;
using test::PumpUntil;

class THovered : public fw::TWinControl {
 public:
  explicit THovered(fw::TComponent* owner) : fw::TWinControl(owner), data(this, true, 0) {}
  const char* ClassName() const override { return "THovered"; }
  TsCtrlSkinData data;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (data.CommonMessage(m)) return;
    fw::TWinControl::WndProc(m);
  }
};

class Glow : public ::testing::Test {
 protected:
  void SetUp() override {
    // The pointer stays where an earlier test left it; over the control it
    // would open a hover glow of its own.
    ASSERT_TRUE(testing_gui::MoveMouse(POINT{5, 5}));
    form = new fw::TForm(fw::Application);
    form->SetBounds(200, 150, 400, 300);
    form->Show();
    control = new THovered(form);
    control->SetParent(form);
    control->SetBounds(50, 60, 100, 30);
    control->data.SetSkinSection("BUTTON");
    control->HandleNeeded();
    PumpFor(50);
    ::GetWindowRect(control->Handle(), &controlRect);
  }
  void TearDown() override {
    ClearGlowEffects(true);
    delete form;
  }
  int Show(const RECT& visible, const char* section = "BUTTON") {
    return ShowGlowEffect(controlRect, visible, section, skin.manager, form->Handle(), 2);
  }

  test::EffectsSkin skin;
  fw::TForm* form = nullptr;
  THovered* control = nullptr;
  RECT controlRect{};
};

TEST_F(Glow, ASectionWithoutAGlowMaskGivesNoGlowAndNoWindow) {
  const int user = testing_gui::UserObjectCount();
  EXPECT_EQ(Show(controlRect, "PLAIN"), -1);
  EXPECT_EQ(Show(controlRect, "NOSUCHSECTION"), -1);
  EXPECT_EQ(OpenGlowCount(), 0);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
  // Nor without layered windows, whatever the skin has.
  OverrideLayeredWindows(false);
  EXPECT_EQ(Show(controlRect), -1);
  OverrideLayeredWindows(std::nullopt);
  EXPECT_EQ(OpenGlowCount(), 0);
}

TEST_F(Glow, TheWindowHasTheMasksSizeAndPlaceAndNeverActivates) {
  HWND active = ::GetForegroundWindow();
  const int index = Show(controlRect);
  ASSERT_GE(index, 0);
  HWND glow = GlowWindow(index);
  ASSERT_TRUE(::IsWindow(glow));
  EXPECT_TRUE(::IsWindowVisible(glow));
  RECT r;
  ::GetWindowRect(glow, &r);
  // 100 x 30 with margins 10 and glow margin 2: 116 x 46 at (left - 8, top - 8).
  EXPECT_EQ(r.left, controlRect.left - 8);
  EXPECT_EQ(r.top, controlRect.top - 8);
  EXPECT_EQ(r.right - r.left, 116);
  EXPECT_EQ(r.bottom - r.top, 46);
  const LONG ex = ::GetWindowLongA(glow, GWL_EXSTYLE);
  for (LONG style : {LONG{WS_EX_LAYERED}, LONG{WS_EX_TRANSPARENT}, LONG{WS_EX_TOOLWINDOW}, LONG{WS_EX_NOACTIVATE}})
    EXPECT_TRUE(ex & style) << std::hex << style;
  EXPECT_EQ(::GetForegroundWindow(), active);
  // Directly in front of the form it belongs to.
  EXPECT_EQ(::GetWindow(glow, GW_HWNDNEXT), form->Handle());
}

TEST_F(Glow, TheMousePassesThroughToTheWindowsUnderIt) {
  const int index = Show(controlRect);
  ASSERT_GE(index, 0);
  // Over the control, and over the form next to it, inside the glow.
  const POINT overControl{controlRect.left + 3, controlRect.top + 3};
  const POINT overForm{controlRect.left - 5, controlRect.top - 5};
  EXPECT_EQ(::WindowFromPoint(overControl), control->Handle());
  EXPECT_EQ(::WindowFromPoint(overForm), form->Handle());

  // A real click there reaches the form.
  std::vector<POINT> clicks;
  form->WindowProc = [&, old = form->WindowProc](fw::TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN)
      clicks.push_back(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
    old(m);
  };
  ::SetForegroundWindow(form->Handle());
  PumpFor(50);
  testing_gui::ClickMouse(overForm);
  ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); }, 3000)) << "the click did not reach the form";
  POINT expected = overForm;
  ::ScreenToClient(form->Handle(), &expected);
  EXPECT_EQ(clicks[0].x, expected.x);
  EXPECT_EQ(clicks[0].y, expected.y);
  EXPECT_TRUE(::IsWindowVisible(GlowWindow(index)));
}

TEST_F(Glow, OnlyThePartAroundTheVisiblePartOfTheControlIsShown) {
  RECT visible = controlRect;
  visible.left += 20;
  visible.bottom -= 10;
  const int index = Show(visible);
  ASSERT_GE(index, 0);
  RECT r;
  ::GetWindowRect(GlowWindow(index), &r);
  EXPECT_EQ(r.left, controlRect.left - 8 + 20);
  EXPECT_EQ(r.top, controlRect.top - 8);
  EXPECT_EQ(r.right - r.left, 116 - 20);
  EXPECT_EQ(r.bottom - r.top, 46 - 10);
}

TEST_F(Glow, ATopmostParentGetsATopmostGlow) {
  ::SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const int index = Show(controlRect);
  ASSERT_GE(index, 0);
  EXPECT_TRUE(::GetWindowLongA(GlowWindow(index), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ::SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST_F(Glow, HidingFreesOneGlowAndIgnoresIndexesThatAreNotOpen) {
  const int first = Show(controlRect);
  const int second = Show(controlRect);
  ASSERT_GE(first, 0);
  ASSERT_EQ(second, first + 1);
  HWND firstWindow = GlowWindow(first), secondWindow = GlowWindow(second);
  HideGlowEffect(first);
  EXPECT_FALSE(::IsWindowVisible(firstWindow)) << "gone from the screen at once";
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(firstWindow); }, 2000)) << "and freed once messages are handled";
  EXPECT_TRUE(::IsWindowVisible(secondWindow));
  HideGlowEffect(first);
  HideGlowEffect(-1);
  HideGlowEffect(second + 100);
  EXPECT_EQ(OpenGlowCount(), 1);

  // After a clear, the old indexes close nothing that is opened later.
  ClearGlowEffects(true);
  EXPECT_FALSE(::IsWindow(secondWindow)) << "freed at once";
  EXPECT_EQ(OpenGlowCount(), 0);
  const int later = Show(controlRect);
  ASSERT_GE(later, 0);
  HideGlowEffect(first);
  HideGlowEffect(second);
  EXPECT_EQ(OpenGlowCount(), 1);
  EXPECT_TRUE(::IsWindowVisible(GlowWindow(later)));
}

TEST_F(Glow, ASkinnedControlGlowsWhileTheMouseIsOverIt) {
  control->Perform(fw::CM_MOUSEENTER, 0, 0);
  ASSERT_GE(control->data.GlowId, 0);
  HWND glow = GlowWindow(control->data.GlowId);
  ASSERT_TRUE(::IsWindowVisible(glow));
  RECT r;
  ::GetWindowRect(glow, &r);
  EXPECT_EQ(r.left, controlRect.left - 8);
  EXPECT_EQ(r.right - r.left, 116);
  // Entering again opens no second glow.
  control->Perform(fw::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(OpenGlowCount(), 1);
  control->Perform(fw::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(control->data.GlowId, -1);
  EXPECT_EQ(OpenGlowCount(), 0);
  EXPECT_FALSE(::IsWindow(glow));

  // Moving the control closes its glow; with glowing switched off none opens.
  control->Perform(fw::CM_MOUSEENTER, 0, 0);
  ASSERT_GE(control->data.GlowId, 0);
  control->SetBounds(60, 60, 100, 30);
  EXPECT_EQ(control->data.GlowId, -1);
  EXPECT_EQ(OpenGlowCount(), 0);
  control->Perform(fw::CM_MOUSELEAVE, 0, 0);
  skin.manager->Effects().SetAllowGlowing(false);
  control->Perform(fw::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(control->data.GlowId, -1);
  EXPECT_EQ(OpenGlowCount(), 0);
}

TEST_F(Glow, ManyGlowsLeaveNoGdiOrUserObjects) {
  auto cycle = [&](int i) {
    const int index = Show(controlRect);
    ASSERT_GE(index, 0);
    if (i % 2)
      HideGlowEffect(index);
    else
      ClearGlowEffects(i % 4 == 0);
    PumpFor(5);
  };
  cycle(0);
  PumpFor(50);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 1; i <= 60; ++i) cycle(i);
  PumpFor(100);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

}  // namespace
}  // namespace translit
