// The skinned push button on the platform: each state drawn from its cell of
// the skin's button image, the window outline that lets the parent show in
// the corners, real mouse and keyboard input through hot, pressed and back,
// the fades with their weights, the focus and default looks, disabled glyphs,
// painting without flicker, and no GDI or USER objects left behind.
#include "controls/sBitBtn.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "controls/protocol/sVclUtils.h"
#include "framework/ActnList.h"
#include "render/effects/acGlow.h"
#include "framework/StdCtrls.h"
#include "tests/controls/ControlsFixture.h"
#include "tests/support/ButtonLooks.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/Placed.h"

namespace translit {
namespace {

using test::kButtonColor;
using test::kButtonHotColor;
using test::kEdge;
using test::MouseButton;
using test::MouseTo;
using test::PicturePixel;
using test::PumpFor;
using test::PumpUntil;
using test::ScreenPixel;
using testing_gui::Placed;
using testing_gui::TFocusable;

// The form's colour (BGR) and what the screen shows of it.
constexpr fw::TColor kFormColor = 0x406080;
constexpr std::uint32_t kFormPixel = 0x806040;
constexpr POINT kAway{4, 4};

class Button : public ::testing::Test {
 protected:
  void SetUp() override {
    MouseTo(kAway);
    PumpFor(50);
    form = new fw::TForm(fw::Application);
    form->SetBounds(200, 150, 340, 220);
    form->SetColor(kFormColor);
    other = Placed<fw::TButton>(form, 220, 140, 80, 25);
    other->SetCaption("Other");
    plain = Placed<TFocusable>(form, 220, 100, 30, 20);
    button = Placed<TsBitBtn>(form, 20, 20, 80, 40);
    button->OnClick = [this](fw::TComponent*) { ++clicks; };
    button->OnMouseEnter = [this](fw::TComponent*) { ++enters; };
    button->OnMouseLeave = [this](fw::TComponent*) { ++leaves; };
    button->OnPaint = [this](fw::TComponent*, fw::TBitmap*) {
      paints.push_back(button->CachedState());
      if (onPaint) onPaint();
    };
    form->Show();
    other->SetFocus();
    ASSERT_TRUE(Settle(kEdge[0])) << "at start: " << std::hex << Edge() << " focus " << ::GetFocus() << " other "
                                  << other->Handle() << " button " << button->Handle() << " above "
                                  << button->SkinData().MouseAbove << " state " << button->CurrentState();
  }
  void TearDown() override {
    onPaint = nullptr;
    // A test that stopped half-way may have left the button held.
    MouseButton(false);
    MouseTo(kAway);
    delete form;
  }

  POINT OnScreen(int x, int y) const { return button->ClientToScreen(POINT{x, y}); }
  std::uint32_t Edge() const { return ScreenPixel(OnScreen(1, 20)); }
  std::uint32_t Inside() const { return ScreenPixel(OnScreen(8, 8)); }
  // Some pixel of the cache picture has the colour.
  bool CacheShows(std::uint32_t pixel) const {
    fw::TBitmap* cache = button->SkinData().CacheBmp.get();
    for (int y = 0; y < cache->Height(); ++y)
      for (int x = 0; x < cache->Width(); ++x)
        if (PicturePixel(cache, x, y) == pixel) return true;
    return false;
  }
  // Waits until no fade runs and the left edge shows the colour.
  bool Settle(std::uint32_t edge) {
    return PumpUntil([&] { return !button->Fade() && button->CachedState() >= 0 && Edge() == edge; }, 5000);
  }

