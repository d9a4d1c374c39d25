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

  // A click on the client first, as a user's hand would: the keys of the
  // display go to the window that last took real input, which may still be
  // one of an earlier program's.
  testing_gui::ClickMouse(form->ClientToScreen(POINT{200, 150}));
  PumpFor(100);
  std::uint32_t opened = normal;
  std::thread hand([&] {
    testing_gui::PressKeyOnDisplay("alt+f");
    // The popup's window shows that the bar item is open.
    const DWORD start = ::GetTickCount();
    HWND popup = nullptr;
    while (!(popup = ::FindWindowA("#32768", nullptr)) || !::IsWindowVisible(popup)) {
      if (::GetTickCount() - start > 8000) return;
      ::Sleep(20);
    }
    ::Sleep(300);
    auto now = ScreenOfWindow(window);
    opened = Pixel(*now, inItem.x, inItem.y);
    testing_gui::PressKeysOnDisplay({"Down", "Return"}, 300);
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
