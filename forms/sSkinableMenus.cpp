// Skinned menus.
#include "forms/sSkinableMenus.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "controls/protocol/sMessages.h"
#include "forms/acMenuBarLink.h"
#include "forms/acMenuSupport.h"
#include "forms/acMenuWndHook.h"
#include "forms/acMnuWnd.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/SystemMetrics.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "render/pixels/KeyColor.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr fw::TColor kKey = 0xFF00FF;
constexpr int kDividerHeight = 2;
constexpr int kColumnGap = 4;

fw::TMenuItem& Item(fw::TComponent* sender) { return *static_cast<fw::TMenuItem*>(sender); }

// The skin's handlers, told apart from an item's own by their type.
struct PopupMeasurer {
  TsSkinableMenus* menus;
  void operator()(fw::TComponent* s, fw::TCanvas& c, int& w, int& h) const {
    menus->MeasurePopupItem(Item(s), c, w, h);
  }
};
struct PopupPainter {
  TsSkinableMenus* menus;
  void operator()(fw::TComponent* s, fw::TCanvas& c, const RECT& r, fw::TOwnerDrawState st) const {
    menus->DrawPopupItem(Item(s), c, r, st);
  }
};
struct BarMeasurer {
  TsSkinableMenus* menus;
  void operator()(fw::TComponent* s, fw::TCanvas& c, int& w, int& h) const { menus->MeasureBarItem(Item(s), c, w, h); }
};
struct BarPainter {
  TsSkinableMenus* menus;
  void operator()(fw::TComponent* s, fw::TCanvas& c, const RECT& r, fw::TOwnerDrawState st) const {
    menus->DrawBarItem(Item(s), c, r, st);
  }
};

template <class Measurer, class Painter>
void SetHandlers(fw::TMenuItem& item, TsSkinableMenus* menus, bool on) {
  if (on) {
    if (!item.OnMeasureItem) item.OnMeasureItem = Measurer{menus};
    if (!item.OnAdvancedDrawItem) item.OnAdvancedDrawItem = Painter{menus};
    return;
  }
  if (item.OnMeasureItem.target<Measurer>()) item.OnMeasureItem = nullptr;
  if (item.OnAdvancedDrawItem.target<Painter>()) item.OnAdvancedDrawItem = nullptr;
}

bool IsBarItem(const fw::TMenuItem& item) {
  return item.Parent() && !item.Parent()->Parent() && dynamic_cast<fw::TMainMenu*>(item.GetParentMenu());
}

const fw::TMenuItem* FirstVisible(const fw::TMenuItem& parent) {
  for (int i = 0; i < parent.Count(); ++i)
    if (parent.Items(i)->Visible()) return parent.Items(i);
  return nullptr;
}

const fw::TMenuItem* LastVisible(const fw::TMenuItem& parent) {
  for (int i = parent.Count() - 1; i >= 0; --i)
    if (parent.Items(i)->Visible()) return parent.Items(i);
  return nullptr;
}

// The item is in the popup's first column (no break before or at it).
bool InFirstColumn(const fw::TMenuItem& item) {
  const fw::TMenuItem* parent = item.Parent();
  if (!parent) return true;
  for (int i = 0; i < parent->Count(); ++i) {
    if (parent->Items(i)->Visible() && parent->Items(i)->Break() != fw::mbNone) return false;
    if (parent->Items(i) == &item) return true;
  }
  return true;
}

std::string WithoutDashes(const std::string& caption) {
  if (caption.size() < 2) return caption;
  return caption.substr(1, caption.size() - 2);
}

// The caption as shown with hidden prefixes: "&&" is one "&", a single
// "&" is dropped (some platforms' DrawText ignores DT_HIDEPREFIX).
std::string WithoutPrefixes(const std::string& caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      text += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      text += '&';
      ++i;
    }
  }
  return text;
}

