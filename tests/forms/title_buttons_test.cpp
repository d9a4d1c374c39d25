// The title buttons of a skinned form under a real mouse: which buttons
// each kind of form shows and with which images, where they lie, what a
// press and a release do (and do not do when the mouse is released
// elsewhere), the restore image of a maximised form, the top-aligned
// buttons of a skin that asks for them, user buttons (a disabled one is
// title, an enabled one raises its events and shows its hint inside the
// work area), the hot button's glow coming and going, and no GDI or USER
// object left behind by many hovers and presses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/acTitleButtonFade.h"
#include "forms/acTitleButtonStates.h"
#include "tests/forms/FrameFixture.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenPixels.h"

namespace translit {
namespace {

using namespace test;
using testing_gui::MouseButtons;
using testing_gui::MoveMouse;

const POINT kParked{2, 2};

std::unique_ptr<fw::TForm> MakeForm(fw::TFormBorderStyle style, fw::TBorderIcons icons, int left = 160, int top = 120) {
  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBorderStyle(style);
  form->SetBorderIcons(icons);
  form->SetBounds(left, top, 420, 300);
  form->SetCaption("Title buttons");
  return form;
}

// Shows the form with its provider, made here when it has none yet.
TsSkinProvider& ShowSkinned(fw::TForm& form, TsSkinProvider* provider = nullptr) {
  if (!provider) provider = new TsSkinProvider(&form);
  form.Show();
  ::SetForegroundWindow(form.Handle());
  PumpFor(150);
  return *provider;
}

std::string PropOf(TsSkinProvider& p, int mask) {
  TsSkinManager& manager = *p.SkinData().SkinManager();
  return manager.IsValidMask(mask) ? manager.Masks[static_cast<std::size_t>(mask)].Prop : std::string("(none)");
}

POINT ScreenCentre(TsSkinProvider& p, const TacCaptionButton& button) {
  RECT r{};
  ::GetWindowRect(p.OwnerForm->Handle(), &r);
  return POINT{r.left + (button.Bounds.left + button.Bounds.right) / 2,
               r.top + (button.Bounds.top + button.Bounds.bottom) / 2};
}

// A point of the title left of every button.
POINT TitlePoint(TsSkinProvider& p) {
  RECT r{};
  ::GetWindowRect(p.OwnerForm->Handle(), &r);
  return POINT{r.left + 60, r.top + p.Metrics().TopFrame + p.Metrics().Caption / 2};
}

void Hover(POINT at) {
  MoveMouse(at);
  PumpFor(60);
}

void Press(POINT at) {
  MoveMouse(at);
  PumpFor(30);
  MouseButtons(MOUSEEVENTF_LEFTDOWN);
  PumpFor(60);
}

void Release(POINT at) {
  MoveMouse(at);
  PumpFor(30);
  MouseButtons(MOUSEEVENTF_LEFTUP);
  PumpFor(100);
}

class TitleButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = &FrameManager("BlueIce");
    MoveMouse(kParked);
  }
  void TearDown() override {
    MoveMouse(kParked);
    PumpFor(30);
  }
  TsSkinManager* manager = nullptr;
};

