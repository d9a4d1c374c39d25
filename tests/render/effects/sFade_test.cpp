// Control fades on the platform: the weights of the mixed frames, fast
// fades, the copy to the screen when the control does not draw a frame
// itself, the reasons for repainting at once instead, the events a button
// may fade on, the process-wide stop, and no GDI or USER objects left
// behind.
#include "render/effects/sFade.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "tests/render/effects/EffectsFixture.h"
#include "tests/support/GuiCounts.h"

namespace translit {
namespace {

using test::PumpFor;
using test::PumpUntil;

// Colours as RGB; in the cache they are pixels blue, green, red, alpha.
constexpr fw::TColor kBefore = 0x0000FF;   // red
constexpr fw::TColor kAfter = 0xFF0000;    // blue
constexpr fw::TColor kPainted = 0x00FF00;  // what the control's own painting shows

// A skinned control that fades the way the skinned button does: the cache
// holds its look, PREPARE_CACHE paints the new look into it, and
// STOP_ANIMATION ends the fade.
class TFading : public fw::TWinControl {
 public:
  explicit TFading(fw::TComponent* owner, int left = 10) : fw::TWinControl(owner), data(this, true, kKindButton) {
    SetBounds(left, 10, 40, 20);
  }
  const char* ClassName() const override { return "TFading"; }

  // The cache shows colour and is up to date.
  void Show(fw::TColor colour) {
    data.SizeCache();
    FillBitmapRect(data.CacheBmp.get(), RECT{0, 0, Width(), Height()}, colour);
    data.BGChanged = false;
  }
  void Fade(bool fast = false, bool allowed = true) { StartControlFade(fade, data, fast, allowed); }

  TsCtrlSkinData data;
  std::unique_ptr<TsFadeTimer> fade;
  bool takesFade = true;
  int prepares = 0, stops = 0, paints = 0;
  std::vector<std::uint32_t> frames;  // pixel (5, 5) of each offered frame
  COLORREF screenAtStop = CLR_INVALID;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (IsSkinMessage(m)) {
      switch (ReadSkinMessage(m).Command) {
        case SKINCMD_PREPARE_CACHE:
          ++prepares;
          Show(kAfter);
          return;
        case SKINCMD_DRAW_FADE: {
          auto* picture = reinterpret_cast<fw::TBitmap*>(m.LParam);
          frames.push_back(ViewOf(picture).Row(5)[5]);
          m.Result = takesFade ? 1 : 0;
          return;
        }
        case SKINCMD_STOP_ANIMATION: {
          ++stops;
          fw::WindowDC dc(Handle());
          screenAtStop = ::GetPixel(dc.Get(), 5, 5);
          StopControlFade(fade, data);
          return;
        }
        default:
          break;
      }
    }
    if (m.Msg == WM_ERASEBKGND) {
      m.Result = 1;
      return;
    }
    if (m.Msg == WM_PAINT) {
      ++paints;
      fw::PaintScope ps(Handle());
      FillSolid(ps.DC(), RECT{0, 0, Width(), Height()}, kPainted);
      return;
    }
    if (data.CommonMessage(m)) return;
    fw::TWinControl::WndProc(m);
  }

 private:
  static void FillSolid(HDC dc, const RECT& r, fw::TColor c) {
    fw::UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(c)));
    ::FillRect(dc, &r, brush.Get());
  }
};

// The mix of a red before-picture (weight w) with a blue cache.
std::uint32_t RedOf(std::uint32_t pixel) { return (pixel >> 16) & 0xFF; }
std::uint32_t BlueOf(std::uint32_t pixel) { return pixel & 0xFF; }
std::uint32_t Mixed(std::uint32_t before, std::uint32_t after, int weight) {
  return (before * weight + after * (255 - weight) + 127) >> 8;
}

class Fade : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new fw::TForm(fw::Application);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
  }
  void TearDown() override {
    ResumeAnimations();
    SetRefreshNoticeWindow(nullptr);
    delete form;
  }
  TFading* Add(const std::string& section, int left = 10) {
    auto* c = new TFading(form, left);
    c->SetParent(form);
    c->data.SetSkinSection(section);
    c->HandleNeeded();
    c->Show(kBefore);
    return c;
  }
  void CheckWeights(const TFading& c, const std::vector<int>& weights) {
    ASSERT_EQ(c.frames.size(), weights.size());
    for (std::size_t i = 0; i < weights.size(); ++i) {
      EXPECT_EQ(RedOf(c.frames[i]), Mixed(255, 0, weights[i])) << "frame " << i;
      EXPECT_EQ(BlueOf(c.frames[i]), Mixed(0, 255, weights[i])) << "frame " << i;
    }
  }

  test::EffectsSkin skin;
  fw::TForm* form = nullptr;
};