std::string WithoutAmpersands(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

fw::TColor FontColorOf(TsSkinManager& manager, int section, int state, fw::TColor fallback) {
  if (section < 0) return fallback;
  const TsGeneralData& s = manager.Sections[static_cast<std::size_t>(section)];
  return static_cast<fw::TColor>(s.States[static_cast<std::size_t>(std::clamp(state, 0, 1))].FontColor);
}

void WriteText(HDC dc, const std::string& text, RECT r, UINT flags, fw::TColor color) {
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, static_cast<COLORREF>(fw::ColorToRGB(color)));
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

// The "Webdings" glyph of a window menu command, or 0.
char SysMenuGlyph(int command) {
  switch (command & 0xFFF0) {
    case SC_MINIMIZE:
      return '0';
    case SC_MAXIMIZE:
      return '1';
    case SC_CLOSE:
      return 'r';
    case SC_RESTORE:
      return '2';
    default:
      return 0;
  }
}

RECT WindowBounds(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

// Where the client area's origin lies in the window (the frame the system
// gives popup windows, none on some platforms).
POINT ClientOrigin(HWND window) {
  RECT w{};
  ::GetWindowRect(window, &w);
  POINT c{0, 0};
  ::ClientToScreen(window, &c);
  return POINT{c.x - w.left, c.y - w.top};
}

void Blit(HDC dc, const RECT& r, fw::TBitmap& picture, POINT from) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, picture.Canvas().Handle(), from.x, from.y, SRCCOPY);
}

}  // namespace

TsSkinableMenus::TsSkinableMenus(TsSkinManager& manager) : FManager(manager) { fw::AssignMenuFont(CaptionFont); }

TsSkinableMenus::~TsSkinableMenus() {
  if (FActive) SetActive(false);
}

int TsSkinableMenus::SkinBorderWidth() {
  if (FSkinBorderWidth < 0) {
    const int section = FManager.SectionIndex("MAINMENU");
    const int mask = section >= 0 ? FManager.MaskIndex(section, "MAINMENU", "BORDERSMASK") : -1;
    if (!FManager.IsValidMask(mask)) {
      FSkinBorderWidth = 0;
    } else {
      const int margin = FManager.Masks[static_cast<std::size_t>(mask)].UniformMargin;
      FSkinBorderWidth = margin > 0 ? margin : 3;
    }
  }
  return FSkinBorderWidth;
}

TsMenuItemType TsSkinableMenus::ItemType(const fw::TMenuItem& item) {
  if (IsBarItem(item)) return smTopLine;
  const std::string& c = item.Caption();
  if (c == "-") return smDivider;
  if (c.size() >= 2 && c.front() == '-' && c.back() == '-') return smCaption;
  return smNormal;
}

void TsSkinableMenus::InitMenuBar(fw::TMainMenu& menu, bool on) {
  const bool skinned = on && FManager.GlobalInfo->Loaded;
  for (int i = 0; i < menu.Items().Count(); ++i)
    SetHandlers<BarMeasurer, BarPainter>(*menu.Items().Items(i), this, skinned && FManager.SkinnedPopups());
  menu.SetOwnerDraw(on);
}

void TsSkinableMenus::InitItem(fw::TMenuItem& item, bool on) {
  for (int i = 0; i < item.Count(); ++i) {
    fw::TMenuItem& child = *item.Items(i);
    if (!IsBarItem(child)) SetHandlers<PopupMeasurer, PopupPainter>(child, this, on);
    InitItem(child, on);
  }
}

void TsSkinableMenus::InitPopup(fw::TPopupMenu& menu, bool on) {
  menu.SetOwnerDraw(on);
  InitItem(menu.Items(), on);
}

void TsSkinableMenus::ItemAdded(fw::TMenuItem& item, bool on) {
  fw::TMenu* menu = item.GetParentMenu();
  if (menu) menu->SetOwnerDraw(on);
  if (IsBarItem(item))
    SetHandlers<BarMeasurer, BarPainter>(item, this, on);
  else if (FManager.SkinnedPopups())
    SetHandlers<PopupMeasurer, PopupPainter>(item, this, on);
}

void TsSkinableMenus::SetActive(bool on) {
  FActive = on;
  const bool popups = on && FManager.SkinnedPopups();
  PopupBackgrounds().Clear();
  for (fw::TMenu* menu : std::vector<fw::TMenu*>(fw::TMenu::AllMenus())) {
    if (auto* bar = dynamic_cast<fw::TMainMenu*>(menu)) {
      InitMenuBar(*bar, on);
      for (int i = 0; i < bar->Items().Count(); ++i) InitItem(*bar->Items().Items(i), popups);
    } else if (auto* popup = dynamic_cast<fw::TPopupMenu*>(menu)) {
      InitPopup(*popup, popups);
    }
  }
  if (popups)
    AttachPopupWindows(*this);
  else
    DetachPopupWindows();
}