TEST_F(TitleButtons, EachKindOfFormShowsItsButtonsWithItsImages) {
  struct Case {
    const char* name;
    fw::TFormBorderStyle style;
    fw::TBorderIcons icons;
    const char *close, *max, *min, *help;  // nullptr: not shown
  };
  const Case cases[] = {
      {"main dialog", fw::bsDialog, fw::biSystemMenu, "SICONCLOSE", nullptr, nullptr, nullptr},
      {"dialog with help", fw::bsDialog, fw::biSystemMenu | fw::biHelp, "SICONCLOSE", nullptr, nullptr, "SICONHELP"},
      {"tool window", fw::bsToolWindow, fw::biSystemMenu, "SICONCLOSE", nullptr, nullptr, nullptr},
      {"single without max and min", fw::bsSingle, fw::biSystemMenu, "BICLOSEALONE", nullptr, nullptr, nullptr},
      {"sizeable", fw::bsSizeable, fw::biSystemMenu | fw::biMinimize | fw::biMaximize, "BICONCLOSE", "BICONMAX",
       "BICONMIN", nullptr},
      {"sizeable, minimise only", fw::bsSizeable, fw::biSystemMenu | fw::biMinimize, "BICONCLOSE", nullptr, "BICONMIN",
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm(c.style, c.icons);
    TsSkinProvider& p = ShowSkinned(*form);
    TacCaptionButtons& b = p.CaptionButtons;
    auto expect = [&](const TacCaptionButton& button, const char* prop, const char* which) {
      if (!prop) {
        EXPECT_TRUE(::IsRectEmpty(&button.Bounds)) << which << " is shown";
        return;
      }
      ASSERT_FALSE(::IsRectEmpty(&button.Bounds)) << which << " is missing";
      EXPECT_EQ(PropOf(p, ShownGlyphMask(p, button)), prop) << which;
      EXPECT_EQ(button.Bounds.right - button.Bounds.left, CaptionButtonWidth(*manager, button)) << which;
    };
    expect(b.Close, c.close, "close");
    expect(b.Maximize, c.max, "maximise");
    expect(b.Minimize, c.min, "minimise");
    expect(b.Help, c.help, "help");
    EXPECT_EQ(b.Close.LargeGlyphs, LargeTitleStyle(*form));

    // Laid out from the right, BiSpace apart in large style, each button
    // centred in the title band; the reserved width covers them all.
    const TsSkinData& g = *manager->GlobalInfo;
    const TacFrameMetrics m = p.Metrics();
    const int spacing = LargeTitleStyle(*form) ? g.BiSpace : 0;
    EXPECT_EQ(b.Close.Bounds.right, m.FrameWidth - g.BiRight - m.FrameBorder);
    int right = b.Close.Bounds.left - spacing, covered = b.Close.Bounds.right - b.Close.Bounds.left;
    for (const TacCaptionButton* button : {&b.Maximize, &b.Minimize, &b.Help}) {
      if (::IsRectEmpty(&button->Bounds)) continue;
      EXPECT_EQ(button->Bounds.right, right);
      right = button->Bounds.left - spacing;
      covered += button->Bounds.right - button->Bounds.left + spacing;
    }
    const int h = b.Close.Bounds.bottom - b.Close.Bounds.top;
    int top = (m.TopFrame + m.Caption - h) / 2;
    if (LargeTitleStyle(*form) && h < 16) top += 2;
    EXPECT_EQ(b.Close.Bounds.top, top);
    EXPECT_EQ(p.ButtonsAreaWidth(), g.BiRight + covered);
  }
}

TEST_F(TitleButtons, TheMainDialogClosesOnlyWhenReleasedOverItsCloseButton) {
  auto form = MakeDialog("Close me");
  int closes = 0;
  form->OnClose = [&](fw::TComponent*, fw::TCloseAction&) { ++closes; };
  TsSkinProvider& p = ShowSkinned(*form);
  const POINT close = ScreenCentre(p, p.CaptionButtons.Close);
  RECT r{};
  ::GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(::SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)), HTCLOSE);

  // Pressed, then released over the title: nothing happens.
  Press(close);
  EXPECT_EQ(p.CaptionButtons.Close.State, 2);
  EXPECT_TRUE(TsSkinProvider::ButtonPressed);
  Release(TitlePoint(p));
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
  EXPECT_EQ(p.CaptionButtons.Close.State, 0);
  RECT now{};
  ::GetWindowRect(form->Handle(), &now);
  EXPECT_TRUE(::EqualRect(&r, &now)) << "the release moved the dialog";

  // Pressed, moved away and back, released over the button: the press
  // was lost on the way and nothing happens either.
  Press(close);
  Hover(TitlePoint(p));
  Release(close);
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));

  // Pressed and released over it: closed.
  Press(close);
  Release(close);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(::IsWindowVisible(form->Handle()));
  EXPECT_EQ(p.HotHitCode, 0) << "a hidden form keeps no hot button";
  EXPECT_FALSE(TsSkinProvider::ButtonPressed);
}

