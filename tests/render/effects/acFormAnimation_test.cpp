// Form animations on plain framework forms: the frames of a show (fading and
// aero), a dialog show, a hide and a re-skinning on both paths, seen through
// the frame recorder; SkinChangeFreeze held while they run; the pictures
// they start from; the cover window; the skin manager running the
// re-skinning of its skinned forms; no window or object left behind.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimProvider.h"
#include "render/effects/acAnimWindow.h"
#include "render/effects/acFormHide.h"
#include "render/effects/acFormShow.h"
#include "render/effects/acOutputWindow.h"
#include "render/effects/acPaintForm.h"
#include "render/effects/acSkinChange.h"
#include "skin/sLayeredSupport.h"
#include "tests/render/effects/EffectsFixture.h"
#include "tests/support/GuiCounts.h"

namespace translit {
namespace {

using test::FrameLog;
using test::PumpFor;
using test::PumpUntil;

constexpr fw::TColor kFormColour = 0x336699;
constexpr fw::TColor kPatchColour = 0x00CC44;

class TPatch : public fw::TCustomControl {
 public:
  using fw::TCustomControl::TCustomControl;
  const char* ClassName() const override { return "TPatch"; }
};

// A plain form that may say it has a skinning component.
class TAnimated : public fw::TForm {
 public:
  using fw::TForm::TForm;
  const char* ClassName() const override { return "TAnimated"; }
  bool answersProvider = false;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (answersProvider && IsSkinMessage(m) && ReadSkinMessage(m).Command == SKINCMD_GET_PROVIDER) {
      m.Result = 1;
      return;
    }
    fw::TForm::WndProc(m);
  }
};

std::uint32_t PixelAt(fw::TBitmap& b, int x, int y) { return ViewOf(&b).Row(y)[x] & 0xFFFFFF; }
std::uint32_t AsPixel(fw::TColor rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

class FormAnimation : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TAnimated(fw::Application);
    form->SetBounds(120, 100, 400, 240);
    form->SetColor(kFormColour);
    patch = new TPatch(form);
    patch->SetParent(form);
    patch->SetBounds(30, 20, 60, 40);
    patch->SetColor(kPatchColour);
    form->Show();
    PumpFor(80);
    users = testing_gui::UserObjectCount();
  }
  void TearDown() override {
    SetProviderLookup(nullptr);
    OverrideLayeredWindows(std::nullopt);
    SetRefreshNoticeWindow(nullptr);
    FreeHideAnimation();
    SkinnedForms().clear();
    delete form;
  }
  // Every frame of the log reported SkinChangeFreeze as set.
  void WatchFreeze(FrameLog& log) {
    log.onFrame = [this](const TacAnimFrame&) { frozenFrames += SkinChangeFreeze ? 1 : 0; };
  }
  void ExpectNoWindowLeft(const FrameLog& log) {
    for (const auto& f : log.frames) EXPECT_FALSE(::IsWindow(f.Window)) << "an animation window is left";
    EXPECT_EQ(testing_gui::UserObjectCount(), users);
  }

  test::EffectsSkin skin;
  TAnimated* form = nullptr;
  TPatch* patch = nullptr;
  int users = 0;
  int frozenFrames = 0;
};

