// The skinned tree with the project's own skin "BlueIce": 2 000 nodes
// scrolled with the mouse, the bar's track on screen in the shades of the
// track texture of the skin's master image (read from its file), and the
// platform's picture back once the skin is switched off.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "controls/sTreeView.h"
#include "framework/Forms.h"
#include "tests/controls/ScrollFixture.h"

namespace translit {
namespace {

using namespace test;

// The skin's master image, read from its file.
std::unique_ptr<fw::TBitmap> MasterImage() {
  auto master = std::make_unique<fw::TBitmap>();
  master->LoadFromFile(std::string(TRANSLIT_SKINS_WINDOWS_DIR) + "\\BlueIce\\MASTER.BMP");
  return master;
}

// The colours of a piece of the master image.
std::set<COLORREF> ColoursOf(fw::TBitmap& master, const RECT& piece) {
  std::set<COLORREF> colours;
  for (int y = piece.top; y < piece.bottom; ++y)
    for (int x = piece.left; x < piece.right; ++x) colours.insert(::GetPixel(master.Canvas().Handle(), x, y));
  return colours;
}

// The track sections' textures, normal and hot: 16 x 16 pieces of the
// master image, which the track shows laid over its length.
constexpr RECT kTrackTexture{26, 172, 42, 188};
constexpr RECT kHotTrackTexture{44, 172, 60, 188};

struct TrackLook {
  int notFromTexture = 0;  // pixels of no colour of the texture
  int colours = 0;         // distinct colours seen
};

// The track of the vertical bar between the thumb and the second arrow,
// inside the track image's three-pixel frame, against a texture's colours.
TrackLook TrackAgainst(TacScrollWnd& wnd, const std::set<COLORREF>& texture) {
  constexpr int kFrame = 3;
  const RECT bar = wnd.BarRect(*wnd.VertBar);
  const int length = bar.bottom - bar.top, a = BarArrowLength(*wnd.VertBar, true, DefaultManager);
  const TacThumb thumb = ThumbGeometry(wnd.VertBar->Info, length, a, wnd.VertBar->MinThumb);
  const int top = bar.top + thumb.Start + thumb.Size + kFrame, bottom = bar.bottom - a - kFrame;
  EXPECT_GE(bottom - top, 16) << "a track long enough to tell";
  HDC dc = ::GetWindowDC(wnd.CtrlHandle);
  TrackLook look;
  std::set<COLORREF> seen;
  for (int y = top; y < bottom; ++y)
    for (int x = bar.left + kFrame; x < bar.right - kFrame; ++x) {
      const COLORREF c = ::GetPixel(dc, x, y);
      seen.insert(c);
      look.notFromTexture += texture.count(c) == 0;
    }
  ::ReleaseDC(wnd.CtrlHandle, dc);
  look.colours = static_cast<int>(seen.size());
  return look;
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
  const auto master = MasterImage();
  ASSERT_GT(master->Width(), kHotTrackTexture.right);
  const std::set<COLORREF> texture = ColoursOf(*master, kTrackTexture);
  // The test tells the states apart: the hot texture shares no colour.
  for (COLORREF c : ColoursOf(*master, kHotTrackTexture)) ASSERT_EQ(texture.count(c), 0u) << std::hex << c;
  auto expectTexture = [&](TacScrollWnd& shown, const char* when) {
    const TrackLook look = TrackAgainst(shown, texture);
    EXPECT_EQ(look.notFromTexture, 0) << when;
    EXPECT_GE(look.colours, 4) << when << ": the texture's shades, not one fill";
  };
  expectTexture(wnd, "at the top");

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
  expectTexture(wnd, "scrolled");
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
  expectTexture(*tree->ScrollWnd(), "skinned again");
  dc = ::GetWindowDC(tree->Handle());
  EXPECT_NE(::GetPixel(dc, (bar.left + bar.right) / 2, bar.top + 3), platform);
  ::ReleaseDC(tree->Handle(), dc);
  form.reset();
  delete manager;
}

}  // namespace
}  // namespace translit
