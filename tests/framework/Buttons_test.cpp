// The bitmap button's platform look: the themed push button in each of its
// states wherever visual themes are in effect for its window, the classic
// frame where they are not.
#include <gtest/gtest.h>

#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "tests/support/ButtonLooks.h"
#include "tests/support/GuiPump.h"
#include "tests/support/Placed.h"
#include "tests/support/RealInput.h"

namespace {

using testing_gui::Differing;
using testing_gui::Picture;
using testing_gui::Placed;
using testing_gui::PumpFor;
using testing_gui::PumpUntil;
using testing_gui::TFocusable;

constexpr fw::TColor kFormColor = 0x406080;

class BitBtnLook : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication().Initialize();
    testing_gui::MoveMouse(kAway);
    form = new fw::TForm(fw::Application);
    form->SetBounds(100, 100, 300, 200);
    form->SetColor(kFormColor);
    plain = Placed<TFocusable>(form, 200, 100, 30, 20);
    button = Placed<fw::TBitBtn>(form, 20, 20, kW, kH);
    form->Show();
    plain->SetFocus();
    PumpFor(100);
  }
  void TearDown() override {
    testing_gui::MouseButtons(MOUSEEVENTF_LEFTUP);
    testing_gui::MoveMouse(kAway);
    delete form;
  }
  Picture Shown() const { return testing_gui::OnScreen(button->Handle(), kW, kH); }
  Picture Themed(int state) const {
    return testing_gui::ThemedButton(button->Handle(), kW, kH, state, static_cast<COLORREF>(kFormColor));
  }
  // Waits until the screen shows the picture (only its outer ring > 0).
  bool Shows(const Picture& wanted, int ring = 0) {
    return PumpUntil([&] { return Differing(Shown(), wanted, ring) == 0; }, 3000);
  }

  static constexpr int kW = 80, kH = 30;
  static constexpr POINT kAway{4, 4};
  fw::TForm* form = nullptr;
  TFocusable* plain = nullptr;
  fw::TBitBtn* button = nullptr;
};

TEST_F(BitBtnLook, ThemedItShowsEachStateOfTheThemesPushButton) {
  ASSERT_FALSE(Themed(PBS_NORMAL).pixels.empty()) << "visual themes are in effect on this platform";
  const Picture classic = testing_gui::ClassicButton(kW, kH, static_cast<COLORREF>(kFormColor));
  ASSERT_GT(Differing(Themed(PBS_NORMAL), classic), 0) << "the two looks can be told apart";

  EXPECT_TRUE(Shows(Themed(PBS_NORMAL))) << "normal";
  testing_gui::MoveMouse(button->ClientToScreen(POINT{kW / 2, kH / 2}));
  EXPECT_TRUE(Shows(Themed(PBS_HOT))) << "the mouse above it";
  // Held, it has the focus: its rectangle lies inside, so the frame counts.
  testing_gui::MouseButtons(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(Shows(Themed(PBS_PRESSED), 2)) << "pressed";
  testing_gui::MouseButtons(MOUSEEVENTF_LEFTUP);
  testing_gui::MoveMouse(kAway);
  EXPECT_TRUE(Shows(Themed(PBS_DEFAULTED), 2)) << "focused";
  plain->SetFocus();
  button->SetDefault(true);
  EXPECT_TRUE(Shows(Themed(PBS_DEFAULTED))) << "the default button while no button has the focus";
  button->SetDefault(false);
  button->SetEnabled(false);
  EXPECT_TRUE(Shows(Themed(PBS_DISABLED))) << "disabled";
  button->SetEnabled(true);

  // Themes switched off for the window: the classic frame.
  ::SetWindowTheme(button->Handle(), L" ", L" ");
  button->Invalidate();
  EXPECT_TRUE(Shows(classic)) << "classic";
}

}  // namespace
