// Attaches the popup window subclass to every system popup menu window the
// thread creates while skinned popups are on: a thread hook watching window
// creation, owned with the subclass objects it made.
#pragma once

#include <windows.h>

#include <map>

#include "controls/acMainWnd.h"
#include "forms/acMnuWnd.h"
#include "framework/Handles.h"

namespace translit {

class TsSkinableMenus;

class TacPopupWindowHook {
 public:
  explicit TacPopupWindowHook(TsSkinableMenus& menus);
  ~TacPopupWindowHook();
  TacPopupWindowHook(const TacPopupWindowHook&) = delete;
  TacPopupWindowHook& operator=(const TacPopupWindowHook&) = delete;

  // The popup windows with a subclass object now.
  std::size_t Attached() const { return FWindows.size(); }

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);
  void Attach(HWND window);

  TsSkinableMenus& FMenus;
  fw::UniqueHook FHook;
  std::map<HWND, TacWndPtr<TacMnuWnd>> FWindows;
};

// The hook of the thread's skinned popups: made by the first call, freed by
// DetachPopupWindows (the open popups' regions are given back then).
void AttachPopupWindows(TsSkinableMenus& menus);
void DetachPopupWindows();
// The thread's hook, or none.
TacPopupWindowHook* PopupWindowHook();

}  // namespace translit
