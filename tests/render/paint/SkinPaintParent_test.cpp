// Parent backgrounds and the shared helper painters on real windows and DIB
// sections: the background query against framework controls and bare
// windows, solid strips, border copies, keyed copies, the disabled look, the
// nine-part resize and the painting of windowless children.
#include "render/paint/SkinPaintParent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Colors.h"
#include "framework/Forms.h"
#include "framework/core/SysUtils.h"
#include "render/paint/SkinPaintChildren.h"
#include "render/paint/SkinPaintDisabled.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintFrameImage.h"
#include "render/paint/SkinPaintKeyed.h"
#include "render/pixels/AlphaKernels.h"
#include "render/pixels/KeyColor.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinTables.h"

namespace translit {
namespace {

// A pixel of a 32-bit bitmap as a colour (0x00BBGGRR).
std::uint32_t At(fw::TBitmap& b, int x, int y) {
  ::GdiFlush();
  return ExchangeRB(b.View().At(x, y)) & 0xFFFFFFu;
}
void Put(fw::TBitmap& b, int x, int y, std::uint32_t color, std::uint32_t alpha = 0) {
  ::GdiFlush();
  b.View().At(x, y) = ExchangeRB(color & 0xFFFFFFu) | (alpha << 24);
}
std::unique_ptr<fw::TBitmap> Filled(int w, int h, std::uint32_t color) {
  auto b = NewBitmap32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(*b, x, y, color);
  return b;
}
// Every pixel different: the colour tells where it came from.
std::uint32_t Code(int x, int y) {
  return 0x100000u + static_cast<std::uint32_t>(x) + 0x100u * static_cast<std::uint32_t>(y);
}
std::unique_ptr<fw::TBitmap> Coded(int w, int h) {
  auto b = NewBitmap32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(*b, x, y, Code(x, y));
  return b;
}
std::uint32_t Channel(std::uint32_t c, int i) { return (c >> (8 * i)) & 0xFF; }

// What a parent does with SKINCMD_GET_BACKGROUND and how it paints.
struct ParentBehaviour {
  int answerKind = bkNone;  // bkBitmap, bkColor or none
  fw::TBitmap* bitmap = nullptr;
  int offsetX = 0, offsetY = 0;
  std::int32_t color = 0;
  LRESULT colorAnswer = 0;  // SKINCMD_GET_COLOR
  int partlyOutside = 0;
  std::uint8_t drawNowSeen = 0xFF;
  std::vector<UINT> paintLog;  // WM_ERASEBKGND / WM_PAINT with a DC

  bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == SM_ALPHACMD) {
      switch (HIWORD(wParam)) {
        case SKINCMD_GET_BACKGROUND: {
          auto* r = reinterpret_cast<BackgroundRequest*>(lParam);
          drawNowSeen = r->DrawNow;
          if (answerKind == bkBitmap) {
            r->Bitmap = bitmap;
            r->OffsetX = offsetX;
            r->OffsetY = offsetY;
          } else if (answerKind == bkColor) {
            r->Color = color;
          }
          r->Kind = static_cast<std::uint8_t>(answerKind);
          result = 0;
          return true;
        }
        case SKINCMD_GET_COLOR:
          result = colorAnswer;
          return true;
        case SKINCMD_SET_PARTLY_OUTSIDE:
          ++partlyOutside;
          result = 0;
          return true;
        default:
          result = 0;
          return true;
      }
    }
    if ((msg == WM_ERASEBKGND || msg == WM_PAINT) && wParam) {
      paintLog.push_back(msg);
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (msg == WM_PAINT) {
        // Logical (3, 2) is where a request with offsets (3, 2) starts.
        RECT all{0, 0, 40, 40};
        FillSolid(dc, all, fw::clBlue);
        ::SetPixel(dc, 3, 2, 0x0000FF);
      }
      result = 1;
      return true;
    }
    return false;
  }
};

class TParentControl : public fw::TWinControl {
 public:
  TParentControl(fw::TComponent* owner, ParentBehaviour& b) : fw::TWinControl(owner), FB(b) { SetBounds(0, 0, 40, 30); }
  const char* ClassName() const override { return "TParentControl"; }

