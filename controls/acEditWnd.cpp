// Edit-like controls: the bars kept in step with the control's scrolling,
// the frame painted from the section, the section's colours in the control.
#include "controls/acEditWnd.h"

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "controls/skindata/SkinPaintControl.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Handles.h"
#include "render/paint/sGraphUtils.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr UINT kSwallowed = 0x2100;

bool EmptyClip(HDC dc) {
  RECT clip;
  return ::GetClipBox(dc, &clip) == NULLREGION;
}

bool VistaOrLater() {
  static const bool later = LOBYTE(LOWORD(::GetVersion())) >= 6;
  return later;
}

}  // namespace

// ---- TacBaseWnd ----

TacBaseWnd::~TacBaseWnd() { DetachQuietly(false); }

void TacBaseWnd::WndProc(fw::TMessage& m) {
  if (!Skinned() || !HorzBar) {
    TacScrollWnd::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case SM_ALPHACMD: {
      const TacSkinMessage s = ReadSkinMessage(m);
      if (s.Command == SKINCMD_REFRESH && ForMyManager(s.LParam)) {
        TacScrollWnd::WndProc(m);
        if (!Detached && Visible()) ::SendMessageA(CtrlHandle, WM_NCPAINT, 1, 0);
        return;
      }
      if (s.Command == SKINCMD_PREPARE_CACHE) {
        UpdateGeometry();
        PaintFrameCache(false);
        CallPrev(m);
        return;
      }
      break;
    }
    case WM_SIZE:
    case WM_EXITSIZEMOVE:
      SkinData->BGChanged = true;
      break;
    case WM_SETCURSOR:
      CallPrev(m);
      return;
    case kSwallowed:
      return;
    default:
      break;
  }
  TacScrollWnd::WndProc(m);
  if (Detached) return;
  switch (m.Msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      // A scroll that left part of the client to repaint has its bars
      // painted with that paint, once.
      if (!Busy) RefreshScrolls(!(BarsFollowClientPaint() && ::GetUpdateRect(CtrlHandle, nullptr, FALSE)));
      break;
    case WM_ENABLE:
    case fw::CM_ENABLEDCHANGED:
      if (Visible()) ::SendMessageA(CtrlHandle, WM_NCPAINT, 1, 0);
      break;
    default:
      break;
  }
}

// ---- TacEditWnd ----

TacEditWnd::~TacEditWnd() { DetachQuietly(false); }

bool TacEditWnd::HotLook() const {
  const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
  if (!section || section->StateCount <= 1) return false;
  return SkinData->Focused || SkinData->MouseAbove || (CtrlHandle && ::GetFocus() == CtrlHandle);
}

void TacEditWnd::SaveColors() {
  if (fw::TWinControl* c = Control()) {
    SavedColor = c->Color();
    SavedFontColor = c->Font().Color();
  } else if (auto* c2 = dynamic_cast<fw::TWinControl*>(SkinData ? SkinData->OwnerControl : nullptr)) {
    SavedColor = c2->Color();
    SavedFontColor = c2->Font().Color();
  }
}

void TacEditWnd::RestoreColors() {
  fw::TWinControl* c = Control();
  if (c && !c->Destroying() && ColorsApplied) {
    if (!SkinData->CustomColor() && c->Color() == AppliedColor) c->SetColor(SavedColor);
    if (!SkinData->CustomFont() && c->Font().Color() == AppliedFontColor) c->Font().SetColor(SavedFontColor);
  }
  AppliedColor = AppliedFontColor = fw::clNone;
  ColorsApplied = false;
}

void TacEditWnd::ApplyColors() {
  if (InStyleTrick) return;
  InStyleTrick = true;
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
  fw::TWinControl* c = Control();
  if (manager && section && c) {
    const TsGenState& look = section->States[HotLook() ? 1 : 0];
    if (!SkinData->CustomColor()) {
      AppliedColor = static_cast<fw::TColor>(manager->ColorToRGB(look.Color));
      c->SetColor(AppliedColor);
    }
    if (!SkinData->CustomFont()) {
      AppliedFontColor = static_cast<fw::TColor>(manager->ColorToRGB(look.FontColor));
      c->Font().SetColor(AppliedFontColor);
    }
  }
  InStyleTrick = false;
  ColorsApplied = true;
}

void TacEditWnd::PrepareCache() {
  UpdateGeometry();
  PaintFrameCache(DialogLook);
  if (SkinData && SkinData->OwnerControl && !DialogLook) FillCornerHoles(*SkinData, HotLook() ? 1 : 0);
}

void TacEditWnd::PaintFrameRing(HDC dc) {
  fw::TBitmap* cache = SkinData ? SkinData->CacheBmp.get() : nullptr;
  if (!cache || cache->Width() <= 0 || LeftEdge <= 0) return;
  CopyBorderStrips(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, LeftEdge);
}

void TacEditWnd::OnNcPaint(fw::TMessage& m) {
  m.Result = 0;
  if (!Visible() || InStyleTrick || SkinChangeFreeze || SkinData->Updating) return;
  fw::WindowDC dc(CtrlHandle, true);
  if (!dc.Get() || EmptyClip(dc.Get())) return;
  fw::TBitmap* cache = SkinData->CacheBmp.get();
  UpdateGeometry();
  if (SkinData->BGChanged || !cache || cache->Width() != WndSize.cx || cache->Height() != WndSize.cy) {
    if (!ColorsApplied) ApplyColors();
    PrepareCache();
  }
  PaintScrollBars(dc.Get());
  PaintFrameRing(dc.Get());
}