  test::ControlsSkin skin;
  fw::TForm* form = nullptr;
  fw::TButton* other = nullptr;
  TFocusable* plain = nullptr;
  TsBitBtn* button = nullptr;
  int clicks = 0, enters = 0, leaves = 0;
  std::vector<int> paints;
  std::function<void()> onPaint;
  // What wrapped window procedures record; they live as long as the form.
  std::vector<std::uint32_t> frames, onScreen;
  int platformPaints = 0;
};

TEST_F(Button, EachStateIsDrawnFromItsCellOfTheButtonImage) {
  struct Case {
    const char* what;
    std::function<void()> make;
    std::uint32_t edge, inside;
  };
  const std::vector<Case> cases = {
      {"normal: another button has the focus", [] {}, kEdge[0], kButtonColor},
      {"hot: the button has the focus", [&] { button->SetFocus(); }, kEdge[1], kButtonHotColor},
      {"hot: the default button while no other button has the focus",
       [&] {
         button->SetDefault(true);
         plain->SetFocus();
       },
       kEdge[1], kButtonHotColor},
      {"normal: the default button while another button has the focus",
       [&] {
         button->SetDefault(true);
         other->SetFocus();
       },
       kEdge[0], kButtonColor},
      {"pressed: Down", [&] { button->SetDown(true); }, kEdge[2], kButtonHotColor},
  };
  for (const Case& c : cases) {
    button->SetDown(false);
    button->SetDefault(false);
    other->SetFocus();
    ASSERT_TRUE(Settle(kEdge[0])) << c.what;
    c.make();
    EXPECT_TRUE(Settle(c.edge)) << c.what << ": edge " << std::hex << Edge();
    EXPECT_EQ(Inside(), c.inside) << c.what;
  }
}

// A box shown while a skin is read (the warning about a skin for a newer
// engine) lets paints through while the skin's tables are half-built: the
// button leaves its picture and the screen as they are until the new skin
// is announced, and then shows it.
TEST_F(Button, WhileASkinIsReadItsPaintsStandStill) {
  test::WriteNewerSkin(skin.tmp.Path());
  const auto saved = TsSkinManager::ShowPlainMessage;
  int boxes = 0;
  std::size_t rebuiltDuringBox = 0;
  std::uint32_t insideDuringBox = 0;
  TsSkinManager::ShowPlainMessage = [&](const std::string&) {
    ++boxes;
    const std::size_t before = paints.size();
    button->SkinData().BGChanged = true;
    ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    rebuiltDuringBox = paints.size() - before;
    insideDuringBox = Inside();
  };
  skin.manager->SetSkinName("NEWER");
  TsSkinManager::ShowPlainMessage = saved;
  ASSERT_EQ(boxes, 1);
  EXPECT_EQ(rebuiltDuringBox, 0u) << "the picture was rebuilt from half-built tables";
  EXPECT_EQ(insideDuringBox, kButtonColor);
  EXPECT_EQ(Inside(), test::kNewerButtonColor) << "the announcement repainted the button";
}

TEST_F(Button, ASectionOfOneStateDrawsEveryStateInIt) {
  skin.manager->SetSkinName("ONE");
  button->SetDown(true);
  EXPECT_TRUE(Settle(kEdge[0])) << std::hex << Edge();
  button->SetDown(false);
  button->SetFocus();
  PumpFor(50);
  EXPECT_EQ(Edge(), kEdge[0]);
  EXPECT_EQ(Inside(), kButtonColor) << "one state has no hot colour either";
}

TEST_F(Button, CornersOutsideTheOutlineShowTheParent) {
  const int w = button->Width(), h = button->Height();
  HWND wnd = button->Handle();
  fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(wnd, region.Get()), ERROR) << "the button has an outline";
  for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
    EXPECT_FALSE(::PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
    EXPECT_EQ(ScreenPixel(OnScreen(corner.x, corner.y)), kFormPixel) << corner.x << "," << corner.y;
    // The picture of the button shows the parent there too.
    EXPECT_EQ(PicturePixel(button->SkinData().CacheBmp.get(), corner.x, corner.y), kFormPixel);
  }
  // The key pixels are the corner's outermost three; the next is the frame.
  EXPECT_FALSE(::PtInRegion(region.Get(), 1, 0));
  EXPECT_FALSE(::PtInRegion(region.Get(), 0, 1));
  EXPECT_TRUE(::PtInRegion(region.Get(), 1, 1));
  EXPECT_EQ(ScreenPixel(OnScreen(1, 1)), kEdge[0]);

  // An image with a mask layer instead of key pixels cuts no outline: its
  // see-through corners are laid over the parent's background in the picture.
  skin.manager->SetSkinName("A");
  ASSERT_TRUE(PumpUntil([&] { return ::GetWindowRgn(wnd, region.Get()) == ERROR && Edge() == kEdge[0]; }, 3000));
  for (POINT corner : {POINT{0, 0}, POINT{1, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 2}}) {
    // Wholly see-through still takes 1/256 of the image.
    const std::uint32_t shown = ScreenPixel(OnScreen(corner.x, corner.y));
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(static_cast<int>((shown >> shift) & 0xFF), static_cast<int>((kFormPixel >> shift) & 0xFF), 1)
          << corner.x << "," << corner.y << ": " << std::hex << shown;
  }
  EXPECT_EQ(ScreenPixel(OnScreen(1, 1)), kEdge[0]);
  EXPECT_EQ(ScreenPixel(OnScreen(2, 0)), kEdge[0]);
  skin.manager->SetSkinName("T");
  ASSERT_TRUE(PumpUntil([&] { return ::GetWindowRgn(wnd, region.Get()) != ERROR; }, 3000));

