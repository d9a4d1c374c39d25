// The skinned menus on a form's skinned frame.
#include "forms/acMenuBarLink.h"

#include "forms/acFrameMenuHooks.h"
#include "forms/sSkinProvider.h"
#include "forms/sSkinableMenus.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// The form's skin manager (its frame's, else the default one) and its
// menu skinning.
TsSkinableMenus* MenusOf(fw::TCustomForm& form, TsSkinManager*& manager) {
  TsSkinProvider* provider = ProviderOf(&form);
  manager = provider && provider->SkinData().SkinManager() ? provider->SkinData().SkinManager() : DefaultManager;
  return manager ? dynamic_cast<TsSkinableMenus*>(manager->SkinableMenus()) : nullptr;
}

bool Skinned(fw::TCustomForm& form, const TsSkinManager& manager) {
  TsSkinProvider* provider = ProviderOf(&form);
  return manager.GlobalInfo->Loaded && (!provider || provider->SkinnedNow());
}

void PrepareMenus(fw::TCustomForm& form) {
  TsSkinManager* manager = nullptr;
  TsSkinableMenus* menus = MenusOf(form, manager);
  if (!menus || manager != DefaultManager) return;
  const bool skinned = Skinned(form, *manager);
  TsSkinProvider* provider = ProviderOf(&form);
  const bool popups = skinned && manager->SkinnedPopups();
  for (int i = 0; i < form.ComponentCount(); ++i) {
    if (auto* bar = dynamic_cast<fw::TMainMenu*>(form.Components(i))) {
      menus->InitMenuBar(*bar, skinned && (!provider || provider->DrawNonClientArea()));
      for (int k = 0; k < bar->Items().Count(); ++k) menus->InitItem(*bar->Items().Items(k), popups);
    } else if (auto* popup = dynamic_cast<fw::TPopupMenu*>(form.Components(i))) {
      menus->InitPopup(*popup, popups);
    }
  }
}

void PaintMenuBar(fw::TCustomForm& form, fw::TBitmap& cache, const RECT& band) {
  TsSkinManager* manager = nullptr;
  TsSkinableMenus* menus = MenusOf(form, manager);
  if (!menus || !form.Menu() || !form.HandleAllocated()) return;
  HWND window = form.Handle();
  HMENU bar = ::GetMenu(window);
  if (bar != form.Menu()->Handle()) return;
  RECT windowRect{};
  ::GetWindowRect(window, &windowRect);
  fw::TMenuItem& root = form.Menu()->Items();
  int position = 0;
  for (int i = 0; i < root.Count(); ++i) {
    fw::TMenuItem& item = *root.Items(i);
    if (!item.Visible()) continue;
    RECT r{};
    const UINT at = static_cast<UINT>(position++);
    if (!::GetMenuItemRect(window, bar, at, &r)) continue;
    ::OffsetRect(&r, -windowRect.left, -windowRect.top);
    ::IntersectRect(&r, &r, &band);
    const UINT platform = ::GetMenuState(bar, at, MF_BYPOSITION);
    const fw::TOwnerDrawState state = (platform & MF_HILITE ? ODS_SELECTED : 0u) | (item.Enabled() ? 0u : ODS_DISABLED);
    menus->PaintBarItem(item, cache.Canvas().Handle(), r, state, &cache, POINT{r.left, r.top});
  }
}

bool MeasureItem(fw::TCustomForm& form, fw::TMessage& m) {
  const auto& record = *reinterpret_cast<const MEASUREITEMSTRUCT*>(m.LParam);
  if (record.CtlType != ODT_MENU) return false;
  TsSkinManager* manager = nullptr;
  TsSkinableMenus* menus = MenusOf(form, manager);
  fw::TMenuItem* item = fw::TMenuItem::FromItemData(record.itemData);
  if (menus && item && form.Menu() && item->GetParentMenu() == form.Menu())
    menus->ItemAdded(*item, Skinned(form, *manager));
  // The framework measures it, through the handlers just set.
  return false;
}

bool InitMenuPopup(fw::TCustomForm&, fw::TMessage& m) {
  // The window menu: a skinned frame is not sized through it.
  if (HIWORD(m.LParam)) ::EnableMenuItem(reinterpret_cast<HMENU>(m.WParam), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  return false;
}

bool ContextMenu(fw::TCustomForm& form, fw::TMessage&) {
  TsSkinManager* manager = nullptr;
  TsSkinableMenus* menus = MenusOf(form, manager);
  if (menus && form.PopupMenu())
    menus->InitPopup(*form.PopupMenu(), Skinned(form, *manager) && manager->SkinnedPopups());
  return false;
}

}  // namespace

fw::TBitmap* FrameMenuBand(const fw::TMenuItem& item, const RECT& rect, POINT& at) {
  try {
    fw::TMenu* menu = item.GetParentMenu();
    auto* form = menu ? dynamic_cast<fw::TCustomForm*>(menu->Owner()) : nullptr;
    TsSkinProvider* provider = form ? ProviderOf(form) : nullptr;
    if (!provider || !provider->SkinnedNow() || !provider->MenuLineBitmap || provider->MenuLineBitmap->Empty())
      return nullptr;
    // The band starts below the title, across the whole frame.
    at = POINT{rect.left, rect.top - provider->Metrics().TitleBottom()};
    if (at.y < 0 || at.x + (rect.right - rect.left) > provider->MenuLineBitmap->Width()) return nullptr;
    return provider->MenuLineBitmap.get();
  } catch (...) {
    // Without the frame's band the item is drawn over its own.
    return nullptr;
  }
}

void InstallFrameMenuLink() {
  TacFrameMenuHooks& hooks = FrameMenuHooks();
  hooks.PaintMenuBar = PaintMenuBar;
  hooks.PrepareMenus = PrepareMenus;
  hooks.MeasureItem = MeasureItem;
  hooks.InitMenuPopup = InitMenuPopup;
  hooks.ContextMenu = ContextMenu;
}

void UninstallFrameMenuLink() { FrameMenuHooks() = TacFrameMenuHooks{}; }

}  // namespace translit
