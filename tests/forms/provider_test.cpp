// The skinned frame of a form with the project's skins: the main dialog's
// frame (dialog border, no icon, caption place, one close button, no sizing
// zones, outline cut from the masks), a frame left to the system, owners
// that are no form, a second provider, a provider made at run time, a
// minimised form, caption alignment and reading order, and the skin taken
// away while the form is up.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "forms/acFrameCaption.h"
#include "forms/acFrameIcon.h"
#include "forms/acFrameMenuHooks.h"
#include "forms/acFrameRegion.h"
#include "framework/Colors.h"
#include "framework/Handles.h"
#include "tests/forms/FrameFixture.h"
#include "tests/support/RealInput.h"

namespace translit {
namespace {

using namespace test;

bool IsInk(std::uint32_t c) {
  const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  return r + g + b < 3 * 110;
}

// The leftmost and rightmost columns of dark caption text in the cache's
// title band, left of the title buttons.
std::pair<int, int> InkColumns(TsSkinProvider& provider) {
  const TacFrameMetrics m = provider.Metrics();
  fw::TBitmap& cache = *provider.SkinData().CacheBmp;
  const int right = m.FrameWidth - provider.ButtonsAreaWidth() - m.FrameBorder;
  int first = -1, last = -1;
  for (int x = m.FrameBorder; x < right; ++x)
    for (int y = m.TopFrame; y < m.TitleBottom(); ++y)
      if (IsInk(Pixel(cache, x, y))) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

RECT CaptionAreaOf(TsSkinProvider& provider) {
  TsSkinManager& manager = *provider.SkinData().SkinManager();
  return CaptionTextArea(provider.Metrics(), 0, manager.GlobalInfo->BiLeft,
                         manager.IsValidSection(provider.CaptionSkinIndex), provider.ButtonsAreaWidth());
}

void ShowAndSettle(fw::TForm& form) {
  form.Show();
  ::SetForegroundWindow(form.Handle());
  PumpFor(150);
}

class Provider : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = &FrameManager();
    ASSERT_GE(manager->SectionIndex("FORM"), 0);
    testing_gui::MoveMouse(POINT{2, 2});
  }
  TsSkinManager* manager = nullptr;
};

TEST_F(Provider, TheMainDialogsFrameIsTheSkinsInTheSystemsSizes) {
  auto form = MakeDialog("Metrics of a dialog");
  auto* provider = new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  HWND window = form->Handle();
  ASSERT_TRUE(provider->SkinnedNow());
  const TacFrameMetrics m = provider->Metrics();
  EXPECT_EQ(m.FrameBorder, ::GetSystemMetrics(SM_CXDLGFRAME));
  EXPECT_EQ(m.Caption, ::GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(m.MenuBar, 0);
  EXPECT_EQ(m.FrameWidth, form->Width());
  EXPECT_FALSE(IconVisible(*provider));
  // The system draws no buttons: the frame owns them, and only the close
  // button has a place, from the small glyph set.
  EXPECT_TRUE(provider->HadSysMenuStyle);
  EXPECT_EQ(::GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU, 0);
  const int close = manager->MaskIndex(manager->ConstIndexes.GlobalInfoIndex, "GLOBALINFO", "SICONCLOSE");
  ASSERT_GE(close, 0);
  EXPECT_EQ(provider->CaptionButtons.Close.GlyphMask, close);
  EXPECT_EQ(provider->ButtonsAreaWidth(), manager->GlobalInfo->BiRight + manager->MaskStateWidth(close));
  const RECT closeRect = provider->CaptionButtons.Close.Bounds;
  EXPECT_EQ(closeRect.right - closeRect.left, manager->MaskStateWidth(close));
  EXPECT_EQ(closeRect.right, m.FrameWidth - manager->GlobalInfo->BiRight - m.FrameBorder);
  for (const TacCaptionButton* b :
       {&provider->CaptionButtons.Maximize, &provider->CaptionButtons.Minimize, &provider->CaptionButtons.Help})
    EXPECT_TRUE(::IsRectEmpty(&b->Bounds));
  // The hit test: the close place, and no sizing zone anywhere on the border.
  RECT wr{};
  ::GetWindowRect(window, &wr);
  auto hit = [&](int x, int y) { return ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y)); };
  EXPECT_EQ(hit((closeRect.left + closeRect.right) / 2, (closeRect.top + closeRect.bottom) / 2), HTCLOSE);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  for (POINT p : {POINT{1, h / 2}, POINT{w - 2, h / 2}, POINT{w / 2, h - 2}, POINT{w / 2, 1}, POINT{1, h - 2},
                  POINT{w - 2, h - 2}}) {
    const LRESULT code = hit(p.x, p.y);
    EXPECT_FALSE(code >= HTLEFT && code <= HTBOTTOMRIGHT) << p.x << "," << p.y << " gives " << code;
  }
  // The caption starts where the text area does: after the border, BiLeft,
  // 4 pixels and 2 more for the "CAPTION" plate.
  const RECT area = CaptionAreaOf(*provider);
  EXPECT_EQ(area.left, m.FrameBorder + manager->GlobalInfo->BiLeft + 4 + 2);
  const auto [first, last] = InkColumns(*provider);
  EXPECT_GE(first, area.left);
  EXPECT_LE(first, area.left + 3);
  // The outline: the masks' key corners cut away, nothing else.
  const int titleMask = manager->Sections[static_cast<std::size_t>(provider->TitleSkinIndex)].BorderIndex;
  const auto expected = CollectFrameRegionRects(*manager, provider->SkinData().BorderIndex, titleMask, w, h);
  ASSERT_FALSE(expected.empty()) << "BlueIce's frame has rounded corners";
  ASSERT_EQ(provider->RegionRects.size(), expected.size());
  fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(window, region.Get()), ERROR);
  for (const RECT& r : expected) EXPECT_FALSE(::PtInRegion(region.Get(), r.left, r.top)) << r.left << "," << r.top;
  EXPECT_TRUE(::PtInRegion(region.Get(), w / 2, h / 2));
  EXPECT_TRUE(::PtInRegion(region.Get(), w / 2, 0));
  EXPECT_TRUE(::PtInRegion(region.Get(), 0, h / 2));
}

