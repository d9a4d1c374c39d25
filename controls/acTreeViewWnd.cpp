// Tree views under the subclassing chain.
#include "controls/acTreeViewWnd.h"

#include <commctrl.h>

#include "controls/skindata/sCommonData.h"
#include "framework/Handles.h"
#include "framework/TreeView.h"
#include "skin/sSkinManager.h"

namespace translit {

TacTreeViewWnd::~TacTreeViewWnd() { DetachQuietly(false); }

void TacTreeViewWnd::ApplyColors() {
  if (InStyleTrick) return;
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
  if (!manager || !section) {
    ColorsApplied = true;
    return;
  }
  InStyleTrick = true;
  const TsGenState& look = section->States[HotLook() ? 1 : 0];
  const fw::TColor color = DialogLook ? fw::clWindow : static_cast<fw::TColor>(manager->ColorToRGB(look.Color));
  const fw::TColor fontColor =
      DialogLook ? fw::clWindowText : static_cast<fw::TColor>(manager->ColorToRGB(look.FontColor));
  fw::TWinControl* c = Control();
  if (!SkinData->CustomFont()) {
    AppliedFontColor = fontColor;
    if (c)
      c->Font().SetColor(fontColor);
    else
      ::SendMessageA(CtrlHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(fw::ColorToRGB(fontColor)));
  }
  const auto rgb = static_cast<COLORREF>(fw::ColorToRGB(color));
  if (!SkinData->CustomColor() && static_cast<COLORREF>(::SendMessageA(CtrlHandle, TVM_GETBKCOLOR, 0, 0)) != rgb)
    ::SendMessageA(CtrlHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(rgb));
  InStyleTrick = false;
  ColorsApplied = true;
}

void TacTreeViewWnd::RestoreColors() {
  TacEditWnd::RestoreColors();
  if (!CtrlHandle || !::IsWindow(CtrlHandle) || !::IsWindowVisible(CtrlHandle)) return;
  // The tree's own colours (its control's, or the platform's defaults).
  fw::TWinControl* c = Control();
  if (c && c->Destroying()) return;
  const LPARAM back = c ? static_cast<LPARAM>(fw::ColorToRGB(c->Color())) : static_cast<LPARAM>(-1);
  const LPARAM text = c ? static_cast<LPARAM>(fw::ColorToRGB(c->Font().Color())) : static_cast<LPARAM>(-1);
  ::SendMessageA(CtrlHandle, TVM_SETBKCOLOR, 0, back);
  ::SendMessageA(CtrlHandle, TVM_SETTEXTCOLOR, 0, text);
}

void TacTreeViewWnd::WndProc(fw::TMessage& m) {
  if (!Skinned() || !HorzBar) {
    TacEditWnd::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      auto* tree = dynamic_cast<fw::TTreeView*>(Control());
      if (tree && tree->OnAdvancedCustomDraw) break;
      if (SkinData->Updating) {
        m.Result = 0;
        return;
      }
      if (SkinData->BGChanged) PrepareCache();
      TsSkinManager* manager = Manager();
      const TsGeneralData* section = SkinData->Section();
      fw::TColor color = fw::clWindow;
      if (!DialogLook && manager && section)
        color = static_cast<fw::TColor>(manager->ColorToRGB(section->States[HotLook() ? 1 : 0].Color));
      RECT client;
      ::GetClientRect(CtrlHandle, &client);
      fw::UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(fw::ColorToRGB(color))));
      if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
        ::FillRect(dc, &client, brush.Get());
      } else {
        fw::WindowDC own(CtrlHandle);
        ::FillRect(own.Get(), &client, brush.Get());
      }
      m.Result = 0;
      return;
    }
    case WM_LBUTTONUP:
      TacEditWnd::WndProc(m);
      if (!Detached && ::GetCapture() == CtrlHandle) ::ReleaseCapture();
      return;
    default:
      break;
  }
  TacEditWnd::WndProc(m);
  if (Detached) return;
  switch (m.Msg) {
    case TVM_INSERTITEMA:
    case TVM_INSERTITEMW:
    case TVM_DELETEITEM:
    case TVM_EXPAND:
    case TVM_ENSUREVISIBLE:
    case TVM_SELECTITEM:
    case TVM_SETITEMA:
    case TVM_SETITEMW:
    case TVM_SORTCHILDREN:
    case TVM_SETINDENT:
    case TVM_SETITEMHEIGHT:
    case WM_SETREDRAW:
      // The tree moved its bars by itself (nodes added or removed, expanded,
      // brought into view) and the platform drew its own meanwhile.
      PostRefresh();
      break;
    default:
      break;
  }
}

}  // namespace translit
