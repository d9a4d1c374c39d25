// The skinned status bar on the platform: panels framed by the skin's panel
// image or divided by its divider section, texts in the skin's colour, the
// grip image, the simple panel, owner-drawn panels, many texts set without
// message processing painted once, the picture rebuilt with every paint of
// a bar that touches its parent's right or bottom edge and reused by one
// inside, erasing with a picture still good, panel texts aligned as their
// panels say, a border around the client from the picture's edge, and the
// platform's own bar without a skin.
#include "controls/sStatusBar.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>

#include "tests/controls/ControlsFixture.h"

namespace translit {
namespace {

using test::kBarColor;
using test::kBarText;
using test::kDividerBand;
using test::kGrip;
using test::kPanelFrame;
using test::PicturePixel;
using test::PumpFor;
using test::PumpUntil;
using test::ScreenPixel;

class StatusBar : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MouseTo(POINT{4, 4});
    form = new fw::TForm(fw::Application);
    form->SetBounds(200, 150, 340, 220);
    bar = new TsStatusBar(form);
    bar->SetParent(form);
    bar->Panels().Add().SetWidth(60);
    bar->Panels().Add().SetWidth(50);
    bar->OnDrawPanel = [this](fw::TStatusBar*, fw::TStatusPanel&, const RECT& r) {
      ++drawnPanels;
      bar->Canvas().Brush().SetColor(0x00FF00);
      bar->Canvas().FillRect(r);
    };
    form->Show();
    ASSERT_TRUE(Settle());
  }
  void TearDown() override { delete form; }

  POINT OnScreen(int x, int y) const { return bar->ClientToScreen(POINT{x, y}); }
  std::uint32_t At(int x, int y) const { return ScreenPixel(OnScreen(x, y)); }
  bool Settle() {
    return PumpUntil([&] { return !bar->SkinData().BGChanged && At(bar->Width() / 2, 1) != 0; }, 3000);
  }
  // Pixels of a colour inside a rectangle of the bar, on screen.
  int CountOf(std::uint32_t colour, const RECT& r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
    return n;
  }

  test::ControlsSkin skin;
  fw::TForm* form = nullptr;
  TsStatusBar* bar = nullptr;
  int drawnPanels = 0;
};

TEST_F(StatusBar, PanelsAreFramedByTheSkinsPanelImage) {
  const int h = bar->Height(), mid = h / 2;
  // Panel 0 spans 0..60 and is framed inside (1, 1)-(59, h - 1); the frame
  // is two pixels wide.
  for (int x : {1, 2, 57, 58}) EXPECT_EQ(At(x, mid), kPanelFrame) << "panel 0 at x " << x;
  EXPECT_EQ(At(30, 1), kPanelFrame);
  EXPECT_EQ(At(30, h - 2), kPanelFrame);
  for (int x : {0, 59, 60}) EXPECT_EQ(At(x, mid), kBarColor) << "between the frames at x " << x;
  // The last panel reaches the grip.
  const int lastRight = bar->Width() - 18 - 1;
  EXPECT_EQ(At(61, mid), kPanelFrame);
  EXPECT_EQ(At(lastRight - 1, mid), kPanelFrame);
  EXPECT_EQ(At(lastRight + 1, 2), kBarColor);
}

TEST_F(StatusBar, WithoutAPanelImageTheDividerSeparatesPanels) {
  skin.manager->SetSkinName("D");
  const int mid = bar->Height() / 2;
  ASSERT_TRUE(PumpUntil([&] { return At(57, mid) == kDividerBand; }, 3000)) << "the new skin is painted";
  // A 6-pixel divider centred one pixel left of panel 0's frame edge (59).
  EXPECT_EQ(At(54, mid), kBarColor);
  for (int x = 55; x <= 60; ++x) EXPECT_EQ(At(x, mid), kDividerBand) << "x " << x;
  EXPECT_EQ(At(61, mid), kBarColor);
  EXPECT_EQ(At(57, 0), kBarColor) << "one pixel below the top";
  EXPECT_EQ(At(57, 1), kDividerBand);
  EXPECT_EQ(At(1, mid), kBarColor) << "no panel frames";
  // None after the last panel.
  EXPECT_EQ(CountOf(kDividerBand, RECT{100, 0, bar->Width(), bar->Height()}), 0);
}