TEST_F(Provider, CutCornersOfTheFrameMasksShapeTheWindowSquareOnesLeaveItWhole) {
  struct Case {
    const char* skin;
    bool cut;
  } cases[] = {{"Slate", true}, {"SlateSquare", false}, {"BlueIce", true}};
  for (const Case& c : cases) {
    TsSkinManager& skin = FrameManager(c.skin);
    ASSERT_GE(skin.SectionIndex("FORM"), 0) << c.skin;
    auto form = MakeDialog(c.skin);
    auto* provider = new TsSkinProvider(form.get());
    ShowAndSettle(*form);
    HWND window = form->Handle();
    fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
    const int kind = ::GetWindowRgn(window, region.Get());
    auto shot = ScreenOfWindow(window);
    fw::TBitmap& cache = *provider->SkinData().CacheBmp;
    const int w = form->Width(), h = form->Height();
    if (c.cut) {
      EXPECT_FALSE(provider->RegionRects.empty()) << c.skin;
      ASSERT_NE(kind, ERROR) << c.skin;
      for (POINT p : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
        EXPECT_FALSE(::PtInRegion(region.Get(), p.x, p.y)) << c.skin << " corner " << p.x << "," << p.y;
    } else {
      EXPECT_TRUE(provider->RegionRects.empty()) << c.skin;
      EXPECT_EQ(kind, ERROR) << c.skin << ": no region, the whole rectangle";
      // The frame's own corner pixels are on the screen.
      for (POINT p : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
        EXPECT_EQ(Pixel(*shot, p.x, p.y), Pixel(cache, p.x, p.y)) << c.skin << " corner " << p.x << "," << p.y;
    }
    EXPECT_TRUE(::PtInRegion(region.Get(), w / 2, h / 2) || kind == ERROR) << c.skin;
  }
}

TEST_F(Provider, TheMenuBarBandIsTheSkinsAndTheMenusDrawTheItemsIntoIt) {
  auto form = MakeDialog("A form with a menu bar");
  form->SetBorderStyle(fw::bsSizeable);
  form->HandleNeeded();
  HMENU bar = ::CreateMenu();
  ::AppendMenuA(bar, MF_STRING, 1, "&File");
  ::AppendMenuA(bar, MF_STRING, 2, "&Edit");
  ::SetMenu(form->Handle(), bar);  // the window owns it from here on
  int calls = 0;
  RECT seen{};
  constexpr std::uint32_t kMarker = 0x12AB34;
  FrameMenuHooks().PaintMenuBar = [&](fw::TCustomForm& f, fw::TBitmap& cache, const RECT& band) {
    EXPECT_EQ(&f, form.get());
    ++calls;
    seen = band;
    FillBitmapRect(&cache, RECT{band.left + 10, band.top + 2, band.left + 20, band.top + 8},
                   static_cast<fw::TColor>(0x34AB12));  // kMarker as the platform writes it
  };
  auto* provider = new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  FrameMenuHooks() = TacFrameMenuHooks{};
  const TacFrameMetrics m = provider->Metrics();
  EXPECT_EQ(m.MenuBar, ::GetSystemMetrics(SM_CYMENU) - 1);
  EXPECT_EQ(m.MenuLines, 1);
  EXPECT_GT(calls, 0);
  const RECT band{0, m.TitleBottom(), m.FrameWidth, m.TitleBottom() + m.MenuBar + 1};
  EXPECT_TRUE(::EqualRect(&seen, &band)) << seen.left << "," << seen.top << "," << seen.right << "," << seen.bottom;
  EXPECT_LE(band.bottom, m.Client.top) << "the band lies above the client area";
  ASSERT_NE(provider->MenuLineBitmap, nullptr);
  EXPECT_EQ(provider->MenuLineBitmap->Width(), band.right - band.left);
  EXPECT_EQ(provider->MenuLineBitmap->Height(), band.bottom - band.top);
  // On the screen: what the menus drew, on the band the frame drew.
  auto shot = ScreenOfWindow(form->Handle());
  EXPECT_EQ(Pixel(*shot, band.left + 15, band.top + 5), kMarker);
  fw::TBitmap& cache = *provider->SkinData().CacheBmp;
  int same = 0, pixels = 0;
  for (int x = m.FrameBorder + 30; x < m.FrameWidth - m.FrameBorder; ++x, ++pixels)
    same += Pixel(*shot, x, band.top + 5) == Pixel(cache, x, band.top + 5);
  EXPECT_EQ(same, pixels);
}

TEST_F(Provider, TheSkinsGripSitsInTheBottomRightCornerOfASizeableForm) {
  TsSkinManager& skin = FrameManager();
  const int grip = skin.MaskIndex(skin.ConstIndexes.GlobalInfoIndex, "GLOBALINFO", "GRIPIMAGE");
  ASSERT_GE(grip, 0);
  const int gw = skin.MaskStateWidth(grip), gh = skin.MaskStateHeight(grip);
  // The same sizeable form with and without the grip, and a dialog (no
  // sizing frame) that asks for it.
  auto cornerOf = [&](fw::TFormBorderStyle style, TsGripMode mode) {
    auto form = MakeDialog("Grip");
    form->SetBorderStyle(style);
    auto* provider = new TsSkinProvider(form.get());
    provider->SetGripMode(mode);
    ShowAndSettle(*form);
    const TacFrameMetrics m = provider->Metrics();
    fw::TBitmap& cache = *provider->SkinData().CacheBmp;
    std::vector<std::uint32_t> corner;
    for (int y = m.CacheHeight - gh - m.FrameBorder - 1; y < m.CacheHeight - m.FrameBorder - 1; ++y)
      for (int x = m.FrameWidth - gw - m.FrameBorder - 1; x < m.FrameWidth - m.FrameBorder - 1; ++x)
        corner.push_back(Pixel(cache, x, y));
    return corner;
  };
  EXPECT_NE(cornerOf(fw::bsSizeable, gmRightBottom), cornerOf(fw::bsSizeable, gmNone));
  EXPECT_EQ(cornerOf(fw::bsDialog, gmRightBottom), cornerOf(fw::bsDialog, gmNone));
}

TEST_F(Provider, TheOutlineIsSetAgainOnlyWhenItChanged) {
  auto form = MakeDialog("Outline kept");
  auto* provider = new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  HWND window = form->Handle();
  // Setting a window region changes the window's frame, which the system
  // measures again.
  int measured = 0;
  const TacWindowProc original = provider->SavedWindowProc;
  provider->SavedWindowProc = [&](fw::TMessage& m) {
    measured += m.Msg == WM_NCCALCSIZE;
    original(m);
  };
  provider->RegionDirty = true;
  provider->MarkFrameDirty();
  ::SendMessageA(window, WM_NCPAINT, 1, 0);
  EXPECT_EQ(measured, 0) << "the same outline set again";
  form->SetBounds(form->Left(), form->Top(), form->Width() + 40, form->Height());
  PumpFor(100);
  provider->SavedWindowProc = original;
  fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(window, region.Get()), ERROR);
  const int w = form->Width();
  EXPECT_FALSE(::PtInRegion(region.Get(), w - 1, 0)) << "the new right corner is cut";
  EXPECT_TRUE(::PtInRegion(region.Get(), w - 41, 0)) << "the old one is not";
  EXPECT_EQ(provider->RegionSize.cx, w);
}

TEST_F(Provider, ACloseButtonClickClosesTheDialog) {
  auto form = MakeDialog("Closed by its button");
  auto* provider = new TsSkinProvider(form.get());
  bool closed = false;
  form->OnClose = [&](fw::TComponent*, fw::TCloseAction&) { closed = true; };
  ShowAndSettle(*form);
  const RECT b = provider->CaptionButtons.Close.Bounds;
  RECT wr{};
  ::GetWindowRect(form->Handle(), &wr);
  testing_gui::MoveMouse(POINT{wr.left + (b.left + b.right) / 2, wr.top + (b.top + b.bottom) / 2});
  PumpFor(50);
  testing_gui::MouseButtons(MOUSEEVENTF_LEFTDOWN);
  PumpFor(50);
  testing_gui::MouseButtons(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return closed; }, 2000));
  testing_gui::MoveMouse(POINT{2, 2});
}

