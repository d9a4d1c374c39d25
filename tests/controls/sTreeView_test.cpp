// The skinned tree view on a form: frame, background and bars from the skin
// while skinned, a tree of 2 000 nodes scrolled with the skinned bars by the
// mouse, the selected node painted from "SELECTION" (or the skin's selection
// colours and a focus rectangle without it), the application's own item
// drawing respected, colours and the platform's frame and bars back on
// removal and the new skin's after a change, the skin taken up again when
// shown, the bars and the hot state following the framework's
// notifications, the bound label beside the tree, and the stored
// properties.
#include "controls/sTreeView.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Buttons.h"
#include "framework/ClassRegistry.h"
#include "framework/Forms.h"
#include "tests/controls/ScrollFixture.h"

namespace translit {
namespace {

using namespace test;

class TreeForm {
 public:
  explicit TreeForm(int nodes) {
    // Owned by the application: the manager tells the application's forms.
    form = std::make_unique<fw::TForm>(fw::Application);
    form->SetBounds(60, 60, 360, 320);
    tree = new TsTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(40, 20, 220, 240);
    tree->SetHideSelection(false);
    form->Show();
    tree->Items().BeginUpdate();
    for (int i = 0; i < nodes; ++i) tree->Items().AddChild(nullptr, "Folder " + std::to_string(i));
    tree->Items().EndUpdate();
    ::SetForegroundWindow(form->Handle());
    PumpUntil([&] { return ::GetForegroundWindow() == form->Handle(); }, 2000);
    PumpFor(60);
  }
  HWND Tree() const { return tree->Handle(); }
  HTREEITEM FirstVisible() const {
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree->Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
  }
  int IndexOf(HTREEITEM item) const {
    int i = 0;
    for (fw::TTreeNode* n = tree->Items().GetFirstNode(); n; n = n->GetNextSibling(), ++i)
      if (n->ItemId() == item) return i;
    return -1;
  }
  void Repaint() {
    ::RedrawWindow(tree->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(30);
  }
  RECT VerticalBar() const { return tree->ScrollWnd()->BarRect(*tree->ScrollWnd()->VertBar); }
  // A pixel of the client area.
  COLORREF ClientPixel(int x, int y) const {
    HDC dc = ::GetDC(tree->Handle());
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(tree->Handle(), dc);
    return c;
  }

  std::unique_ptr<fw::TForm> form;
  TsTreeView* tree = nullptr;
};

// A point of the selected node's text rectangle that no letter covers:
// its second row, a little inside its left end.
POINT InSelection(TsTreeView* tree) {
  const RECT r = tree->Selected()->DisplayRect(true);
  return POINT{r.left + 3, r.top + 1};
}

TEST(SkinnedTree, FrameBackgroundAndBarsComeFromTheSkin) {
  ScrollSkin skin;
  TreeForm f(2000);
  ASSERT_NE(f.tree->ScrollWnd(), nullptr);
  EXPECT_EQ(::GetPropA(f.Tree(), kSubclassProp), f.tree->ScrollWnd());
  EXPECT_EQ(f.tree->SkinData().SkinSection(), "EDIT");
  EXPECT_EQ(f.tree->SkinData().ControlKind, kKindTreeView);
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(f.Tree(), TVM_GETBKCOLOR, 0, 0)), kEditColor);
  f.Repaint();
  const RECT bar = f.VerticalBar();
  const int x = (bar.left + bar.right) / 2, a = SystemArrowSize();
  EXPECT_EQ(WindowPixel(f.Tree(), x, bar.top + a / 2), kArrow);
  EXPECT_EQ(WindowPixel(f.Tree(), x, bar.top + a + 2), kThumb) << "2 000 nodes: the thumb at its minimum size";
  EXPECT_EQ(WindowPixel(f.Tree(), x, (bar.top + bar.bottom) / 2), kTrack2);
  EXPECT_EQ(WindowPixel(f.Tree(), x, bar.bottom - a / 2), kArrow);
  EXPECT_EQ(WindowPixel(f.Tree(), 0, 50), kEditColor) << "the frame ring";
  RECT client;
  ::GetClientRect(f.Tree(), &client);
  EXPECT_EQ(f.ClientPixel(client.right - 3, client.bottom - 3), kEditColor) << "the background";
}

TEST(SkinnedTree, TwoThousandNodesScrollLineByLineWithTheSkinnedBars) {
  ScrollSkin skin;
  TreeForm f(2000);
  f.Repaint();
  const RECT bar = f.VerticalBar();
  const POINT down = ScreenPoint(f.Tree(), (bar.left + bar.right) / 2, bar.bottom - 4);
  ASSERT_EQ(f.IndexOf(f.FirstVisible()), 0);
  ASSERT_TRUE(HoverBarAt(f.Tree(), down));
  LeftDown();
  PumpFor(30);
  LeftUp();
  PumpFor(60);
  EXPECT_EQ(f.IndexOf(f.FirstVisible()), 1) << "one click on the down arrow scrolls one line";
  for (int i = 0; i < 5; ++i) {
    LeftDown();
    PumpFor(20);
    LeftUp();
    PumpFor(30);
  }
  EXPECT_EQ(f.IndexOf(f.FirstVisible()), 6);
  // The bar is the skin's after the tree scrolled.
  const int x = (bar.left + bar.right) / 2;
  EXPECT_EQ(WindowPixel(f.Tree(), x, bar.bottom - 4), kArrowHot) << "the arrow under the mouse";
  EXPECT_EQ(WindowPixel(f.Tree(), x, (bar.top + bar.bottom) / 2), kTrack2);

  // The thumb dragged to the end shows the last page.
  auto* sw = f.tree->ScrollWnd();
  const int length = bar.bottom - bar.top, a = SystemArrowSize();
  const TacThumb t = ThumbGeometry(sw->VertBar->Info, length, a, 10);
  const POINT grab = ScreenPoint(f.Tree(), x, bar.top + t.Start + t.Size / 2);
  ASSERT_TRUE(HoverBarAt(f.Tree(), grab));
  LeftDown();
  PumpFor(30);
  for (int dy = 10; dy <= length; dy += 10) {
    MouseMove(POINT{grab.x, grab.y + dy});
    PumpFor(15);
  }
  LeftUp();
  PumpFor(80);
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  ::GetScrollInfo(f.Tree(), SB_VERT, &si);
  EXPECT_EQ(si.nPos, si.nMax - static_cast<int>(si.nPage) + 1);
  EXPECT_EQ(f.IndexOf(f.FirstVisible()), si.nPos);
  const TacThumb end = ThumbGeometry(si, length, a, 10);
  EXPECT_EQ(WindowPixel(f.Tree(), x, bar.top + end.Start + end.Size / 2), kThumb);
  EXPECT_EQ(WindowPixel(f.Tree(), x, bar.top + end.Start - 3), kTrack1);
}

TEST(SkinnedTree, TheSelectedNodeIsPaintedFromTheSelectionSection) {
  ScrollSkin skin;
  TreeForm f(20);
  f.tree->SetSelected(f.tree->Items().GetFirstNode()->GetNextSibling());
  f.tree->SetFocus();
  f.Repaint();
  POINT p = InSelection(f.tree);
  EXPECT_EQ(f.ClientPixel(p.x, p.y), kSelectionFocused) << "focused: the hot look";
  ::SetFocus(nullptr);
  f.Repaint();
  EXPECT_EQ(f.ClientPixel(p.x, p.y), kSelection);
  // Other nodes are the platform's, in the tree's (skin's) colours.
  const RECT other = f.tree->Items().GetFirstNode()->DisplayRect(true);
  EXPECT_EQ(f.ClientPixel(other.right + 4, (other.top + other.bottom) / 2), kEditColor);
}

TEST(SkinnedTree, WithoutASelectionSectionTheSelectionTakesTheSkinsColoursAndAFocusRectangle) {
  ScrollSkin skin(false);
  TreeForm f(20);
  f.tree->SetSelected(f.tree->Items().GetFirstNode());
  f.tree->SetFocus();
  f.Repaint();
  const COLORREF focused = static_cast<COLORREF>(skin.manager->ColorToRGB(skin.manager->SelectionColor(true)));
  const RECT r = f.tree->Selected()->DisplayRect(true);
  int filled = 0, all = 0;
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    for (int x = r.left + 1; x < r.right - 1; ++x, ++all) filled += f.ClientPixel(x, y) == focused;
  EXPECT_GT(filled * 2, all) << "the text rectangle is filled with the selection colour";
  int dotted = 0;
  for (int x = r.left + 1; x < r.right - 1; ++x) dotted += f.ClientPixel(x, r.top) != focused;
  EXPECT_GT(dotted, 3) << "the focus rectangle's dots along the top";
  ::SetFocus(nullptr);
  f.Repaint();
  dotted = 0;
  for (int x = r.left + 1; x < r.right - 1; ++x)
    dotted +=
        f.ClientPixel(x, r.top) != static_cast<COLORREF>(skin.manager->ColorToRGB(skin.manager->SelectionColor(false)));
  EXPECT_EQ(dotted, 0) << "no focus rectangle without the focus";
}

TEST(SkinnedTree, AnApplicationHandlerThatClearsDefaultDrawKeepsControl) {
  ScrollSkin skin;
  TreeForm f(20);
  constexpr COLORREF kOwn = 0x4080C0;
  int calls = 0;
  f.tree->OnAdvancedCustomDrawItem = [&](fw::TComponent*, fw::TTreeNode* node, fw::TCustomDrawState,
                                         fw::TCustomDrawStage stage, bool&, bool& defaultDraw) {
    ++calls;
    if (stage != fw::cdPrePaint || !node->Selected()) return;
    const RECT r = node->DisplayRect(true);
    fw::UniqueBrush brush(::CreateSolidBrush(kOwn));
    ::FillRect(f.tree->Canvas().Handle(), &r, brush.Get());
    defaultDraw = false;
  };
  f.tree->SetSelected(f.tree->Items().GetFirstNode());
  f.tree->SetFocus();
  f.Repaint();
  EXPECT_GT(calls, 0);
  const POINT p = InSelection(f.tree);
  EXPECT_EQ(f.ClientPixel(p.x, p.y), kOwn);
}

TEST(SkinnedTree, RemovingTheSkinRestoresColoursFrameAndBars) {
  ScrollSkin skin;
  TreeForm f(2000);
  f.Repaint();
  const RECT bar = f.VerticalBar();
  const int x = (bar.left + bar.right) / 2;
  skin.manager->SetActive(false);
  f.Repaint();
  EXPECT_EQ(f.tree->ScrollWnd(), nullptr);
  EXPECT_EQ(::GetPropA(f.Tree(), kSubclassProp), nullptr);
  EXPECT_EQ(f.tree->WindowProc.target<TacMethodHook>(), nullptr);
  EXPECT_EQ(f.tree->Color(), fw::clWindow);
  EXPECT_EQ(f.tree->Font().Color(), fw::clWindowText);
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(f.Tree(), TVM_GETBKCOLOR, 0, 0)), ::GetSysColor(COLOR_WINDOW));
  EXPECT_NE(WindowPixel(f.Tree(), x, bar.bottom - 4), kArrow);
  EXPECT_NE(WindowPixel(f.Tree(), 0, 50), kEditColor);
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  ASSERT_TRUE(::GetScrollBarInfo(f.Tree(), OBJID_VSCROLL, &sbi));
  const POINT onBar{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2,
                    (sbi.rcScrollBar.top + sbi.rcScrollBar.bottom) / 2};
  EXPECT_EQ(::SendMessageA(f.Tree(), WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)), HTVSCROLL);

  // Back again: skinned once more.
  skin.manager->SetActive(true);
  f.Repaint();
  ASSERT_NE(f.tree->ScrollWnd(), nullptr);
  EXPECT_EQ(WindowPixel(f.Tree(), x, bar.bottom - 4), kArrow);
}