TEST_F(TitleButtons, AMaximisedFormShowsTheRestoreImageAndRestoresToItsPlace) {
  auto form = MakeForm(fw::bsSizeable, fw::biSystemMenu | fw::biMinimize | fw::biMaximize);
  TsSkinProvider& p = ShowSkinned(*form);
  RECT before{};
  ::GetWindowRect(form->Handle(), &before);
  Press(ScreenCentre(p, p.CaptionButtons.Maximize));
  Release(ScreenCentre(p, p.CaptionButtons.Maximize));
  PumpFor(150);
  ASSERT_TRUE(::IsZoomed(form->Handle()));
  EXPECT_EQ(PropOf(p, ShownGlyphMask(p, p.CaptionButtons.Maximize)), "BICONNORM");
  EXPECT_TRUE(EnabledRestore(p));
  EXPECT_FALSE(EnabledMax(p));

  Press(ScreenCentre(p, p.CaptionButtons.Maximize));
  Release(ScreenCentre(p, p.CaptionButtons.Maximize));
  PumpFor(150);
  EXPECT_FALSE(::IsZoomed(form->Handle()));
  RECT after{};
  ::GetWindowRect(form->Handle(), &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
  EXPECT_EQ(PropOf(p, ShownGlyphMask(p, p.CaptionButtons.Maximize)), "BICONMAX");

  // A minimised form's minimise button is the restore image too.
  ::ShowWindow(form->Handle(), SW_MINIMIZE);
  PumpFor(100);
  EXPECT_EQ(PropOf(p, ShownGlyphMask(p, p.CaptionButtons.Minimize)), "BICONNORM");
  ::ShowWindow(form->Handle(), SW_RESTORE);
  PumpFor(100);
}

TEST_F(TitleButtons, ASkinAskingForTopAlignedButtonsGetsThemAtTheTitlesTop) {
  TsSkinData& g = *manager->GlobalInfo;
  const std::int16_t saved = g.BiVAlign;
  g.BiVAlign = 1;
  auto sizeable = MakeForm(fw::bsSizeable, fw::biSystemMenu | fw::biMinimize | fw::biMaximize);
  auto dialog = MakeDialog("Small glyphs stay centred", 200, 460);
  TsSkinProvider& p = ShowSkinned(*sizeable);
  TsSkinProvider& d = ShowSkinned(*dialog);
  EXPECT_EQ(p.CaptionButtons.Close.Bounds.top, 0);
  EXPECT_EQ(p.CaptionButtons.Minimize.Bounds.top, 0);
  const TacFrameMetrics dm = d.Metrics();
  const int h = d.CaptionButtons.Close.Bounds.bottom - d.CaptionButtons.Close.Bounds.top;
  EXPECT_EQ(d.CaptionButtons.Close.Bounds.top, (dm.TopFrame + dm.Caption - h) / 2);
  ::ShowWindow(sizeable->Handle(), SW_MAXIMIZE);
  PumpFor(150);
  p.RepaintNonClient();
  EXPECT_EQ(p.CaptionButtons.Close.Bounds.top, 3);
  g.BiVAlign = saved;
}

TEST_F(TitleButtons, UserButtonsActOnTheirOwnPressAndReleaseAndADisabledOneIsTitle) {
  auto form = MakeForm(fw::bsSizeable, fw::biSystemMenu | fw::biMinimize | fw::biMaximize);
  auto* provider = new TsSkinProvider(form.get());
  TsTitleButton& on = provider->TitleButtons().Add();
  TsTitleButton& off = provider->TitleButtons().Add();
  fw::TBitmap glyph(12, 12, fw::pf24bit);
  on.SetGlyph(glyph);
  off.SetEnabled(false);
  std::vector<std::string> events;
  POINT downAt{}, upAt{};
  on.OnMouseDown = [&](TsTitleButton&, TMouseButton button, TShiftState, int x, int y) {
    events.push_back(button == mbLeft ? "down" : "other down");
    downAt = POINT{x, y};
  };
  on.OnMouseUp = [&](TsTitleButton&, TMouseButton, TShiftState, int x, int y) {
    events.push_back("up");
    upAt = POINT{x, y};
  };
  off.OnMouseDown =
      off.OnMouseUp = [&](TsTitleButton&, TMouseButton, TShiftState, int, int) { events.push_back("disabled"); };
  TsSkinProvider& p = ShowSkinned(*form, provider);
  const TacCaptionButton& onButton = on.CaptionButton();
  const TacCaptionButton& offButton = off.CaptionButton();
  ASSERT_FALSE(::IsRectEmpty(&onButton.Bounds));
  ASSERT_FALSE(::IsRectEmpty(&offButton.Bounds));
  EXPECT_LE(onButton.Bounds.right, p.CaptionButtons.Minimize.Bounds.left - 8) << "the gap before user buttons";
  EXPECT_EQ(onButton.GlyphMask, p.UserButtonMask);

  const POINT onAt = ScreenCentre(p, onButton), offAt = ScreenCentre(p, offButton);
  EXPECT_EQ(::SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(onAt.x, onAt.y)), kHitUserButton);
  EXPECT_EQ(::SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(offAt.x, offAt.y)), HTCAPTION);

  // A click there is a click on the title (pressed and released in one go:
  // the system's move loop starts at the press).
  testing_gui::ClickMouse(offAt);
  PumpFor(150);
  EXPECT_TRUE(events.empty()) << "a disabled button took the click";

  Press(onAt);
  Release(TitlePoint(p));
  ASSERT_EQ(events, std::vector<std::string>{"down"}) << "released elsewhere, no up";
  EXPECT_EQ(downAt.x, onAt.x);
  EXPECT_EQ(downAt.y, onAt.y);

  Press(onAt);
  Release(onAt);
  EXPECT_EQ(events, (std::vector<std::string>{"down", "down", "up"}));
  EXPECT_EQ(upAt.x, onAt.x);
  EXPECT_EQ(on.CaptionButton().State, 0);
}