TEST_F(Provider, CaptionAlignmentAndReadingOrderPlaceTheText) {
  struct Case {
    const char* name;
    fw::TAlignment alignment;
    fw::TBiDiMode bidi;
    int where;  // -1 at the left end, 0 centred, 1 at the right end
  } cases[] = {
      {"left", fw::taLeftJustify, fw::bdLeftToRight, -1},
      {"right", fw::taRightJustify, fw::bdLeftToRight, 1},
      {"centre", fw::taCenter, fw::bdLeftToRight, 0},
      {"right-to-left, left", fw::taLeftJustify, fw::bdRightToLeft, 1},
  };
  for (const Case& c : cases) {
    auto form = MakeDialog("Short");
    form->SetBiDiMode(c.bidi);
    auto* provider = new TsSkinProvider(form.get());
    provider->SetCaptionAlignment(c.alignment);
    ShowAndSettle(*form);
    const RECT area = CaptionAreaOf(*provider);
    const auto [first, last] = InkColumns(*provider);
    ASSERT_GE(first, 0) << c.name;
    if (c.where < 0) {
      EXPECT_LE(first, area.left + 3) << c.name;
    } else if (c.where > 0) {
      EXPECT_GE(last, area.right - 4 - 4) << c.name;
      EXPECT_LE(last, area.right) << c.name;
    } else {
      EXPECT_NEAR((first + last) / 2, (area.left + area.right) / 2, 6) << c.name;
    }
  }
  // A caption wider than its room keeps its left end when centred.
  auto wide = MakeDialog(std::string(120, 'W'));
  auto* provider = new TsSkinProvider(wide.get());
  provider->SetCaptionAlignment(fw::taCenter);
  ShowAndSettle(*wide);
  EXPECT_LE(InkColumns(*provider).first, CaptionAreaOf(*provider).left + 3);
}

