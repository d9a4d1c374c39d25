// The popup window hook.
#include "forms/acMenuWndHook.h"

#include <memory>
#include <vector>

#include "forms/sSkinableMenus.h"

namespace translit {

namespace {

// One hook per thread: menus live on the user-interface thread.
thread_local TacPopupWindowHook* current = nullptr;
thread_local std::unique_ptr<TacPopupWindowHook> owned;

}  // namespace

TacPopupWindowHook::TacPopupWindowHook(TsSkinableMenus& menus) : FMenus(menus) {
  FHook.Reset(::SetWindowsHookExA(WH_CBT, Proc, nullptr, ::GetCurrentThreadId()));
  if (!FHook) throw fw::EOutOfResources("Out of system resources");
  current = this;
}

TacPopupWindowHook::~TacPopupWindowHook() {
  FHook.Reset();
  if (current == this) current = nullptr;
  std::vector<HWND> windows;
  for (auto& [window, object] : FWindows) windows.push_back(window);
  // The open popups get their rectangle back; the objects let go of them.
  for (HWND w : windows) ::SetWindowRgn(w, nullptr, TRUE);
  FWindows.clear();
}

void TacPopupWindowHook::Attach(HWND window) {
  auto object = TacMainWnd::Create<TacMnuWnd>(window, false, "MAINMENU", &FMenus.Manager());
  object->Menus = &FMenus;
  object->OnGone = [this](HWND w) { FWindows.erase(w); };
  FWindows[window] = std::move(object);
}

LRESULT CALLBACK TacPopupWindowHook::Proc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && current) {
    try {
      HWND w = reinterpret_cast<HWND>(wParam);
      char name[16] = {};
      if (::GetClassNameA(w, name, sizeof(name)) && lstrcmpA(name, "#32768") == 0) current->Attach(w);
    } catch (...) {
      // The popup is shown in the platform's look.
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void AttachPopupWindows(TsSkinableMenus& menus) {
  if (!owned) owned = std::make_unique<TacPopupWindowHook>(menus);
}

void DetachPopupWindows() {
  owned.reset();
  RedrawOpenPopups();
}

TacPopupWindowHook* PopupWindowHook() { return owned.get(); }

}  // namespace translit
