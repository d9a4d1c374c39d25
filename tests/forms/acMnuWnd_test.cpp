// Skinned menus on screen, opened by real mouse and keyboard input on a form
// with a menu bar and a popup menu: the popup's frame from the skin's frame
// mask with its corners cut out of the window, items in their looks and the
// selected look following the mouse, keyboard navigation, a chosen item
// reaching its OnClick, the skin removed with no menu open and with one
// open, and nothing left behind after many openings.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "controls/protocol/sMessages.h"
#include "forms/acMenuWndHook.h"
#include "tests/forms/MenuFixture.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/GuiPump.h"
#include "tests/support/RealInput.h"

namespace translit {
namespace {

using namespace test;
using testing_gui::ClickMouse;
using testing_gui::MoveMouse;
using testing_gui::PressKeyOnDisplay;
using testing_gui::PumpFor;
using testing_gui::PumpUntil;

struct MenuForm {
  MenuForm() {
    fw::EnsureApplication().Initialize();
    form = std::make_unique<fw::TForm>(fw::Application);
    form->SetBounds(120, 100, 420, 320);
    form->SetCaption("Skinned menus");
    bar = new fw::TMainMenu(form.get());
    fw::TMenuItem* file = bar->Items().Add("&File");
    file->Add("&Open", [this](fw::TComponent*) { clicked.push_back("Open"); });
    file->Add("&Save", [this](fw::TComponent*) { clicked.push_back("Save"); });
    popup = new fw::TPopupMenu(form.get());
    for (const char* caption : {"One", "Two", "-", "Three"})
      popup->Items().Add(caption, [this, caption](fw::TComponent*) { clicked.push_back(caption); });
    popup->Items().Items(3)->SetEnabled(false);
    popup->Items().Add("Four", [this](fw::TComponent*) { clicked.push_back("Four"); });
    form->SetMenu(bar);
    form->SetPopupMenu(popup);
  }
  ~MenuForm() {
    form.reset();
    PumpFor(50);
  }
  void Show() {
    form->Show();
    PumpFor(200);
  }
  POINT ClientPoint(int x, int y) const { return form->ClientToScreen(POINT{x, y}); }
  std::unique_ptr<fw::TForm> form;
  fw::TMainMenu* bar = nullptr;
  fw::TPopupMenu* popup = nullptr;
  std::vector<std::string> clicked;
};

RECT ItemRect(HMENU menu, int i) {
  RECT r{};
  ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
  return r;
}
POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// What the test's hand saw of the open popup.
struct PopupLook {
  bool opened = false;
  RECT window{};
  bool regionCutsCorners = false;
  bool regionMarked = false;
  COLORREF leftStrip = 0, topStrip = 0, outsideCorner = 0, cornerNeighbour = 0;
  COLORREF item = 0, hot = 0, divider = 0, disabled = 0;
  int dividerHeight = 0;
};

PopupLook LookAtPopup(HMENU menu, POINT formPoint) {
  PopupLook look;
  HWND w = nullptr;
  look.opened = WaitFor(
      [&] {
        auto open = OpenPopupWindows();
        w = open.empty() ? nullptr : open.front();
        return w != nullptr;
      },
      3000);
  if (!look.opened) return look;
  ::Sleep(300);
  ::GetWindowRect(w, &look.window);
  fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
  if (::GetWindowRgn(w, region.Get()) != ERROR)
    look.regionCutsCorners = !::PtInRegion(region.Get(), 0, 0) && ::PtInRegion(region.Get(), 3, 3) &&
                             !::PtInRegion(region.Get(), look.window.right - look.window.left - 1, 0);
  look.regionMarked = ::SendMessageA(w, SM_ALPHACMD, SkinWParam(SKINCMD_SET_UPDATING), 0) == 1;
  const RECT& wr = look.window;
  look.leftStrip = ScreenPixel(POINT{wr.left + 2, (wr.top + wr.bottom) / 2});
  look.topStrip = ScreenPixel(POINT{(wr.left + wr.right) / 2, wr.top + 2});
  look.outsideCorner = ScreenPixel(POINT{wr.left, wr.top});
  look.cornerNeighbour = ScreenPixel(formPoint);
  const RECT one = ItemRect(menu, 0);
  look.item = ScreenPixel(POINT{one.right - 6, (one.top + one.bottom) / 2});
  const RECT line = ItemRect(menu, 2);
  look.dividerHeight = line.bottom - line.top;
  look.divider = ScreenPixel(Centre(line));
  const RECT three = ItemRect(menu, 3);
  look.disabled = ScreenPixel(POINT{three.right - 6, (three.top + three.bottom) / 2});
  MoveMouse(Centre(ItemRect(menu, 1)));
  ::Sleep(300);
  const RECT two = ItemRect(menu, 1);
  look.hot = ScreenPixel(POINT{two.right - 6, (two.top + two.bottom) / 2});
  return look;
}

class SkinnedMenusOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    skinning.Load();
    f.Show();
  }
  MenuSkinning skinning;
  MenuForm f;
};