TEST(SkinnedTree, AfterASkinChangeTheTreeTakesTheNewSkinsColour) {
  ScrollSkin skin;
  constexpr COLORREF kOtherEdit = 0x30A050;
  WriteScrollSkin(skin.tmp.Path(), "T", ScrollSkinOptions(true, kOtherEdit));
  TreeForm f(20);
  ASSERT_EQ(f.tree->Color(), static_cast<fw::TColor>(kEditColor));
  skin.manager->SetSkinName("T");
  PumpFor(60);
  EXPECT_EQ(f.tree->Color(), static_cast<fw::TColor>(kOtherEdit));
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(f.Tree(), TVM_GETBKCOLOR, 0, 0)), kOtherEdit);
  // A disabled tree's selection is mixed half and half with the tree's
  // colour, the new skin's.
  f.tree->SetSelected(f.tree->Items().GetFirstNode());
  f.tree->SetEnabled(false);
  f.Repaint();
  const POINT p = InSelection(f.tree);
  const COLORREF seen = f.ClientPixel(p.x, p.y);
  for (int shift : {0, 8, 16}) {
    const int expected = (((kSelection >> shift) & 0xFF) + ((kOtherEdit >> shift) & 0xFF)) / 2;
    EXPECT_NEAR(static_cast<int>((seen >> shift) & 0xFF), expected, 2) << "channel at bit " << shift;
  }
}

