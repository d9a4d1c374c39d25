// The skinned tree with the project's own skin "BlueIce": 2 000 nodes
// scrolled with the mouse, the bars on screen exactly the picture the
// skin's scroll sections give for the bar's state, and the platform's
// picture back once the skin is switched off.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "controls/sTreeView.h"
#include "framework/Forms.h"
#include "controls/skindata/sCommonData.h"
#include "render/paint/sGraphUtils.h"
#include "tests/controls/ScrollFixture.h"

namespace translit {
namespace {

using namespace test;

// The number of pixels of the bar in the window that differ from the skin's
// picture of that bar in its current state.
int DifferentPixels(TacScrollWnd& wnd) {
  TacScrollBar& bar = *wnd.VertBar;
  const RECT r = wnd.BarRect(bar);
  auto expected = NewBitmap32(r.right - r.left, r.bottom - r.top);
  TacBarLook look;
  PaintBarPicture(bar, *DefaultManager, *expected, look, MakeParentCache(wnd.SkinData->CacheBmp.get(), r.left, r.top));
  HDC dc = ::GetWindowDC(wnd.CtrlHandle);
  int differ = 0;
  for (int y = 0; y < expected->Height(); ++y)
    for (int x = 0; x < expected->Width(); ++x)
      differ += ::GetPixel(dc, r.left + x, r.top + y) != ::GetPixel(expected->Canvas().Handle(), x, y);
  ::ReleaseDC(wnd.CtrlHandle, dc);
  return differ;
}

TEST(BlueIceTree, TheBarsShowTheSkinsScrollSections) {
  fw::EnsureApplication().Initialize();
  RegisterSkinManagerClasses();
  auto* manager = new TsSkinManager(nullptr);
  manager->SetSkinDirectory(std::string(TRANSLIT_SKINS_WINDOWS_DIR) + "\\");
  manager->SetSkinName("BlueIce");
  ASSERT_FALSE(manager->Sections.empty());
  ASSERT_GE(manager->ConstIndexes.ScrollBar1V, 0);

  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBounds(60, 60, 360, 340);
  form->SetCaption("BlueIce tree");
  auto* tree = new TsTreeView(form.get());
  tree->SetParent(form.get());
  tree->SetBounds(20, 20, 240, 260);
  tree->SetHideSelection(false);
  form->Show();
  MouseMove(POINT{5, 5});
  tree->Items().BeginUpdate();
  for (int i = 0; i < 2000; ++i) tree->Items().AddChild(nullptr, "Folder " + std::to_string(i));
  tree->Items().EndUpdate();
  ::SetForegroundWindow(form->Handle());
  PumpFor(100);
  ASSERT_NE(tree->ScrollWnd(), nullptr);
  TacScrollWnd& wnd = *tree->ScrollWnd();
  EXPECT_EQ(DifferentPixels(wnd), 0) << "at the top";

  // Scrolled by clicks on the down arrow, a node selected.
  const RECT bar = wnd.BarRect(*wnd.VertBar);
  const POINT down = ScreenPoint(tree->Handle(), (bar.left + bar.right) / 2, bar.bottom - 4);
  ASSERT_TRUE(HoverBarAt(tree->Handle(), down));
  for (int i = 0; i < 40; ++i) {
    LeftDown();
    PumpFor(10);
    LeftUp();
    PumpFor(10);
  }
  EXPECT_EQ(::GetScrollPos(tree->Handle(), SB_VERT), 40);
  tree->SetSelected(tree->Items().GetFirstNode()->GetNextSibling());
  for (int i = 0; i < 44; ++i) tree->SetSelected(tree->Selected()->GetNextSibling());
  tree->SetFocus();
  MouseMove(POINT{5, 5});
  PumpUntil([] { return ScrollTracking().HoverBar < 0; }, 1000);
  PumpFor(60);
  EXPECT_EQ(DifferentPixels(wnd), 0) << "scrolled";
  if (const char* shot = std::getenv("TRANSLIT_SHOT_PAUSE_MS")) {
    std::printf("SHOT\n");
    std::fflush(stdout);
    PumpFor(static_cast<DWORD>(std::atoi(shot)));
  }

  manager->SetActive(false);
  PumpFor(60);
  EXPECT_EQ(tree->ScrollWnd(), nullptr);
  HDC dc = ::GetWindowDC(tree->Handle());
  const COLORREF platform = ::GetPixel(dc, (bar.left + bar.right) / 2, bar.top + 3);
  ::ReleaseDC(tree->Handle(), dc);
  manager->SetActive(true);
  PumpFor(60);
  ASSERT_NE(tree->ScrollWnd(), nullptr);
  EXPECT_EQ(DifferentPixels(*tree->ScrollWnd()), 0) << "skinned again";
  dc = ::GetWindowDC(tree->Handle());
  EXPECT_NE(::GetPixel(dc, (bar.left + bar.right) / 2, bar.top + 3), platform);
  ::ReleaseDC(tree->Handle(), dc);
  form.reset();
  delete manager;
}

}  // namespace
}  // namespace translit