TEST_F(StatusBar, TextsAreWrittenInTheSkinsFontColour) {
  bar->Panels()[0].SetText("WWWW");
  ASSERT_TRUE(PumpUntil([&] { return CountOf(kBarText, RECT{0, 0, 60, bar->Height()}) > 10; }, 3000));
  EXPECT_EQ(CountOf(0x000000, RECT{0, 0, 60, bar->Height()}), 0) << "not in the bar's own font colour";
}

TEST_F(StatusBar, TheGripImageSitsInTheBottomRightCorner) {
  const int w = bar->Width(), h = bar->Height();
  EXPECT_EQ(At(w - 1, h - 1), kGrip);
  EXPECT_EQ(At(w - 4, h - 4), kGrip);
  EXPECT_EQ(At(w - 8, h - 8), kBarColor) << "the image's key shows the bar";
  bar->SetSizeGrip(false);
  ASSERT_TRUE(PumpUntil([&] { return At(w - 1, h - 1) == kBarColor; }, 3000));
  EXPECT_EQ(CountOf(kGrip, RECT{w - 10, 0, w, h}), 0);
}

TEST_F(StatusBar, TheSimplePanelIsFramedWholeWithItsTextOnTheLeft) {
  bar->SetSimplePanel(true);
  bar->SetSimpleText("WW");
  ASSERT_TRUE(PumpUntil([&] { return CountOf(kBarText, RECT{0, 0, 40, bar->Height()}) > 5; }, 3000));
  const int mid = bar->Height() / 2;
  EXPECT_EQ(At(0, mid), kPanelFrame) << "the frame covers the whole bar";
  EXPECT_EQ(At(bar->Width() - 1, 2), kPanelFrame);
  EXPECT_EQ(CountOf(kBarText, RECT{60, 0, bar->Width(), bar->Height()}), 0) << "the text is on the left";
}

TEST_F(StatusBar, AnOwnerDrawnPanelIsDrawnByItsHandlerIntoThePicture) {
  bar->Panels()[0].SetText("WWWW");
  bar->Panels()[0].SetStyle(fw::psOwnerDraw);
  ASSERT_TRUE(PumpUntil([&] { return drawnPanels > 0 && At(30, bar->Height() / 2) == 0x00FF00; }, 3000));
  EXPECT_EQ(CountOf(kBarText, RECT{0, 0, 60, bar->Height()}), 0) << "the bar does not write the panel's text";
  EXPECT_EQ(PicturePixel(bar->SkinData().CacheBmp.get(), 30, bar->Height() / 2), 0x00FF00u);
}

TEST_F(StatusBar, ManyTextsSetWithoutMessageProcessingArePaintedOnce) {
  int paints = 0;
  bar->WindowProc = [&, old = bar->WindowProc](fw::TMessage& m) {
    paints += m.Msg == WM_PAINT;
    old(m);
  };
  bar->Panels()[1].SetStyle(fw::psOwnerDraw);  // counts the picture's repaints
  for (bool skinned : {true, false}) {
    SCOPED_TRACE(skinned ? "skinned" : "without a skin");
    skin.manager->SetActive(skinned);
    PumpFor(200);
    paints = drawnPanels = 0;
    for (int i = 0; i < 500; ++i) bar->Panels()[0].SetText("file " + std::to_string(i) + (skinned ? ".mp3" : ".ogg"));
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(drawnPanels, 0);
    RECT pending{};
    EXPECT_TRUE(::GetUpdateRect(bar->Handle(), &pending, FALSE)) << "the bar waits for its paint";
    // Other programs read the last text with the platform's messages.
    char text[64] = {};
    const LRESULT answer = ::SendMessageA(bar->Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, skinned ? "file 499.mp3" : "file 499.ogg");
    EXPECT_EQ(LOWORD(answer), 12);
    PumpFor(200);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(drawnPanels, 1);
  }
}