void TsSkinableMenus::SkinChanged() {
  FSkinBorderWidth = -1;
  FFonts.clear();
  PopupBackgrounds().Clear();
}

bool TsSkinableMenus::ManagerMessage(fw::TMessage& m) {
  // A popup item was painted where its window could not be found: the
  // open popups are drawn again, frame and all.
  RedrawOpenPopups();
  m.Result = 1;
  return true;
}

SIZE TsSkinableMenus::PictureSize(const fw::TMenuItem& item) const {
  if (item.HasBitmap())
    return SIZE{const_cast<fw::TMenuItem&>(item).Bitmap().Width(), const_cast<fw::TMenuItem&>(item).Bitmap().Height()};
  fw::TMenu* menu = item.GetParentMenu();
  if (menu && menu->Images()) return SIZE{menu->Images()->Width(), menu->Images()->Height()};
  return SIZE{16, 16};
}

void TsSkinableMenus::PrepareFont(fw::TCanvas& canvas, const fw::TMenuItem& item, bool caption) const {
  if (caption) {
    canvas.Font().Assign(CaptionFont);
    return;
  }
  fw::AssignMenuFont(canvas.Font());
  fw::TMenu* menu = item.GetParentMenu();
  if (auto* form = menu ? dynamic_cast<fw::TCustomForm*>(menu->Owner()) : nullptr)
    canvas.Font().SetCharset(form->Font().Charset());
  if (item.Default()) canvas.Font().SetStyle(canvas.Font().Style() | fw::fsBold);
}

HFONT TsSkinableMenus::ItemFont(const fw::TMenuItem& item, bool caption) {
  if (caption) return CaptionFont.Handle();
  fw::TMenu* menu = item.GetParentMenu();
  auto* form = menu ? dynamic_cast<fw::TCustomForm*>(menu->Owner()) : nullptr;
  const int charset = form ? form->Font().Charset() : -1;
  const int key = (charset + 1) * 2 + (item.Default() ? 1 : 0);
  fw::UniqueFont& font = FFonts[key];
  if (!font) {
    fw::TFont menuFont;
    fw::AssignMenuFont(menuFont);
    if (charset >= 0) menuFont.SetCharset(charset);
    if (item.Default()) menuFont.SetStyle(menuFont.Style() | fw::fsBold);
    LOGFONTA lf{};
    ::GetObjectA(menuFont.Handle(), sizeof(lf), &lf);
    font.Reset(::CreateFontIndirectA(&lf));
  }
  return font.Get();
}

fw::TBitmap& TsSkinableMenus::ItemPicture(int width, int height) {
  if (!FItemPicture || FItemPicture->Width() < width || FItemPicture->Height() < height)
    FItemPicture = NewBitmap32(std::max(width, FItemPicture ? FItemPicture->Width() : 0),
                               std::max(height, FItemPicture ? FItemPicture->Height() : 0));
  return *FItemPicture;
}

int TsSkinableMenus::ExtraWidthOf(const TacPopupBackground& record) const {
  return ExtraLineWidth(FManager, record.ExtraLine);
}

TacPopupBackground& TsSkinableMenus::RecordOf(const fw::TMenuItem& item) {
  const fw::TMenuItem* first = item.Parent() ? FirstVisible(*item.Parent()) : &item;
  if (!first) first = &item;
  if (TacPopupBackground* found = PopupBackgrounds().Find(first)) return *found;
  TacPopupBackground& record = PopupBackgrounds().Add(first);
  CurrentExtraLine() = TacExtraLineData{};
  record.ExtraLine = AskExtraLine(FManager, *first);
  return record;
}