TEST_F(Provider, WithoutTheNonClientAreaTheSystemFrameStaysAndTheClientIsSkinned) {
  auto form = MakeDialog("System frame");
  auto* provider = new TsSkinProvider(form.get());
  provider->SetDrawNonClientArea(false);
  ShowAndSettle(*form);
  HWND window = form->Handle();
  EXPECT_NE(::GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU, 0);
  fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(::GetWindowRgn(window, region.Get()), ERROR) << "no outline of the skin's";
  ASSERT_NE(provider->SkinData().CacheBmp, nullptr);
  const TacFrameMetrics m = provider->Metrics();
  auto shot = ScreenOfWindow(window);
  // The client shows the cache's gradient; the title is the system's.
  for (int y : {m.Client.top + 5, (m.Client.top + m.Client.bottom) / 2, m.Client.bottom - 5})
    EXPECT_EQ(Pixel(*shot, m.Client.left + 5, y), Pixel(*provider->SkinData().CacheBmp, m.Client.left + 5, y)) << y;
  EXPECT_NE(Pixel(*provider->SkinData().CacheBmp, m.Client.left + 5, m.Client.top + 5),
            Pixel(*provider->SkinData().CacheBmp, m.Client.left + 5, m.Client.bottom - 5))
      << "a gradient, not one colour";
  const TitleOnScreen title = CompareTitle(*provider);
  EXPECT_GT(title.platform, title.pixels / 2);
}

