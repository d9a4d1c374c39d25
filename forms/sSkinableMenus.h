// Skinned menus: the skin manager's menu skinning object. It makes the
// menus of the program owner-drawn, measures and paints their items from
// the skin (popup items over one background picture per open popup, menu
// bar items over the "MENULINE" band) and paints the popup windows' frame
// strips from that picture, cutting the windows' outline from the frame
// mask's transparent corners.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "forms/acPopupCache.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "framework/core/ButtonLayout.h"
#include "framework/core/Persistent.h"
#include "skin/sMenuHooks.h"

namespace translit {

class TsSkinManager;

enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };
using TsMenuManagerDrawItemEvent = std::function<void(fw::TComponent* item, fw::TCanvas& canvas, const RECT& rect,
                                                      fw::TOwnerDrawState state, TsMenuItemType itemType)>;

class TsSkinableMenus : public fw::TPersistent, public TacMenuSkinning {
 public:
  explicit TsSkinableMenus(TsSkinManager& manager);
  ~TsSkinableMenus() override;
  const char* ClassName() const override { return "TsSkinableMenus"; }

  // Published settings.
  fw::TAlignment Alignment = fw::taLeftJustify;
  int BevelWidth = 0;
  int BorderWidth = 3;  // the popup window's frame strips
  fw::TFont CaptionFont;
  int Margin = 2;
  int Spacing = 8;
  TsMenuManagerDrawItemEvent OnDrawItem;
  // The frame mask's uniform margin ("BORDERSMASK" of "MAINMENU"), 3 when
  // that is not positive, 0 without the mask; read once per skin.
  int SkinBorderWidth();

  // The menu bar's items get the skin's bar measurer and painter (on) or
  // lose them where they are the skin's (off); OwnerDraw follows on.
  void InitMenuBar(fw::TMainMenu& menu, bool on);
  // Every item below item (not the bar's own items) gets the popup
  // measurer and painter where it has none of its own, or loses the skin's.
  void InitItem(fw::TMenuItem& item, bool on);
  void InitPopup(fw::TPopupMenu& menu, bool on);
  // An item measured for the first time.
  void ItemAdded(fw::TMenuItem& item, bool on);
  // Applies the above to every menu of the program.
  void SetActive(bool on) override;
  bool Active() const { return FActive; }
  void SkinChanged() override;
  bool ManagerMessage(fw::TMessage& m) override;

  static TsMenuItemType ItemType(const fw::TMenuItem& item);

  // The handlers the skin installs.
  void MeasurePopupItem(fw::TMenuItem& item, fw::TCanvas& canvas, int& width, int& height);
  void DrawPopupItem(fw::TMenuItem& item, fw::TCanvas& canvas, const RECT& rect, fw::TOwnerDrawState state);
  void MeasureBarItem(fw::TMenuItem& item, fw::TCanvas& canvas, int& width, int& height);
  void DrawBarItem(fw::TMenuItem& item, fw::TCanvas& canvas, const RECT& rect, fw::TOwnerDrawState state);
  // A bar item into dc at rect, over band (from bandAt in it) or, without
  // one, over the "MENULINE" section.
  void PaintBarItem(fw::TMenuItem& item, HDC dc, const RECT& rect, fw::TOwnerDrawState state, fw::TBitmap* band,
                    POINT bandAt);

  // The frame of a popup window from its picture: beside an item (window
  // coordinates) the parts left and right of it, above the first item and
  // below the last; without an item the four strips of BorderWidth.
  void PaintPopupFrame(HWND window, const TacPopupBackground& background, const RECT* item, bool first, bool last);
  // The client area of a popup window from its picture.
  void PaintPopupBackground(HWND window, HDC dc);
  // The popup's picture for its window size (built when missing or of
  // another size) and, once per window, its outline.
  TacPopupBackground* PrepareBackground(const fw::TMenuItem& first, HWND window);

  TsSkinManager& Manager() const { return FManager; }

 private:
  SIZE PictureSize(const fw::TMenuItem& item) const;
  void BuildBackground(TacPopupBackground& record, int width, int height, bool rightAligned);
  void ApplyRegion(TacPopupBackground& record, HWND window);
  // The record of the popup item belongs to, registered when missing
  // (asking for the extra line then).
  TacPopupBackground& RecordOf(const fw::TMenuItem& item);
  void PrepareFont(fw::TCanvas& canvas, const fw::TMenuItem& item, bool caption) const;
  // The font of an item's text, made once per character set and weight
  // (until the next skin change).
  HFONT ItemFont(const fw::TMenuItem& item, bool caption);
  // The picture items are drawn into before they are copied, kept from
  // item to item.
  fw::TBitmap& ItemPicture(int width, int height);
  int ExtraWidthOf(const TacPopupBackground& record) const;

  TsSkinManager& FManager;
  bool FActive = false;
  int FSkinBorderWidth = -1;
  std::map<int, fw::UniqueFont> FFonts;
  std::unique_ptr<fw::TBitmap> FItemPicture;
};

// Fills the skin manager's menu slot: managers made afterwards get a
// TsSkinableMenus. InstallMenuSkinning also attaches the popup window
// subclass to the popup menus while skinned popups are on.
void InstallMenuSkinning();
void UninstallMenuSkinning();

}  // namespace translit