 protected:
  void WndProc(fw::TMessage& m) override {
    if (!FB.Handle(m.Msg, m.WParam, m.LParam, m.Result)) fw::TWinControl::WndProc(m);
  }

 private:
  ParentBehaviour& FB;
};

class TGraphicParent : public fw::TGraphicControl {
 public:
  TGraphicParent(fw::TComponent* owner, ParentBehaviour& b) : fw::TGraphicControl(owner), FB(b) {}

 protected:
  void WndProc(fw::TMessage& m) override {
    if (!FB.Handle(m.Msg, m.WParam, m.LParam, m.Result)) fw::TGraphicControl::WndProc(m);
  }

 private:
  ParentBehaviour& FB;
};

ParentBehaviour* BareBehaviour = nullptr;

LRESULT CALLBACK BareProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (BareBehaviour && BareBehaviour->Handle(msg, wParam, lParam, result)) return result;
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND MakeBareWindow() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "ParentBackgroundTestWnd";
    return ::RegisterClassA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return ::CreateWindowExA(0, "ParentBackgroundTestWnd", "", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

class FixedSystem : public TsSystemValues {
 public:
  std::uint32_t SysColor(int index) const override { return ::GetSysColor(index); }
  int FrameWidth() const override { return 4; }
};

class ParentPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    form = new fw::TForm(fw::Application);
    form->SetBounds(0, 0, 200, 150);
    parent = new TParentControl(form, behaviour);
    parent->SetParent(form);
    form->Show();
  }
  void TearDown() override {
    BareBehaviour = nullptr;
    delete form;
  }

  ParentBehaviour behaviour;
  fw::TForm* form = nullptr;
  TParentControl* parent = nullptr;
};

TEST(ParentCacheValues, MadeEmptyAndFromRequests) {
  fw::TBitmap bitmap(4, 4);
  ParentCache made = MakeParentCache(&bitmap, 3, -2);
  EXPECT_EQ(made.Bitmap, &bitmap);
  EXPECT_EQ(made.X, 3);
  EXPECT_EQ(made.Y, -2);
  EXPECT_EQ(made.FillColor, 0x00FF00FF);
  EXPECT_TRUE(made.Ready);
  ParentCache empty = EmptyParentCache();
  EXPECT_EQ(empty.Bitmap, nullptr);
  EXPECT_EQ(empty.FillColor, 0);
  EXPECT_FALSE(empty.Ready);

  BackgroundRequest r;
  r.OffsetX = 5;
  r.OffsetY = 6;
  r.Kind = bkBitmap;
  r.Bitmap = &bitmap;
  ParentCache fromBitmap = RequestToParentCache(r);
  EXPECT_TRUE(fromBitmap.Ready);
  EXPECT_EQ(fromBitmap.Bitmap, &bitmap);
  EXPECT_EQ(fromBitmap.X, 5);
  EXPECT_EQ(fromBitmap.Y, 6);
  // A bitmap answer that carries no bitmap must not look ready.
  r.Bitmap = nullptr;
  EXPECT_FALSE(RequestToParentCache(r).Ready);
  EXPECT_EQ(RequestToParentCache(r).FillColor, 0x00FF00FF);
  r.Kind = bkColor;
  r.Color = fw::clBtnFace;
  ParentCache fromColor = RequestToParentCache(r);
  EXPECT_FALSE(fromColor.Ready);
  EXPECT_EQ(fromColor.X, 5);
  EXPECT_EQ(static_cast<std::uint32_t>(fromColor.FillColor), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(ParentPaint, ControlAnswersOrFallsBackToItsColour) {
  fw::TBitmap parentBitmap(40, 30);
  struct Case {
    const char* name;
    int answerKind;
    LRESULT colorAnswer;
    bool drawNow;
    bool expectAnswered;
    int expectKind;
    std::uint32_t expectColor;
  };
  const std::uint32_t btnFace = ::GetSysColor(COLOR_BTNFACE);
  const Case cases[] = {
      {"bitmap", bkBitmap, 0, true, true, bkBitmap, 0},
      {"colour", bkColor, 0, false, true, bkColor, 0x445566},
      {"silent, GET_COLOR answer", bkNone, 0x123456, false, false, bkColor, 0x123456},
      {"silent, own colour", bkNone, 0, true, false, bkColor, btnFace},
  };
  parent->SetColor(fw::clBtnFace);
  behaviour.paintLog.clear();  // the window's own first paint
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    behaviour.answerKind = c.answerKind;
    behaviour.bitmap = &parentBitmap;
    behaviour.offsetX = 7;
    behaviour.offsetY = 9;
    behaviour.color = 0x445566;
    behaviour.colorAnswer = c.colorAnswer;
    BackgroundRequest r;
    EXPECT_EQ(QueryParentBackground(r, parent, c.drawNow), c.expectAnswered);
    EXPECT_EQ(behaviour.drawNowSeen, c.drawNow ? 1 : 0);
    EXPECT_EQ(r.Kind, c.expectKind);
    if (c.expectKind == bkBitmap) {
      EXPECT_EQ(r.Bitmap, &parentBitmap);
      EXPECT_EQ(r.OffsetX, 7);
      EXPECT_EQ(r.OffsetY, 9);
    } else {
      EXPECT_EQ(static_cast<std::uint32_t>(r.Color), c.expectColor);
    }
  }
  EXPECT_TRUE(behaviour.paintLog.empty());
}

TEST_F(ParentPaint, ControlWithoutWindowIsAskedDirectly) {
  ParentBehaviour graphicBehaviour;
  graphicBehaviour.answerKind = bkColor;
  graphicBehaviour.color = 0x0A0B0C;
  TGraphicParent graphic(nullptr, graphicBehaviour);
  BackgroundRequest r;
  EXPECT_TRUE(QueryParentBackground(r, &graphic, false));
  EXPECT_EQ(r.Kind, bkColor);
  EXPECT_EQ(r.Color, 0x0A0B0C);
}

TEST_F(ParentPaint, SilentControlFillsTheRequestsDcWhenToldToDrawNow) {
  behaviour.colorAnswer = 0x00A0B0;
  auto target = Filled(6, 6, 0xFFFFFF);
  fw::TBitmap carried(2, 2);
  BackgroundRequest r;
  r.DC = target->Canvas().Handle();
  r.Rect = {1, 1, 3, 4};
  r.Bitmap = &carried;
  EXPECT_FALSE(QueryParentBackground(r, parent, true));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 3 && y >= 1 && y < 4;
      EXPECT_EQ(At(*target, x, y), inside ? 0x00A0B0u : 0xFFFFFFu) << x << "," << y;
    }
}