TEST(SkinnedTree, OwnColoursStayWhenTheSkinGoes) {
  ScrollSkin skin;
  TreeForm f(10);
  f.tree->SkinData().SetCustomColor(true);
  f.tree->SkinData().SetCustomFont(true);
  f.tree->SetColor(static_cast<fw::TColor>(0x123456));
  f.tree->Font().SetColor(static_cast<fw::TColor>(0x654321));
  f.Repaint();
  skin.manager->SetActive(false);
  EXPECT_EQ(f.tree->Color(), static_cast<fw::TColor>(0x123456));
  EXPECT_EQ(f.tree->Font().Color(), static_cast<fw::TColor>(0x654321));
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(f.Tree(), TVM_GETBKCOLOR, 0, 0)), 0x123456u);
}

TEST(SkinnedTree, ShownAgainTheTreeTakesUpItsSkinAgain) {
  ScrollSkin skin;
  TreeForm f(20);
  ASSERT_NE(f.tree->ScrollWnd(), nullptr);
  // Let go of the window, as its destruction would, with a colour of the
  // application's that the skin overrides.
  f.tree->ScrollWnd()->Detach();
  f.tree->SetColor(static_cast<fw::TColor>(0x123456));
  f.tree->SetVisible(false);
  f.tree->SetVisible(true);
  PumpFor(30);
  ASSERT_NE(f.tree->ScrollWnd(), nullptr);
  EXPECT_FALSE(f.tree->ScrollWnd()->Detached);
  EXPECT_EQ(::GetPropA(f.Tree(), kSubclassProp), f.tree->ScrollWnd());
  EXPECT_EQ(f.tree->Color(), static_cast<fw::TColor>(kEditColor)) << "the section resolved again";
}