TEST(SkinnedMenusOnScreenOrder, TheSkinComesAfterTheMenus) {
  // Menus made before the skin loads are skinned by its arrival.
  MenuForm f;
  MenuSkinning skinning;
  EXPECT_FALSE(f.popup->OwnerDraw());
  skinning.Load();
  EXPECT_TRUE(f.popup->OwnerDraw());
  EXPECT_TRUE(f.bar->OwnerDraw());
  ASSERT_NE(PopupWindowHook(), nullptr);
}

TEST_F(SkinnedMenusOnScreen, APopupOpenedByTheMouseShowsTheSkin) {
  PopupLook look;
  std::thread hand([&] {
    ClickMouse(f.ClientPoint(200, 150), true);
    look = LookAtPopup(f.popup->Handle(), f.ClientPoint(200, 150));
    if (look.opened) ClickMouse(Centre(ItemRect(f.popup->Handle(), 4)));
  });
  PumpUntil([&] { return !f.clicked.empty(); }, 10000);
  hand.join();
  ASSERT_TRUE(look.opened);
  EXPECT_EQ(look.leftStrip, kFrame) << "left frame strip";
  EXPECT_EQ(look.topStrip, kFrame) << "top frame strip";
  EXPECT_TRUE(look.regionCutsCorners) << "the window's outline";
  EXPECT_TRUE(look.regionMarked) << "the window's subclass knows its outline is cut";
  EXPECT_NE(look.outsideCorner, kFrame) << "the cut corner shows what lies below";
  EXPECT_EQ(look.item, kItem);
  EXPECT_EQ(look.hot, kItemHot) << "the item under the mouse";
  EXPECT_EQ(look.dividerHeight, 2);
  EXPECT_EQ(look.divider, kDivider);
  EXPECT_TRUE(Near(look.disabled, RGB((GetRValue(kItem) * 4 + GetRValue(kMenuBg) * 6) / 10,
                                      (GetGValue(kItem) * 4 + GetGValue(kMenuBg) * 6) / 10,
                                      (GetBValue(kItem) * 4 + GetBValue(kMenuBg) * 6) / 10)));
  EXPECT_EQ(f.clicked, std::vector<std::string>{"Four"});
}

TEST_F(SkinnedMenusOnScreen, TheKeyboardWalksPastTheLineAndTheDisabledItem) {
  // Shift+F10 opens the form's popup menu; Down from nothing: "One",
  // "Two", past the line to the disabled "Three", then "Four".
  std::thread hand([&] {
    PressKeyOnDisplay("shift+F10");
    if (!WaitFor([] { return !OpenPopupWindows().empty(); }, 8000)) return;
    for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
      INPUT in[2]{};
      in[0].type = in[1].type = INPUT_KEYBOARD;
      in[0].ki.wVk = in[1].ki.wVk = key;
      in[1].ki.dwFlags = KEYEVENTF_KEYUP;
      ::SendInput(2, in, sizeof(INPUT));
      ::Sleep(250);
    }
  });
  PumpUntil([&] { return !f.clicked.empty(); }, 10000);
  hand.join();
  EXPECT_EQ(f.clicked, std::vector<std::string>{"Four"});
}

TEST_F(SkinnedMenusOnScreen, TheMenuBarIsDrawnAndOpensFromTheKeyboard) {
  RECT file{};
  ASSERT_TRUE(::GetMenuItemRect(f.form->Handle(), f.bar->Handle(), 0, &file));
  EXPECT_EQ(ScreenPixel(POINT{file.left + 2, file.top + 2}), kItem) << "the bar item in its normal look";
  COLORREF popupItem = 0, barItem = 0;
  std::thread hand([&] {
    PressKeyOnDisplay("alt+f");
    if (!WaitFor([] { return !OpenPopupWindows().empty(); }, 8000)) return;
    ::Sleep(300);
    barItem = ScreenPixel(POINT{file.left + 2, file.top + 2});
    const RECT open = ItemRect(f.bar->Items().Items(0)->Handle(), 0);
    popupItem = ScreenPixel(POINT{open.right - 6, (open.top + open.bottom) / 2});
    testing_gui::PressKeysOnDisplay({"Down", "Return"}, 250);
  });
  PumpUntil([&] { return !f.clicked.empty(); }, 10000);
  hand.join();
  EXPECT_EQ(barItem, kItemHot) << "the open bar item";
  EXPECT_EQ(popupItem, kItemHot) << "the first item comes selected";
  EXPECT_EQ(f.clicked, std::vector<std::string>{"Save"});
}