  // Without a skin the window has no outline and draws its corners itself.
  skin.manager->SetActive(false);
  PumpFor(100);
  EXPECT_EQ(::GetWindowRgn(wnd, region.Get()), ERROR);
  EXPECT_NE(ScreenPixel(OnScreen(0, 0)), kFormPixel);
  skin.manager->SetActive(true);
  ASSERT_TRUE(Settle(kEdge[0]));
  EXPECT_NE(::GetWindowRgn(wnd, region.Get()), ERROR);
}

TEST_F(Button, RealMouseInputMovesItThroughHotPressedAndBack) {
  MouseTo(OnScreen(40, 20));
  EXPECT_TRUE(Settle(kEdge[1])) << "hot under the mouse: " << std::hex << Edge();
  EXPECT_EQ(enters, 1);
  MouseButton(true);
  EXPECT_TRUE(Settle(kEdge[2])) << "pressed: " << std::hex << Edge();
  EXPECT_EQ(Inside(), kButtonHotColor);
  MouseButton(false);
  EXPECT_TRUE(Settle(kEdge[1])) << "released: " << std::hex << Edge();
  EXPECT_EQ(clicks, 1);
  // The press gave it the focus: it stays hot when the mouse leaves, and
  // goes back to normal when the focus goes.
  MouseTo(kAway);
  EXPECT_TRUE(PumpUntil([&] { return leaves == 1; }, 3000));
  EXPECT_TRUE(Settle(kEdge[1]));
  other->SetFocus();
  EXPECT_TRUE(Settle(kEdge[0]));

  // Pressed, dragged off and back, released off: no click.
  MouseTo(OnScreen(40, 20));
  MouseButton(true);
  ASSERT_TRUE(Settle(kEdge[2]));
  MouseTo(POINT{OnScreen(0, 0).x - 30, OnScreen(40, 20).y});
  EXPECT_TRUE(Settle(kEdge[1])) << "off the button while held (focused): " << std::hex << Edge();
  MouseTo(OnScreen(40, 20));
  EXPECT_TRUE(Settle(kEdge[2])) << "back over it while held: " << std::hex << Edge();
  const POINT off{OnScreen(0, 0).x - 30, OnScreen(40, 20).y};
  MouseTo(off);
  ASSERT_TRUE(Settle(kEdge[1]));
  MouseButton(false);
  PumpFor(50);
  EXPECT_EQ(clicks, 1) << "a release off the button does not click";
}

TEST_F(Button, FadesMixTheOldLookIntoTheNewWithTheSectionsSteps) {
  button->WindowProc = [&, old = button->WindowProc](fw::TMessage& m) {
    if (IsSkinMessage(m) && ReadSkinMessage(m).Command == SKINCMD_DRAW_FADE)
      frames.push_back(PicturePixel(reinterpret_cast<fw::TBitmap*>(m.LParam), 1, 20));
    old(m);
  };
  auto check = [&](std::uint32_t from, std::uint32_t to, const std::vector<int>& weights, const char* what) {
    ASSERT_EQ(frames.size(), weights.size()) << what;
    for (std::size_t i = 0; i < weights.size(); ++i)
      EXPECT_EQ(frames[i], test::Mixed(from, to, weights[i])) << what << " frame " << i;
    frames.clear();
  };
  MouseTo(OnScreen(40, 20));
  ASSERT_TRUE(Settle(kEdge[1]));
  check(kEdge[0], kEdge[1], {204, 153, 102, 51, 0}, "mouse enter");
  MouseButton(true);
  ASSERT_TRUE(Settle(kEdge[2]));
  check(kEdge[1], kEdge[2], {127, 0}, "mouse down");
  MouseButton(false);
  ASSERT_TRUE(Settle(kEdge[1]));
  check(kEdge[2], kEdge[1], {127, 0}, "mouse up");
  other->SetFocus();
  ASSERT_TRUE(Settle(kEdge[1]));
  MouseTo(kAway);
  ASSERT_TRUE(Settle(kEdge[0]));
  check(kEdge[1], kEdge[0], {204, 153, 102, 51, 0}, "mouse leave");

  // Events the button does not fade on repaint at once.
  button->SetAnimatEvents(aeMouseDown | aeMouseUp);
  MouseTo(OnScreen(40, 20));
  ASSERT_TRUE(Settle(kEdge[1]));
  EXPECT_TRUE(frames.empty());
}

TEST_F(Button, AFadeUnderWayTakesAStepWhenTheFocusArrives) {
  button->WindowProc = [&, old = button->WindowProc](fw::TMessage& m) {
    if (IsSkinMessage(m) && ReadSkinMessage(m).Command == SKINCMD_DRAW_FADE)
      frames.push_back(PicturePixel(reinterpret_cast<fw::TBitmap*>(m.LParam), 1, 20));
    old(m);
  };
  // The mouse enters (as the framework tells it) and the fade begins; no
  // tick has come yet when the focus arrives.
  button->Perform(fw::CM_MOUSEENTER, 0, 0);
  ASSERT_NE(button->Fade(), nullptr);
  ASSERT_NE(button->Fade()->Direction(), 0);
  ASSERT_EQ(button->Fade()->Step, 1);
  button->SetFocus();
  ASSERT_NE(button->Fade(), nullptr);
  EXPECT_EQ(button->Fade()->Step, 2);
  ASSERT_EQ(frames.size(), 1u) << "the first frame is drawn at once";
  EXPECT_EQ(frames[0], test::Mixed(kEdge[0], kEdge[1], 204));
  EXPECT_TRUE(Settle(kEdge[1]));
}

TEST_F(Button, TheSpaceBarOnTheFocusedButtonClosesItsHoverGlow) {
  skin.manager->SetSkinName("G");
  button->SetFocus();
  ASSERT_TRUE(Settle(kEdge[1]));
  MouseTo(OnScreen(40, 20));
  ASSERT_TRUE(PumpUntil([&] { return button->SkinData().GlowId >= 0; }, 3000));
  PumpFor(50);
  test::Key(VK_SPACE, true);
  EXPECT_TRUE(PumpUntil([&] { return button->SkinData().GlowId < 0; }, 2000));
  EXPECT_TRUE(Settle(kEdge[2])) << "pressed";
  test::Key(VK_SPACE, false);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 2000));
}