TEST(SkinnedTree, TheBarsCatchUpWithTheFrameworksNotifications) {
  ScrollSkin skin;
  TreeForm f(2000);
  // The focus moves between two other controls: the tree itself hears
  // nothing but the framework's notice.
  fw::TButton* buttons[2];
  for (int i = 0; i < 2; ++i) {
    buttons[i] = new fw::TButton(f.form.get());
    buttons[i]->SetParent(f.form.get());
    buttons[i]->SetBounds(270, 20 + 30 * i, 60, 24);
  }
  buttons[0]->SetFocus();
  PumpFor(30);
  TacScrollWnd* sw = f.tree->ScrollWnd();
  ASSERT_NE(sw, nullptr);
  struct Case {
    const char* what;
    std::function<void()> notify;
  };
  const Case cases[] = {
      {"the focus moved between other controls", [&] { buttons[1]->SetFocus(); }},
      {"a wheel turn", [&] { f.tree->Perform(fw::CM_MOUSEWHEEL, 0, 0); }},
      {"a key down", [&] { f.tree->Perform(fw::CN_KEYDOWN, VK_SHIFT, 0); }},
      {"a key up", [&] { f.tree->Perform(fw::CN_KEYUP, VK_SHIFT, 0); }},
  };
  int pos = 100;
  for (const Case& c : cases) {
    // The position moved without a message to the window, as the platform
    // may move it while it handles something else.
    pos += 10;
    SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, pos, 0};
    ::SetScrollInfo(f.Tree(), SB_VERT, &si, FALSE);
    ASSERT_NE(sw->VertBar->Info.nPos, pos) << c.what;
    c.notify();
    EXPECT_EQ(sw->VertBar->Info.nPos, pos) << c.what;
  }
}

