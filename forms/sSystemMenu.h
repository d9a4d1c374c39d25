// The skinned system menu of a form: a popup menu standing in for the
// window's own, with the six commands of a window (restore, move, size,
// minimise, maximise, close), the extra items a program added to the
// window's menu, and on top the list of skins to switch to. Which items show
// and work follows the form's border style, its icons and its state.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Menus.h"

namespace translit {

class TsSkinProvider;

// String table entries of the engine's captions, with Russian text the
// engine falls back on when the program carries no such entry.
enum TacSysMenuString : UINT {
  sInternalSkin = 58963,
  sAvailableSkins = 58964,
  sClose = 58976,
  sMaximize = 58977,
  sMinimize = 58978,
  sSize = 58979,
  sMove = 58980,
  sRestore = 58981,
};
// The entry from the program's string table (code page text), else the
// built-in one.
std::string SysMenuString(TacSysMenuString id);
// The skin a skin item's caption names: without "&", and cut after the
// internal skins' mark when it holds one.
std::string SkinNameOfCaption(const std::string& caption);

class TsCustomSysMenu : public fw::TPopupMenu {
 public:
  using fw::TPopupMenu::TPopupMenu;
  const char* ClassName() const override { return "TsCustomSysMenu"; }
  virtual bool VisibleClose() = 0;
  virtual bool VisibleMax() = 0;
  virtual bool VisibleMin() = 0;
  virtual bool EnabledMax() = 0;
  virtual bool EnabledMin() = 0;
  virtual bool EnabledRestore() = 0;
};

class TsSystemMenu : public TsCustomSysMenu {
 public:
  explicit TsSystemMenu(TsSkinProvider& provider);
  const char* ClassName() const override { return "TsSystemMenu"; }

  bool VisibleClose() override;
  bool VisibleMax() override;
  bool VisibleMin() override;
  bool EnabledMax() override;
  bool EnabledMin() override;
  bool EnabledRestore() override;

  // The items built anew from the window's own system menu.
  void Generate();
  // Visible and enabled as the form's state says.
  void UpdateItems();
  // The skin list on top, made anew (skinned popups only).
  void MakeSkinItems();
  // Opens the menu at a screen point: skinned while the manager skins
  // popups, else the window's own menu with its items set by the same
  // rules.
  void ShowAt(int x, int y);

  TsSkinProvider& Provider;
  int ExtraItemsCount = 0;
  fw::TMenuItem *ItemRestore = nullptr, *ItemMove = nullptr, *ItemSize = nullptr, *ItemMinimize = nullptr,
                *ItemMaximize = nullptr, *ItemClose = nullptr;

 private:
  // The window's menu holds items of the program's own.
  bool WindowMenuHasExtras() const;
  void ShowSystemsOwn(int x, int y);
  bool RestoreVisible();
  bool MoveEnabled();
  bool SizeVisible();
  bool SizeEnabled();
};

}  // namespace translit