TEST_F(Button, AQuickClickShowsThePressedLookBeforeTheReleaseFadesIt) {
  MouseTo(OnScreen(40, 20));
  ASSERT_TRUE(Settle(kEdge[1]));
  paints.clear();
  onPaint = [&] { onScreen.push_back(Edge()); };
  // Down and up at once, before any message of the press is handled.
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }, 5000));
  ASSERT_TRUE(Settle(kEdge[1]));
  std::string seen;
  for (int st : paints) seen += std::to_string(st) + " ";
  SCOPED_TRACE("cache states painted: " + seen);
  // The press painted the pressed look; the release, arriving before the
  // press had faded in, showed it whole again before its own fade to hot
  // began.
  ASSERT_GE(paints.size(), 3u);
  EXPECT_EQ(paints[0], bsPressed) << "the press";
  EXPECT_EQ(paints[1], bsPressed) << "the release shows the press";
  EXPECT_EQ(paints[2], bsHot) << "the release's fade";
  EXPECT_EQ(onScreen[2], kEdge[2]) << "on screen when the release began its fade";
}

TEST_F(Button, TheSpaceKeyPressesAndReleasesWithoutTheMouse) {
  button->SetFocus();
  ASSERT_TRUE(Settle(kEdge[1]));
  test::Key(VK_SPACE, true);
  EXPECT_TRUE(Settle(kEdge[2])) << std::hex << Edge();
  EXPECT_EQ(clicks, 0);
  test::Key(VK_SPACE, false);
  EXPECT_TRUE(Settle(kEdge[1])) << std::hex << Edge();
  EXPECT_EQ(clicks, 1);
}

// Pixels that differ between two pictures of the same size.
std::vector<POINT> Differences(fw::TBitmap* a, fw::TBitmap* b) {
  std::vector<POINT> out;
  for (int y = 0; y < a->Height(); ++y)
    for (int x = 0; x < a->Width(); ++x)
      if (PicturePixel(a, x, y) != PicturePixel(b, x, y)) out.push_back(POINT{x, y});
  return out;
}

std::unique_ptr<fw::TBitmap> Copy(fw::TBitmap* source) {
  auto copy = NewBitmap32(source->Width(), source->Height());
  ::BitBlt(copy->Canvas().Handle(), 0, 0, source->Width(), source->Height(), source->Canvas().Handle(), 0, 0, SRCCOPY);
  return copy;
}

TEST_F(Button, TheFocusedButtonShowsADottedFrameAroundItsCaption) {
  button->SetCaption("Go");
  button->SetDefault(true);
  plain->SetFocus();
  ASSERT_TRUE(Settle(kEdge[1]));
  auto defaultLook = Copy(button->SkinData().CacheBmp.get());
  button->SetFocus();
  ASSERT_TRUE(
      PumpUntil([&] { return !Differences(defaultLook.get(), button->SkinData().CacheBmp.get()).empty(); }, 3000));
  const std::vector<POINT> dots = Differences(defaultLook.get(), button->SkinData().CacheBmp.get());
  RECT box{1000, 1000, -1, -1};
  for (POINT p : dots) {
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x + 1);
    box.bottom = std::max(box.bottom, p.y + 1);
  }
  // Dots on the four sides of a frame around the centred caption (each dot
  // with its neighbour of the other colour just before it), in black and the
  // button face colour; nothing else changed.
  EXPECT_GT(box.right - box.left, 6);
  EXPECT_GT(box.bottom - box.top, 6);
  EXPECT_LT(box.right - box.left, 40);
  EXPECT_NEAR((box.left + box.right) / 2.0, button->Width() / 2.0, 2);
  const std::uint32_t face = fw::ColorToRGB(fw::clBtnFace);
  const std::uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
  for (POINT p : dots) {
    EXPECT_TRUE(p.x <= box.left + 1 || p.x >= box.right - 2 || p.y <= box.top + 1 || p.y >= box.bottom - 2)
        << p.x << "," << p.y;
    const std::uint32_t c = PicturePixel(button->SkinData().CacheBmp.get(), p.x, p.y);
    EXPECT_TRUE(c == 0 || c == faceRgb) << std::hex << c;
  }
  // Without ShowFocus the focused look is the default look.
  button->SetShowFocus(false);
  ASSERT_TRUE(
      PumpUntil([&] { return Differences(defaultLook.get(), button->SkinData().CacheBmp.get()).empty(); }, 3000));
}

