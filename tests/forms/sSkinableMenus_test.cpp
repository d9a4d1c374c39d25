// Popup items measured and painted from the skin, one item at a time into a
// picture: each kind of item and each state shows the skin's piece for it,
// read back pixel by pixel; and the handlers come and go with the skin.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "forms/acMenuSupport.h"
#include "forms/acPopupCache.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "tests/forms/MenuFixture.h"

namespace translit {
namespace {

using namespace test;

// One item drawn into a picture, inside the popup frame's margin.
struct DrawnItem {
  std::unique_ptr<fw::TBitmap> picture;
  RECT rect{};
  int width = 0, height = 0;
  COLORREF At(int x, int y) { return ::GetPixel(picture->Canvas().Handle(), rect.left + x, rect.top + y); }
  // Columns of the item holding pixels of neither background colour.
  std::vector<int> InkColumns(COLORREF background) {
    std::vector<int> columns;
    for (int x = 0; x < rect.right - rect.left; ++x)
      for (int y = 0; y < rect.bottom - rect.top; ++y)
        if (!Near(At(x, y), background, 40)) {
          columns.push_back(x);
          break;
        }
    return columns;
  }
  int InkPixels(COLORREF background) {
    int n = 0;
    for (int x = 0; x < rect.right - rect.left; ++x)
      for (int y = 0; y < rect.bottom - rect.top; ++y) n += !Near(At(x, y), background, 40);
    return n;
  }
};

class SkinnedItems : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication().Initialize();
    popup = std::make_unique<fw::TPopupMenu>(nullptr);
    skinning.Load();
    ASSERT_NE(skinning.skin->manager->SkinableMenus(), nullptr);
  }
  void TearDown() override { PopupBackgrounds().Clear(); }

  fw::TMenuItem* Add(const std::string& caption) { return popup->Items().Add(caption); }

  DrawnItem Draw(fw::TMenuItem& item, UINT state, int width = 200) {
    TsSkinableMenus& menus = skinning.Menus();
    DrawnItem d;
    {
      fw::WindowDC screen(nullptr);
      fw::TCanvas canvas;
      fw::CanvasScope scope(canvas, screen.Get());
      int w = 0;
      menus.MeasurePopupItem(item, canvas, w, d.height);
      d.width = w;
    }
    const int border = menus.SkinBorderWidth();
    d.picture = NewBitmap32(width + 2 * border, d.height + 2 * border);
    d.rect = RECT{border, border, border + width, border + d.height};
    fw::TCanvas canvas;
    fw::CanvasScope scope(canvas, d.picture->Canvas().Handle());
    menus.DrawPopupItem(item, canvas, d.rect, state);
    return d;
  }

  MenuSkinning skinning;
  std::unique_ptr<fw::TPopupMenu> popup;
};

TEST_F(SkinnedItems, EachKindAndStateShowsItsPiece) {
  TsSkinableMenus& menus = skinning.Menus();
  ASSERT_EQ(menus.SkinBorderWidth(), 6) << "the frame mask's uniform margin";
  fw::TMenuItem* plain = Add("Plain");
  fw::TMenuItem* checked = Add("Checked");
  checked->SetChecked(true);
  fw::TMenuItem* radio = Add("Radio");
  radio->SetChecked(true);
  radio->SetRadioItem(true);
  const int markX = menus.Margin + 4;

  DrawnItem normal = Draw(*plain, 0);
  EXPECT_TRUE(Near(normal.At(normal.width - 10, normal.height / 2), kItem)) << "normal item";
  DrawnItem selected = Draw(*plain, ODS_SELECTED);
  EXPECT_TRUE(Near(selected.At(selected.width - 10, selected.height / 2), kItemHot)) << "selected item";
  // The text in the item's state colours.
  EXPECT_FALSE(normal.InkColumns(kItem).empty());
  auto holds = [](DrawnItem& d, COLORREF c) {
    for (int x = 0; x < d.width; ++x)
      for (int y = 0; y < d.height; ++y)
        if (d.At(x, y) == c) return true;
    return false;
  };
  EXPECT_TRUE(holds(normal, kInk));
  EXPECT_TRUE(holds(selected, kInkHot));
  EXPECT_FALSE(holds(selected, kInk));

  DrawnItem check = Draw(*checked, 0);
  EXPECT_EQ(check.At(markX, check.height / 2), kCheck) << "check mark, normal";
  DrawnItem checkHot = Draw(*checked, ODS_SELECTED);
  EXPECT_EQ(checkHot.At(markX, checkHot.height / 2), kCheckHot) << "check mark, selected look";
  DrawnItem dot = Draw(*radio, 0);
  EXPECT_EQ(dot.At(markX, dot.height / 2), kRadio) << "radio item";
  // Unchecked: no mark.
  EXPECT_TRUE(Near(normal.At(markX, normal.height / 2), kItem));
}

