// Menus.
#include "framework/Menus.h"

#include <cstring>

#include <algorithm>
#include <set>
#include <unordered_set>

#include "framework/Application.h"
#include "framework/ImgList.h"
#include "framework/SystemMetrics.h"

namespace fw {

namespace {

std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

std::vector<TMenu*>& Menus() {
  static std::vector<TMenu*> menus;
  return menus;
}

// Command numbers travel in the low word of WM_COMMAND's WParam; a freed
// item gives its number back.
class CommandPool {
 public:
  UINT Take() {
    if (!FFree.empty()) {
      UINT c = *FFree.begin();
      FFree.erase(FFree.begin());
      return c;
    }
    if (FNext > 0xFFFF) throw EOutOfResources("Too many menu items");
    return FNext++;
  }
  void Give(UINT c) {
    if (c) FFree.insert(c);
  }

 private:
  std::set<UINT> FFree;
  UINT FNext = 1;
};

CommandPool& Commands() {
  static CommandPool pool;
  return pool;
}

std::string KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  switch (key) {
    case VK_BACK:
      return "BkSp";
    case VK_TAB:
      return "Tab";
    case VK_RETURN:
      return "Enter";
    case VK_ESCAPE:
      return "Esc";
    case VK_SPACE:
      return "Space";
    case VK_PRIOR:
      return "PgUp";
    case VK_NEXT:
      return "PgDn";
    case VK_END:
      return "End";
    case VK_HOME:
      return "Home";
    case VK_LEFT:
      return "Left";
    case VK_UP:
      return "Up";
    case VK_RIGHT:
      return "Right";
    case VK_DOWN:
      return "Down";
    case VK_INSERT:
      return "Ins";
    case VK_DELETE:
      return "Del";
    default:
      return "";
  }
}

constexpr int kSeparatorHeight = 8;

// What an owner-drawn item without a drawing of its own shows: the menu
// colours of the system, a check mark, the caption and the shortcut.
void DrawPlainItem(TMenuItem& item, HDC dc, const RECT& rect, TOwnerDrawState state) {
  const bool selected = (state & ODS_SELECTED) && item.Enabled();
  ::FillRect(dc, &rect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.IsLine()) {
    RECT line{rect.left + 2, (rect.top + rect.bottom) / 2 - 1, rect.right - 2, (rect.top + rect.bottom) / 2 + 1};
    ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int check = ::GetSystemMetrics(SM_CXMENUCHECK);
  const int saved = ::SaveDC(dc);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(!item.Enabled() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  if (item.Checked()) {
    RECT mark{rect.left + 2, rect.top, rect.left + 2 + check, rect.bottom};
    ::DrawTextA(dc, item.RadioItem() ? "\x95" : "v", -1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  RECT text{rect.left + check + 6, rect.top, rect.right - 8, rect.bottom};
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  if (state & ODS_NOACCEL) flags |= DT_HIDEPREFIX;
  ::DrawTextA(dc, item.Caption().c_str(), -1, &text, flags);
  if (item.ShortCut()) ::DrawTextA(dc, ShortCutToText(item.ShortCut()).c_str(), -1, &text, flags | DT_RIGHT);
  ::RestoreDC(dc, saved);
}

void MeasurePlainItem(TMenuItem& item, HDC dc, int& width, int& height) {
  if (item.IsLine()) {
    width = 0;
    height = kSeparatorHeight;
    return;
  }
  std::string text = item.Caption();
  if (item.ShortCut()) text += "\t" + ShortCutToText(item.ShortCut());
  RECT r{0, 0, 0, 0};
  ::DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  width = r.right + ::GetSystemMetrics(SM_CXMENUCHECK) + 14;
  height = std::max<int>(r.bottom + 4, SystemMetric(SM_CYMENU));
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyName(static_cast<WORD>(shortCut & 0xFF));
  if (key.empty()) return "";
  std::string text;
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
  std::string rest = text;
  TShortCut modifiers = 0;
  const std::pair<const char*, TShortCut> prefixes[] = {{"Ctrl+", scCtrl}, {"Shift+", scShift}, {"Alt+", scAlt}};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [name, flag] : prefixes) {
      const std::size_t n = std::strlen(name);
      if (rest.size() > n && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, rest.c_str(), static_cast<int>(n),
                                              name, static_cast<int>(n)) == CSTR_EQUAL) {
        modifiers |= flag;
        rest.erase(0, n);
        found = true;
      }
    }
  }
  for (WORD key = 1; key < 0x100; ++key) {
    const std::string name = KeyName(key);
    if (!name.empty() && ::lstrcmpiA(name.c_str(), rest.c_str()) == 0) return MakeShortCut(key, modifiers);
  }
  return 0;
}

void AssignMenuFont(TFont& font) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  const LOGFONTA& lf = metrics.lfMenuFont;
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetCharset(lf.lfCharSet);
  font.SetStyle((lf.lfWeight >= FW_BOLD ? fsBold : 0u) | (lf.lfItalic ? fsItalic : 0u));
}

// --- TMenuItem ---

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(Commands().Take()) { LiveItems().insert(this); }

TMenuItem::~TMenuItem() {
  MarkDestroying();
  LiveItems().erase(this);
  for (TMenuItem* child : std::vector<TMenuItem*>(FItems)) {
    child->FParent = nullptr;
    if (!child->Owner()) delete child;
  }
  FItems.clear();
  try {
    if (FParent) FParent->Remove(this);
  } catch (...) {
    // The platform menu could not be rebuilt: the next change rebuilds it.
  }
  Commands().Give(FCommand);
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  Changed(false);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  if (shortCut == FShortCut) return;
  FShortCut = shortCut;
  Changed(false);
}

void TMenuItem::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  Changed(false);
}