// A 16 x 16 glyph: a key-coloured rim (its bottom-left pixel is the key)
// around a square of one colour.
constexpr std::uint32_t kGlyphPixel = 0x2080F0;
std::unique_ptr<fw::TBitmap> MakeGlyph() {
  auto glyph = std::make_unique<fw::TBitmap>(16, 16, fw::pf24bit);
  fw::TCanvas& c = glyph->Canvas();
  c.Brush().SetColor(0xFF00FF);
  c.FillRect(RECT{0, 0, 16, 16});
  c.Brush().SetColor(0xF08020);  // BGR of kGlyphPixel
  c.FillRect(RECT{2, 2, 14, 14});
  return glyph;
}

bool IsGrey(std::uint32_t c) { return ((c >> 16) & 0xFF) == ((c >> 8) & 0xFF) && ((c >> 8) & 0xFF) == (c & 0xFF); }

TEST_F(Button, DisabledGlyphsAreBlendedOrGreyedFromEitherSource) {
  auto glyph = MakeGlyph();
  fw::TImageList list(form);
  list.SetWidth(16);
  list.SetHeight(16);
  list.AddMasked(*glyph, 0xFF00FF);
  struct Source {
    const char* what;
    std::function<void()> attach;
  };
  const std::vector<Source> sources = {
      {"glyph", [&] { button->Glyph().Assign(*glyph); }},
      {"image list",
       [&] {
         button->Glyph().SetSize(0, 0);
         button->SetImages(&list);
         button->SetImageIndex(0);
       }},
  };
  // The whole button keeps its look when disabled, so that only the glyph
  // tells.
  button->SetDisabledKind(0);
  for (const Source& s : sources) {
    button->SetEnabled(true);
    s.attach();
    button->SkinData().RequestRepaint();
    fw::TBitmap* cache = button->SkinData().CacheBmp.get();
    POINT at{-1, -1};
    ASSERT_TRUE(PumpUntil(
        [&] {
          for (int y = 0; y < cache->Height() && at.x < 0; ++y)
            for (int x = 0; x < cache->Width(); ++x)
              if (PicturePixel(cache, x, y) == kGlyphPixel) {
                at = POINT{x + 6, y + 6};
                break;
              }
          return at.x >= 0;
        },
        3000))
        << s.what << ": the glyph is drawn";
    EXPECT_EQ(PicturePixel(cache, at.x - 7, at.y - 7), kButtonColor) << s.what << ": its key is transparent";
    button->SetEnabled(false);
    button->SetDisabledGlyphKind(dgBlended);
    ASSERT_TRUE(PumpUntil([&] { return PicturePixel(cache, at.x, at.y) != kGlyphPixel; }, 3000)) << s.what;
    const std::uint32_t blended = PicturePixel(cache, at.x, at.y);
    for (int shift : {0, 8, 16}) {
      const int expected = static_cast<int>((((kGlyphPixel >> shift) & 0xFF) + ((kButtonColor >> shift) & 0xFF)) / 2);
      EXPECT_NEAR(static_cast<int>((blended >> shift) & 0xFF), expected, 2) << s.what << " blended";
    }
    button->SetDisabledGlyphKind(dgGrayed);
    ASSERT_TRUE(PumpUntil([&] { return PicturePixel(cache, at.x, at.y) != blended; }, 3000)) << s.what;
    const std::uint32_t grey = PicturePixel(cache, at.x, at.y);
    EXPECT_TRUE(IsGrey(grey)) << s.what << " greyed: " << std::hex << grey;
    EXPECT_NE(grey, kButtonColor) << s.what;
  }
}

TEST_F(Button, ADisabledButtonIsMixedWithItsParent) {
  button->SetEnabled(false);
  // Half and half with the parent's colour, which is all the plain form
  // offers.
  const std::uint32_t expected = 0xA03020;  // (0xC00000 + 0x806040) / 2 per channel
  ASSERT_TRUE(PumpUntil([&] { return Edge() != kEdge[0]; }, 3000));
  const std::uint32_t edge = Edge();
  for (int shift : {0, 8, 16})
    EXPECT_NEAR(static_cast<int>((edge >> shift) & 0xFF), static_cast<int>((expected >> shift) & 0xFF), 1)
        << std::hex << edge;
  MouseTo(OnScreen(40, 20));
  PumpFor(100);
  EXPECT_EQ(enters, 0) << "a disabled button does not hear the mouse";
}