void TsSkinableMenus::MeasurePopupItem(fw::TMenuItem& item, fw::TCanvas& canvas, int& width, int& height) {
  if (item.Destroying()) return;
  TacPopupBackground& record = RecordOf(item);
  const TsMenuItemType type = ItemType(item);
  HDC dc = canvas.Handle();
  fw::SelectGuard font(dc, ItemFont(item, type == smCaption));
  const SIZE picture = PictureSize(item);
  if (type == smDivider) {
    height = kDividerHeight;
  } else {
    SIZE w{};
    ::GetTextExtentPoint32A(dc, "W", 1, &w);
    height = static_cast<int>(std::lround(1.25 * w.cy)) + 2 * Margin;
    if (type == smNormal) height = std::max<int>(height, picture.cy + 2 * Margin);
  }
  std::string text;
  if (type == smCaption)
    text = item.Caption();
  else if (type == smNormal)
    text = item.Caption() + (item.ShortCut() ? "\t" + fw::ShortCutToText(item.ShortCut()) : std::string());
  RECT r{0, 0, 0, 0};
  if (!text.empty())
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
  width = 2 * picture.cx + (r.right - r.left) + 3 * Margin + Spacing;
  if (InFirstColumn(item)) width += ExtraWidthOf(record);
}

void TsSkinableMenus::BuildBackground(TacPopupBackground& record, int width, int height, bool rightAligned) {
  record.Picture = NewBitmap32(width, height);
  fw::TBitmap& picture = *record.Picture;
  const RECT all{0, 0, width, height};
  FillBitmapRect(&picture, all, kKey);
  record.RegionRects.clear();
  const int section = FManager.SectionIndex("MAINMENU");
  if (section >= 0)
    PaintSkinBackground(section, "MAINMENU", EmptyParentCache(), clSkinTransparent, -1, -1, &FManager, &picture,
                        POINT{0, 0}, all, 0);
  const int border = SkinBorderWidth();
  const int extra = ExtraWidthOf(record);
  const std::string& icoLine = FManager.MenuSupport().IcoLineSkin;
  const int icoSection = icoLine.empty() ? -1 : FManager.SectionIndex(icoLine);
  if (icoSection >= 0 && !rightAligned) {
    const SIZE pictureSize = record.FirstItem ? PictureSize(*record.FirstItem) : SIZE{16, 16};
    const RECT band{extra + border, border, extra + border + pictureSize.cx + Margin + Spacing, height - border};
    if (band.right > band.left && band.bottom > band.top)
      PaintSkinItem(icoSection, icoLine, MakeParentCache(&picture, 0, 0), -1, -1, &FManager, &picture, POINT{0, 0},
                    band, 0);
  }
  const int mask = section >= 0 ? FManager.MaskIndex(section, "MAINMENU", "BORDERSMASK") : -1;
  if (FManager.IsValidMask(mask))
    PaintBorderMask(&picture, all, false, 0, FManager.Masks[static_cast<std::size_t>(mask)],
                    MakeParentCache(&picture, 0, 0));
  if (extra > 0) PaintExtraLine(FManager, picture, RECT{border, border, border + extra, height - border});
  if (FManager.IsValidMask(mask)) {
    const TsMaskData& m = FManager.Masks[static_cast<std::size_t>(mask)];
    CollectMaskRegionRects(record.RegionRects, width, m, false, 0);
    CollectMaskRegionRects(record.RegionRects, width, m, true, height - FManager.MaskMarginBottom(mask));
  }
}

void TsSkinableMenus::ApplyRegion(TacPopupBackground& record, HWND window) {
  if (record.RegionWindow == window || !IsNTPlatform) return;
  record.RegionWindow = window;
  // Without see-through corners the window keeps its rectangle.
  if (record.RegionRects.empty()) return;
  const RECT bounds = WindowBounds(window);
  fw::UniqueRgn region(::CreateRectRgn(0, 0, bounds.right, bounds.bottom));
  for (const RECT& r : record.RegionRects) {
    fw::UniqueRgn cut(::CreateRectRgnIndirect(&r));
    ::CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_DIFF);
  }
  // The window owns the region from here on.
  if (!::SetWindowRgn(window, region.Get(), TRUE)) return;
  region.Detach();
  ::SendMessageA(window, SM_ALPHACMD, SkinWParam(SKINCMD_MENU_FRAME), 0);
}

TacPopupBackground* TsSkinableMenus::PrepareBackground(const fw::TMenuItem& first, HWND window) {
  TacPopupBackground& record = RecordOf(first);
  // A popup window keeps its size while it is open.
  if (record.Window == window && record.Picture && record.RegionWindow == window) return &record;
  const RECT bounds = WindowBounds(window);
  record.Window = window;
  record.ClientOrigin = ClientOrigin(window);
  if (!record.Picture || record.Picture->Width() != bounds.right || record.Picture->Height() != bounds.bottom)
    BuildBackground(record, bounds.right, bounds.bottom, (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_RIGHT) != 0);
  ApplyRegion(record, window);
  return &record;
}

