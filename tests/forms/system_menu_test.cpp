// The skinned system menu: the items each kind of form and each window
// state shows and enables (the main dialog's menu holds only Move and
// Close, also as it opens on the screen), captions taken from the window's
// own menu or from the string table where it lacks a command, the
// program's extra items, and the skin list on top: a second column from
// the 21st skin, and the skin name a caption stands for.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/sSystemMenu.h"
#include "tests/forms/FrameFixture.h"
#include "tests/support/RealInput.h"

namespace translit {
namespace {

using namespace test;

TsSkinProvider& ShowSkinned(fw::TForm& form) {
  auto* provider = new TsSkinProvider(&form);
  form.Show();
  ::SetForegroundWindow(form.Handle());
  PumpFor(120);
  return *provider;
}

struct ItemLooks {
  bool restore, move, size, minimise, maximise, close;
};

ItemLooks Visible(TsSystemMenu& menu) {
  return {menu.ItemRestore->Visible(),  menu.ItemMove->Visible(),     menu.ItemSize->Visible(),
          menu.ItemMinimize->Visible(), menu.ItemMaximize->Visible(), menu.ItemClose->Visible()};
}

ItemLooks Enabled(TsSystemMenu& menu) {
  return {menu.ItemRestore->Enabled(),  menu.ItemMove->Enabled(),     menu.ItemSize->Enabled(),
          menu.ItemMinimize->Enabled(), menu.ItemMaximize->Enabled(), menu.ItemClose->Enabled()};
}

std::string Text(const ItemLooks& l) {
  std::string s;
  for (bool b : {l.restore, l.move, l.size, l.minimise, l.maximise, l.close}) s += b ? '1' : '0';
  return s;
}

class SystemMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = &FrameManager("BlueIce");
    testing_gui::MoveMouse(POINT{2, 2});
  }
  TsSkinManager* manager = nullptr;
};

// What the menu opened on the screen holds, read while it is open.
std::vector<std::string>* openedItems = nullptr;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = ::FindWindowA("#32768", nullptr);
  if (!popup || !::IsWindowVisible(popup)) return;
  ::KillTimer(nullptr, id);
  auto* menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
  for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE;
    ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    openedItems->push_back((info.fType & MFT_SEPARATOR) ? "-" : std::to_string(info.wID));
  }
  ::EndMenu();
}

TEST_F(SystemMenu, TheMainDialogsMenuHoldsMoveAndCloseOnly) {
  auto form = MakeDialog("Main dialog");
  TsSkinProvider& p = ShowSkinned(*form);
  TsSystemMenu& menu = *p.SystemMenu();
  EXPECT_EQ(menu.Name(), "SysMenu");
  menu.UpdateItems();
  EXPECT_EQ(Text(Visible(menu)), "010001");

  // Opened for real: the menu on the screen has Move, the line, Close.
  std::vector<std::string> items;
  openedItems = &items;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadOpenMenu);
  RECT r{};
  ::GetWindowRect(form->Handle(), &r);
  p.ShowSystemMenuAt(r.left + 10, r.top + 20);
  ::KillTimer(nullptr, timer);
  openedItems = nullptr;
  EXPECT_EQ(items, (std::vector<std::string>{std::to_string(menu.ItemMove->Command()), "-",
                                             std::to_string(menu.ItemClose->Command())}));
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
}

TEST_F(SystemMenu, ItemsFollowTheFormsStyleAndState) {
  auto sizeable = std::make_unique<fw::TForm>(fw::Application);
  sizeable->SetBounds(140, 120, 420, 300);
  TsSkinProvider& p = ShowSkinned(*sizeable);
  TsSystemMenu& menu = *p.SystemMenu();
  HWND window = sizeable->Handle();
  struct Case {
    int show;
    const char *visible, *enabled;
  };
  // restore, move, size, minimise, maximise, close
  const Case cases[] = {
      {SW_RESTORE, "111111", "011111"},
      {SW_MAXIMIZE, "111111", "101101"},
      {SW_MINIMIZE, "111111", "110011"},
  };
  for (const Case& c : cases) {
    ::ShowWindow(window, c.show);
    PumpFor(120);
    menu.UpdateItems();
    EXPECT_EQ(Text(Visible(menu)), c.visible) << c.show;
    EXPECT_EQ(Text(Enabled(menu)), c.enabled) << c.show;
  }
  ::ShowWindow(window, SW_RESTORE);
  PumpFor(100);

  // A single frame without minimise and maximise: no size, no min or max.
  auto single = std::make_unique<fw::TForm>(fw::Application);
  single->SetBorderStyle(fw::bsSingle);
  single->SetBorderIcons(fw::biSystemMenu);
  single->SetBounds(200, 400, 300, 200);
  TsSystemMenu& other = *ShowSkinned(*single).SystemMenu();
  other.UpdateItems();
  EXPECT_EQ(Text(Visible(other)), "111001");
  EXPECT_EQ(Text(Enabled(other)), "010001");
}