TEST(SkinnedTree, TheMouseOverTheTreeMakesItTheHotControl) {
  ScrollSkin skin;
  TreeForm f(20);
  RECT client;
  ::GetClientRect(f.Tree(), &client);
  POINT inside{client.right / 2, client.bottom / 2};
  ::ClientToScreen(f.Tree(), &inside);
  MouseMove(inside);
  EXPECT_TRUE(PumpUntil([&] { return f.tree->SkinData().MouseAbove; }, 3000));
  EXPECT_EQ(skin.manager->HotControl(), f.Tree());
  MouseMove(POINT{5, 5});
  EXPECT_TRUE(PumpUntil([&] { return !f.tree->SkinData().MouseAbove; }, 3000));
}

TEST(BoundLabel, ItStandsBesideTheTreeAndFollowsIt) {
  ScrollSkin skin;
  TreeForm f(5);
  TsBoundLabel& bound = f.tree->BoundLabel();
  EXPECT_FALSE(bound.Active());
  EXPECT_TRUE(bound.UseSkinColor());
  EXPECT_EQ(bound.Label(), nullptr);
  bound.SetCaption("Folders");
  bound.SetIndent(3);
  bound.SetActive(true);
  fw::TLabel* label = bound.Label();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Parent(), f.form.get());
  EXPECT_EQ(label->Caption(), "Folders");
  EXPECT_EQ(label->Left() + label->Width(), f.tree->Left() - (3 + 4));
  EXPECT_EQ(label->Top(), f.tree->Top() + (f.tree->Height() - label->Height()) / 2) << "vertically centred";

  f.tree->SetBounds(120, 60, 200, 200);
  PumpFor(20);
  EXPECT_EQ(label->Left() + label->Width(), 120 - 7) << "the label follows the tree";
  f.tree->SetVisible(false);
  EXPECT_FALSE(label->Visible());
  f.tree->SetVisible(true);
  EXPECT_TRUE(label->Visible());

  bound.SetLayout(sclTopRight);
  EXPECT_EQ(label->Left() + label->Width(), f.tree->Left() + f.tree->Width());
  EXPECT_EQ(label->Top() + label->Height(), f.tree->Top() - 3);
  bound.SetLayout(sclTopCenter);
  EXPECT_EQ(label->Left() + label->Width() / 2, f.tree->Left() + f.tree->Width() / 2);
  // The skin's text colour for the form, which tells no section of its own.
  EXPECT_EQ(bound.Label()->TextColor(), static_cast<fw::TColor>(skin.manager->GlobalFontColor()));
  bound.SetUseSkinColor(false);
  EXPECT_EQ(bound.Label()->TextColor(), bound.Label()->Font().Color());
  // The label reads as the tree does.
  f.tree->SetBiDiMode(fw::bdRightToLeft);
  EXPECT_EQ(label->BiDiMode(), fw::bdRightToLeft);
  bound.SetActive(false);
  EXPECT_EQ(bound.Label(), nullptr);
}

TEST(SkinnedTree, StoredPropertiesReachSkinDataAndBoundLabel) {
  RegisterTreeViewClasses();
  fw::TForm form(nullptr);
  auto* tree = dynamic_cast<TsTreeView*>(fw::ClassRegistry::Instance().Create("TsTreeView", &form));
  ASSERT_NE(tree, nullptr);
  fw::TLoadContext ctx;
  auto set = [&](const std::string& path, const fw::StoredValue& v) {
    fw::ClassRegistry::Instance().SetProperty(*tree, path, v, ctx);
  };
  fw::StoredValue section;
  section.kind = fw::StoredValue::kString;
  section.text = "scrollbar1h";
  set("SkinData.SkinSection", section);
  EXPECT_EQ(tree->SkinData().SkinSection(), "SCROLLBAR1H");
  fw::StoredValue yes;
  yes.kind = fw::StoredValue::kIdent;
  yes.text = "True";
  set("BoundLabel.Active", yes);
  EXPECT_TRUE(tree->BoundLabel().Active());
  fw::StoredValue layout;
  layout.kind = fw::StoredValue::kIdent;
  layout.text = "sclTopLeft";
  set("BoundLabel.Layout", layout);
  EXPECT_EQ(tree->BoundLabel().Layout(), sclTopLeft);
}

}  // namespace
}  // namespace translit