void TsSkinableMenus::PaintPopupFrame(HWND window, const TacPopupBackground& background, const RECT* item, bool first,
                                      bool last) {
  if (!background.Picture) return;
  fw::TBitmap& picture = *background.Picture;
  const RECT b = WindowBounds(window);
  fw::WindowDC dc(window, true);
  std::vector<RECT> strips;
  if (!item) {
    const int w = BorderWidth;
    strips = {RECT{0, 0, b.right, w}, RECT{0, b.bottom - w, b.right, b.bottom}, RECT{0, w, w, b.bottom - w},
              RECT{b.right - w, w, b.right, b.bottom - w}};
  } else {
    strips = {RECT{0, item->top, item->left, item->bottom}, RECT{item->right, item->top, b.right, item->bottom}};
    if (first) strips.push_back(RECT{0, 0, b.right, item->top});
    if (last) strips.push_back(RECT{0, item->bottom, b.right, b.bottom});
  }
  for (const RECT& s : strips) Blit(dc.Get(), s, picture, POINT{s.left, s.top});
}

void TsSkinableMenus::PaintPopupBackground(HWND window, HDC dc) {
  TacPopupBackground* record = PopupBackgrounds().FindByWindow(window);
  if (!record || !record->Picture) return;
  RECT client{};
  ::GetClientRect(window, &client);
  Blit(dc, client, *record->Picture, ClientOrigin(window));
}