// A request that arrives with DrawNow set and gets no answer lets the
// parent paint into its DC, moved by the offsets and clipped to Rect.
TEST_F(ParentPaint, UnansweredDrawNowRequestLetsTheParentPaint) {
  auto target = Filled(6, 6, 0xFFFFFF);
  HWND bare = MakeBareWindow();
  ASSERT_TRUE(bare);
  BareBehaviour = &behaviour;
  struct Case {
    const char* name;
    std::function<bool(BackgroundRequest&)> query;
  };
  const Case cases[] = {
      {"control", [&](BackgroundRequest& r) { return QueryParentBackground(r, parent, false); }},
      {"bare window", [&](BackgroundRequest& r) { return QueryParentBackground(r, bare, false); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) Put(*target, x, y, 0xFFFFFF);
    behaviour.paintLog.clear();
    BackgroundRequest r;
    r.DC = target->Canvas().Handle();
    r.DrawNow = 1;
    r.OffsetX = 3;
    r.OffsetY = 2;
    r.Rect = {0, 0, 4, 4};
    EXPECT_FALSE(c.query(r));
    EXPECT_EQ(r.Kind, bkNone);
    EXPECT_EQ(behaviour.paintLog, (std::vector<UINT>{WM_ERASEBKGND, WM_PAINT}));
    EXPECT_EQ(At(*target, 0, 0), 0x0000FFu);
    EXPECT_EQ(At(*target, 3, 3), 0xFF0000u);
    EXPECT_EQ(At(*target, 4, 0), 0xFFFFFFu);
    EXPECT_EQ(At(*target, 0, 4), 0xFFFFFFu);
    // The DC's origin is back where it was.
    POINT origin{};
    ::GetViewportOrgEx(r.DC, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
  }
  ::DestroyWindow(bare);
}

TEST_F(ParentPaint, BareWindowAnswersOrGetsTheSkinsColour) {
  HWND bare = MakeBareWindow();
  ASSERT_TRUE(bare);
  BareBehaviour = &behaviour;
  fw::TBitmap parentBitmap(8, 8);

  behaviour.answerKind = bkBitmap;
  behaviour.bitmap = &parentBitmap;
  behaviour.offsetX = 2;
  BackgroundRequest answered;
  EXPECT_TRUE(QueryParentBackground(answered, bare, true));
  EXPECT_EQ(answered.Kind, bkBitmap);
  EXPECT_EQ(answered.Bitmap, &parentBitmap);
  EXPECT_EQ(answered.OffsetX, 2);
  EXPECT_EQ(behaviour.drawNowSeen, 1);

  behaviour.answerKind = bkNone;
  ASSERT_EQ(DefaultManager, nullptr);
  BackgroundRequest withoutManager;
  EXPECT_FALSE(QueryParentBackground(withoutManager, bare, false));
  EXPECT_EQ(withoutManager.Kind, bkColor);
  EXPECT_EQ(withoutManager.Color, fw::clBtnFace);

  {
    TsSkinManager manager(nullptr);
    ASSERT_EQ(DefaultManager, &manager);
    manager.Sections.emplace_back();
    manager.Sections.back().Name = "GLOBALINFO";
    manager.Sections.back().Color = 0x336699;
    BackgroundRequest withManager;
    EXPECT_FALSE(QueryParentBackground(withManager, bare, false));
    EXPECT_EQ(withManager.Kind, bkColor);
    EXPECT_EQ(withManager.Color, 0x336699);
  }
  BackgroundRequest noWindow;
  EXPECT_FALSE(QueryParentBackground(noWindow, static_cast<HWND>(nullptr), false));
  EXPECT_EQ(noWindow.Kind, bkColor);
  ::DestroyWindow(bare);
}

TEST(SolidFills, FillSolidResolvesSystemColoursAndKeepsTheDc) {
  auto b = Filled(4, 4, 0xFFFFFF);
  HDC dc = b->Canvas().Handle();
  HGDIOBJ brushBefore = ::GetCurrentObject(dc, OBJ_BRUSH);
  FillSolid(dc, RECT{1, 1, 3, 3}, fw::clBtnShadow);
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
  EXPECT_EQ(At(*b, 1, 1), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(At(*b, 2, 2), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(At(*b, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(At(*b, 3, 3), 0xFFFFFFu);
}

TEST(SolidFills, BorderStripsStayInsideTheRectangle) {
  struct Case {
    const char* name;
    int left, top, right, bottom;
  };
  const Case cases[] = {
      {"uneven", 2, 1, 3, 2},
      {"no bottom or right", 1, 2, 0, 0},
      {"wider than the rectangle", 20, 1, 1, 30},
      {"negative", -3, 1, -2, 1},
  };
  const RECT rect{1, 1, 9, 7};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto b = Filled(10, 8, 0xFFFFFF);
    FillBorderSolid(b->Canvas().Handle(), rect, c.left, 0x0000FF, c.bottom, c.right, c.top);
    const int l = std::max(c.left, 0), t = std::max(c.top, 0), r = std::max(c.right, 0), bo = std::max(c.bottom, 0);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inRect = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
        const int ix = x - rect.left, iy = y - rect.top, w = 8, h = 6;
        const bool inRing = iy < t || ix < l || iy >= h - bo || ix >= w - r;
        EXPECT_EQ(At(*b, x, y), inRect && inRing ? 0x0000FFu : 0xFFFFFFu) << x << "," << y;
      }
  }
}

TEST(BorderStrips, CopiesTheRingFromTheSameOffsetInTheSource) {
  auto source = Coded(14, 14);
  for (int border : {1, 2, 5}) {
    SCOPED_TRACE(border);
    auto dest = Filled(10, 10, 0xFFFFFF);
    CopyBorderStrips(dest->Canvas().Handle(), 1, 2, 8, 6, source->Canvas().Handle(), 3, 4, border);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inRect = x >= 1 && x < 9 && y >= 2 && y < 8;
        const bool inRing = x < 1 + border || x >= 9 - border || y < 2 + border || y >= 8 - border;
        const std::uint32_t expected = inRect && inRing ? Code(3 + x - 1, 4 + y - 2) : 0xFFFFFFu;
        EXPECT_EQ(At(*dest, x, y), expected) << x << "," << y;
      }
  }
}

TEST(KeyedCopy, KeyPixelsOfTheDestinationTakeTheSource) {
  auto source = Coded(8, 8);
  auto dest = Filled(6, 4, 0x202020);
  Put(*dest, 1, 1, KeyPixel);
  Put(*dest, 2, 1, KeyPixel, 0xFF);  // the alpha byte does not matter
  Put(*dest, 5, 3, KeyPixel);        // outside the overlap
  Put(*dest, 0, 0, 0xFE00FF);
  // destRect reaches beyond the bitmap; the overlap is 3 x 3 from (0, 0).
  CopyKeyedFromSource(dest.get(), source.get(), RECT{0, 0, 9, 3}, 13, nullptr, -1, RECT{4, 5, 7, 8});
  EXPECT_EQ(At(*dest, 1, 1), Code(5, 6));
  EXPECT_EQ(At(*dest, 2, 1), Code(6, 6));
  EXPECT_EQ(At(*dest, 5, 3), KeyPixel);
  EXPECT_EQ(At(*dest, 0, 0), 0xFE00FFu);
  EXPECT_EQ(At(*dest, 0, 1), 0x202020u);
}

TEST(KeyedCopy, MaskCornerChoosesWhereTheTestIsMade) {
  FixedSystem system;
  TsSkinTables tables(system);
  // Two states of 4 x 4; only the first state's corner pixels are key.
  auto image = Filled(8, 4, 0x808080);
  for (POINT p : {POINT{0, 0}, POINT{3, 0}, POINT{0, 3}, POINT{3, 3}}) Put(*image, p.x, p.y, KeyPixel);
  TsMaskData mask;
  mask.OwnBitmap = std::shared_ptr<fw::TBitmap>(image.release());
  mask.SrcRight = 8;
  mask.SrcBottom = 4;
  mask.StateCount = 2;
  mask.Owner = &tables;
  tables.Masks.push_back(mask);
  auto source = Coded(4, 4);
  struct Case {
    int corner;
    int x, y;  // the one destination pixel taken from the source
  };
  const Case cases[] = {{13, 0, 0}, {14, 1, 0}, {16, 0, 1}, {17, 1, 1}, {5, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.corner);
    auto dest = Filled(4, 4, 0x202020);
    Put(*dest, 3, 3, KeyPixel);  // the mask decides, not the destination
    CopyKeyedFromSource(dest.get(), source.get(), RECT{0, 0, 2, 2}, c.corner, &tables, 0, RECT{2, 2, 4, 4});
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x)
        EXPECT_EQ(At(*dest, x, y), x == c.x && y == c.y ? Code(2 + x, 2 + y) : 0x202020u) << x << "," << y;
    EXPECT_EQ(At(*dest, 3, 3), KeyPixel);
  }
  // An unknown mask index copies nothing.
  auto dest = Filled(2, 2, KeyPixel);
  CopyKeyedFromSource(dest.get(), source.get(), RECT{0, 0, 2, 2}, 13, &tables, 4, RECT{0, 0, 2, 2});
  EXPECT_EQ(At(*dest, 0, 0), KeyPixel);
}

TEST_F(ParentPaint, DisabledLookGreysAndBlends) {
  const std::uint32_t picture = 0x3264C8;
  // Grey only.
  auto grey = Filled(4, 4, picture);
  ApplyDisabledLook(grey.get(), dkGrayed, nullptr, POINT{0, 0}, EmptyParentCache());
  for (int i = 1; i < 3; ++i) EXPECT_EQ(Channel(At(*grey, 2, 2), i), Channel(At(*grey, 2, 2), 0));
  EXPECT_NE(At(*grey, 2, 2), picture);

  // Blended over a parent bitmap read at parent position plus offset.
  auto parentBitmap = Filled(10, 10, 0xF0F0F0);
  Put(*parentBitmap, 3, 4, KeyPixel);
  auto blended = Filled(4, 4, picture);
  ApplyDisabledLook(blended.get(), dkBlended, nullptr, POINT{2, 3}, MakeParentCache(parentBitmap.get(), 1, 1));
  EXPECT_EQ(At(*blended, 0, 0), picture);  // a key pixel of the parent leaves the picture
  for (int i = 0; i < 3; ++i) {
    const int expected = static_cast<int>(std::lround(0xF0 - (0xF0 - static_cast<int>(Channel(picture, i))) * 0.4));
    EXPECT_NEAR(static_cast<int>(Channel(At(*blended, 1, 1), i)), expected, 1) << i;
  }

  // Half and half with the parent's colour, or with the control's parent's.
  auto graphic = new TGraphicParent(form, behaviour);
  graphic->SetParent(parent);
  parent->SetColor(0x000000);
  struct Case {
    const char* name;
    ParentCache cache;
    fw::TControl* control;
    std::uint32_t mixColor;  // KeyPixel: left alone
  };
  const Case cases[] = {
      {"fill colour", ParentCache{nullptr, 0, 0, 0xFFFFFF, false}, nullptr, 0xFFFFFF},
      {"control's parent", ParentCache{nullptr, 0, 0, clSkinTransparent, false}, graphic, 0x000000},
      {"nothing known", ParentCache{nullptr, 0, 0, clSkinTransparent, false}, nullptr, KeyPixel},
      {"ready without a bitmap", ParentCache{nullptr, 0, 0, clSkinTransparent, true}, nullptr, KeyPixel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto b = Filled(4, 4, picture);
    ApplyDisabledLook(b.get(), dkBlended, c.control, POINT{0, 0}, c.cache);
    for (POINT p : {POINT{0, 0}, POINT{3, 3}})
      for (int i = 0; i < 3; ++i) {
        const int expected =
            c.mixColor == KeyPixel
                ? static_cast<int>(Channel(picture, i))
                : (static_cast<int>(Channel(picture, i)) + static_cast<int>(Channel(c.mixColor, i))) / 2;
        EXPECT_NEAR(static_cast<int>(Channel(At(*b, p.x, p.y), i)), expected, 1) << i;
      }
  }
}

TEST(FrameImage, SidesTiledOrStretchedCornersUnscaled) {
  auto source = Coded(6, 6);
  const RECT margins{2, 2, 2, 2};
  const RECT noLimits{0, 0, 0, 0};
  struct Case {
    const char* name;
    std::array<int, 4> sides;
    bool centre;
  };
  const Case cases[] = {
      {"tiled", {0, 0, 0, 0}, false}, {"stretched", {1, 1, 1, 1}, true}, {"unpainted", {2, 2, 2, 2}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto dest = Filled(12, 8, 0xFFFFFF);
    // destRect starts at column 1 and reaches past the bitmap's right edge.
    StretchFrameImage(dest.get(), source.get(), RECT{1, 0, 15, 8}, c.centre, 1, c.sides, noLimits, margins,
                      RECT{0, 0, 6, 6});
    EXPECT_EQ(At(*dest, 0, 0), 0xFFFFFFu);  // left of destRect
    EXPECT_EQ(At(*dest, 1, 0), Code(0, 0));
    EXPECT_EQ(At(*dest, 2, 7), Code(1, 5));
    // Top band, columns 3..; the middle piece of the source is columns 2 and 3.
    for (int i = 0; i < 9; ++i) {
      const int x = 3 + i;
      std::uint32_t expected = 0xFFFFFF;
      if (c.sides[1] == 0) expected = Code(2 + i % 2, 1);
      if (c.sides[1] == 1) expected = Code(2 + i * 2 / 10, 1);
      EXPECT_EQ(At(*dest, x, 1), expected) << x;
    }
    // Left band, rows 2..5 of 8: the source's middle rows are 2 and 3.
    for (int y = 2; y < 6; ++y) {
      std::uint32_t expected = 0xFFFFFF;
      if (c.sides[0] == 0) expected = Code(0, 2 + (y - 2) % 2);
      if (c.sides[0] == 1) expected = Code(0, 2 + (y - 2) * 2 / 4);
      EXPECT_EQ(At(*dest, 1, y), expected) << y;
    }
    EXPECT_EQ(At(*dest, 5, 3), c.centre ? Code(2, 2) : 0xFFFFFFu);
  }
}

TEST(FrameImage, LimitsCutTheCornerAndTheSideTakesTheRest) {
  auto source = Coded(6, 6);
  auto dest = Filled(10, 6, 0xFFFFFF);
  StretchFrameImage(dest.get(), source.get(), RECT{0, 0, 10, 6}, false, 0, {0, 0, 0, 0}, RECT{1, 0, 0, 0},
                    RECT{2, 2, 2, 2}, RECT{0, 0, 6, 6});
  EXPECT_EQ(At(*dest, 0, 0), Code(0, 0));
  EXPECT_EQ(At(*dest, 1, 0), Code(2, 0));  // the top band begins after a 1-pixel corner
  EXPECT_EQ(At(*dest, 0, 3), Code(0, 3));
  EXPECT_EQ(At(*dest, 1, 3), 0xFFFFFFu);  // the left band is 1 pixel wide
}

// A windowless child that fills itself with one colour, or calls back.
class TPainter : public fw::TGraphicControl {
 public:
  TPainter(fw::TWinControl* parent, RECT bounds, std::uint32_t color) : fw::TGraphicControl(nullptr), FColor(color) {
    SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    SetParent(parent);
  }
  std::function<void()> OnPaint;
  int paints = 0;
  bool sawPaintCopy = false;

 protected:
  void Paint() override {
    ++paints;
    sawPaintCopy = (ControlState() & fw::csPaintCopy) != 0;
    if (FColor != 0xFFFFFFFFu) {
      RECT all{-5, -5, 100, 100};  // the clip keeps it inside the child
      FillSolid(Canvas().Handle(), all, static_cast<fw::TColor>(FColor));
    }
    if (OnPaint) OnPaint();
  }

 private:
  std::uint32_t FColor;
};

class GraphicChildren : public ParentPaint {
 protected:
  // A DC whose clip box is empty.
  struct EmptyClip {
    std::unique_ptr<fw::TBitmap> bitmap = Filled(4, 4, 0xFFFFFF);
    HDC dc = bitmap->Canvas().Handle();
    EmptyClip() { ::IntersectClipRect(dc, 0, 0, 0, 0); }
    ~EmptyClip() { ::SelectClipRgn(dc, nullptr); }
  };
};

TEST_F(GraphicChildren, ChildrenPaintOverTheContainersBackground) {
  behaviour.answerKind = bkColor;
  behaviour.color = 0x00FF00;
  std::vector<std::unique_ptr<TPainter>> children;
  children.push_back(std::make_unique<TPainter>(parent, RECT{2, 2, 6, 6}, 0x0000FF));
  children.push_back(std::make_unique<TPainter>(parent, RECT{10, 2, 14, 6}, 0xFFFFFFFFu));  // paints nothing
  children.push_back(std::make_unique<TPainter>(parent, RECT{20, 2, 24, 6}, KeyPixel));     // stays unseen
  children.push_back(std::make_unique<TPainter>(parent, RECT{30, 2, 34, 6}, 0xFF0000));
  children[3]->SetVisible(false);
  parent->SetControlState(parent->ControlState() | fw::csPaintCopy);
  for (POINT offset : {POINT{0, 0}, POINT{3, 1}}) {
    SCOPED_TRACE(offset.x);
    auto target = Filled(45, 35, 0xFFFFFF);
    PaintGraphicChildren(target->Canvas().Handle(), parent, offset, true);
    auto at = [&](int x, int y) { return At(*target, x + offset.x, y + offset.y); };
    EXPECT_EQ(at(2, 2), 0x0000FFu);
    EXPECT_EQ(at(5, 5), 0x0000FFu);
    EXPECT_EQ(at(6, 2), 0xFFFFFFu);
    EXPECT_EQ(at(10, 2), 0x00FF00u);  // the container's colour under it
    EXPECT_EQ(at(13, 5), 0x00FF00u);
    EXPECT_EQ(at(21, 3), 0xFFFFFFu);
    EXPECT_EQ(at(31, 3), 0xFFFFFFu);
  }
  EXPECT_TRUE(children[0]->sawPaintCopy);
  EXPECT_EQ(children[0]->ControlState() & fw::csPaintCopy, 0u);
  EXPECT_EQ(children[3]->paints, 0);
  EXPECT_EQ(behaviour.partlyOutside, 0);
}

TEST_F(GraphicChildren, ChildOverAContainerBitmapGetsItsPiece) {
  auto parentBitmap = Coded(50, 40);
  behaviour.answerKind = bkBitmap;
  behaviour.bitmap = parentBitmap.get();
  behaviour.offsetX = 4;
  behaviour.offsetY = 3;
  TPainter child(parent, RECT{2, 2, 6, 6}, 0xFFFFFFFFu);
  auto target = Filled(45, 35, 0xFFFFFF);
  PaintGraphicChildren(target->Canvas().Handle(), parent, POINT{0, 0}, true);
  EXPECT_EQ(At(*target, 2, 2), Code(6, 5));
  EXPECT_EQ(At(*target, 5, 5), Code(9, 8));
  EXPECT_EQ(child.paints, 1);
}

TEST_F(GraphicChildren, EmptyClipBoxOnlyTellsTheContainer) {
  TPainter child(parent, RECT{2, 2, 6, 6}, 0x0000FF);
  EmptyClip empty;
  PaintGraphicChildren(empty.dc, parent, POINT{0, 0}, true);
  EXPECT_EQ(behaviour.partlyOutside, 1);
  EXPECT_EQ(child.paints, 0);
}

TEST_F(GraphicChildren, CallFromInsideAChildsPaintDoesNothing) {
  TPainter child(parent, RECT{2, 2, 6, 6}, 0x0000FF);
  EmptyClip empty;
  child.OnPaint = [&] { PaintGraphicChildren(empty.dc, parent, POINT{0, 0}, true); };
  auto target = Filled(45, 35, 0xFFFFFF);
  PaintGraphicChildren(target->Canvas().Handle(), parent, POINT{0, 0}, true);
  EXPECT_EQ(child.paints, 1);
  EXPECT_EQ(behaviour.partlyOutside, 0);
  EXPECT_EQ(At(*target, 3, 3), 0x0000FFu);
  // The guard is down again afterwards.
  child.OnPaint = nullptr;
  PaintGraphicChildren(empty.dc, parent, POINT{0, 0}, true);
  EXPECT_EQ(behaviour.partlyOutside, 1);
}

TEST_F(GraphicChildren, FailingChildGoesToTheApplicationAndTheOthersStillPaint) {
  std::vector<std::string> reported;
  fw::Application->OnException = [&](const std::exception_ptr& e) { reported.push_back(fw::ExceptionMessage(e)); };
  TPainter failing(parent, RECT{2, 2, 6, 6}, 0x0000FF);
  failing.OnPaint = [] { throw fw::Exception("child paint failed"); };
  TPainter after(parent, RECT{10, 2, 14, 6}, 0xFF0000);
  parent->SetControlState(parent->ControlState() | fw::csPaintCopy);
  auto target = Filled(45, 35, 0xFFFFFF);
  PaintGraphicChildren(target->Canvas().Handle(), parent, POINT{0, 0}, true);
  fw::Application->OnException = nullptr;
  EXPECT_EQ(reported, (std::vector<std::string>{"child paint failed"}));
  EXPECT_EQ(failing.ControlState() & fw::csPaintCopy, 0u) << "its state is put back";
  EXPECT_EQ(At(*target, 11, 3), 0xFF0000u) << "the next child paints all the same";
}

TEST_F(GraphicChildren, HiddenContainerOrNoChildrenPaintsNothing) {
  EmptyClip empty;
  PaintGraphicChildren(empty.dc, parent, POINT{0, 0}, true);  // no children
  EXPECT_EQ(behaviour.partlyOutside, 0);
  TPainter child(parent, RECT{2, 2, 6, 6}, 0x0000FF);
  parent->SetVisible(false);
  auto target = Filled(45, 35, 0xFFFFFF);
  PaintGraphicChildren(target->Canvas().Handle(), parent, POINT{0, 0}, true);
  EXPECT_EQ(child.paints, 0);
  PaintGraphicChildren(target->Canvas().Handle(), parent, POINT{0, 0}, false);
  EXPECT_EQ(child.paints, 1);
}

}  // namespace
}  // namespace translit