TEST_F(TitleButtons, AStoredLayoutGivesTheProviderItsUserButtons) {
  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->LoadLayoutText(R"(object F: TForm
  object sSkinProvider1: TsSkinProvider
    TitleButtons = <
      item
        Hint = 'First'
        Name = 'Pin'
        UseSkinData = False
      end
      item
        Enabled = False
        Visible = False
      end>
  end
end)");
  auto* provider = dynamic_cast<TsSkinProvider*>(form->FindComponent("sSkinProvider1"));
  ASSERT_NE(provider, nullptr);
  TsTitleButtons& buttons = provider->TitleButtons();
  ASSERT_EQ(buttons.Count(), 2);
  EXPECT_EQ(buttons.Items(0).Hint(), "First");
  EXPECT_EQ(buttons.Items(0).Name(), "Pin");
  EXPECT_FALSE(buttons.Items(0).UseSkinData());
  EXPECT_TRUE(buttons.Items(0).Enabled());
  EXPECT_EQ(buttons.Items(1).Name(), "TsTitleButton");
  EXPECT_FALSE(buttons.Items(1).Enabled());
  EXPECT_FALSE(buttons.Items(1).Visible());
  EXPECT_EQ(buttons.Items(1).Index(), 1);
}

TEST_F(TitleButtons, AUserButtonsHintStaysInsideTheWorkArea) {
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  // The form at the work area's bottom right corner: a hint at the cursor
  // would hang out of it.
  auto form = MakeForm(fw::bsSizeable, fw::biSystemMenu, work.right - 420, work.bottom - 300);
  auto* provider = new TsSkinProvider(form.get());
  TsTitleButton& button = provider->TitleButtons().Add();
  button.SetHint("A hint long enough to reach past the right edge of the screen from there");
  TsSkinProvider& p = ShowSkinned(*form, provider);
  Hover(ScreenCentre(p, button.CaptionButton()));
  PumpFor(300);
  HWND hint = button.HintWindow();
  ASSERT_TRUE(hint);
  EXPECT_TRUE(::IsWindowVisible(hint));
  RECT r{};
  ::GetWindowRect(hint, &r);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom);
  EXPECT_GE(r.left, work.left);
  EXPECT_GT(r.right - r.left, 100);
  Hover(TitlePoint(p));
  EXPECT_FALSE(button.HintWindow()) << "the hint outlived the hot state";
}

// The glow colour of BlueIce's close button (a red) over its pale title.
bool Reddish(std::uint32_t c) {
  const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  return r > g + 30 && r > b + 30;
}

bool Dark(std::uint32_t c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 60; }