TEST_F(Provider, TheFormsPaintHandlerDrawsIntoTheClientBackground) {
  // A red square at (20, 20) of the client: in the skinned client's picture
  // and on screen, and on screen for the same form without a skin.
  auto paintSquare = [](fw::TComponent* sender) {
    fw::TCanvas& canvas = static_cast<fw::TForm*>(sender)->Canvas();
    fw::UniqueBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
    const RECT square{20, 20, 40, 40};
    ::FillRect(canvas.Handle(), &square, red.Get());
  };
  auto form = MakeDialog("Paint handler");
  form->OnPaint = paintSquare;
  auto* provider = new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  const TacFrameMetrics m = provider->Metrics();
  const int x = m.Client.left + 30, y = m.Client.top + 30;
  ASSERT_NE(provider->SkinData().CacheBmp, nullptr);
  EXPECT_EQ(Pixel(*provider->SkinData().CacheBmp, x, y), 0xFF0000u) << "in the client's picture";
  EXPECT_EQ(Pixel(*ScreenOfWindow(form->Handle()), x, y), 0xFF0000u) << "on screen";
  EXPECT_NE(Pixel(*provider->SkinData().CacheBmp, x + 30, y + 30), 0xFF0000u) << "only the square";

  auto plain = MakeDialog("Paint handler, no skin", 520, 100);
  plain->OnPaint = paintSquare;
  ShowAndSettle(*plain);
  POINT at{30, 30};
  ::ClientToScreen(plain->Handle(), &at);
  RECT w{};
  ::GetWindowRect(plain->Handle(), &w);
  EXPECT_EQ(Pixel(*ScreenOfWindow(plain->Handle()), at.x - w.left, at.y - w.top), 0xFF0000u) << "without a skin";
}

TEST_F(Provider, OnlyFormsGetAProvider) {
  fw::TComponent module(nullptr);
  for (fw::TComponent* owner : {static_cast<fw::TComponent*>(nullptr), &module}) {
    try {
      TsSkinProvider provider(owner);
      ADD_FAILURE() << "made without a form";
    } catch (const fw::EAbort& e) {
      EXPECT_EQ(e.Message(), "TsSkinProvider component may be used with forms only!");
    }
  }
  EXPECT_EQ(module.ComponentCount(), 0);
}

TEST_F(Provider, ASecondProviderOfAFormIsInert) {
  auto form = MakeDialog("Two providers");
  auto* first = new TsSkinProvider(form.get());
  auto* second = new TsSkinProvider(form.get());
  EXPECT_FALSE(first->IsDuplicate);
  EXPECT_TRUE(second->IsDuplicate);
  ShowAndSettle(*form);
  EXPECT_EQ(ProviderOf(form.get()), first);
  delete second;
  EXPECT_EQ(ProviderOf(form.get()), first);
  EXPECT_TRUE(first->SkinnedNow());
  EXPECT_EQ(std::count(SkinnedForms().begin(), SkinnedForms().end(), form.get()), 1);
}