TEST_F(SkinnedMenusOnScreen, TheSkinRemovedWithNoMenuOpen) {
  skinning.Manager().SetActive(false);
  EXPECT_FALSE(f.popup->OwnerDraw());
  EXPECT_EQ(PopupWindowHook(), nullptr);
  PopupLook look;
  std::thread hand([&] {
    ClickMouse(f.ClientPoint(200, 150), true);
    look = LookAtPopup(f.popup->Handle(), f.ClientPoint(200, 150));
    if (look.opened) ClickMouse(Centre(ItemRect(f.popup->Handle(), 0)));
  });
  PumpUntil([&] { return !f.clicked.empty(); }, 10000);
  hand.join();
  ASSERT_TRUE(look.opened);
  EXPECT_FALSE(look.regionCutsCorners);
  EXPECT_EQ(look.item, ::GetSysColor(COLOR_MENU)) << "the platform's look";
  EXPECT_NE(look.leftStrip, kFrame);
  EXPECT_EQ(f.clicked, std::vector<std::string>{"One"});
}

TEST_F(SkinnedMenusOnScreen, TheSkinRemovedWhileAMenuIsOpen) {
  UiCall ui;
  bool regionBefore = false, regionAfter = true;
  COLORREF itemAfter = 0;
  std::thread hand([&] {
    ClickMouse(f.ClientPoint(200, 150), true);
    HWND w = nullptr;
    if (!WaitFor([&] { return !OpenPopupWindows().empty() && (w = OpenPopupWindows().front()); }, 3000)) return;
    ::Sleep(300);
    fw::UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
    regionBefore = ::GetWindowRgn(w, region.Get()) != ERROR;
    ui.Run([&] { skinning.Manager().SetActive(false); });
    ::Sleep(400);
    regionAfter = ::GetWindowRgn(w, region.Get()) != ERROR;
    const RECT one = ItemRect(f.popup->Handle(), 0);
    itemAfter = ScreenPixel(POINT{one.right - 6, (one.top + one.bottom) / 2});
    ClickMouse(Centre(ItemRect(f.popup->Handle(), 1)));
  });
  PumpUntil([&] { return !f.clicked.empty(); }, 10000);
  hand.join();
  EXPECT_TRUE(regionBefore);
  EXPECT_FALSE(regionAfter) << "the open popup gets its rectangle back";
  EXPECT_EQ(itemAfter, ::GetSysColor(COLOR_MENU));
  EXPECT_EQ(f.clicked, std::vector<std::string>{"Two"});
}

std::atomic<bool> popupShown{false};

void CALLBACK CloseOpenPopup(HWND, UINT, UINT_PTR, DWORD) {
  if (!OpenPopupWindows().empty()) {
    popupShown = true;
    ::EndMenu();
  }
}

// Opens the popup, waits for it to be on screen and closes it, all on this
// thread.
void OpenAndClose(fw::TPopupMenu& popup, POINT at) {
  popupShown = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, CloseOpenPopup);
  popup.Popup(at.x, at.y);
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(popupShown);
}

TEST_F(SkinnedMenusOnScreen, NothingIsLeftBehindAfterAHundredOpenings) {
  const POINT at = f.ClientPoint(40, 40);
  // Each cycle makes a skinned popup menu, opens and closes it, and frees
  // it; every twentieth re-skins first.
  auto cycle = [&](int i) {
    if (i % 20 == 19) skinning.Manager().SetSkinName("M");
    fw::TPopupMenu menu(f.form.get());
    for (const char* caption : {"-Head-", "One", "-", "Two"}) menu.Items().Add(caption);
    menu.Items().Items(1)->SetChecked(true);
    skinning.Menus().InitPopup(menu, true);
    OpenAndClose(menu, at);
    OpenAndClose(*f.popup, at);
    PumpFor(5);
  };
  // Once for what is made on first use (the popup's owner window, fonts).
  cycle(0);
  PumpFor(100);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 1; i <= 100; ++i) cycle(i);
  PumpFor(100);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
  EXPECT_TRUE(PopupBackgrounds().Empty()) << "pictures dropped with their windows";
}

}  // namespace
}  // namespace translit