// Pixels on the screen in the band around a button, outside it, that the
// test says yes to.
int BandPixels(TsSkinProvider& p, const TacCaptionButton& button, int size, bool (*test)(std::uint32_t)) {
  RECT r{};
  ::GetWindowRect(p.OwnerForm->Handle(), &r);
  RECT outer = button.Bounds;
  ::OffsetRect(&outer, r.left, r.top);
  RECT inner = outer;
  ::InflateRect(&outer, size, size);
  const std::vector<std::uint32_t> pixels = testing_gui::ScreenPixels(outer);
  const int width = outer.right - outer.left;
  int count = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const POINT at{outer.left + static_cast<int>(i) % width, outer.top + static_cast<int>(i) / width};
    if (!::PtInRect(&inner, at)) count += test(pixels[i]);
  }
  return count;
}

int GlowPixels(TsSkinProvider& p, const TacCaptionButton& button, int size) {
  return BandPixels(p, button, size, Reddish);
}

TEST_F(TitleButtons, TheHotButtonGlowsUntilTheMouseLeavesOrTheFormCloses) {
  ASSERT_GT(manager->GlobalInfo->BiCloseGlow, 0);
  auto form = MakeDialog("Glowing close button");
  TsSkinProvider& p = ShowSkinned(*form);
  TacCaptionButton& close = p.CaptionButtons.Close;
  const int size = manager->GlobalInfo->BiCloseGlow;
  const int before = GlowPixels(p, close, size);

  Hover(ScreenCentre(p, close));
  PumpFor(250);
  EXPECT_EQ(p.HotHitCode, HTCLOSE);
  ASSERT_TRUE(close.Fade);
  HWND popup = close.Fade->Popup();
  ASSERT_TRUE(popup);
  EXPECT_TRUE(::IsWindowVisible(popup));
  RECT shown{};
  ::GetWindowRect(popup, &shown);
  EXPECT_EQ(shown.right - shown.left, close.Bounds.right - close.Bounds.left + 2 * size);
  const int glowing = GlowPixels(p, close, size);
  EXPECT_GT(glowing, before + 20) << "no glow around the hot button";
  // A display that composes no translucent windows shows their see-through
  // parts over black: the glow is a light red there, not a dark halo.
  EXPECT_EQ(BandPixels(p, close, size, Dark), 0) << "the glow shows as a dark halo";

  // The mouse leaves over the form's client area: the glow fades out.
  Hover(POINT{(shown.left + shown.right) / 2 - 150, shown.bottom + 100});
  PumpFor(300);
  EXPECT_EQ(p.HotHitCode, 0);
  EXPECT_FALSE(::IsWindowVisible(popup)) << "kept hidden for the next fade";
  EXPECT_LE(GlowPixels(p, close, size), before + 2);

  // Hot again, and the form closes by other means: the glow goes with it.
  Hover(ScreenCentre(p, close));
  PumpFor(250);
  ASSERT_TRUE(close.Fade && close.Fade->Popup());
  EXPECT_TRUE(::IsWindowVisible(close.Fade->Popup()));
  EXPECT_GT(GlowPixels(p, close, size), before + 20);
  popup = close.Fade->Popup();
  form->Close();
  PumpFor(100);
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_FALSE(close.Fade);
}

TEST_F(TitleButtons, ManyHoversAndPressesLeaveNoObjectsBehind) {
  auto form = MakeForm(fw::bsSizeable, fw::biSystemMenu | fw::biMinimize | fw::biMaximize | fw::biHelp);
  auto* provider = new TsSkinProvider(form.get());
  TsTitleButton& user = provider->TitleButtons().Add();
  user.SetHint("User button");
  TsSkinProvider& p = ShowSkinned(*form, provider);
  std::vector<POINT> buttons;
  for (const TacCaptionButton* b : {&p.CaptionButtons.Close, &p.CaptionButtons.Maximize, &p.CaptionButtons.Minimize,
                                    &p.CaptionButtons.Help, &user.CaptionButton()})
    buttons.push_back(ScreenCentre(p, *b));
  auto cycle = [&] {
    for (const POINT& at : buttons) {
      MoveMouse(at);
      PumpFor(40);
    }
    // A press released elsewhere acts on nothing.
    Press(buttons.back());
    Release(TitlePoint(p));
    MoveMouse(kParked);
    PumpFor(160);
  };
  for (int i = 0; i < 3; ++i) cycle();
  const int gdi = testing_gui::GdiObjectCount(), users = testing_gui::UserObjectCount();
  for (int i = 0; i < 25; ++i) cycle();
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), users);
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
}

}  // namespace
}  // namespace translit
