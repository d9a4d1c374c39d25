// The popup menu window subclass.
#include "forms/acMnuWnd.h"

#include "forms/acPopupCache.h"
#include "controls/protocol/sMessages.h"
#include "forms/sSkinableMenus.h"

namespace translit {

namespace {

bool IsPopupMenuWindow(HWND w) {
  char name[16] = {};
  return ::GetClassNameA(w, name, sizeof(name)) && lstrcmpA(name, "#32768") == 0;
}

BOOL CALLBACK CollectPopupWindow(HWND w, LPARAM list) {
  if (IsPopupMenuWindow(w) && ::IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}

}  // namespace

void RedrawOpenPopups(HWND except) {
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectPopupWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND w : windows)
    if (w != except) ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
}

void TacMnuWnd::PaintFrame() {
  if (!Menus) return;
  if (const TacPopupBackground* record = PopupBackgrounds().FindByWindow(CtrlHandle))
    Menus->PaintPopupFrame(CtrlHandle, *record, nullptr, false, false);
}

void TacMnuWnd::WndProc(fw::TMessage& m) {
  if (IsSkinMessage(m)) {
    switch (ReadSkinMessage(m).Command) {
      case SKINCMD_SET_UPDATING:
        // For a popup window this asks whether its outline is cut.
        m.Result = RegionSet ? 1 : 0;
        return;
      case SKINCMD_MENU_FRAME:
        if (::IsWindowVisible(CtrlHandle)) RegionSet = true;
        return;
      default:
        break;
    }
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (Menus && PopupBackgrounds().FindByWindow(CtrlHandle)) {
        Menus->PaintPopupBackground(CtrlHandle, reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
      }
      break;
    case WM_NCPAINT:
    case WM_PAINT:
      // The system draws its own frame on some platforms while painting the
      // items: the skin's frame goes over it afterwards.
      CallPrev(m);
      PaintFrame();
      return;
    case WM_DESTROY: {
      const HWND window = CtrlHandle;
      HandleDestroy(m);
      PopupBackgrounds().Clear();
      RedrawOpenPopups(window);
      if (OnGone) OnGone(window);
      return;
    }
    default:
      break;
  }
  TacMainWnd::WndProc(m);
}

}  // namespace translit