TEST_F(SkinnedItems, DividersAreTwoPixelsOfTheDividerPiece) {
  Add("Above");
  fw::TMenuItem* line = Add("-");
  DrawnItem d = Draw(*line, 0);
  EXPECT_EQ(d.height, 2);
  EXPECT_EQ(d.At(100, 0), kDivider);
  EXPECT_EQ(d.At(100, 1), kDivider);
  // Left of the picture column and right of the end margin: the popup's own
  // background.
  EXPECT_EQ(d.At(2, 0), kMenuBg);
  EXPECT_EQ(d.At(200 - 2, 1), kMenuBg);
}

TEST_F(SkinnedItems, CaptionItemsAreCentredWithoutTheirDashes) {
  fw::TMenuItem* caption = Add("-Title-");
  fw::TMenuItem* normal = Add("Title");
  DrawnItem d = Draw(*caption, 0);
  EXPECT_EQ(d.At(2, d.height / 2), kToolbar);
  const std::vector<int> ink = d.InkColumns(kToolbar);
  ASSERT_FALSE(ink.empty());
  EXPECT_NEAR((ink.front() + ink.back()) / 2.0, 100, 3) << "centred";
  // As wide as the caption without dashes.
  const std::vector<int> plain = Draw(*normal, 0).InkColumns(kItem);
  ASSERT_FALSE(plain.empty());
  EXPECT_NEAR(ink.back() - ink.front(), plain.back() - plain.front(), 1);
}

TEST_F(SkinnedItems, TextPlacement) {
  // Character 8 first: right-aligned, six blanks before the end.
  fw::TMenuItem* right = Add("\x08Right");
  fw::TMenuItem* left = Add("Right");
  std::vector<int> r = Draw(*right, 0).InkColumns(kItem), l = Draw(*left, 0).InkColumns(kItem);
  ASSERT_FALSE(r.empty());
  ASSERT_FALSE(l.empty());
  EXPECT_GT(r.front(), 100);
  EXPECT_LT(r.back(), 200 - 6 * 2);
  EXPECT_NEAR(l.front(), 16 + 2 * skinning.Menus().Margin + skinning.Menus().Spacing, 1) << "after the picture column";

  // The shortcut ends 8 pixels before the right edge.
  fw::TMenuItem* keys = Add("Keys");
  keys->SetShortCut(fw::MakeShortCut('K', fw::scCtrl));
  std::vector<int> k = Draw(*keys, 0).InkColumns(kItem);
  ASSERT_FALSE(k.empty());
  EXPECT_LE(k.back(), 200 - 8);
  EXPECT_GE(k.back(), 200 - 8 - 6);

  // A default item is bold: more ink than the same caption plain.
  fw::TMenuItem* bold = Add("Same words");
  fw::TMenuItem* regular = Add("Same words");
  bold->SetDefault(true);
  EXPECT_GT(Draw(*bold, 0).InkPixels(kItem), Draw(*regular, 0).InkPixels(kItem) + 10);

  // The & underline shows unless the system hides prefixes.
  fw::TMenuItem* accel = Add("&Underlined");
  fw::TMenuItem* bare = Add("Underlined");
  EXPECT_GT(Draw(*accel, 0).InkPixels(kItem), Draw(*bare, 0).InkPixels(kItem));
  EXPECT_EQ(Draw(*accel, ODS_NOACCEL).InkPixels(kItem), Draw(*bare, 0).InkPixels(kItem));
  // "&&" is a plain ampersand either way.
  fw::TMenuItem* doubled = Add("A&&B");
  EXPECT_EQ(Draw(*doubled, ODS_NOACCEL).InkPixels(kItem), Draw(*doubled, 0).InkPixels(kItem));
}

