// The skinned system menu.
#include "forms/sSystemMenu.h"

#include "forms/acCaptionButtons.h"
#include "forms/sSkinProvider.h"
#include "forms/sSkinableMenus.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr const char* kSkinItem = "SkinSelectItem";
// A new column of skins after every this many.
constexpr int kSkinsPerColumn = 20;

// The built-in captions, in code page 1251.
const char* BuiltInString(TacSysMenuString id) {
  switch (id) {
    case sInternalSkin:
      return "(\xE2\xED\xF3\xF2\xF0\xE5\xED\xED\xE8\xE9)";  // "(внутренний)"
    case sAvailableSkins:
      return "\xC4\xEE\xF1\xF2\xF3\xEF\xED\xFB\xE5 \xF1\xEA\xE8\xED\xFB";  // "Доступные скины"
    case sClose:
      return "\xC7\xE0\xEA\xF0\xFB\xF2\xFC";  // "Закрыть"
    case sMaximize:
      return "\xD0\xE0\xE7\xE2\xE5\xF0\xED\xF3\xF2\xFC";  // "Развернуть"
    case sMinimize:
      return "\xD1\xE2\xE5\xF0\xED\xF3\xF2\xFC";  // "Свернуть"
    case sSize:
      return "\xD0\xE0\xE7\xEC\xE5\xF0";  // "Размер"
    case sMove:
      return "\xCF\xE5\xF0\xE5\xEC\xE5\xF1\xF2\xE8\xF2\xFC";  // "Переместить"
    case sRestore:
      return "\xC2\xEE\xF1\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC";  // "Восстановить"
  }
  return "";
}

// The text of a menu item, split at its tab into caption and keys.
bool MenuText(HMENU menu, UINT id, UINT flags, std::string& caption, std::string& keys) {
  char text[256] = {};
  if (!menu || ::GetMenuStringA(menu, id, text, sizeof(text), flags) <= 0) return false;
  caption = text;
  keys.clear();
  if (const std::size_t tab = caption.find('\t'); tab != std::string::npos) {
    keys = caption.substr(tab + 1);
    caption.erase(tab);
  }
  return true;
}

TsSkinManager* ManagerOf(TsSkinProvider& p) { return p.SkinData().SkinManager(); }

}  // namespace

std::string SysMenuString(TacSysMenuString id) {
  char text[256] = {};
  if (::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text)) > 0) return text;
  return BuiltInString(id);
}

std::string SkinNameOfCaption(const std::string& caption) {
  std::string name;
  for (char c : caption)
    if (c != '&') name += c;
  const std::string mark = SysMenuString(sInternalSkin);
  if (const std::size_t at = name.find(mark); at != std::string::npos) name.erase(at + mark.size());
  return name;
}

TsSystemMenu::TsSystemMenu(TsSkinProvider& provider) : TsCustomSysMenu(nullptr), Provider(provider) {
  SetName("SysMenu");
  Generate();
}

bool TsSystemMenu::VisibleClose() { return translit::VisibleClose(Provider); }
bool TsSystemMenu::VisibleMax() { return translit::VisibleMax(Provider); }
bool TsSystemMenu::VisibleMin() { return translit::VisibleMin(Provider); }
bool TsSystemMenu::EnabledMax() { return translit::EnabledMax(Provider); }
bool TsSystemMenu::EnabledMin() { return translit::EnabledMin(Provider); }
bool TsSystemMenu::EnabledRestore() { return translit::EnabledRestore(Provider); }

bool TsSystemMenu::RestoreVisible() {
  fw::TCustomForm& f = *Provider.OwnerForm;
  return VisibleClose() && (f.FormStyle() == fw::fsMDIChild || LargeTitleStyle(f));
}

bool TsSystemMenu::MoveEnabled() { return !::IsZoomed(Provider.OwnerForm->Handle()); }

bool TsSystemMenu::SizeVisible() {
  fw::TCustomForm& f = *Provider.OwnerForm;
  const fw::TFormBorderStyle s = f.BorderStyle();
  return f.FormStyle() == fw::fsMDIChild || (s != fw::bsNone && s != fw::bsDialog && s != fw::bsToolWindow);
}

bool TsSystemMenu::SizeEnabled() {
  return Provider.OwnerForm->BorderStyle() != fw::bsSingle && !::IsIconic(Provider.OwnerForm->Handle());
}

bool TsSystemMenu::WindowMenuHasExtras() const {
  HMENU menu = ::GetSystemMenu(Provider.OwnerForm->Handle(), FALSE);
  const int count = menu ? ::GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(menu, i);
    if (id != 0 && id != static_cast<UINT>(-1) && id < 0xF000) return true;
  }
  return false;
}