TEST_F(Button, ARepaintCopiesTheCacheOnceAndErasesNothing) {
  form->WindowProc = [&, old = form->WindowProc](fw::TMessage& m) {
    if ((m.Msg == WM_CTLCOLORBTN || m.Msg == WM_DRAWITEM) &&
        (m.Msg == WM_CTLCOLORBTN ? reinterpret_cast<HWND>(m.LParam)
                                 : reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem) == button->Handle())
      ++platformPaints;
    old(m);
  };
  paints.clear();
  HWND wnd = button->Handle();
  // Uncovering the button: everything invalid, erasing asked for.
  ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(paints.empty()) << "nothing changed: the cache is not repainted";
  EXPECT_EQ(platformPaints, 0) << "the platform did not draw the button";
  EXPECT_EQ(Edge(), kEdge[0]);

  // Erasing draws nothing; a paint into a DC puts the whole cache there.
  const int w = button->Width(), h = button->Height();
  auto probe = NewBitmap32(w, h);
  FillBitmapRect(probe.get(), RECT{0, 0, w, h}, 0x00FF00);
  EXPECT_EQ(::SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(probe->Canvas().Handle()), 0), 0);
  for (POINT p : {POINT{1, 20}, POINT{8, 8}, POINT{w / 2, h / 2}})
    EXPECT_EQ(PicturePixel(probe.get(), p.x, p.y), 0x00FF00u) << "erased at " << p.x << "," << p.y;
  ::SendMessageA(wnd, WM_PAINT, reinterpret_cast<WPARAM>(probe->Canvas().Handle()), 0);
  EXPECT_TRUE(Differences(probe.get(), button->SkinData().CacheBmp.get()).empty());
  EXPECT_TRUE(paints.empty());
  EXPECT_EQ(platformPaints, 0);
}

TEST_F(Button, OnlyAButtonPartlyOutsideItsParentRepaintsItsCacheOnEveryPaint) {
  auto redraw = [&] {
    paints.clear();
    for (int i = 0; i < 3; ++i) ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return paints.size();
  };
  EXPECT_EQ(redraw(), 0u);
  // Moved half out of the form: the first paint learns it, every paint
  // after repaints the cache.
  button->SetLeft(form->ClientWidth() - 30);
  redraw();
  EXPECT_EQ(redraw(), 3u);
  button->SetLeft(20);
  redraw();
  EXPECT_EQ(redraw(), 0u);
}

TEST_F(Button, AnAmpersandUnderlinesItsLetterAndRightToLeftReadingReordersTheCaption) {
  // The cache picture of a button like the fixture's with a caption.
  auto picture = [&](const std::string& caption, fw::TBiDiMode mode, bool glyph = false) {
    auto* probe = new TsBitBtn(form);
    probe->SetParent(form);
    probe->SetBounds(110, 20, 80, 40);
    probe->SetCaption(caption);
    probe->SetBiDiMode(mode);
    if (glyph) probe->Glyph().Assign(*MakeGlyph());
    probe->PaintButtonCache();
    auto copy = Copy(probe->SkinData().CacheBmp.get());
    delete probe;
    return copy;
  };
  const auto plainW = picture("W", fw::bdLeftToRight);
  const std::vector<POINT> underline = Differences(plainW.get(), picture("&W", fw::bdLeftToRight).get());
  ASSERT_FALSE(underline.empty()) << "the letter is underlined";
  int top = 1000, bottom = -1;
  for (POINT p : underline) {
    top = std::min<int>(top, p.y);
    bottom = std::max<int>(bottom, p.y);
  }
  EXPECT_LE(bottom - top, 1) << "nothing but a line under the letter: no \"&\" shown";

  EXPECT_TRUE(
      Differences(picture("W.", fw::bdRightToLeftReadingOnly).get(), picture(".W", fw::bdLeftToRight).get()).empty())
      << "read from right to left, the full stop ends the caption on the left";

  // The glyph on the left of the caption goes to its right.
  auto glyphLeft = [](fw::TBitmap* b) {
    for (int x = 0; x < b->Width(); ++x)
      for (int y = 0; y < b->Height(); ++y)
        if (PicturePixel(b, x, y) == kGlyphPixel) return x;
    return -1;
  };
  const int ltr = glyphLeft(picture("W", fw::bdLeftToRight, true).get());
  const int rtl = glyphLeft(picture("W", fw::bdRightToLeftReadingOnly, true).get());
  ASSERT_GE(ltr, 0);
  EXPECT_GT(rtl, ltr + 10);
}