TEST_F(SkinnedItems, DisabledItemsAreFortyPercentOverTheBackground) {
  fw::TMenuItem* off = Add("Off");
  off->SetEnabled(false);
  DrawnItem d = Draw(*off, 0);
  const COLORREF c = d.At(d.width - 10, d.height / 2);
  auto mix = [](int item, int bg) { return (item * 4 + bg * 6) / 10; };
  EXPECT_NEAR(GetRValue(c), mix(GetRValue(kItem), GetRValue(kMenuBg)), 2);
  EXPECT_NEAR(GetGValue(c), mix(GetGValue(kItem), GetGValue(kMenuBg)), 2);
  EXPECT_NEAR(GetBValue(c), mix(GetBValue(kItem), GetBValue(kMenuBg)), 2);
  // Selected, a disabled item keeps its normal look.
  const COLORREF s = Draw(*off, ODS_SELECTED).At(d.width - 10, d.height / 2);
  EXPECT_EQ(s, c);
}

TEST_F(SkinnedItems, SubMenuArrowsAndWindowMenuGlyphs) {
  fw::TMenuItem* sub = Add("Sub");
  sub->Add("Inner");
  fw::TMenuItem* leaf = Add("Sub");
  std::vector<int> withArrow = Draw(*sub, 0).InkColumns(kItem), without = Draw(*leaf, 0).InkColumns(kItem);
  ASSERT_FALSE(withArrow.empty());
  EXPECT_GT(withArrow.back(), 180) << "an arrow at the right end";
  EXPECT_LT(without.back(), 100);

  // A window menu's items without pictures get glyphs in the picture column.
  popup->SetName("SysMenu");
  fw::TMenuItem* close = Add("Close");
  close->SetTag(SC_CLOSE);
  fw::TMenuItem* other = Add("Close");
  EXPECT_LT(Draw(*close, 0).InkColumns(kItem).front(), 4 + 16);
  EXPECT_GE(Draw(*other, 0).InkColumns(kItem).front(), 16);
}

TEST_F(SkinnedItems, TheExtraLine) {
  TsSkinManager& manager = skinning.Manager();
  int asked = 0;
  manager.OnGetMenuExtraLineData = [&asked](fw::TComponent*, std::string&, std::string& caption, fw::TBitmap*&,
                                            bool& visible) {
    ++asked;
    caption = "E&xtra";
    visible = true;
  };
  fw::TMenuItem* first = Add("First");
  // Off (the default): no width whatever the event says.
  const int plainWidth = Draw(*first, 0).width;
  manager.MenuSupport().UseExtraLine = true;
  PopupBackgrounds().Clear();
  DrawnItem on = Draw(*first, 0);
  EXPECT_EQ(on.width, plainWidth + 32);
  EXPECT_EQ(asked, 2) << "asked once per popup";
  EXPECT_EQ(on.At(3, on.height / 2), kExtra) << "the band at the item's left";
  EXPECT_EQ(CurrentExtraLine().Caption, "Extra");
  // A popup led by the skin selection item never shows the line.
  auto skins = std::make_unique<fw::TPopupMenu>(nullptr);
  fw::TMenuItem* select = skins->Items().Add("SkinSelectItem");
  PopupBackgrounds().Clear();
  EXPECT_EQ(Draw(*select, 0).width, Draw(*Add("SkinSelectItem"), 0).width - 32);
  EXPECT_EQ(asked, 3);
}