void TsSystemMenu::Generate() {
  Items().Clear();
  ExtraItemsCount = 0;
  HWND window = Provider.OwnerForm->Handle();
  HMENU menu = ::GetSystemMenu(window, FALSE);
  auto add = [&](const char* name, UINT command, TacSysMenuString fallback, auto action) {
    std::string caption, keys;
    if (!MenuText(menu, command, MF_BYCOMMAND, caption, keys)) caption = SysMenuString(fallback);
    auto* item = new fw::TMenuItem();
    item->SetName(name);
    item->SetCaption(caption);
    item->SetTag(static_cast<int>(command));
    item->OnClick = [this, action](fw::TComponent*) { action(); };
    Items().Add(item);
    return item;
  };
  auto command = [this](UINT sc) {
    return [this, sc] { ::SendMessageA(Provider.OwnerForm->Handle(), WM_SYSCOMMAND, sc, 0); };
  };
  ItemRestore = add("acIR", SC_RESTORE, sRestore, [this] {
    ::SendMessageA(Provider.OwnerForm->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    UpdateItems();
  });
  ItemMove = add("acIM", SC_MOVE, sMove, command(SC_MOVE));
  ItemSize = add("acIS", SC_SIZE, sSize, command(SC_SIZE));
  ItemMinimize = add("acIN", SC_MINIMIZE, sMinimize, [this] {
    ::SendMessageA(Provider.OwnerForm->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    UpdateItems();
  });
  ItemMaximize = add("acIX", SC_MAXIMIZE, sMaximize, [this] {
    ::SendMessageA(Provider.OwnerForm->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    UpdateItems();
  });
  Items().Add("-");
  const int count = menu ? ::GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(menu, i);
    std::string caption, keys;
    if (id == 0 || id == static_cast<UINT>(-1) || id >= 0xF000 || !MenuText(menu, i, MF_BYPOSITION, caption, keys) ||
        caption.empty())
      continue;
    fw::TMenuItem* item = Items().Add(
        caption, [this, id](fw::TComponent*) { ::PostMessageA(Provider.OwnerForm->Handle(), WM_SYSCOMMAND, id, 0); });
    item->SetTag(static_cast<int>(id));
    item->SetShortCut(fw::TextToShortCut(keys));
    ++ExtraItemsCount;
  }
  if (ExtraItemsCount > 0) Items().Add("-");
  ItemClose = add("acIC", SC_CLOSE, sClose, command(SC_CLOSE));
  std::string caption, keys;
  if (MenuText(menu, SC_CLOSE, MF_BYCOMMAND, caption, keys)) ItemClose->SetShortCut(fw::TextToShortCut(keys));
}

void TsSystemMenu::UpdateItems() {
  if (!ItemRestore || !Provider.OwnerForm->HandleAllocated()) return;
  ItemRestore->SetVisible(RestoreVisible());
  ItemRestore->SetEnabled(EnabledRestore());
  ItemMove->SetVisible(true);
  ItemMove->SetEnabled(MoveEnabled());
  ItemSize->SetVisible(SizeVisible());
  ItemSize->SetEnabled(SizeEnabled());
  ItemMinimize->SetVisible(VisibleMin());
  ItemMinimize->SetEnabled(EnabledMin());
  ItemMaximize->SetVisible(VisibleMax());
  ItemMaximize->SetEnabled(EnabledMax());
  ItemClose->SetVisible(VisibleClose());
  ItemClose->SetEnabled(true);
}

void TsSystemMenu::MakeSkinItems() {
  for (int i = Items().Count() - 1; i >= 0; --i) {
    if (Items().Items(i)->Name() != kSkinItem) continue;
    // The skin list and the line under it.
    if (i + 1 < Items().Count() && Items().Items(i + 1)->IsLine()) delete Items().Items(i + 1);
    delete Items().Items(i);
  }
  TsSkinManager* manager = ManagerOf(Provider);
  if (!manager) return;
  fw::TStringList skins;
  manager->ListSkins(skins, slAll);
  if (skins.Count() == 0) return;
  auto* list = new fw::TMenuItem();
  list->SetName(kSkinItem);
  list->SetCaption(SysMenuString(sAvailableSkins));
  for (int i = 0; i < skins.Count(); ++i) {
    fw::TMenuItem* item = list->Add(skins[i], [manager](fw::TComponent* sender) {
      manager->SetSkinName(SkinNameOfCaption(static_cast<fw::TMenuItem*>(sender)->Caption()));
    });
    item->SetName(kSkinItem + std::to_string(i));
    item->SetRadioItem(true);
    item->SetChecked(skins[i] == manager->SkinName());
    if (i > 0 && i % kSkinsPerColumn == 0) item->SetBreak(fw::mbBreak);
  }
  Items().Insert(0, list);
  auto* line = new fw::TMenuItem();
  line->SetCaption("-");
  Items().Insert(1, line);
}

void TsSystemMenu::ShowAt(int x, int y) {
  TsSkinManager* manager = ManagerOf(Provider);
  if (!manager || !manager->SkinnedPopups()) {
    ShowSystemsOwn(x, y);
    return;
  }
  if (WindowMenuHasExtras()) Generate();
  UpdateItems();
  if (Provider.MakeSkinMenu()) MakeSkinItems();
  if (auto* menus = dynamic_cast<TsSkinableMenus*>(manager->SkinableMenus())) menus->InitPopup(*this, true);
  Popup(x, y);
}

void TsSystemMenu::ShowSystemsOwn(int x, int y) {
  HWND window = Provider.OwnerForm->Handle();
  HMENU menu = ::GetSystemMenu(window, FALSE);
  if (!menu) return;
  const bool minimised = ::IsIconic(window), normal = !minimised && !::IsZoomed(window);
  auto set = [menu](UINT command, bool on) {
    ::EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
  };
  set(SC_RESTORE, RestoreVisible() && EnabledRestore());
  set(SC_MOVE, MoveEnabled() && !minimised);
  set(SC_SIZE, SizeVisible() && SizeEnabled() && normal);
  set(SC_MINIMIZE, VisibleMin() && EnabledMin());
  set(SC_MAXIMIZE, VisibleMax() && EnabledMax());
  set(SC_CLOSE, VisibleClose());
  const UINT command =
      static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window, nullptr));
  if (command) ::PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

}  // namespace translit