TEST_F(StatusBar, ABarDockedAtTheBottomRebuildsItsPictureWithEveryPaintAndOneInsideReusesIt) {
  bar->Panels()[1].SetStyle(fw::psOwnerDraw);  // counts the picture's repaints
  const RECT client = form->ClientRect();
  struct Placement {
    const char* what;
    RECT bounds;  // none: docked at the bottom
    bool rebuilt;
  };
  const Placement placements[] = {
      {"docked at the bottom, touching the right and bottom edges", RECT{}, true},
      {"inside, touching neither", RECT{4, 20, client.right - 10, 39}, false},
      {"inside but for its right edge", RECT{4, 20, client.right, 39}, true},
  };
  for (const Placement& p : placements) {
    SCOPED_TRACE(p.what);
    if (p.bounds.right > 0) {
      bar->SetAlign(fw::alNone);
      bar->SetBounds(p.bounds.left, p.bounds.top, p.bounds.right - p.bounds.left, p.bounds.bottom - p.bounds.top);
    }
    ASSERT_TRUE(PumpUntil([&] { return drawnPanels > 0; }, 3000));
    // Two paints settle what moving the bar left to repaint.
    for (int i = 0; i < 2; ++i)
      ::RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(50);
    drawnPanels = 0;
    ::RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(drawnPanels, p.rebuilt ? 1 : 0);
    EXPECT_EQ(bar->SkinData().PartlyOutside, p.rebuilt);
    EXPECT_EQ(At(1, bar->Height() / 2), kPanelFrame);
    // A new text rebuilds it everywhere.
    drawnPanels = 0;
    bar->Panels()[0].SetText(std::string("x") + p.what);
    PumpFor(100);
    EXPECT_EQ(drawnPanels, 1);
  }
}

TEST_F(StatusBar, ErasingCopiesAPictureStillGoodAndPrintingGivesIt) {
  PumpFor(50);
  const int w = bar->Width(), h = bar->Height();
  auto probe = NewBitmap32(w, h);
  auto erase = [&] {
    FillBitmapRect(probe.get(), RECT{0, 0, w, h}, 0x0000FF);
    ::SendMessageA(bar->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(probe->Canvas().Handle()), 0);
  };
  ASSERT_FALSE(bar->SkinData().BGChanged);
  erase();
  EXPECT_EQ(PicturePixel(probe.get(), 1, h / 2), kPanelFrame) << "the picture is the background";
  bar->SkinData().BGChanged = true;
  erase();
  EXPECT_EQ(PicturePixel(probe.get(), 1, h / 2), 0xFF0000u) << "a stale picture is not";
  FillBitmapRect(probe.get(), RECT{0, 0, w, h}, 0x0000FF);
  ::SendMessageA(bar->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(probe->Canvas().Handle()), PRF_CLIENT);
  EXPECT_EQ(PicturePixel(probe.get(), 1, h / 2), kPanelFrame) << "printing gives the picture";
}

// A box shown while a skin is read lets paints through while the skin's
// tables are half-built: the bar neither rebuilds its picture nor paints.
TEST_F(StatusBar, WhileASkinIsReadItsPaintsStandStill) {
  bar->Panels()[1].SetStyle(fw::psOwnerDraw);  // counts the picture's rebuilds
  ASSERT_TRUE(PumpUntil([&] { return drawnPanels > 0; }, 3000));
  PumpFor(50);
  test::WriteNewerSkin(skin.tmp.Path());
  const auto saved = TsSkinManager::ShowPlainMessage;
  int boxes = 0, rebuiltDuringBox = -1;
  TsSkinManager::ShowPlainMessage = [&](const std::string&) {
    ++boxes;
    drawnPanels = 0;
    bar->SkinData().BGChanged = true;
    ::RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto probe = NewBitmap32(bar->Width(), bar->Height());
    ::SendMessageA(bar->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(probe->Canvas().Handle()), PRF_CLIENT);
    rebuiltDuringBox = drawnPanels;
  };
  skin.manager->SetSkinName("NEWER");
  TsSkinManager::ShowPlainMessage = saved;
  ASSERT_EQ(boxes, 1);
  EXPECT_EQ(rebuiltDuringBox, 0) << "the picture was rebuilt from half-built tables";
  EXPECT_EQ(At(1, bar->Height() / 2), kPanelFrame);
}

