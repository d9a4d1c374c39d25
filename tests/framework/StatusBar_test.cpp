// The framework's own status bar and windowed controls without a skin: a
// panel's text stands where its alignment puts it, and a border width frames
// the client area in the control's colour.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Forms.h"
#include "framework/StatusBar.h"
#include "tests/support/GuiPump.h"

namespace {

using testing_gui::PumpFor;

class PlainBar : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication().Initialize();
    form = new fw::TForm(fw::Application);
    form->SetBounds(120, 120, 360, 200);
    bar = new fw::TStatusBar(form);
    bar->SetParent(form);
    bar->Panels().Add().SetWidth(150);
    bar->Panels().Add().SetWidth(50);
    form->Show();
    PumpFor(100);
  }
  void TearDown() override { delete form; }
  COLORREF At(int x, int y) const {
    const POINT p = bar->ClientToScreen(POINT{x, y});
    HDC dc = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(dc, p.x, p.y);
    ::ReleaseDC(nullptr, dc);
    return c;
  }
  // Dark (text) pixels in a column range of the bar's client.
  int Ink(int from, int to) const {
    int n = 0;
    for (int y = 2; y < bar->ClientHeight() - 2; ++y)
      for (int x = from; x < to; ++x) {
        const COLORREF c = At(x, y);
        n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
      }
    return n;
  }

  fw::TForm* form = nullptr;
  fw::TStatusBar* bar = nullptr;
};

TEST_F(PlainBar, APanelsTextStandsWhereItsAlignmentPutsIt) {
  struct Case {
    const char* what;
    fw::TAlignment alignment;
    bool left, middle, right;  // ink in the panel's thirds
  };
  const Case cases[] = {
      {"left", fw::taLeftJustify, true, false, false},
      {"centred", fw::taCenter, false, true, false},
      {"right", fw::taRightJustify, false, false, true},
  };
  for (const Case& c : cases) {
    bar->Panels()[0].SetAlignment(c.alignment);
    bar->Panels()[0].SetText("WWW");
    PumpFor(100);
    EXPECT_EQ(Ink(4, 50) > 0, c.left) << c.what;
    EXPECT_EQ(Ink(50, 100) > 0, c.middle) << c.what;
    EXPECT_EQ(Ink(100, 146) > 0, c.right) << c.what;
  }
}

TEST_F(PlainBar, ABorderWidthFramesTheClientInTheControlsColour) {
  constexpr COLORREF kColour = 0x2080E0;
  bar->SetColor(static_cast<fw::TColor>(kColour));
  bar->SetHeight(30);
  bar->SetBorderWidth(4);
  PumpFor(100);
  RECT client, window;
  ::GetClientRect(bar->Handle(), &client);
  ::GetWindowRect(bar->Handle(), &window);
  EXPECT_EQ(client.right, (window.right - window.left) - 8);
  EXPECT_EQ(client.bottom, (window.bottom - window.top) - 8);
  HDC dc = ::GetDC(nullptr);
  for (const POINT& p : {POINT{1, 1}, POINT{3, 15}, POINT{100, 29}, POINT{window.right - window.left - 2, 10}})
    EXPECT_EQ(::GetPixel(dc, window.left + p.x, window.top + p.y), kColour) << p.x << ", " << p.y;
  ::ReleaseDC(nullptr, dc);
  bar->SetBorderWidth(0);
  ::GetClientRect(bar->Handle(), &client);
  EXPECT_EQ(client.right, window.right - window.left);
}

}  // namespace