TEST_F(FormAnimation, AFadingShowRisesInElevenFramesThenShowsTheForm) {
  FrameLog log;
  WatchFreeze(log);
  std::vector<RECT> windowRects;
  std::vector<HWND> behind;
  log.onFrame = [&](const TacAnimFrame& f) {
    frozenFrames += SkinChangeFreeze ? 1 : 0;
    RECT r;
    ::GetWindowRect(f.Window, &r);
    windowRects.push_back(r);
    behind.push_back(::GetWindow(f.Window, GW_HWNDNEXT));
  };
  AnimateFormShow(form, nullptr, 120, 255, atFading);
  EXPECT_EQ(log.Alphas(fkShowStart), (std::vector<int>{0}));
  EXPECT_EQ(log.Alphas(fkFrame), (std::vector<int>{26, 51, 76, 102, 128, 153, 178, 204, 230, 255, 255}));
  EXPECT_EQ(log.Alphas(fkFinal), (std::vector<int>{255}));
  for (const auto& f : log.Of(fkFrame)) {
    EXPECT_EQ(f.Animation, akFormShow);
    EXPECT_EQ(f.Rect.right, 400);
    EXPECT_EQ(f.Rect.bottom, 240);
    EXPECT_NE(f.Window, form->Handle());
  }
  // The animation window lay over the form, directly in front of it.
  const RECT bounds = WindowBounds(form->Handle());
  ASSERT_FALSE(windowRects.empty());
  EXPECT_TRUE(::EqualRect(&windowRects.back(), &bounds));
  EXPECT_EQ(behind[2], form->Handle());
  EXPECT_EQ(frozenFrames, static_cast<int>(log.frames.size()));
  EXPECT_FALSE(SkinChangeFreeze);
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
  ExpectNoWindowLeft(log);
}

TEST_F(FormAnimation, AnAeroShowGrowsThePictureFromAnEighthInside) {
  FrameLog log;
  AnimateFormShow(form, nullptr, 120, 255, atAero);
  const auto frames = log.Of(fkFrame);
  ASSERT_EQ(frames.size(), 11u);
  for (int k = 0; k <= 10; ++k) {
    const RECT& r = frames[static_cast<std::size_t>(k)].Rect;
    EXPECT_EQ(r.left, 50 - 5 * k) << k;
    EXPECT_EQ(r.top, 30 - 3 * k) << k;
    EXPECT_EQ(r.right, 350 + 5 * k) << k;
    EXPECT_EQ(r.bottom, 210 + 3 * k) << k;
  }
  ExpectNoWindowLeft(log);
}

TEST_F(FormAnimation, WithoutFramesOnlyTheFinalPictureIsShown) {
  for (int time : {0, 11}) {
    FrameLog log;
    AnimateFormShow(form, nullptr, time, 200, atAero);
    EXPECT_EQ(log.Alphas(fkShowStart), (std::vector<int>{200})) << time;
    EXPECT_TRUE(log.Of(fkFrame).empty()) << time;
    EXPECT_EQ(log.Alphas(fkFinal), (std::vector<int>{200})) << time;
    ExpectNoWindowLeft(log);
  }
}

TEST_F(FormAnimation, ADialogShowReachesItsBlendValueAtItsLastFrame) {
  FrameLog log;
  WatchFreeze(log);
  AnimateDialogShow(form->Handle(), nullptr, 120, 255, atFading);
  const std::vector<int> alphas = log.Alphas(fkFrame);
  ASSERT_EQ(alphas.size(), 11u);
  EXPECT_EQ(alphas.front(), 23);
  EXPECT_EQ(alphas.back(), 255);
  for (std::size_t i = 1; i < alphas.size(); ++i) EXPECT_GT(alphas[i], alphas[i - 1]);
  EXPECT_EQ(frozenFrames, static_cast<int>(log.frames.size()));
  EXPECT_FALSE(SkinChangeFreeze);
  ExpectNoWindowLeft(log);

  FrameLog half;
  AnimateDialogShow(form->Handle(), nullptr, 60, 200, atFading);
  EXPECT_EQ(half.Alphas(fkFrame).back(), 200);
}

// A window over the form and the form's picture, as a hide gets them.
std::unique_ptr<fw::TWinControl> CoverOf(fw::TCustomForm* form) {
  auto window = std::make_unique<TacAnimWindow>(nullptr);
  const RECT r = WindowBounds(form->Handle());
  window->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  window->HandleNeeded();
  return window;
}