void TsSkinableMenus::DrawPopupItem(fw::TMenuItem& item, fw::TCanvas& canvas, const RECT& rect,
                                    fw::TOwnerDrawState state) {
  const int itemWidthAll = rect.right - rect.left, h = rect.bottom - rect.top;
  if (itemWidthAll <= 0 || h <= 0 || item.Destroying()) return;
  HDC dc = canvas.Handle();
  const fw::TMenuItem* first = item.Parent() ? FirstVisible(*item.Parent()) : &item;
  const fw::TMenuItem* last = item.Parent() ? LastVisible(*item.Parent()) : &item;
  if (!first) first = last = &item;
  HWND window = IsNTPlatform ? ::WindowFromDC(dc) : nullptr;
  TacPopupBackground* record = nullptr;
  POINT origin{0, 0};
  if (window) {
    record = PrepareBackground(*first, window);
    origin = record->ClientOrigin;
  } else {
    record = &RecordOf(item);
    if (!record->Picture) BuildBackground(*record, rect.right + 2 * BorderWidth, rect.bottom + 2 * BorderWidth, false);
    // The manager draws the popup once its window is there.
    HWND app = fw::Application ? fw::Application->Handle() : nullptr;
    MSG pending;
    if (app && !::PeekMessageA(&pending, app, WM_DRAWMENUBORDER, WM_DRAWMENUBORDER2, PM_NOREMOVE))
      ::PostMessageA(app, WM_DRAWMENUBORDER, 0, reinterpret_cast<LPARAM>(&item));
  }
  fw::TBitmap& background = *record->Picture;
  const int extra = InFirstColumn(item) ? ExtraWidthOf(*record) : 0;
  const int w = itemWidthAll - extra;
  if (w <= 0) return;
  const POINT at{rect.left + origin.x + extra, rect.top + origin.y};
  fw::TBitmap& picture = ItemPicture(w, h);
  HDC pdc = picture.Canvas().Handle();
  ::BitBlt(pdc, 0, 0, w, h, background.Canvas().Handle(), at.x, at.y, SRCCOPY);
  const ParentCache parent = MakeParentCache(&background, at.x, at.y);
  const RECT all{0, 0, w, h};
  const TsMenuItemType type = ItemType(item);
  const bool selected = (state & ODS_SELECTED) && item.Enabled();
  const int itemSection = FManager.SectionIndex("MENUITEM");
  const bool rtl = item.GetParentMenu() && item.GetParentMenu()->IsRightToLeft();
  const SIZE pictureSize = PictureSize(item);
  fw::TCanvas& pc = picture.Canvas();
  if (OnDrawItem) PrepareFont(pc, item, type == smCaption);
  const HFONT textFont = ItemFont(item, type == smCaption);

  if (type == smDivider) {
    const int section = FManager.SectionIndex("DIVIDERV");
    const int mask = section >= 0 ? FManager.MaskIndex(section, "DIVIDERV", "BORDERSMASK") : -1;
    const int left = std::max(Margin + Spacing, static_cast<int>(pictureSize.cx) + Margin + Spacing + 2);
    const RECT line{left, 0, w - 2 * Margin - Spacing, h};
    if (line.right > line.left) {
      if (FManager.IsValidMask(mask)) {
        PaintBorderMask(&picture, line, false, 0, FManager.Masks[static_cast<std::size_t>(mask)], parent);
      } else {
        fw::TColor color = itemSection >= 0
                               ? static_cast<fw::TColor>(FManager.Sections[static_cast<std::size_t>(itemSection)].Color)
                               : fw::clBtnShadow;
        if ((color & 0xFFFFFF) == kKey) color = fw::clBtnShadow;
        FillBitmapRect(&picture, RECT{line.left, h / 2, line.right, h / 2 + 1}, fw::ColorToRGB(color));
      }
    }
  } else if (type == smCaption) {
    const int section = FManager.SectionIndex("TOOLBAR");
    if (section >= 0) PaintSkinItem(section, "TOOLBAR", parent, -1, -1, &FManager, &picture, POINT{0, 0}, all, 0);
    fw::SelectGuard font(pdc, textFont);
    WriteText(pdc, WithoutDashes(item.Caption()), all, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_HIDEPREFIX,
              FontColorOf(FManager, section, 0, CaptionFont.Color()));
  } else {
    if (itemSection >= 0)
      PaintSkinItem(itemSection, "MENUITEM", parent, -1, -1, &FManager, &picture, POINT{0, 0}, all, selected ? 1 : 0);
    const bool hasPicture =
        item.HasBitmap() || (item.ImageIndex() >= 0 && item.GetParentMenu() && item.GetParentMenu()->Images());
    if (item.Checked() && !hasPicture) {
      const int info = FManager.ConstIndexes.GlobalInfoIndex;
      int mask = FManager.MaskIndex(info, "GLOBALINFO", item.RadioItem() ? "RADIOCHECKED" : "CHECK");
      if (!FManager.IsValidMask(mask)) mask = FManager.MaskIndex(info, "GLOBALINFO", "BOXCHECKED");
      if (FManager.IsValidMask(mask)) {
        const TsMaskData& m = FManager.Masks[static_cast<std::size_t>(mask)];
        const int mw = FManager.MaskStateWidth(mask), mh = FManager.MaskStateHeight(mask);
        const int x = rtl ? w - Margin - mw : Margin;
        DrawMaskImage(&picture, POINT{x, (h - mh) / 2}, std::min<int>(selected ? 1 : 0, m.StateCount - 1),
                      MakeParentCache(&picture, 0, 0), m, mlNormal);
      }
    }
    if (item.HasBitmap()) {
      fw::TBitmap& bitmap = item.Bitmap();
      const RECT dest{Margin, (h - bitmap.Height()) / 2, Margin + bitmap.Width(), (h + bitmap.Height()) / 2};
      if (bitmap.PixelFormat() == fw::pf32bit)
        ComposeAlpha(dest, RECT{0, 0, bitmap.Width(), bitmap.Height()}, &picture, false, EmptyParentCache(), &bitmap);
      else
        ::BitBlt(pdc, dest.left, dest.top, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
    } else if (hasPicture) {
      fw::TCustomImageList& images = *item.GetParentMenu()->Images();
      const int y = (h - images.Height()) / 2;
      if (item.Checked()) {
        const int frame = FManager.SectionIndex("SPEEDBUTTON_SMALL");
        if (frame >= 0)
          PaintSkinItem(frame, "SPEEDBUTTON_SMALL", MakeParentCache(&picture, 0, 0), -1, -1, &FManager, &picture,
                        POINT{0, 0}, RECT{Margin - 1, y - 1, Margin + images.Width() + 1, y + images.Height() + 1}, 1);
      }
      images.Draw(pdc, Margin, y, item.ImageIndex(), item.Enabled());
    }
    const fw::TColor textColor = FontColorOf(FManager, itemSection, selected ? 1 : 0, fw::clMenuText);
    fw::TMenu* menu = item.GetParentMenu();
    if (!hasPicture && menu && menu->Name() == "SysMenu") {
      if (const char glyph = SysMenuGlyph(item.Tag())) {
        fw::TFont webdings;
        webdings.SetName("Webdings");
        webdings.SetSize(10);
        webdings.SetCharset(SYMBOL_CHARSET);
        fw::SelectGuard font(pdc, webdings.Handle());
        WriteText(pdc, std::string(1, glyph), RECT{4, 0, 4 + pictureSize.cx, h}, DT_SINGLELINE | DT_VCENTER, textColor);
      }
    }
    fw::SelectGuard font(pdc, textFont);
    std::string caption = item.Caption();
    UINT align = Alignment == fw::taRightJustify ? DT_RIGHT : Alignment == fw::taCenter ? DT_CENTER : DT_LEFT;
    if (!caption.empty() && caption[0] == '\x08') {
      caption = caption.substr(1) + "      ";
      align = DT_RIGHT;
    }
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP | align;
    if (rtl) flags |= DT_RIGHT | DT_RTLREADING;
    if (state & ODS_NOACCEL) {
      caption = WithoutPrefixes(caption);
      flags |= DT_NOPREFIX;
    }
    const int textStart = pictureSize.cx + 2 * Margin + Spacing;
    const RECT textRect = rtl ? RECT{0, 0, w - textStart, h} : RECT{textStart, 0, w, h};
    WriteText(pdc, caption, textRect, flags, textColor);
    if (item.ShortCut()) {
      const std::string keys = fw::ShortCutToText(item.ShortCut());
      const RECT keysRect = rtl ? RECT{6, 0, w, h} : RECT{0, 0, w - 8, h};
      WriteText(pdc, keys, keysRect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | (rtl ? DT_LEFT : DT_RIGHT), textColor);
    }
    if (item.Count() > 0) {
      // The sub-menu arrow, in the item's text colour.
      fw::TFont marlett;
      marlett.SetName("Marlett");
      marlett.SetHeight(-(h * 2) / 3);
      marlett.SetCharset(SYMBOL_CHARSET);
      fw::SelectGuard arrowFont(pdc, marlett.Handle());
      WriteText(pdc, rtl ? "3" : "4", rtl ? RECT{2, 0, 2 + h, h} : RECT{w - h - 2, 0, w - 2, h},
                DT_CENTER | DT_SINGLELINE | DT_VCENTER, textColor);
    }
  }

  if (OnDrawItem) OnDrawItem(&item, pc, all, state, type);

  if (!item.Enabled() && type == smNormal)
    BlendRectOnto(&picture, 0, 0, kKey, 0.4, RECT{at.x, at.y, at.x + w - 1, at.y + h - 1}, &background);

  ::BitBlt(dc, rect.left + extra, rect.top, w, h, pdc, 0, 0, SRCCOPY);
  if (extra > 0) ::BitBlt(dc, rect.left, rect.top, extra, h, background.Canvas().Handle(), at.x - extra, at.y, SRCCOPY);
  if (item.Count() > 0) {
    // The platform puts its own arrow over owner-drawn items with a
    // sub-menu once they are drawn: ours stays.
    const int arrow = ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
    ::ExcludeClipRect(dc, rtl ? rect.left : rect.right - arrow, rect.top, rtl ? rect.left + arrow : rect.right,
                      rect.bottom);
  }
  // A window with the popup subclass has its frame painted after the
  // platform's own painting; others get the strips beside each item.
  if (window && !dynamic_cast<TacMnuWnd*>(TacMainWnd::FromHandle(window))) {
    const RECT inWindow{rect.left + origin.x, rect.top + origin.y, rect.right + origin.x, rect.bottom + origin.y};
    PaintPopupFrame(window, *record, &inWindow, first == &item, last == &item);
  }
}

void TsSkinableMenus::MeasureBarItem(fw::TMenuItem& item, fw::TCanvas& canvas, int& width, int& height) {
  if (item.Destroying()) return;
  PrepareFont(canvas, item, false);
  height = fw::SystemMetric(SM_CYMENU) - 1;
  width = canvas.TextWidth(WithoutAmpersands(item.Caption()));
  const bool hasPicture =
      item.HasBitmap() || (item.ImageIndex() >= 0 && item.GetParentMenu() && item.GetParentMenu()->Images());
  if (hasPicture) width += PictureSize(item).cx + 6;
}

void TsSkinableMenus::DrawBarItem(fw::TMenuItem& item, fw::TCanvas& canvas, const RECT& rect,
                                  fw::TOwnerDrawState state) {
  // Over the band the form's frame drew when there is one, else over the
  // "MENULINE" section.
  fw::TBitmap* band = nullptr;
  POINT at{0, 0};
  band = FrameMenuBand(item, rect, at);
  PaintBarItem(item, canvas.Handle(), rect, state, band, at);
}

void TsSkinableMenus::PaintBarItem(fw::TMenuItem& item, HDC dc, const RECT& rect, fw::TOwnerDrawState state,
                                   fw::TBitmap* band, POINT bandAt) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0 || item.Destroying()) return;
  const RECT all{0, 0, w, h};
  const int lineSection = FManager.SectionIndex("MENULINE");
  auto under = NewBitmap32(w, h);
  if (band) {
    ::BitBlt(under->Canvas().Handle(), 0, 0, w, h, band->Canvas().Handle(), bandAt.x, bandAt.y, SRCCOPY);
  } else {
    FillBitmapRect(under.get(), all, fw::ColorToRGB(fw::clMenu));
    if (lineSection >= 0)
      PaintSkinBackground(lineSection, "MENULINE", EmptyParentCache(), clSkinTransparent, -1, -1, &FManager,
                          under.get(), POINT{0, 0}, all, 0);
  }
  auto picture = NewBitmap32(w, h);
  ::BitBlt(picture->Canvas().Handle(), 0, 0, w, h, under->Canvas().Handle(), 0, 0, SRCCOPY);
  const bool hot = item.Enabled() && (state & (ODS_SELECTED | ODS_HOTLIGHT));
  const int itemSection = FManager.SectionIndex("MENUITEM");
  if (itemSection >= 0)
    PaintSkinItem(itemSection, "MENUITEM", MakeParentCache(under.get(), 0, 0), -1, -1, &FManager, picture.get(),
                  POINT{0, 0}, all, hot ? 1 : 0);
  fw::TCanvas& pc = picture->Canvas();
  if (OnDrawItem) PrepareFont(pc, item, false);
  HDC pdc = pc.Handle();
  const bool rtl = item.GetParentMenu() && item.GetParentMenu()->IsRightToLeft();
  RECT textRect = all;
  if (item.HasBitmap()) {
    fw::TBitmap& bitmap = item.Bitmap();
    const int x = rtl ? w - 3 - bitmap.Width() : 3;
    ::BitBlt(pdc, x, (h - bitmap.Height()) / 2, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0,
             SRCCOPY);
    (rtl ? textRect.right : textRect.left) += bitmap.Width() + 6;
  }
  UINT flags = DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP;
  flags |= Alignment == fw::taRightJustify ? DT_RIGHT : Alignment == fw::taCenter ? DT_CENTER : DT_LEFT;
  std::string caption = item.Caption();
  if (state & ODS_NOACCEL) {
    caption = WithoutPrefixes(caption);
    flags |= DT_NOPREFIX;
  }
  if (rtl) flags |= DT_RTLREADING;
  {
    fw::SelectGuard font(pdc, ItemFont(item, false));
    WriteText(pdc, caption, textRect, flags, FontColorOf(FManager, lineSection, hot ? 1 : 0, fw::clMenuText));
  }
  if (OnDrawItem) OnDrawItem(&item, pc, all, state, smTopLine);
  if (!item.Enabled()) MixBitmapsAt(picture.get(), under.get(), 102, POINT{0, 0}, all);
  ::BitBlt(dc, rect.left, rect.top, w, h, pdc, 0, 0, SRCCOPY);
}

namespace {
std::unique_ptr<TacMenuSkinning> MakeSkinableMenus(TsSkinManager& manager) {
  return std::make_unique<TsSkinableMenus>(manager);
}
}  // namespace

void InstallMenuSkinning() {
  MenuHooks().Create = MakeSkinableMenus;
  InstallFrameMenuLink();
}

void UninstallMenuSkinning() {
  MenuHooks().Create = nullptr;
  UninstallFrameMenuLink();
}

}  // namespace translit