TEST_F(SystemMenu, CaptionsComeFromTheWindowsMenuOrTheStringTable) {
  // The program's string table holds the Russian captions (code page 1251).
  EXPECT_EQ(SysMenuString(sSize), "\xD0\xE0\xE7\xEC\xE5\xF0");
  EXPECT_EQ(SysMenuString(sAvailableSkins), "\xC4\xEE\xF1\xF2\xF3\xEF\xED\xFB\xE5 \xF1\xEA\xE8\xED\xFB");
  EXPECT_EQ(SysMenuString(sInternalSkin), "(\xE2\xED\xF3\xF2\xF0\xE5\xED\xED\xE8\xE9)");

  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBounds(140, 120, 420, 300);
  TsSkinProvider& p = ShowSkinned(*form);
  HMENU own = ::GetSystemMenu(form->Handle(), FALSE);
  ASSERT_TRUE(own);
  ::DeleteMenu(own, SC_SIZE, MF_BYCOMMAND);
  ::AppendMenuA(own, MF_STRING, 0x120, "Extra\tCtrl+E");
  TsSystemMenu& menu = *p.SystemMenu();
  menu.Generate();

  char move[256] = {};
  ::GetMenuStringA(own, SC_MOVE, move, sizeof(move), MF_BYCOMMAND);
  std::string moveCaption = move;
  moveCaption = moveCaption.substr(0, moveCaption.find('\t'));
  EXPECT_EQ(menu.ItemMove->Caption(), moveCaption) << "the window's own caption";
  EXPECT_EQ(menu.ItemSize->Caption(), SysMenuString(sSize)) << "the window's menu has no size item";
  EXPECT_EQ(menu.ItemSize->Tag(), static_cast<int>(SC_SIZE));

  // The extra item before Close, its keys taken from the text after the tab.
  ASSERT_EQ(menu.ExtraItemsCount, 1);
  const int close = menu.ItemClose->MenuIndex();
  fw::TMenuItem* extra = menu.Items().Items(close - 2);
  EXPECT_EQ(extra->Caption(), "Extra");
  EXPECT_EQ(extra->ShortCut(), fw::MakeShortCut('E', fw::scCtrl));
  EXPECT_TRUE(menu.Items().Items(close - 1)->IsLine());
  char closeText[256] = {};
  ::GetMenuStringA(own, SC_CLOSE, closeText, sizeof(closeText), MF_BYCOMMAND);
  if (std::string(closeText).find("\tAlt+F4") != std::string::npos) {
    EXPECT_EQ(menu.ItemClose->ShortCut(), fw::MakeShortCut(VK_F4, fw::scAlt));
  }

  // Choosing it posts the command to the form.
  std::vector<WPARAM> commands;
  const TacWindowProc original = p.SavedWindowProc;
  p.SavedWindowProc = [&](fw::TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND && m.WParam == 0x120) {
      commands.push_back(m.WParam);
      return;
    }
    original(m);
  };
  extra->Click();
  PumpFor(50);
  p.SavedWindowProc = original;
  EXPECT_EQ(commands, std::vector<WPARAM>{0x120});
}

TEST_F(SystemMenu, TheSkinListStartsASecondColumnAtItsTwentyFirstSkin) {
  auto form = MakeDialog("Skin list");
  TsSkinProvider& p = ShowSkinned(*form);
  p.SetMakeSkinMenu(true);
  for (int i = 0; i < 22; ++i)
    manager->InternalSkins().Add().Name = "Stored " + std::string(i < 10 ? "0" : "") + std::to_string(i);
  fw::TStringList names;
  manager->ListSkins(names, slAll);
  ASSERT_GT(names.Count(), 22);
  TsSystemMenu& menu = *p.SystemMenu();
  // Twice: the list is made anew, not added a second time.
  menu.MakeSkinItems();
  menu.MakeSkinItems();
  manager->InternalSkins().Clear();
  fw::TMenuItem* list = menu.Items().Items(0);
  EXPECT_EQ(list->Name(), "SkinSelectItem");
  EXPECT_EQ(list->Caption(), SysMenuString(sAvailableSkins));
  EXPECT_TRUE(menu.Items().Items(1)->IsLine());
  EXPECT_NE(menu.Items().Items(2)->Name(), "SkinSelectItem");
  ASSERT_EQ(list->Count(), names.Count());
  int checked = 0;
  for (int i = 0; i < list->Count(); ++i) {
    fw::TMenuItem* item = list->Items(i);
    EXPECT_EQ(item->Caption(), names[i]);
    EXPECT_EQ(item->Name(), "SkinSelectItem" + std::to_string(i));
    EXPECT_TRUE(item->RadioItem());
    EXPECT_EQ(item->Break(), i == 20 ? fw::mbBreak : fw::mbNone) << i;
    checked += item->Checked();
    // The folder and the packed file of one skin are both listed.
    EXPECT_EQ(item->Checked(), item->Caption() == manager->SkinName()) << item->Caption();
  }
  EXPECT_GE(checked, 1);

  // Choosing an entry switches the skin.
  for (int i = 0; i < list->Count(); ++i)
    if (list->Items(i)->Caption() == "Slate") list->Items(i)->Click();
  EXPECT_EQ(manager->SkinName(), "Slate");
  manager->SetSkinName("BlueIce");
}

TEST(SkinItemCaptions, NameTheSkinWithoutAmpersandsAndUpToTheInternalMark) {
  const std::string internal = SysMenuString(sInternalSkin);
  const struct {
    std::string caption, name;
  } cases[] = {
      {"BlueIce", "BlueIce"},
      {"&Blue&Ice", "BlueIce"},
      {"Slate " + internal, "Slate " + internal},
      {"Sl&ate " + internal + " (old)", "Slate " + internal},
      {"&&", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SkinNameOfCaption(c.caption), c.name) << c.caption;
}

}  // namespace
}  // namespace translit