// WM_PRINT is mostly sent to hidden windows (pictures of a window before it
// is shown): everything is printed whether or not the window is on screen.
// The platform's own printing puts the background and the client at the
// picture's origin, over the frame: they are printed here instead, inside
// the frame and the bars.
void TacEditWnd::OnPrint(fw::TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  const auto flags = static_cast<DWORD>(m.LParam);
  m.Result = 0;
  if (!dc || ((flags & PRF_CHECKVISIBLE) && !Visible())) return;
  if (flags & PRF_OWNED) {
    fw::TMessage owned{WM_PRINT, m.WParam, PRF_OWNED, 0};
    CallPrev(owned);
  }
  if (flags & PRF_NONCLIENT) {
    UpdateGeometry();
    fw::TBitmap* cache = SkinData->CacheBmp.get();
    if (SkinData->BGChanged || !cache || cache->Width() != WndSize.cx || cache->Height() != WndSize.cy) PrepareCache();
    PaintFrameRing(dc);
    PaintScrollBars(dc, true);
  }
  if (!(flags & (PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN))) return;
  const RECT inside = ClientRectInWindow(CtrlHandle);
  fw::SaveDCGuard saved(dc);
  ::OffsetViewportOrgEx(dc, inside.left, inside.top, nullptr);
  ::IntersectClipRect(dc, 0, 0, inside.right - inside.left, inside.bottom - inside.top);
  if (flags & PRF_ERASEBKGND) ::SendMessageA(CtrlHandle, WM_ERASEBKGND, m.WParam, 0);
  if (flags & PRF_CLIENT) ::SendMessageA(CtrlHandle, WM_PRINTCLIENT, m.WParam, static_cast<LPARAM>(flags));
  if (flags & PRF_CHILDREN) {
    for (HWND child = ::GetWindow(CtrlHandle, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (!::IsWindowVisible(child)) continue;
      RECT r;
      ::GetWindowRect(child, &r);
      ::MapWindowPoints(nullptr, CtrlHandle, reinterpret_cast<POINT*>(&r), 2);
      fw::SaveDCGuard childSaved(dc);
      ::OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
      ::SendMessageA(child, WM_PRINT, m.WParam, static_cast<LPARAM>(flags));
    }
  }
}

void TacEditWnd::WndProc(fw::TMessage& m) {
  if (!Skinned() || !HorzBar) {
    TacBaseWnd::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case SM_ALPHACMD: {
      const TacSkinMessage s = ReadSkinMessage(m);
      switch (s.Command) {
        case SKINCMD_REFRESH:
          if (!ForMyManager(s.LParam)) break;
          TacBaseWnd::WndProc(m);
          if (!Detached) ApplyColors();
          return;
        case SKINCMD_END_UPDATE_FRAME:
          if (!SkinData->Updating) break;
          SkinData->Updating = false;
          ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                         RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
          return;
        case SKINCMD_PREPARE_CACHE:
          PrepareCache();
          CallPrev(m);
          return;
        case SKINCMD_GET_SKIN_INDEX:
          if (s.LParam) *reinterpret_cast<std::int32_t*>(s.LParam) = SkinData->SkinIndex;
          m.Result = 1;
          return;
        default:
          break;
      }
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TacBaseWnd::WndProc(m);
      if (Detached) return;
      const TsGeneralData* section = SkinData->Section();
      fw::TWinControl* c = Control();
      const bool focusable =
          c ? c->CanFocus() && c->TabStop() : (::GetWindowLongA(CtrlHandle, GWL_STYLE) & WS_TABSTOP) != 0;
      if (section && section->StateCount > 1 && focusable) {
        SkinData->BGChanged = true;
        SkinData->Focused = m.Msg == WM_SETFOCUS;
        ::SendMessageA(CtrlHandle, WM_NCPAINT, 1, 0);
      }
      return;
    }
    case WM_NCPAINT:
      OnNcPaint(m);
      return;
    case WM_PAINT:
      if (Visible() && !InStyleTrick) {
        HDC given = reinterpret_cast<HDC>(m.WParam);
        if (!(given && given != SkinData->Painter && EmptyClip(given))) {
          if (SkinData->Updating || (SkinChangeFreeze && !SkinData->Painter)) {
            fw::PaintScope validate(CtrlHandle);
            m.Result = 0;
            return;
          }
          if (!ColorsApplied) ApplyColors();
          // The bars after the client: the platform's tree view redraws its
          // own bars while it paints (seen on Wine).
          TacBaseWnd::WndProc(m);
          if (!Detached && !given) PaintScrollBars(nullptr);
          return;
        }
      }
      break;
    case WM_ERASEBKGND:
      if (Visible() && !InStyleTrick) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        if (!(dc != SkinData->Painter && EmptyClip(dc))) {
          if (SkinData->Updating) {
            m.Result = 1;
            return;
          }
          if (!ColorsApplied) ApplyColors();
          if (VistaOrLater() && SkinChangeFreeze && dc != SkinData->Painter) {
            m.Result = 1;
            return;
          }
        }
      }
      break;
    case WM_PRINT:
      OnPrint(m);
      return;
    default:
      break;
  }
  TacBaseWnd::WndProc(m);
  if (Detached) return;
  switch (m.Msg) {
    case WM_SIZE:
      if (Visible()) ::SendMessageA(CtrlHandle, WM_NCPAINT, 1, 0);
      break;
    case WM_SETFONT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case fw::CN_KEYDOWN:
    case fw::CN_KEYUP:
      if (!Busy) RefreshScrolls(true);
      break;
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_SETCURSEL:
    case LB_SETTOPINDEX:
      RefreshScrolls(true);
      break;
    case WM_MOUSEMOVE:
      TrackHotControl();
      if (::GetCapture() == CtrlHandle && !SkinData->Updating) RefreshScrolls(true);
      break;
    default:
      break;
  }
}

}  // namespace translit