TEST_F(StatusBar, PanelTextsStandAsTheirPanelsAlignThem) {
  bar->Panels()[0].SetWidth(150);
  PumpFor(50);
  struct Case {
    const char* what;
    fw::TAlignment alignment;
    fw::TBiDiMode mode;
    int leftInk, rightInk;  // text pixels in panel 0's left and right thirds
  };
  const Case cases[] = {
      {"left", fw::taLeftJustify, fw::bdLeftToRight, 1, 0},
      {"right", fw::taRightJustify, fw::bdLeftToRight, 0, 1},
      {"centred", fw::taCenter, fw::bdLeftToRight, 0, 0},
      {"left, read from right to left", fw::taLeftJustify, fw::bdRightToLeftReadingOnly, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bar->Panels()[0].SetAlignment(c.alignment);
    bar->SetBiDiMode(c.mode);
    bar->Panels()[0].SetText(std::string("WW ") + c.what);
    bar->Panels()[0].SetText("WW");
    ASSERT_TRUE(PumpUntil([&] { return !bar->SkinData().BGChanged; }, 3000));
    PumpFor(50);
    const int h = bar->Height();
    const int left = CountOf(kBarText, RECT{0, 0, 50, h}), middle = CountOf(kBarText, RECT{50, 0, 100, h}),
              right = CountOf(kBarText, RECT{100, 0, 150, h});
    EXPECT_EQ(left > 0, c.leftInk > 0) << left;
    EXPECT_EQ(right > 0, c.rightInk > 0) << right;
    EXPECT_EQ(middle > 0, !c.leftInk && !c.rightInk) << middle;
  }
}

TEST_F(StatusBar, ABorderShowsTheEdgeOfThePictureAroundTheClient) {
  constexpr int kBorder = 3;
  bar->SetBorderWidth(kBorder);
  bar->SetHeight(30);
  ASSERT_TRUE(Settle());
  ::RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(100);
  RECT client;
  ::GetClientRect(bar->Handle(), &client);
  EXPECT_EQ(client.right, bar->Width() - 2 * kBorder);
  EXPECT_EQ(client.bottom, bar->Height() - 2 * kBorder);
  fw::TBitmap* cache = bar->SkinData().CacheBmp.get();
  ASSERT_EQ(cache->Width(), bar->Width());
  RECT window;
  ::GetWindowRect(bar->Handle(), &window);
  // On screen at a window point: the picture's pixel of that point, in
  // the border and in the client alike.
  auto onScreen = [&](int x, int y) { return ScreenPixel(POINT{window.left + x, window.top + y}); };
  const int w = bar->Width(), h = bar->Height();
  const POINT points[] = {
      {1, h / 2},           {2, 1},        {30, 0},        {30, h - 1},   {w - 30, 1}, {kBorder, h / 2},
      {kBorder + 1, h / 2}, {30, kBorder}, {w - 1, h - 1}, {w - 8, h - 8}};
  for (const POINT& p : points)
    EXPECT_EQ(onScreen(p.x, p.y), PicturePixel(cache, p.x, p.y)) << "at " << p.x << ", " << p.y;
  EXPECT_EQ(PicturePixel(cache, w - 1 - kBorder, h - 1 - kBorder), kGrip) << "the grip inside the border";
  EXPECT_EQ(PicturePixel(cache, w - 1, h - 1), kBarColor);

  // Printed: border and client each in their place.
  auto probe = NewBitmap32(w, h);
  FillBitmapRect(probe.get(), RECT{0, 0, w, h}, 0x0000FF);
  ::SendMessageA(bar->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(probe->Canvas().Handle()),
                 PRF_NONCLIENT | PRF_CLIENT);
  for (const POINT& p : points)
    EXPECT_EQ(PicturePixel(probe.get(), p.x, p.y), PicturePixel(cache, p.x, p.y))
        << "printed at " << p.x << ", " << p.y;
}

TEST_F(StatusBar, WithoutASkinItIsThePlatformsStatusBar) {
  skin.manager->SetActive(false);
  auto* plain = new fw::TStatusBar(form);
  plain->SetParent(form);
  plain->SetAlign(fw::alNone);
  bar->SetAlign(fw::alNone);
  plain->SetBounds(0, 20, 300, 19);
  bar->SetBounds(0, 60, 300, 19);
  plain->Panels().Add().SetWidth(60);
  plain->Panels().Add().SetWidth(50);
  for (fw::TStatusBar* b : {static_cast<fw::TStatusBar*>(bar), plain}) b->Panels()[0].SetText("Track.mp3");
  PumpFor(200);
  int differing = 0;
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 300; ++x)
      differing += ScreenPixel(bar->ClientToScreen(POINT{x, y})) != ScreenPixel(plain->ClientToScreen(POINT{x, y}));
  EXPECT_EQ(differing, 0);
  // The skin back: the skinned look returns.
  skin.manager->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return At(1, 9) == kPanelFrame; }, 3000));
}

}  // namespace
}  // namespace translit