TEST_F(FormAnimation, AHideFadesOutOnItsTimerAndFreesItsWindowOnTheNextTick) {
  FrameLog log;
  auto window = CoverOf(form);
  HWND wnd = window->Handle();
  AnimateFormHide(std::move(window), WindowPicture(form->Handle(), nullptr, true), 60, atFading, 255);
  EXPECT_EQ(log.Alphas(fkHideStart), (std::vector<int>{255}));
  EXPECT_EQ(log.Alphas(fkFrame), (std::vector<int>{204})) << "the first frame is drawn at once";
  EXPECT_TRUE(::GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(HideAnimationRunning());
  ASSERT_TRUE(PumpUntil([] { return !HideAnimationRunning(); }, 5000));
  EXPECT_EQ(log.Alphas(fkFrame), (std::vector<int>{204, 153, 102, 51, 0, 0}));
  EXPECT_FALSE(::IsWindow(wnd));
  ExpectNoWindowLeft(log);
}

TEST_F(FormAnimation, AnAeroHideShrinksFromTheFullPicture) {
  FrameLog log;
  AnimateFormHide(CoverOf(form), WindowPicture(form->Handle(), nullptr, true), 60, atAero, 255);
  ASSERT_TRUE(PumpUntil([] { return !HideAnimationRunning(); }, 5000));
  const auto frames = log.Of(fkFrame);
  ASSERT_EQ(frames.size(), 6u);
  for (int k = 0; k < 6; ++k) {
    const RECT& r = frames[static_cast<std::size_t>(k)].Rect;
    EXPECT_EQ(r.left, 10 * k) << k;
    EXPECT_EQ(r.top, 6 * k) << k;
    EXPECT_EQ(r.right, 400 - 10 * k) << k;
    EXPECT_EQ(r.bottom, 240 - 6 * k) << k;
  }
}

TEST_F(FormAnimation, AShortHideFreesAtOnceAndANewHideFreesTheOldWindow) {
  FrameLog log;
  auto window = CoverOf(form);
  HWND wnd = window->Handle();
  AnimateFormHide(std::move(window), WindowPicture(form->Handle(), nullptr, true), 11, atFading, 255);
  EXPECT_FALSE(::IsWindow(wnd));
  EXPECT_TRUE(log.frames.empty());
  EXPECT_FALSE(HideAnimationRunning());

  auto slow = CoverOf(form);
  HWND slowWnd = slow->Handle();
  AnimateFormHide(std::move(slow), WindowPicture(form->Handle(), nullptr, true), 6000, atFading, 255);
  ASSERT_TRUE(HideAnimationRunning());
  auto next = CoverOf(form);
  HWND nextWnd = next->Handle();
  AnimateFormHide(std::move(next), WindowPicture(form->Handle(), nullptr, true), 24, atFading, 255);
  EXPECT_FALSE(::IsWindow(slowWnd)) << "the earlier hide's window went first";
  ASSERT_TRUE(PumpUntil([] { return !HideAnimationRunning(); }, 5000));
  EXPECT_FALSE(::IsWindow(nextWnd));
}

TEST_F(FormAnimation, ADialogHideUsesTheManagersSettingsAndHoldsTheFreezeWhileItStarts) {
  skin.manager->AnimEffects().DialogHide.SetTime(60);
  FrameLog log;
  WatchFreeze(log);
  AnimateDialogHide(form->Handle(), nullptr);
  EXPECT_FALSE(SkinChangeFreeze) << "cleared once the timer runs";
  EXPECT_EQ(frozenFrames, 2) << "the window's first picture and first frame came while frozen";
  ASSERT_TRUE(PumpUntil([] { return !HideAnimationRunning(); }, 5000));
  EXPECT_EQ(log.Alphas(fkFrame), (std::vector<int>{204, 153, 102, 51, 0, 0}));
  ExpectNoWindowLeft(log);

  // A form without a skinning component has no frame cache to hide.
  FrameLog none;
  AnimateProviderHide(form, nullptr);
  EXPECT_TRUE(none.frames.empty());
}

TEST_F(FormAnimation, ReskinningOnALayeredWindowFadesTheNewLookIn) {
  FrameLog log;
  WatchFreeze(log);
  AnimateSkinChange(form, 100, 255, atFading);
  EXPECT_EQ(log.Alphas(fkShowStart), (std::vector<int>{0}));
  EXPECT_EQ(log.Alphas(fkFrame), (std::vector<int>{32, 64, 96, 128, 159, 191, 223, 255, 255}));
  EXPECT_EQ(frozenFrames, static_cast<int>(log.frames.size()));
  EXPECT_FALSE(SkinChangeFreeze);
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
  ExpectNoWindowLeft(log);
}

TEST_F(FormAnimation, ReskinningWithoutLayeredWindowsCrossFadesOnAStillCover) {
  OverrideLayeredWindows(false);
  TPatch* notices = new TPatch(form);
  notices->SetParent(form);
  notices->SetBounds(300, 150, 10, 10);
  int refreshes = 0;
  notices->WindowProc = [&, old = notices->WindowProc](fw::TMessage& m) {
    if (IsSkinMessage(m) && ReadSkinMessage(m).Command == SKINCMD_REFRESH) ++refreshes;
    old(m);
  };
  SetRefreshNoticeWindow(notices->Handle());
  users = testing_gui::UserObjectCount();

  FrameLog log;
  std::uint32_t patchOnCover = 0;
  RECT coverRect{};
  log.onFrame = [&](const TacAnimFrame& f) {
    frozenFrames += SkinChangeFreeze ? 1 : 0;
    ::GetWindowRect(f.Window, &coverRect);
    if (f.Level != -1) return;
    // The new picture on the cover shows the form's child where it is.
    const RECT client = ClientRectInWindow(form->Handle());
    fw::WindowDC dc(f.Window, true);
    patchOnCover = ::GetPixel(dc.Get(), client.left + 40, client.top + 30);
  };
  AnimateSkinChange(form, 100, 255, atFading);
  std::vector<int> levels;
  for (const auto& f : log.Of(fkCover)) levels.push_back(f.Level);
  EXPECT_EQ(levels, (std::vector<int>{255, 224, 193, 162, 131, 100, 69, 38, 7, -1}));
  const RECT bounds = WindowBounds(form->Handle());
  EXPECT_TRUE(::EqualRect(&coverRect, &bounds));
  EXPECT_EQ(patchOnCover, static_cast<COLORREF>(kPatchColour));
  EXPECT_EQ(refreshes, 10);
  EXPECT_EQ(frozenFrames, 10);
  EXPECT_FALSE(SkinChangeFreeze);
  EXPECT_FALSE(CoverInPlace());
  ExpectNoWindowLeft(log);
}

// Every form is prepared before the first is animated: each keeps a cover
// of its own, lying over it and showing its own old look.
TEST_F(FormAnimation, FormsReskinnedTogetherWithoutLayeredWindowsEachHaveTheirOwnCover) {
  OverrideLayeredWindows(false);
  constexpr fw::TColor kSecondColour = 0x9933CC;
  auto* second = new TAnimated(fw::Application);
  std::unique_ptr<TAnimated> secondOwner(second);
  second->SetBounds(600, 420, 220, 160);
  second->SetColor(kSecondColour);
  second->Show();
  PumpFor(80);

  PrepareSkinChange(form);
  PrepareSkinChange(second);
  EXPECT_TRUE(CoverInPlace(form));
  EXPECT_TRUE(CoverInPlace(second));

  struct Seen {
    RECT coverRect{};
    COLORREF oldLook = CLR_INVALID;
    int pictures = 0;
  };
  auto animate = [&](TAnimated* target) {
    Seen seen;
    FrameLog log;
    log.onFrame = [&](const TacAnimFrame& f) {
      if (f.Kind != fkCover) return;
      if (seen.pictures++ > 0) return;
      ::GetWindowRect(f.Window, &seen.coverRect);
      // The first picture is the old screen alone (level 255).
      const RECT client = ClientRectInWindow(target->Handle());
      fw::WindowDC dc(f.Window, true);
      seen.oldLook = ::GetPixel(dc.Get(), client.left + 5, client.top + 5);
    };
    AnimateSkinChange(target, 100, 255, atFading);
    return seen;
  };
  const Seen first = animate(form);
  const RECT firstBounds = WindowBounds(form->Handle());
  EXPECT_TRUE(::EqualRect(&first.coverRect, &firstBounds)) << "the first form's cover lies over another window";
  EXPECT_EQ(first.pictures, 10) << "nine mixed pictures and the new one";
  EXPECT_EQ(first.oldLook, static_cast<COLORREF>(kFormColour));
  EXPECT_FALSE(CoverInPlace(form));
  EXPECT_TRUE(CoverInPlace(second)) << "the second form keeps its cover until its own animation";

  const Seen other = animate(second);
  const RECT secondBounds = WindowBounds(second->Handle());
  EXPECT_TRUE(::EqualRect(&other.coverRect, &secondBounds));
  EXPECT_EQ(other.pictures, 10);
  EXPECT_EQ(other.oldLook, static_cast<COLORREF>(kSecondColour));
  EXPECT_FALSE(CoverInPlace());
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
  EXPECT_TRUE(::IsWindowVisible(second->Handle()));
}

TEST_F(FormAnimation, TheCoverIsAWindowThatPaintsNothingOverTheForm) {
  CoverWithSnapshot(form);
  ASSERT_TRUE(CoverInPlace());
  HWND cover = ::GetWindow(form->Handle(), GW_HWNDPREV);
  for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    char name[64] = {};
    ::GetClassNameA(w, name, sizeof(name));
    if (std::string(name) == "TOutputWindow") cover = w;
  }
  char caption[64] = {};
  ::GetWindowTextA(cover, caption, sizeof(caption));
  EXPECT_STREQ(caption, "acOutputWindow");
  EXPECT_TRUE(::IsWindowVisible(cover));
  // The system adds WS_CLIPSIBLINGS to every top-level window.
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(cover, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
            static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(::GetWindow(cover, GW_OWNER), fw::Application->Handle());
  auto* control = dynamic_cast<TOutputWindow*>(fw::TWinControl::FromHandle(cover));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->Tag(), kEngineWindowTag);
  RECT r;
  ::GetWindowRect(cover, &r);
  const RECT bounds = WindowBounds(form->Handle());
  EXPECT_TRUE(::EqualRect(&r, &bounds));
  EXPECT_EQ(::SendMessageA(cover, WM_ERASEBKGND, 0, 0), 1);
  FreeCover();
  EXPECT_FALSE(::IsWindow(cover));

  // A topmost form gets a topmost cover.
  ::SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOutputWindow topmost(nullptr, form->Handle());
  EXPECT_TRUE(::GetWindowLongA(topmost.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ::SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST_F(FormAnimation, PicturesHoldTheFormItsChildrenAndItsFrame) {
  auto client = NewBitmap32(form->ClientWidth(), form->ClientHeight());
  PaintFormTo(client.get(), form, 0, 0);
  EXPECT_EQ(PixelAt(*client, 5, 5), AsPixel(kFormColour));
  EXPECT_EQ(PixelAt(*client, 40, 30), AsPixel(kPatchColour));

  // The whole window: the client area at its place in the frame.
  auto whole = WindowPicture(form->Handle(), nullptr, true);
  const RECT inWindow = ClientRectInWindow(form->Handle());
  EXPECT_EQ(whole->Width(), 400);
  EXPECT_EQ(whole->Height(), 240);
  EXPECT_EQ(PixelAt(*whole, inWindow.left + 40, inWindow.top + 30), AsPixel(kPatchColour));
  EXPECT_EQ(ViewOf(whole.get()).Row(0)[0] >> 24, 255u) << "opaque";
  EXPECT_NE(PixelAt(*whole, 200, inWindow.top / 2), 0u) << "the frame is in the picture";

  // A control that is not shown yet looks like its parent's background.
  TPatch* hidden = new TPatch(form);
  hidden->SetParent(form);
  hidden->SetBounds(200, 100, 30, 30);
  hidden->SetVisible(false);
  auto picture = NewBitmap32(30, 30);
  PaintFormTo(picture.get(), hidden, 0, 0);
  EXPECT_EQ(PixelAt(*picture, 10, 10), AsPixel(kFormColour));
}

// A skinning component for the manager test: it draws the frame, and its
// frame cache is the window's picture.
class TFakeProvider : public TacAnimationProvider {
 public:
  explicit TFakeProvider(fw::TCustomForm* form) : FForm(form) {
    const RECT r = WindowBounds(form->Handle());
    FCache = NewBitmap32(r.right - r.left, r.bottom - r.top);
  }
  fw::TCustomForm* Form() override { return FForm; }
  fw::TBitmap* FrameCache() override { return FCache.get(); }
  void PaintFrameCache() override { ++paints; }
  POINT ClientOffset() override { return POINT{0, 0}; }
  bool DrawsFrame() override { return drawsFrame; }
  bool IsMDIChild() override { return false; }
  TacBorderWindowLink* BorderWindow() override { return border; }
  TacBorderWindowLink* NewBorderWindow() override {
    border = newBorder;
    return newBorder;
  }
  std::unique_ptr<fw::TBitmap> TakeCoverPicture() override { return std::move(cover); }
  void PrepareCoverPicture() override {}
  std::unique_ptr<fw::TWinControl> TakeCoverWindow() override { return nullptr; }
  bool HidePicturePrepared() override { return false; }
  HRGN WindowOutline() override { return nullptr; }
  void AfterAnimation() override {}
  bool drawsFrame = true;
  int paints = 0;
  TacBorderWindowLink* border = nullptr;
  TacBorderWindowLink* newBorder = nullptr;
  std::unique_ptr<fw::TBitmap> cover;

 private:
  fw::TCustomForm* FForm;
  std::unique_ptr<fw::TBitmap> FCache;
};

// An extended-border window reaching 10 pixels beyond the form each way.
class TFakeBorder : public TacBorderWindowLink {
 public:
  fw::TCustomForm* Form() override {
    if (!form) {
      form = std::make_unique<TacAnimWindow>(nullptr);
      form->HandleNeeded();
    }
    return form.get();
  }
  RECT Extents() override { return RECT{10, 10, 10, 10}; }
  std::unique_ptr<fw::TCustomForm> TakeForm() override {
    Form();
    return std::move(form);
  }
  void RestoreRegion() override { ++restored; }
  void Refresh() override { ++refreshed; }
  std::unique_ptr<fw::TCustomForm> form;
  int restored = 0, refreshed = 0;
};

TEST_F(FormAnimation, WithABorderWindowTheShowRunsOnItAndGivesItBackItsRegion) {
  TFakeProvider provider(form);
  TFakeBorder border;
  provider.border = &border;
  HWND borderWindow = border.Form()->Handle();
  FrameLog log;
  AnimateFormShow(form, &provider, 60, 255, atFading);
  ASSERT_EQ(log.Of(fkFrame).size(), 6u);
  for (const auto& f : log.frames) EXPECT_EQ(f.Window, borderWindow);
  RECT r;
  ::GetWindowRect(borderWindow, &r);
  const RECT bounds = WindowBounds(form->Handle());
  EXPECT_EQ(r.left, bounds.left - 10);
  EXPECT_EQ(r.top, bounds.top - 10);
  EXPECT_EQ(border.restored, 1);
  EXPECT_TRUE(::IsWindow(borderWindow)) << "the border window stays";
  EXPECT_EQ(provider.paints, 0) << "with a border window the frame cache is not repainted first";
}

TEST_F(FormAnimation, WithABorderWindowReskinningFadesTheOldWindowOutAsTheNewComesIn) {
  TFakeProvider provider(form);
  TFakeBorder oldBorder, newBorder;
  provider.border = &oldBorder;
  provider.newBorder = &newBorder;
  provider.cover = WindowPicture(form->Handle(), nullptr, true);
  form->answersProvider = true;
  SetProviderLookup(
      [&](HWND wnd, LRESULT) -> TacAnimationProvider* { return wnd == form->Handle() ? &provider : nullptr; });
  HWND oldWindow = oldBorder.Form()->Handle();
  FrameLog log;
  AnimateSkinChange(form, 100, 255, atFading);
  EXPECT_EQ(log.Alphas(fkFrame), (std::vector<int>{32, 64, 96, 128, 159, 191, 223, 255, 255}));
  // 3 x (255 - alpha of the new window), within 0..255.
  EXPECT_EQ(log.Alphas(fkOldFrame), (std::vector<int>{255, 255, 255, 255, 255, 192, 96, 0, 0}));
  for (const auto& f : log.Of(fkOldFrame)) EXPECT_EQ(f.Window, oldWindow);
  ASSERT_NE(newBorder.form, nullptr);
  for (const auto& f : log.Of(fkFrame)) EXPECT_EQ(f.Window, newBorder.form->Handle());
  EXPECT_FALSE(::IsWindow(oldWindow)) << "the old border window is freed";
  EXPECT_EQ(newBorder.refreshed, 1);
  EXPECT_EQ(provider.border, &newBorder);
}

TEST_F(FormAnimation, SkinnedWindowsPaintThemselvesIntoPicturesWithTheirPainterSet) {
  class TSkinnedChild : public fw::TCustomControl {
   public:
    using fw::TCustomControl::TCustomControl;
    const char* ClassName() const override { return "TSkinnedChild"; }
    std::vector<std::string> log;

   protected:
    void WndProc(fw::TMessage& m) override {
      if (IsSkinMessage(m)) {
        const TacSkinMessage s = ReadSkinMessage(m);
        if (s.Command == SKINCMD_IS_SKINNED) {
          m.Result = 1;
          return;
        }
        if (s.Command == SKINCMD_SET_PAINTER) {
          log.emplace_back(s.LParam ? "painter" : "no painter");
          m.Result = 1;
          return;
        }
      }
      if (m.Msg == WM_PRINT) {
        log.emplace_back("print");
        fw::UniqueBrush brush(::CreateSolidBrush(RGB(200, 10, 30)));
        RECT r{0, 0, Width(), Height()};
        ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
        return;
      }
      fw::TCustomControl::WndProc(m);
    }
  };
  auto* skinned = new TSkinnedChild(form);
  skinned->SetParent(form);
  skinned->SetBounds(150, 50, 50, 50);
  auto* inner = new TPatch(form);
  inner->SetParent(skinned);
  inner->SetBounds(10, 10, 20, 20);
  inner->SetColor(kPatchColour);
  PumpFor(30);
  auto picture = NewBitmap32(form->ClientWidth(), form->ClientHeight());
  PaintFormTo(picture.get(), form, 0, 0);
  EXPECT_EQ(skinned->log, (std::vector<std::string>{"painter", "print", "no painter"}));
  EXPECT_EQ(PixelAt(*picture, 152, 52), AsPixel(RGB(200, 10, 30)));
  EXPECT_EQ(PixelAt(*picture, 165, 65), AsPixel(kPatchColour)) << "its child window at its place inside it";
}

TEST_F(FormAnimation, TheSkinManagerReskinsItsSkinnedFormsWithTheirAnimation) {
  TFakeProvider provider(form);
  form->answersProvider = true;
  SetProviderLookup(
      [&](HWND wnd, LRESULT) -> TacAnimationProvider* { return wnd == form->Handle() ? &provider : nullptr; });
  SkinnedForms().push_back(form);

  FrameLog log;
  WatchFreeze(log);
  skin.manager->RefreshAll(true);
  EXPECT_EQ(log.Alphas(fkFrame), (std::vector<int>{32, 64, 96, 128, 159, 191, 223, 255, 255}))
      << "SkinChanging: 100 ms, fading";
  EXPECT_GE(provider.paints, 1) << "the frame cache was painted in the new skin";
  EXPECT_EQ(frozenFrames, static_cast<int>(log.frames.size()));
  EXPECT_FALSE(SkinChangeFreeze);
  EXPECT_TRUE(::IsWindowVisible(form->Handle())) << "the form draws again";

  // A reload animates too, and leaves the form drawing.
  FrameLog reload;
  skin.manager->SetSkinName("E");
  EXPECT_EQ(reload.Of(fkFrame).size(), 9u);
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));

  // A form whose frame the component does not draw changes at once.
  provider.drawsFrame = false;
  FrameLog plain;
  skin.manager->RefreshAll(true);
  EXPECT_EQ(plain.Alphas(fkShowStart), (std::vector<int>{255}));
  EXPECT_TRUE(plain.Of(fkFrame).empty());

  // With the animation switched off, or without animating, nothing plays.
  provider.drawsFrame = true;
  skin.manager->AnimEffects().SkinChanging.SetActive(false);
  FrameLog off;
  skin.manager->RefreshAll(true);
  skin.manager->AnimEffects().SkinChanging.SetActive(true);
  skin.manager->RefreshAll(false);
  EXPECT_TRUE(off.frames.empty());
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
  ExpectNoWindowLeft(log);
}

TEST_F(FormAnimation, FormsFrozenForASkinThatNeverComesDrawAgain) {
  TFakeProvider provider(form);
  form->answersProvider = true;
  SetProviderLookup(
      [&](HWND wnd, LRESULT) -> TacAnimationProvider* { return wnd == form->Handle() ? &provider : nullptr; });
  SkinnedForms().push_back(form);
  // With extended borders the forms are frozen before the skin is read; a
  // skin that is not there never reaches the animation that ends it.
  skin.manager->SetExtendedBorders(true);
  int frozenAtLoad = -1;
  skin.manager->SetOnBeforeChange([&](fw::TComponent*) { frozenAtLoad = -1; });
  skin.manager->SetOnAfterChange([&](fw::TComponent*) { frozenAtLoad = ::IsWindowVisible(form->Handle()) ? 0 : 1; });
  FrameLog log;
  skin.manager->SetSkinName("NoSuchSkin");
  EXPECT_FALSE(skin.manager->Active());
  EXPECT_EQ(frozenAtLoad, 0) << "the form draws again by the end of the change";
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
  EXPECT_FALSE(CoverInPlace());
  EXPECT_TRUE(log.Of(fkFrame).empty());
}

TEST_F(FormAnimation, ManyAnimationsLeaveNoGdiOrUserObjects) {
  auto cycle = [&](int i) {
    const TacAnimType mode = i % 2 ? atAero : atFading;
    AnimateFormShow(form, nullptr, 24, 255, mode);
    AnimateDialogShow(form->Handle(), nullptr, 24, 255, mode);
    AnimateSkinChange(form, 24, 255, mode);
    OverrideLayeredWindows(false);
    AnimateSkinChange(form, 24, 255, mode);
    OverrideLayeredWindows(std::nullopt);
    AnimateFormHide(CoverOf(form), WindowPicture(form->Handle(), nullptr, true), 24, mode, 255);
    ASSERT_TRUE(PumpUntil([] { return !HideAnimationRunning(); }, 5000));
  };
  cycle(0);
  PumpFor(50);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 1; i <= 12; ++i) cycle(i);
  PumpFor(50);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

}  // namespace
}  // namespace translit