void TMenuItem::SetRadioItem(bool v) {
  if (v == FRadioItem) return;
  FRadioItem = v;
  Changed(false);
}

void TMenuItem::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Changed(false);
}

void TMenuItem::SetDefault(bool v) {
  if (v == FDefault) return;
  FDefault = v;
  Changed(false);
}

void TMenuItem::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Changed(true);
}

void TMenuItem::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  FImageIndex = v;
  Changed(false);
}

void TMenuItem::SetBreak(TMenuBreak v) {
  if (v == FBreak) return;
  FBreak = v;
  Changed(false);
}

TBitmap& TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return *FBitmap;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->FParent) throw EInvalidOperation("Menu inserted twice");
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed(true);
}

TMenuItem* TMenuItem::Add(const std::string& caption, TNotifyEvent onClick) {
  auto* item = new TMenuItem(nullptr);
  item->FCaption = caption;
  item->OnClick = std::move(onClick);
  Add(item);
  return item;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
  item->FParentHandle = nullptr;
  if (!Destroying()) Changed(true);
}

void TMenuItem::Clear() {
  for (TMenuItem* child : std::vector<TMenuItem*>(FItems)) {
    Remove(child);
    if (!child->Owner()) delete child;
  }
}

int TMenuItem::MenuIndex() const {
  if (!FParent) return -1;
  auto it = std::find(FParent->FItems.begin(), FParent->FItems.end(), this);
  return static_cast<int>(it - FParent->FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  return root->FMenu;
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  return LiveItems().count(item) ? item : nullptr;
}

void TMenuItem::Changed(bool structure) {
  TMenu* menu = GetParentMenu();
  if (!menu || !menu->HandleAllocated() || menu->Destroying()) return;
  if (structure) {
    menu->Rebuild();
  } else {
    UpdatePlatformItem();
    if (menu->OnRebuilt) menu->OnRebuilt(*menu);
  }
}

MENUITEMINFOA TMenuItem::PlatformInfo(bool ownerDraw, std::string& text) const {
  MENUITEMINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
  info.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
  if (ownerDraw) info.fType |= MFT_OWNERDRAW;
  if (FRadioItem) info.fType |= MFT_RADIOCHECK;
  if (FBreak == mbBreak) info.fType |= MFT_MENUBREAK;
  if (FBreak == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
  info.fState = (FChecked ? MFS_CHECKED : 0u) | (FEnabled ? 0u : MFS_DISABLED) | (FDefault ? MFS_DEFAULT : 0u);
  info.wID = FCommand;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  // The text stays with owner-drawn items too: the platform finds the
  // item of an "&" letter typed in an open menu in it.
  text = FCaption;
  if (FShortCut && !IsLine()) text += "\t" + ShortCutToText(FShortCut);
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  return info;
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
  FParentHandle = menu;
  FHandle = nullptr;
  std::string text;
  MENUITEMINFOA info = PlatformInfo(ownerDraw, text);
  // The sub-menu is ours until the parent holds it: a child that fails
  // or a refused insertion frees it.
  UniqueMenu sub;
  if (!FItems.empty()) {
    sub.Reset(::CreatePopupMenu());
    if (!sub) throw EOutOfResources("Out of system resources");
    for (TMenuItem* child : FItems)
      if (child->FVisible) child->AppendTo(sub.Get(), ownerDraw);
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = sub.Get();
  }
  if (!::InsertMenuItemA(menu, static_cast<UINT>(::GetMenuItemCount(menu)), TRUE, &info))
    throw EOutOfResources("Out of system resources");
  FHandle = sub.Detach();
}

void TMenuItem::UpdatePlatformItem() {
  TMenu* menu = GetParentMenu();
  if (!FParentHandle || !menu) return;
  std::string text;
  MENUITEMINFOA info = PlatformInfo(menu->OwnerDraw(), text);
  info.fMask &= ~static_cast<UINT>(MIIM_ID);
  ::SetMenuItemInfoA(FParentHandle, FCommand, FALSE, &info);
}

// --- TMenu ---

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
  Menus().push_back(this);
}

TMenu::~TMenu() {
  MarkDestroying();
  Menus().erase(std::remove(Menus().begin(), Menus().end(), this), Menus().end());
  if (FImages) FImages = nullptr;
  FItems.reset();
}

const std::vector<TMenu*>& TMenu::AllMenus() { return Menus(); }

HMENU TMenu::Handle() {
  if (!FHandle) Rebuild();
  return FHandle.Get();
}

void TMenu::Rebuild() {
  UniqueMenu root(IsBar() ? ::CreateMenu() : ::CreatePopupMenu());
  if (!root) throw EOutOfResources("Out of system resources");
  FItems->FHandle = root.Get();
  for (TMenuItem* item : FItems->FItems)
    if (item->FVisible) item->AppendTo(root.Get(), FOwnerDraw);
  // The old platform menu stays until whoever shows it has the new one.
  UniqueMenu old = std::move(FHandle);
  FHandle = std::move(root);
  if (OnRebuilt) OnRebuilt(*this);
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == FOwnerDraw) return;
  FOwnerDraw = v;
  if (!FHandle) return;
  // In place: the platform menu may be open.
  std::vector<TMenuItem*> pending(FItems->FItems);
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    item->UpdatePlatformItem();
    pending.insert(pending.end(), item->FItems.begin(), item->FItems.end());
  }
  if (OnRebuilt) OnRebuilt(*this);
}