TEST_F(Provider, ARunTimeProviderWaitsForTheFirstNonClientMessage) {
  auto form = MakeDialog("Late provider");
  ShowAndSettle(*form);
  HWND window = form->Handle();
  TsSkinProvider* provider = TsSkinProvider::CreateAtRunTime(form.get());
  PumpFor(100);
  EXPECT_TRUE(provider->InitPending);
  EXPECT_FALSE(provider->FirstPaintDone);
  EXPECT_NE(::GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU, 0) << "nothing changed yet";
  const TitleOnScreen before = CompareTitle(*provider);
  EXPECT_GT(before.platform, before.pixels / 2) << "still the system's title";
  ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_FALSE(provider->InitPending);
  EXPECT_TRUE(provider->FirstPaintDone);
  EXPECT_EQ(::GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU, 0);
  PumpFor(50);
  const TitleOnScreen title = CompareTitle(*provider);
  EXPECT_GT(title.likeCache, title.pixels * 95 / 100);
}

TEST_F(Provider, AMinimisedFormThatIsNotTheMainOneIsItsTitleBar) {
  auto form = MakeDialog("Minimised");
  auto* provider = new TsSkinProvider(form.get());
  ShowAndSettle(*form);
  ASSERT_NE(fw::Application->MainForm(), form.get());
  ::ShowWindow(form->Handle(), SW_MINIMIZE);
  PumpFor(150);
  ASSERT_TRUE(::IsIconic(form->Handle()));
  ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const TacFrameMetrics m = provider->Metrics();
  EXPECT_TRUE(m.MinimisedNonMain);
  ASSERT_NE(provider->SkinData().CacheBmp, nullptr);
  RECT wr{};
  ::GetWindowRect(form->Handle(), &wr);
  EXPECT_EQ(provider->SkinData().CacheBmp->Width(), wr.right - wr.left);
  EXPECT_EQ(provider->SkinData().CacheBmp->Height(), m.TopFrame + m.Caption + 2);
  ::ShowWindow(form->Handle(), SW_RESTORE);
  PumpFor(150);
  EXPECT_EQ(provider->SkinData().CacheBmp->Height(), form->Height());
}

TEST_F(Provider, RemovingTheSkinWhileShownGivesTheSystemsLookBack) {
  struct Case {
    const char* name;
    bool useGlobalColor, customColor;
    fw::TColor after;
  } cases[] = {
      {"global colour", true, false, fw::clBtnFace},
      {"customised colour", true, true, fw::clMaroon},
      {"no global colour", false, false, fw::clMaroon},
  };
  for (const Case& c : cases) {
    FrameManager();
    auto form = MakeDialog(c.name);
    form->SetColor(fw::clMaroon);
    auto* provider = new TsSkinProvider(form.get());
    provider->SetUseGlobalColor(c.useGlobalColor);
    provider->SkinData().SetCustomColor(c.customColor);
    ShowAndSettle(*form);
    HWND window = form->Handle();
    ASSERT_TRUE(provider->SkinnedNow()) << c.name;
    if (c.useGlobalColor && !c.customColor) {
      EXPECT_EQ(form->Color(), static_cast<fw::TColor>(manager->GlobalColor() & 0xFFFFFF)) << c.name;
    }
    manager->SetActive(false);
    PumpFor(100);
    EXPECT_FALSE(provider->SkinnedNow()) << c.name;
    EXPECT_EQ(form->Color(), c.after) << c.name;
    EXPECT_NE(::GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU, 0) << c.name;
    fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(window, region.Get()), ERROR) << c.name;
    EXPECT_EQ(provider->SkinData().CacheBmp, nullptr) << c.name;
    // And back: a new skin skins the form again.
    FrameManager();
    PumpFor(100);
    EXPECT_TRUE(provider->SkinnedNow()) << c.name;
    EXPECT_EQ(::GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU, 0) << c.name;
  }
}

}  // namespace
}  // namespace translit
