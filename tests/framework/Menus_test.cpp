// Menus on the real platform: a form's menu bar and popup menu opened by
// real mouse and keyboard input, a chosen item reaching its OnClick, the
// items' properties in the platform menu, owner drawing through the items'
// handlers, and item data that is only believed for live items.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "tests/support/GuiPump.h"
#include "tests/support/RealInput.h"

namespace {

using testing_gui::ClickMouse;
using testing_gui::PressKeyOnDisplay;
using testing_gui::PressKeysOnDisplay;
using testing_gui::PumpUntil;

BOOL CALLBACK FindOpenPopup(HWND w, LPARAM out) {
  char cls[16] = {};
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  if (pid == ::GetCurrentProcessId() && ::GetClassNameA(w, cls, sizeof(cls)) && lstrcmpA(cls, "#32768") == 0 &&
      ::IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

// The open popup menu window of the process, or none.
HWND OpenPopupWindow() {
  HWND found = nullptr;
  ::EnumWindows(FindOpenPopup, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 20) {
    if (done()) return true;
    ::Sleep(20);
  }
  return done();
}

// A form with a menu bar "&File" (Open, a line, Exit) and a popup menu
// (One, Two, a disabled Three).
struct MenuForm {
  MenuForm() {
    fw::EnsureApplication().Initialize();
    form = std::make_unique<fw::TForm>(fw::Application);
    form->SetBounds(100, 100, 360, 260);
    form->SetCaption("Menus");
    bar = new fw::TMainMenu(form.get());
    file = bar->Items().Add("&File");
    open = file->Add("&Open", [this](fw::TComponent*) { clicked.push_back("Open"); });
    open->SetShortCut(fw::MakeShortCut('O', fw::scCtrl));
    file->Add("-");
    file->Add("E&xit", [this](fw::TComponent*) { clicked.push_back("Exit"); });
    popup = new fw::TPopupMenu(form.get());
    popup->Items().Add("One", [this](fw::TComponent*) { clicked.push_back("One"); });
    popup->Items().Add("Two", [this](fw::TComponent*) { clicked.push_back("Two"); });
    popup->Items().Add("Three", [this](fw::TComponent*) { clicked.push_back("Three"); })->SetEnabled(false);
    form->SetMenu(bar);
    form->SetPopupMenu(popup);
    form->Show();
    testing_gui::PumpFor(200);
  }
  ~MenuForm() {
    form.reset();
    testing_gui::PumpFor(50);
  }
  POINT ClientPoint(int x, int y) const { return form->ClientToScreen(POINT{x, y}); }

  std::unique_ptr<fw::TForm> form;
  fw::TMainMenu* bar = nullptr;
  fw::TPopupMenu* popup = nullptr;
  fw::TMenuItem *file = nullptr, *open = nullptr;
  std::vector<std::string> clicked;
};

// The centre of item i of the open popup menu, in screen coordinates.
POINT PopupItemCentre(HMENU menu, int i) {
  RECT r{};
  ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(Menus, TheMenuBarIsTheFormsAndOpensWithTheMouse) {
  MenuForm f;
  ASSERT_EQ(::GetMenu(f.form->Handle()), f.bar->Handle());
  RECT fileRect{};
  ASSERT_TRUE(::GetMenuItemRect(f.form->Handle(), f.bar->Handle(), 0, &fileRect));
  std::atomic<bool> sawPopup{false};
  std::thread hand([&] {
    ClickMouse(POINT{(fileRect.left + fileRect.right) / 2, (fileRect.top + fileRect.bottom) / 2});
    sawPopup = WaitFor([] { return OpenPopupWindow() != nullptr; }, 3000);
    if (sawPopup) ClickMouse(PopupItemCentre(f.file->Handle(), 2));
  });
  PumpUntil([&] { return !f.clicked.empty(); }, 8000);
  hand.join();
  EXPECT_TRUE(sawPopup);
  EXPECT_EQ(f.clicked, std::vector<std::string>{"Exit"});
}

TEST(Menus, KeyboardOpensTheBarAndWalksPastTheLine) {
  MenuForm f;
  // Alt+F opens "&File" with "Open" selected; Down skips the line to
  // "Exit"; Up wraps from the first item to the last.
  for (const auto& [keys, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"alt+f", "Return"}, "Open"}, {{"alt+f", "Down", "Return"}, "Exit"}, {{"alt+f", "Up", "Return"}, "Exit"}}) {
    f.clicked.clear();
    PressKeysOnDisplay(keys, 500);
    PumpUntil([&] { return !f.clicked.empty(); }, 10000);
    EXPECT_EQ(f.clicked, std::vector<std::string>{expected}) << keys.back();
  }
}

TEST(Menus, ARightClickOpensThePopupMenuAndAChosenItemIsClicked) {
  MenuForm f;
  std::atomic<bool> sawPopup{false};
  std::thread hand([&] {
    ClickMouse(f.ClientPoint(150, 120), true);
    sawPopup = WaitFor([] { return OpenPopupWindow() != nullptr; }, 3000);
    if (!sawPopup) return;
    // The disabled item closes nothing and clicks nothing.
    ClickMouse(PopupItemCentre(f.popup->Handle(), 2));
    ::Sleep(300);
    if (OpenPopupWindow()) ClickMouse(PopupItemCentre(f.popup->Handle(), 1));
  });
  PumpUntil([&] { return !f.clicked.empty(); }, 8000);
  hand.join();
  EXPECT_TRUE(sawPopup);
  EXPECT_EQ(f.clicked, std::vector<std::string>{"Two"});
  EXPECT_EQ(f.popup->PopupComponent(), f.form.get());
}

TEST(Menus, ItemPropertiesReachThePlatformMenu) {
  MenuForm f;
  auto state = [](fw::TMenuItem* item) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    char text[64] = {};
    info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    ::GetMenuItemInfoA(item->Parent()->Handle(), item->Command(), FALSE, &info);
    return std::make_tuple(info.fState, info.fType, std::string(text));
  };
  EXPECT_EQ(std::get<2>(state(f.open)), "&Open\tCtrl+O");
  f.open->SetChecked(true);
  f.open->SetRadioItem(true);
  f.open->SetDefault(true);
  f.open->SetCaption("&Read");
  auto [st, type, text] = state(f.open);
  EXPECT_TRUE(st & MFS_CHECKED);
  EXPECT_TRUE(st & MFS_DEFAULT);
  EXPECT_TRUE(type & MFT_RADIOCHECK);
  EXPECT_EQ(text, "&Read\tCtrl+O");
  f.open->SetEnabled(false);
  EXPECT_TRUE(std::get<0>(state(f.open)) & MFS_DISABLED);
  EXPECT_TRUE(std::get<1>(state(f.file->Items(1))) & MFT_SEPARATOR);

  // A hidden item leaves the platform menu; a new one joins it, and the
  // form shows the rebuilt bar.
  EXPECT_EQ(::GetMenuItemCount(f.file->Handle()), 3);
  f.file->Items(1)->SetVisible(false);
  EXPECT_EQ(::GetMenuItemCount(f.file->Handle()), 2);
  f.bar->Items().Add("&Help");
  EXPECT_EQ(::GetMenuItemCount(f.bar->Handle()), 2);
  EXPECT_EQ(::GetMenu(f.form->Handle()), f.bar->Handle());

  // OwnerDraw switches the items in place, sub-menus too.
  f.bar->SetOwnerDraw(true);
  EXPECT_TRUE(std::get<1>(state(f.open)) & MFT_OWNERDRAW);
  f.bar->SetOwnerDraw(false);
  EXPECT_FALSE(std::get<1>(state(f.open)) & MFT_OWNERDRAW);

  // The bar freed while on the form leaves the form without a menu.
  delete f.bar;
  EXPECT_EQ(f.form->Menu(), nullptr);
  EXPECT_EQ(::GetMenu(f.form->Handle()), nullptr);
}

TEST(Menus, OwnerDrawnItemsAreMeasuredAndPaintedByTheirHandlers) {
  MenuForm f;
  f.popup->SetOwnerDraw(true);
  std::vector<std::pair<std::string, fw::TOwnerDrawState>> drawn;
  for (int i = 0; i < 3; ++i) {
    fw::TMenuItem* item = f.popup->Items().Items(i);
    item->OnMeasureItem = [](fw::TComponent*, fw::TCanvas&, int& w, int& h) {
      w = 120;
      h = 30;
    };
    item->OnAdvancedDrawItem = [&drawn](fw::TComponent* sender, fw::TCanvas& canvas, const RECT& r,
                                        fw::TOwnerDrawState s) {
      drawn.emplace_back(static_cast<fw::TMenuItem*>(sender)->Caption(), s);
      canvas.Brush().SetColor(0x0000FF);
      canvas.FillRect(r);
    };
  }
  RECT popupRect{};
  COLORREF inside = 0;
  std::thread hand([&] {
    HWND w = nullptr;
    WaitFor([&] { return (w = OpenPopupWindow()) != nullptr; }, 3000);
    if (!w) return;
    ::Sleep(300);
    ::GetWindowRect(w, &popupRect);
    const POINT c = PopupItemCentre(f.popup->Handle(), 1);
    HDC screen = ::GetDC(nullptr);
    inside = ::GetPixel(screen, c.x, c.y);
    ::ReleaseDC(nullptr, screen);
    PressKeyOnDisplay("Escape");
  });
  f.popup->Popup(f.ClientPoint(20, 20).x, f.ClientPoint(20, 20).y);
  hand.join();
  // Three items 30 pixels high, each painted by its handler in red.
  EXPECT_GE(popupRect.bottom - popupRect.top, 90);
  EXPECT_LT(popupRect.bottom - popupRect.top, 90 + 20);
  EXPECT_EQ(inside, RGB(255, 0, 0));
  ASSERT_GE(drawn.size(), 3u);
  bool sawDisabled = false;
  for (const auto& [caption, s] : drawn)
    if (caption == "Three") sawDisabled = (s & ODS_GRAYED) || (s & ODS_DISABLED);
  EXPECT_TRUE(sawDisabled);
}

TEST(Menus, ItemDataOfFreedItemsIsNotBelieved) {
  fw::EnsureApplication().Initialize();
  auto menu = std::make_unique<fw::TPopupMenu>(nullptr);
  fw::TMenuItem* item = menu->Items().Add("Gone");
  const ULONG_PTR data = reinterpret_cast<ULONG_PTR>(item);
  EXPECT_EQ(fw::TMenuItem::FromItemData(data), item);
  menu->Items().Clear();
  EXPECT_EQ(fw::TMenuItem::FromItemData(data), nullptr);
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, 1, 0, 0, data};
  EXPECT_FALSE(fw::TMenu::MeasureItem(measure));
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemData = data;
  EXPECT_FALSE(fw::TMenu::DrawItem(draw));
  // Command numbers of freed items come back to new ones.
  fw::TMenuItem* again = menu->Items().Add("New");
  EXPECT_NE(again->Command(), 0u);
  EXPECT_EQ(menu->FindItem(again->Command()), again);
}