TEST_F(Fade, FramesMixTheOldPictureWithFallingWeightsThenTheControlStopsIt) {
  TFading* c = Add("BUTTON");
  c->Fade();
  EXPECT_EQ(c->prepares, 1) << "the control painted its new look before the first frame";
  ASSERT_NE(c->fade, nullptr);
  EXPECT_EQ(c->fade->Interval(), 10u);
  EXPECT_EQ(LiveFadeCount(), 1);
  ASSERT_TRUE(PumpUntil([&] { return c->stops > 0; }, 5000));
  CheckWeights(*c, {204, 153, 102, 51, 0});
  EXPECT_EQ(c->stops, 1);
  EXPECT_EQ(c->fade, nullptr) << "the stop freed the timer";
  EXPECT_EQ(LiveFadeCount(), 0);
}

TEST_F(Fade, FastFadesTakeHalfTheSteps) {
  TFading* c = Add("BUTTON");
  c->Fade(true);
  ASSERT_TRUE(PumpUntil([&] { return c->stops > 0; }, 5000));
  CheckWeights(*c, {127, 0});
  // A section of 4 steps fades fast in 2 as well, and slowly in 4.
  TFading* slow = Add("SLOW", 60);
  slow->Fade();
  ASSERT_TRUE(PumpUntil([&] { return slow->stops > 0; }, 5000));
  CheckWeights(*slow, {191, 127, 63, 0});
}

TEST_F(Fade, AFrameTheControlDoesNotTakeIsCopiedToItsWindowAndAnnounced) {
  TFading* c = Add("BUTTON");
  c->takesFade = false;
  // A window for refresh notices hears of every frame.
  TFading* notices = Add("PLAIN", 100);
  std::vector<int> heard;
  notices->WindowProc = [&, old = notices->WindowProc](fw::TMessage& m) {
    if (IsSkinMessage(m)) heard.push_back(ReadSkinMessage(m).Command);
    old(m);
  };
  SetRefreshNoticeWindow(notices->Handle());
  PumpFor(50);  // the first paint of the control is over
  c->Fade();
  ASSERT_TRUE(PumpUntil([&] { return c->stops > 0; }, 5000));
  // The last frame (the new look alone) is on screen, not the control's own
  // painting.
  EXPECT_EQ(c->screenAtStop, RGB(0, 0, Mixed(0, 255, 0)));
  int refreshes = 0;
  for (int command : heard) refreshes += command == SKINCMD_REFRESH;
  EXPECT_EQ(refreshes, 5);
}

TEST_F(Fade, StartingAgainWhileFadingRestartsFromTheCurrentPicture) {
  TFading* c = Add("BUTTON");
  c->Fade();
  TsFadeTimer* timer = c->fade.get();
  ASSERT_TRUE(PumpUntil([&] { return c->frames.size() >= 2; }, 5000));
  c->data.BGChanged = false;
  c->Show(kAfter);  // the look reached so far becomes the before-picture
  c->frames.clear();
  c->Fade();
  EXPECT_EQ(c->fade.get(), timer) << "one timer per control, reused";
  EXPECT_EQ(c->fade->Step, 1);
  EXPECT_EQ(LiveFadeCount(), 1);
  ASSERT_TRUE(PumpUntil([&] { return c->stops > 0; }, 5000));
  EXPECT_EQ(c->frames.size(), 5u);
}

TEST_F(Fade, WithoutTheConditionsOfAFadeTheControlIsRepaintedAtOnce) {
  struct Case {
    const char* name;
    const char* section;
    bool allowed;
    std::function<void(TFading&)> arrange;
  };
  const Case cases[] = {
      {"not allowed", "BUTTON", false, [](TFading&) {}},
      {"section without fading", "PLAIN", true, [](TFading&) {}},
      {"cache marked changed", "BUTTON", true, [](TFading& c) { c.data.BGChanged = true; }},
      {"empty cache", "BUTTON", true, [](TFading& c) { c.data.CacheBmp->SetSize(0, 0); }},
      {"skin being loaded", "BUTTON", true, [](TFading&) { SkinLoadInProgress = true; }},
      {"animations stopped", "BUTTON", true, [](TFading&) { StopAllAnimations(); }},
  };
  int left = 10;
  for (const Case& k : cases) {
    TFading* c = Add(k.section, left);
    left += 45;
    PumpFor(30);
    k.arrange(*c);
    const int paints = c->paints;
    c->Fade(false, k.allowed);
    SkinLoadInProgress = false;
    ResumeAnimations();
    EXPECT_EQ(c->fade, nullptr) << k.name;
    EXPECT_EQ(c->prepares, 0) << k.name;
    EXPECT_TRUE(c->data.BGChanged) << k.name;
    EXPECT_EQ(c->paints, paints + 1) << k.name << ": repainted at once";
    EXPECT_EQ(LiveFadeCount(), 0) << k.name;
  }
  // An unskinned control is left alone altogether.
  TFading* plain = Add("NOSUCHSECTION", left);
  PumpFor(30);
  const int paints = plain->paints;
  plain->Fade();
  EXPECT_FALSE(plain->data.BGChanged);
  EXPECT_EQ(plain->paints, paints);
}

