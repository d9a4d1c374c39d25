// A form's menu bar on its skinned frame, with BlueIce: the bar's items are
// drawn into the frame's picture over its menu band and reach the screen
// as the picture holds them; an item opened from the keyboard is redrawn
// alone in its hot look over the band the frame kept, and its popup's
// chosen item reaches OnClick.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "forms/sSkinableMenus.h"
#include "framework/Menus.h"
#include "tests/forms/FrameFixture.h"
#include "tests/forms/FrameInput.h"
#include "tests/support/RealInput.h"

namespace translit {
namespace {

using namespace test;

TEST(MenuBarOnFrame, TheBarItemsAreTheFramesAndOpenHot) {
  InstallMenuSkinning();
  TsSkinManager& manager = FrameManager();
  ASSERT_NE(manager.SkinableMenus(), nullptr);
  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBounds(140, 120, 420, 300);
  form->SetCaption("Menu bar on the frame");
  auto* bar = new fw::TMainMenu(form.get());
  std::vector<std::string> clicked;
  fw::TMenuItem* file = bar->Items().Add("&File");
  file->Add("&Open", [&](fw::TComponent*) { clicked.push_back("Open"); });
  file->Add("&Save", [&](fw::TComponent*) { clicked.push_back("Save"); });
  bar->Items().Add("&Edit")->Add("&Undo");
  form->SetMenu(bar);
  auto* provider = new TsSkinProvider(form.get());
  form->Show();
  ::SetForegroundWindow(form->Handle());
  PumpFor(300);
  ASSERT_TRUE(provider->SkinnedNow());
  EXPECT_TRUE(bar->OwnerDraw()) << "made owner-drawn by the frame";

  HWND window = form->Handle();
  RECT w{}, item{};
  ::GetWindowRect(window, &w);
  ASSERT_TRUE(::GetMenuItemRect(window, bar->Handle(), 0, &item));
  ::OffsetRect(&item, -w.left, -w.top);
  auto shot = ScreenOfWindow(window);
  fw::TBitmap& cache = *provider->SkinData().CacheBmp;
  const POINT inItem{item.left + 3, (item.top + item.bottom) / 2};
  const std::uint32_t normal = Pixel(*shot, inItem.x, inItem.y);
  EXPECT_EQ(normal, Pixel(cache, inItem.x, inItem.y)) << "the item as the frame's picture holds it";
  EXPECT_NE(normal, ::GetSysColor(COLOR_MENU) & 0xFFFFFFu);
  // The band differs from the item: the item is drawn over it.
  const int bandX = item.right + 200, bandY = (item.top + item.bottom) / 2;
  ASSERT_LT(bandX, w.right - w.left - 10);
  EXPECT_NE(Pixel(*shot, bandX, bandY), normal) << "band and item";
  EXPECT_EQ(Pixel(*shot, bandX, bandY), Pixel(cache, bandX, bandY));

  std::uint32_t opened = normal;
  std::thread hand([&] {
    // Keys through the platform's input queue: the display's own keys did
    // not always reach a form of a program started right after another.
    testing_gui::KeyEvent(VK_MENU, true);
    testing_gui::PressKey('F');
    testing_gui::KeyEvent(VK_MENU, false);
    // The popup's window shows that the bar item is open.
    if (!WaitForPopupMenu(8000)) return;
    ::Sleep(300);
    auto now = ScreenOfWindow(window);
    opened = Pixel(*now, inItem.x, inItem.y);
    testing_gui::PressKey(VK_DOWN);
    ::Sleep(300);
    testing_gui::PressKey(VK_RETURN);
  });
  PumpUntil([&] { return !clicked.empty(); }, 15000);
  hand.join();
  EXPECT_NE(opened, normal) << "the open item in its hot look";
  EXPECT_EQ(clicked, std::vector<std::string>{"Save"});
  form.reset();
  PumpFor(50);
  UninstallMenuSkinning();
}

}  // namespace
}  // namespace translit