void TMenu::SetImages(TCustomImageList* images) { FImages = images; }

void TMenu::SetBiDiMode(TBiDiMode mode) { FBiDiMode = mode; }

TMenuItem* TMenu::FindItem(UINT command) const {
  std::vector<TMenuItem*> pending(FItems->FItems);
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    if (item->Command() == command) return item;
    pending.insert(pending.end(), item->FItems.begin(), item->FItems.end());
  }
  return nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::MeasureItem(MEASUREITEMSTRUCT& record) {
  if (record.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(record.itemData);
  if (!item) return false;
  // An item being freed is not asked about.
  if (item->Destroying()) return true;
  WindowDC screen(nullptr);
  TCanvas canvas;
  CanvasScope scope(canvas, screen.Get());
  AssignMenuFont(canvas.Font());
  // A handler starts from the platform's proposal; without one the
  // framework measures the caption.
  int width = static_cast<int>(record.itemWidth), height = static_cast<int>(record.itemHeight);
  if (item->OnMeasureItem) {
    item->OnMeasureItem(item, canvas, width, height);
  } else {
    SelectGuard font(screen.Get(), canvas.Font().Handle());
    MeasurePlainItem(*item, screen.Get(), width, height);
  }
  record.itemWidth = static_cast<UINT>(std::max(width, 0));
  record.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool TMenu::DrawItem(const DRAWITEMSTRUCT& record) {
  if (record.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenuItem::FromItemData(record.itemData);
  if (!item) return false;
  if (item->OnAdvancedDrawItem) {
    TCanvas canvas;
    CanvasScope scope(canvas, record.hDC);
    AssignMenuFont(canvas.Font());
    item->OnAdvancedDrawItem(item, canvas, record.rcItem, record.itemState);
  } else {
    SelectGuard font(record.hDC, nullptr);
    TFont menuFont;
    AssignMenuFont(menuFont);
    SelectGuard selected(record.hDC, menuFont.Handle());
    DrawPlainItem(*item, record.hDC, record.rcItem, record.itemState);
  }
  return true;
}

// --- TPopupMenu ---

namespace {

int& PopupMenuCount() {
  static int count = 0;
  return count;
}

UniqueWindow& PopupWindow() {
  static UniqueWindow window;
  return window;
}

LRESULT CALLBACK PopupListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
          const UINT command = LOWORD(wParam);
          for (TMenu* menu : std::vector<TMenu*>(TMenu::AllMenus()))
            if (dynamic_cast<TPopupMenu*>(menu) && menu->DispatchCommand(command)) return 0;
        }
        break;
      case WM_MEASUREITEM:
        if (TMenu::MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
      case WM_DRAWITEM:
        if (TMenu::DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
      default:
        break;
    }
  } catch (...) {
    HandleCurrentException();
    return 0;
  }
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) { ++PopupMenuCount(); }

TPopupMenu::~TPopupMenu() {
  if (--PopupMenuCount() == 0) PopupWindow().Reset();
}

HWND TPopupMenu::PopupListWindow() {
  if (!PopupWindow()) {
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = PopupListProc;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.lpszClassName = "TPUtilWindow";
      return ::RegisterClassA(&wc);
    }();
    (void)atom;
    PopupWindow().Reset(::CreateWindowExA(0, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          ::GetModuleHandleA(nullptr), nullptr));
    if (!PopupWindow()) throw EOutOfResources("Out of system resources");
  }
  return PopupWindow().Get();
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HWND owner = PopupListWindow();
  UINT flags = TPM_RIGHTBUTTON | (IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  ::TrackPopupMenu(Handle(), flags, x, y, 0, owner, nullptr);
}

}  // namespace fw