// A box shown during a load lets the fade's timer tick; the skin's tables
// are half-built then, so the fade waits and goes on afterwards.
TEST_F(Fade, ARunningFadeStandsStillWhileASkinIsBeingLoaded) {
  TFading* c = Add("SLOW");
  c->Fade();
  ASSERT_TRUE(PumpUntil([&] { return c->frames.size() >= 1; }, 5000));
  SkinLoadInProgress = true;
  PumpFor(30);  // a tick already under way may still draw
  const std::size_t drawn = c->frames.size();
  const int step = c->fade->Step;
  PumpFor(120);
  const std::size_t drawnWhileLoading = c->frames.size();
  const int stepWhileLoading = c->fade ? c->fade->Step : -1;
  SkinLoadInProgress = false;
  EXPECT_EQ(drawnWhileLoading, drawn) << "frames were drawn during the load";
  EXPECT_EQ(stepWhileLoading, step) << "the fade stepped on during the load";
  EXPECT_EQ(c->stops, 0);
  ASSERT_TRUE(PumpUntil([&] { return c->stops > 0; }, 5000));
  CheckWeights(*c, {191, 127, 63, 0});
}

TEST_F(Fade, AControlHiddenWhileFadingEndsItsFade) {
  TFading* c = Add("SLOW");
  c->Fade();
  ASSERT_TRUE(PumpUntil([&] { return c->frames.size() >= 1; }, 5000));
  c->SetVisible(false);
  ASSERT_TRUE(PumpUntil([] { return LiveFadeCount() == 0; }, 5000));
  EXPECT_TRUE(c->data.BGChanged);
  ASSERT_NE(c->fade, nullptr);
  EXPECT_FALSE(c->fade->Enabled());
  EXPECT_LE(c->frames.size(), 2u);
}

TEST_F(Fade, StoppingAllAnimationsEndsEveryFadeAndBlocksNewOnes) {
  std::vector<TFading*> controls;
  controls.reserve(3);
  for (int i = 0; i < 3; ++i) controls.push_back(Add("SLOW", 10 + 45 * i));
  for (TFading* c : controls) c->Fade();
  EXPECT_EQ(LiveFadeCount(), 3);
  StopAllAnimations();
  EXPECT_EQ(LiveFadeCount(), 0);
  for (TFading* c : controls) {
    EXPECT_EQ(c->stops, 1);
    EXPECT_LT(c->frames.size(), 4u) << "cut short";
    EXPECT_TRUE(c->data.BGChanged) << "the final look is painted whole";
  }
  ResumeAnimations();
  controls[0]->Show(kBefore);
  controls[0]->Fade();
  EXPECT_EQ(LiveFadeCount(), 1);
  ASSERT_TRUE(PumpUntil([] { return LiveFadeCount() == 0; }, 5000));
}

TEST(FadeAllowed, ControlEventsFirstThenTheManagersButtonEvents) {
  fw::EnsureApplication().Initialize();
  RegisterSkinManagerClasses();
  TsSkinManager manager(nullptr);
  manager.AnimEffects().Buttons.Events = beMouseEnter | beMouseUp;
  struct Case {
    TacAnimatEvent event;
    TacAnimatEvents control;
    TsSkinManager* manager;
    bool allowed;
  };
  const Case cases[] = {
      {aeMouseDown, aeMouseDown, nullptr, true},
      {aeMouseDown, aeMouseEnter | aeMouseLeave, &manager, false},
      {aeMouseEnter, aeGlobalDef, &manager, true},
      {aeMouseUp, aeGlobalDef, &manager, true},
      {aeMouseLeave, aeGlobalDef, &manager, false},
      {aeMouseDown, aeGlobalDef, &manager, false},
      {aeMouseLeave, aeGlobalDef | aeMouseLeave, &manager, true},
      // Without a manager of its own the default manager (this one) answers.
      {aeMouseEnter, aeGlobalDef, nullptr, true},
      {aeMouseLeave, aeGlobalDef, nullptr, false},
  };
  for (const Case& k : cases)
    EXPECT_EQ(FadeAllowed(k.event, k.control, k.manager), k.allowed) << k.event << " with " << k.control;
  // The default of the setting allows every event.
  manager.AnimEffects().Buttons = TacBtnEffects{};
  for (TacAnimatEvent e : {aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp})
    EXPECT_TRUE(FadeAllowed(e, aeGlobalDef, &manager)) << e;
}

TEST_F(Fade, ManyFadesLeaveNoGdiOrUserObjects) {
  TFading* c = Add("BUTTON");
  auto cycle = [&] {
    c->Show(kBefore);
    c->Fade(c->stops % 2 == 1);
    ASSERT_TRUE(PumpUntil([&] { return c->fade == nullptr; }, 5000));
  };
  cycle();
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 0; i < 60; ++i) cycle();
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

}  // namespace
}  // namespace translit