TEST_F(Button, ShrinkingAsksTheParentToRepaintUnderTheOldCorners) {
  PumpFor(100);
  fw::UniqueRgn pending(::CreateRectRgn(0, 0, 0, 0));
  auto parentRepaints = [&](POINT p) {
    ::GetUpdateRgn(form->Handle(), pending.Get(), FALSE);
    return ::PtInRegion(pending.Get(), p.x, p.y) != FALSE;
  };
  // Old corners in the form's client: each one's key pixel at its tip.
  const POINT topRight{20 + 79, 20}, bottomRight{20 + 79, 20 + 39}, bottomLeft{20, 20 + 39};
  // Lower only: the old top-right corner lies beside the new one, where the
  // platform asks the form for nothing.
  button->SetBounds(20, 20, 80, 30);
  ::UpdateWindow(button->Handle());
  EXPECT_TRUE(parentRepaints(topRight));
  EXPECT_TRUE(parentRepaints(bottomRight));
  EXPECT_TRUE(parentRepaints(bottomLeft));
  PumpFor(100);
  ASSERT_FALSE(parentRepaints(topRight));
  // The form shows through the new corners and the old.
  for (POINT p : {POINT{79, 0}, POINT{79, 29}, POINT{0, 29}, POINT{79, 39}, POINT{0, 39}})
    EXPECT_EQ(ScreenPixel(OnScreen(p.x, p.y)), kFormPixel) << p.x << "," << p.y;
  // Larger: nothing to uncover.
  button->SetBounds(20, 20, 90, 40);
  ::UpdateWindow(button->Handle());
  EXPECT_FALSE(parentRepaints(topRight));
}

TEST_F(Button, HintsAreOffWhileTheLeftButtonHoldsItAndComeBackAsTheyWere) {
  fw::TApplication& app = *fw::Application;
  MouseTo(OnScreen(40, 20));
  ASSERT_TRUE(Settle(kEdge[1]));
  auto press = [&] {
    MouseButton(true);
    return PumpUntil([&] { return button->CurrentState() == bsPressed; }, 3000);
  };
  auto release = [&] {
    MouseButton(false);
    PumpFor(100);
  };
  ASSERT_TRUE(press());
  EXPECT_FALSE(app.ShowHint()) << "off while held";
  release();
  EXPECT_TRUE(app.ShowHint()) << "back with the release";

  // A program that keeps its hints off keeps them off.
  app.SetShowHint(false);
  ASSERT_TRUE(press());
  release();
  EXPECT_FALSE(app.ShowHint());
  app.SetShowHint(true);

  // A press that loses the mouse, and a button gone while held, give them
  // back without a release.
  ASSERT_TRUE(press());
  ::ReleaseCapture();
  EXPECT_TRUE(app.ShowHint()) << "the mouse taken away";
  release();
  ASSERT_TRUE(press());
  ASSERT_FALSE(app.ShowHint());
  delete button;
  button = nullptr;
  EXPECT_TRUE(app.ShowHint()) << "the button gone";
}

TEST_F(Button, BlendIsKeptWithinAPercentage) {
  const std::vector<std::pair<int, int>> cases = {{150, 100}, {-5, 0}, {40, 40}, {100, 100}, {0, 0}};
  for (auto [set, stored] : cases) {
    button->SetBlend(set);
    EXPECT_EQ(button->Blend(), stored) << set;
  }
}

TEST_F(Button, WithoutASkinItLooksLikeTheFrameworksButton) {
  skin.manager->SetActive(false);
  auto* plainButton = new fw::TBitBtn(form);
  plainButton->SetParent(form);
  plainButton->SetBounds(120, 20, 80, 40);
  button->SetCaption("Rename");
  plainButton->SetCaption("Rename");
  PumpFor(200);
  int differing = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x)
      differing += ScreenPixel(OnScreen(x, y)) != ScreenPixel(plainButton->ClientToScreen(POINT{x, y}));
  EXPECT_EQ(differing, 0);
  // Under the mouse it is the theme's hot push button (its frame: the
  // caption lies inside).
  const testing_gui::Picture hot = testing_gui::ThemedButton(button->Handle(), 80, 40, 2, kFormColor);
  ASSERT_FALSE(hot.pixels.empty()) << "visual themes are in effect on this platform";
  MouseTo(OnScreen(40, 20));
  EXPECT_TRUE(PumpUntil(
      [&] { return testing_gui::Differing(testing_gui::OnScreen(button->Handle(), 80, 40), hot, 2) == 0; }, 3000));
}