TEST(Menus, AMeasureHandlerStartsFromThePlatformsProposal) {
  fw::EnsureApplication().Initialize();
  auto menu = std::make_unique<fw::TPopupMenu>(nullptr);
  fw::TMenuItem* item = menu->Items().Add("A rather long caption");
  MEASUREITEMSTRUCT record{ODT_MENU, 0, item->Command(), 7, 9, reinterpret_cast<ULONG_PTR>(item)};
  ASSERT_TRUE(fw::TMenu::MeasureItem(record));
  // Without a handler: the caption's own size.
  EXPECT_GT(record.itemWidth, 60u);
  EXPECT_GE(record.itemHeight, static_cast<UINT>(::GetSystemMetrics(SM_CYMENU)));
  int seenWidth = -1, seenHeight = -1;
  item->OnMeasureItem = [&](fw::TComponent*, fw::TCanvas&, int& w, int& h) {
    seenWidth = w;
    seenHeight = h;
    h += 1;
  };
  record.itemWidth = 7;
  record.itemHeight = 9;
  ASSERT_TRUE(fw::TMenu::MeasureItem(record));
  EXPECT_EQ(seenWidth, 7);
  EXPECT_EQ(seenHeight, 9);
  EXPECT_EQ(record.itemHeight, 10u);
}

TEST(Menus, ShortCutTexts) {
  const std::pair<fw::TShortCut, std::string> cases[] = {
      {fw::MakeShortCut('O', fw::scCtrl), "Ctrl+O"},
      {fw::MakeShortCut(VK_F5, fw::scCtrl | fw::scShift), "Ctrl+Shift+F5"},
      {fw::MakeShortCut(VK_DELETE, 0), "Del"},
      {fw::MakeShortCut('X', fw::scAlt), "Alt+X"},
      {fw::MakeShortCut(0xE7, fw::scCtrl), ""},
  };
  for (const auto& [shortCut, text] : cases) EXPECT_EQ(fw::ShortCutToText(shortCut), text) << text;
}

}  // namespace