TEST_F(SkinnedItems, TheExtraLineCaptionReadsUpwardsAboveTheGlyph) {
  // The band's font is a bitmap face by default, which cannot be turned.
  auto band = NewBitmap32(32, 200);
  fw::TBitmap glyph(10, 10, fw::pf32bit);
  FillBitmapRect(&glyph, RECT{0, 0, 10, 10}, 0x0000FF);
  for (fw::TBitmap* withGlyph : {static_cast<fw::TBitmap*>(nullptr), &glyph}) {
    CurrentExtraLine() = TacExtraLineData{};
    CurrentExtraLine().Caption = "Upwards";
    CurrentExtraLine().Glyph = withGlyph;
    PaintExtraLine(skinning.Manager(), *band, RECT{0, 0, 32, 200});
    RECT ink{32, 200, 0, 0}, red{32, 200, 0, 0};
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 32; ++x) {
        const COLORREF c = ::GetPixel(band->Canvas().Handle(), x, y);
        RECT& box = c == RGB(255, 0, 0) ? red : ink;
        if (c == kExtra || (c != RGB(255, 0, 0) && Near(c, kExtra, 60))) continue;
        box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                   std::max<LONG>(box.bottom, y + 1)};
      }
    ASSERT_LT(ink.left, ink.right) << "caption written";
    EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left)) << "taller than wide: turned";
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 16, 3) << "centred";
    if (withGlyph) {
      const RECT expected{11, 200 - 12 - 10, 21, 200 - 12};
      EXPECT_TRUE(::EqualRect(&red, &expected)) << red.left << "," << red.top << "," << red.right << "," << red.bottom;
      EXPECT_LE(ink.bottom, 200 - 20 - 10 + 1);
    } else {
      EXPECT_LE(ink.bottom, 200 - 12 + 1);
      EXPECT_GE(ink.bottom, 200 - 12 - 3);
    }
  }
}

TEST_F(SkinnedItems, ItemsPaintedWithoutTheirWindowAskTheManagerOnce) {
  HWND app = fw::Application->Handle();
  MSG msg;
  while (::PeekMessageA(&msg, app, WM_DRAWMENUBORDER, WM_DRAWMENUBORDER2, PM_REMOVE)) {
  }
  Draw(*Add("First"), 0);
  Draw(*Add("Second"), 0);
  int waiting = 0;
  while (::PeekMessageA(&msg, app, WM_DRAWMENUBORDER, WM_DRAWMENUBORDER2, PM_REMOVE)) {
    ++waiting;
    EXPECT_EQ(::DispatchMessageA(&msg), 1) << "answered by the manager";
  }
  EXPECT_EQ(waiting, 1);
}

TEST_F(SkinnedItems, HandlersFollowTheSkinAndKeepTheItemsOwn) {
  fw::TMenuItem* own = Add("Own");
  int ownCalls = 0;
  own->OnAdvancedDrawItem = [&ownCalls](fw::TComponent*, fw::TCanvas&, const RECT&, fw::TOwnerDrawState) {
    ++ownCalls;
  };
  fw::TMenuItem* plain = Add("Plain");
  auto bar = std::make_unique<fw::TMainMenu>(nullptr);
  fw::TMenuItem* top = bar->Items().Add("&File");
  fw::TMenuItem* inner = top->Add("Open");
  skinning.Menus().SetActive(true);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_TRUE(bar->OwnerDraw());
  EXPECT_TRUE(plain->OnAdvancedDrawItem && plain->OnMeasureItem);
  EXPECT_TRUE(top->OnAdvancedDrawItem && inner->OnAdvancedDrawItem);
  // Removing the skin takes only the skin's handlers away.
  skinning.Manager().SetActive(false);
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_FALSE(bar->OwnerDraw());
  EXPECT_FALSE(plain->OnAdvancedDrawItem || plain->OnMeasureItem);
  EXPECT_FALSE(top->OnAdvancedDrawItem || inner->OnAdvancedDrawItem);
  ASSERT_TRUE(own->OnAdvancedDrawItem);
  fw::TCanvas canvas;
  own->OnAdvancedDrawItem(own, canvas, RECT{}, 0);
  EXPECT_EQ(ownCalls, 1);
  // Skinned popups off: the bar is the skin's, the popups are not.
  skinning.Manager().SetSkinnedPopups(false);
  skinning.Manager().SetActive(true);
  EXPECT_TRUE(bar->OwnerDraw());
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_FALSE(inner->OnAdvancedDrawItem);
}

}  // namespace
}  // namespace translit
