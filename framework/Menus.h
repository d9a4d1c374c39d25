// Menus: items in a tree (TMenuItem), the menu bar of a form (TMainMenu) and
// menus opened at a point (TPopupMenu), each built into a real platform menu
// that the menu object owns. Items are told apart in the platform's messages
// by their command number (WM_COMMAND) and by the item itself in the item
// data of owner-drawn items (WM_MEASUREITEM, WM_DRAWITEM); the item data is
// only believed for items that still exist.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Components.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"

namespace fw {

class TMenu;
class TCustomImageList;

// A key with its modifiers: the virtual key in the low byte.
using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
constexpr TShortCut MakeShortCut(WORD key, TShortCut modifiers) {
  return static_cast<TShortCut>((key & 0xFF) | modifiers);
}
// "Ctrl+Shift+F5", "Alt+X": modifiers first, then the key's name.
std::string ShortCutToText(TShortCut shortCut);
// The other way round; 0 for a text that names no key.
TShortCut TextToShortCut(const std::string& text);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };

// The ODS_ flags of the platform's draw record.
using TOwnerDrawState = UINT;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TComponent* sender, TCanvas& canvas, const RECT& rect, TOwnerDrawState state)>;
using TMenuMeasureItemEvent = std::function<void(TComponent* sender, TCanvas& canvas, int& width, int& height)>;

// The system's menu font (face, height and character set).
void AssignMenuFont(TFont& font);

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner = nullptr);
  ~TMenuItem() override;
  const char* ClassName() const override { return "TMenuItem"; }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut shortCut);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool v);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak v);
  // The item's picture, made empty on first use.
  TBitmap& Bitmap();
  bool HasBitmap() const { return FBitmap && !FBitmap->Empty(); }
  // "-" alone: a separator line.
  bool IsLine() const { return FCaption == "-"; }

  TNotifyEvent OnClick;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int i) const { return FItems.at(static_cast<std::size_t>(i)); }
  // Takes an item without owner component into this one's keeping (it is
  // freed with this item); an item with an owner stays its owner's.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Makes a new item with this caption at the end and answers it.
  TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = nullptr);
  void Remove(TMenuItem* item);
  void Clear();
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  // The menu the item belongs to, or none.
  TMenu* GetParentMenu() const;

  // The number of the item in WM_COMMAND (unique in the process).
  UINT Command() const { return FCommand; }
  // The platform menu that holds the sub-items, or none.
  HMENU Handle() const { return FHandle; }
  virtual void Click();

  // The item behind an owner-drawn item's data, or none when no such item
  // exists any more.
  static TMenuItem* FromItemData(ULONG_PTR data);

 private:
  friend class TMenu;
  void Changed(bool structure);
  // Appends the item (and its sub-menu) to the platform menu.
  void AppendTo(HMENU menu, bool ownerDraw);
  // Rewrites the platform item in place.
  void UpdatePlatformItem();
  MENUITEMINFOA PlatformInfo(bool ownerDraw, std::string& text) const;

  std::string FCaption;
  TShortCut FShortCut = 0;
  bool FChecked = false, FRadioItem = false, FEnabled = true, FDefault = false, FVisible = true;
  int FImageIndex = -1;
  TMenuBreak FBreak = mbNone;
  std::unique_ptr<TBitmap> FBitmap;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;         // set on the root item
  HMENU FHandle = nullptr;        // owned by the menu's root handle
  HMENU FParentHandle = nullptr;  // the platform menu this item is in
  UINT FCommand = 0;
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  const char* ClassName() const override { return "TMenu"; }

  TMenuItem& Items() { return *FItems; }
  // The platform menu, built on first use.
  HMENU Handle();
  bool HandleAllocated() const { return static_cast<bool>(FHandle); }

  // The items are drawn by their owner: measured and painted through the
  // items' OnMeasureItem and OnAdvancedDrawItem, or by the framework.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool v);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* images);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }

  // The item of a command number, or none.
  TMenuItem* FindItem(UINT command) const;
  // WM_COMMAND of a menu: the item's Click; false when it is not one of ours.
  bool DispatchCommand(UINT command);

  // WM_MEASUREITEM and WM_DRAWITEM of any owner-drawn menu item of the
  // process; false when the record names no live item.
  static bool MeasureItem(MEASUREITEMSTRUCT& record);
  static bool DrawItem(const DRAWITEMSTRUCT& record);
  // Every menu that exists.
  static const std::vector<TMenu*>& AllMenus();

  // Called after the platform menu was built anew (a menu bar puts the new
  // handle on its form).
  std::function<void(TMenu&)> OnRebuilt;

  // The platform menu is built again from the items (after a change of the
  // tree or of OwnerDraw).
  void Rebuild();

 protected:
  virtual bool IsBar() const { return false; }

 private:
  friend class TMenuItem;
  std::unique_ptr<TMenuItem> FItems;
  UniqueMenu FHandle;
  bool FOwnerDraw = false;
  TCustomImageList* FImages = nullptr;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

// The menu bar of a form (TCustomForm::SetMenu).
class TMainMenu : public TMenu {
 public:
  using TMenu::TMenu;
  const char* ClassName() const override { return "TMainMenu"; }

 protected:
  bool IsBar() const override { return true; }
};

// A menu opened at a point of the screen; its messages go to a hidden
// window of the framework while it is open.
class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  const char* ClassName() const override { return "TPopupMenu"; }

  // Opens the menu with its top-left corner at x, y (screen) and returns
  // when it closed; a chosen item's OnClick runs once the command arrives.
  void Popup(int x, int y);
  // The control the menu was opened for, or none.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* c) { FPopupComponent = c; }

  TNotifyEvent OnPopup;
  // The window that owns open popup menus (WM_COMMAND, WM_MEASUREITEM,
  // WM_DRAWITEM, WM_INITMENUPOPUP go there); exists while a popup menu does.
  static HWND PopupListWindow();

 private:
  TComponent* FPopupComponent = nullptr;
};

}  // namespace fw