TEST_F(Button, AGlowingSectionOpensAGlowUnderTheMouseThatGoesWithIt) {
  skin.manager->SetSkinName("G");
  ASSERT_TRUE(Settle(kEdge[0]));
  const POINT over = OnScreen(40, 20);
  MouseTo(over);
  ASSERT_TRUE(PumpUntil([&] { return button->SkinData().GlowId >= 0; }, 3000));
  HWND glow = GlowWindow(button->SkinData().GlowId);
  ASSERT_TRUE(::IsWindowVisible(glow));
  const LONG ex = ::GetWindowLongA(glow, GWL_EXSTYLE);
  EXPECT_TRUE((ex & WS_EX_LAYERED) && (ex & WS_EX_TRANSPARENT));
  RECT r;
  ::GetWindowRect(glow, &r);
  // Margins 10 and 4 less twice the section's glow margin of 2.
  EXPECT_EQ(r.right - r.left, button->Width() + 16);
  EXPECT_EQ(r.bottom - r.top, button->Height() + 4);
  EXPECT_EQ(::WindowFromPoint(over), button->Handle()) << "the mouse passes through the glow";
  MouseTo(kAway);
  ASSERT_TRUE(PumpUntil([&] { return button->SkinData().GlowId < 0; }, 3000));
  EXPECT_FALSE(::IsWindow(glow));
  EXPECT_EQ(OpenGlowCount(), 0);

  // Many times over: nothing is left behind.
  auto hover = [&] {
    MouseTo(over);
    PumpUntil([&] { return button->SkinData().GlowId >= 0; }, 1000);
    MouseTo(kAway);
    PumpUntil([&] { return button->SkinData().GlowId < 0; }, 1000);
  };
  hover();
  // A freed glow window gives its last objects back a moment later.
  PumpFor(200);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 0; i < 30; ++i) hover();
  PumpFor(200);
  // Every hover entered and left. A busy display server may report one more
  // leave and enter while a glow window takes its place over the button.
  EXPECT_GE(enters, 32);
  EXPECT_EQ(leaves, enters);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

TEST_F(Button, AnImageListGlyphFollowsItsListAndIsForgottenWithIt) {
  auto* list = new fw::TImageList(form);
  list->SetWidth(16);
  list->SetHeight(16);
  button->SetImages(list);
  button->SetImageIndex(0);
  auto glyphShown = [&] { return CacheShows(kGlyphPixel); };
  PumpFor(100);
  EXPECT_FALSE(glyphShown()) << "the list is empty";
  auto glyph = MakeGlyph();
  list->AddMasked(*glyph, 0xFF00FF);
  EXPECT_TRUE(PumpUntil(glyphShown, 3000)) << "adding to the list repaints the button";
  delete list;
  EXPECT_EQ(button->Images(), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !glyphShown(); }, 3000));
}

TEST_F(Button, AnActionGivesItsImageAndEnabledStateAndRunsOnClick) {
  auto* list = new fw::TImageList(form);
  list->SetWidth(16);
  list->SetHeight(16);
  list->AddMasked(*MakeGlyph(), 0xFF00FF);
  auto* action = new fw::TCustomAction(form);
  action->SetImages(list);
  button->SetAction(action);
  EXPECT_EQ(button->Images(), list);
  EXPECT_EQ(button->ImageIndex(), -1);
  auto glyphShown = [&] { return CacheShows(kGlyphPixel); };
  PumpFor(100);
  EXPECT_FALSE(glyphShown());
  action->SetImageIndex(0);
  EXPECT_EQ(button->ImageIndex(), 0);
  EXPECT_TRUE(PumpUntil(glyphShown, 3000)) << "the action's image is drawn";

  const auto enabledLook = Copy(button->SkinData().CacheBmp.get());
  action->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
  EXPECT_TRUE(
      PumpUntil([&] { return !Differences(enabledLook.get(), button->SkinData().CacheBmp.get()).empty(); }, 3000))
      << "drawn disabled";
  action->SetEnabled(true);
  EXPECT_TRUE(button->Enabled());

  int runs = 0;
  action->OnExecute = [&](fw::TComponent*) { ++runs; };
  button->OnClick = nullptr;
  button->Click();
  EXPECT_EQ(runs, 1);
  // Gone, the action leaves its image with the button.
  delete action;
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_EQ(button->ImageIndex(), 0);
}

TEST_F(Button, HoverPressAndFadeCyclesLeaveNoGdiOrUserObjects) {
  const POINT over = OnScreen(40, 20);
  auto cycle = [&] {
    MouseTo(over);
    PumpFor(20);
    MouseButton(true);
    PumpFor(10);
    MouseButton(false);
    PumpFor(10);
    MouseTo(kAway);
    PumpFor(20);
  };
  cycle();
  ASSERT_TRUE(Settle(kEdge[1]));
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 0; i < 200; ++i) cycle();
  ASSERT_TRUE(Settle(kEdge[1]));
  EXPECT_EQ(clicks, 201);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

}  // namespace
}  // namespace translit
