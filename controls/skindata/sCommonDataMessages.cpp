// A control's skin data and the messages of its owner: the owner's part of
// the skin message, and the pre-processing of the window and framework
// messages every skinned control runs before its own handling.
#include "controls/skindata/sCommonData.h"

#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/sEffectHooks.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// SKINCMD_PARENT_CHANGED with argument 1 (redraw now), to a control or, for
// an owner without one, to its window.
void SendParentChanged(fw::TControl* control, HWND window) {
  if (control)
    SendSkinCommandTo(control, SKINCMD_PARENT_CHANGED, 0, 1);
  else if (window)
    SendSkinCommand(window, SKINCMD_PARENT_CHANGED, 0, 1);
}

}  // namespace

bool TsCommonData::HandleSkinMessage(fw::TMessage& m, HWND window) {
  const TacSkinMessage s = ReadSkinMessage(m);
  const bool fromMyManager = s.LParam == reinterpret_cast<LPARAM>(SkinManager());
  switch (s.Command) {
    case SKINCMD_NEW_SKIN:
      if (fromMyManager) {
        UpdateIndexes();
        UpdatePlainFlag(false);
      }
      return true;
    case SKINCMD_REMOVE_SKIN: {
      if (!fromMyManager && s.LParam != 0) return true;
      if (FSkinManager && FSkinManager->Destroying()) FSkinManager = nullptr;
      BorderIndex = SkinIndex = Texture = HotTexture = -1;
      Updating = true;
      if (CacheBmp) CacheBmp->SetSize(0, 0);
      if (fw::TWinControl* w = OwnerWindowed()) {
        for (int n = 0; n < w->ControlCount(); ++n)
          if (auto* label = dynamic_cast<fw::TLabel*>(w->Controls(n))) label->Font().SetColor(fw::clWindowText);
      }
      RequestRepaint();
      return true;
    }
    case SKINCMD_REFRESH:
      if (fromMyManager) {
        BGChanged = true;
        Updating = false;
        UpdateColors(false);
        UpdatePlainFlag(false);
        RequestRepaint();
      }
      return true;
    case SKINCMD_END_UPDATE_FRAME: {
      const bool was = Updating;
      Updating = false;
      if (HWND h = OwnerHandle(window); was && h) ::RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return true;
    }
    case SKINCMD_IS_SKINNED:
      m.Result = 1;
      return true;
    case SKINCMD_SET_UPDATING:
      Updating = s.Argument == 1;
      return true;
    case SKINCMD_IS_UPDATING:
      m.Result = (BGChanged || Updating) ? 1 : 0;
      return true;
    case SKINCMD_IS_PARTLY_OUTSIDE:
      m.Result = PartlyOutside ? 1 : 0;
      return true;
    case SKINCMD_BG_CHANGED:
      BGChanged = true;
      return true;
    case SKINCMD_SET_PARTLY_OUTSIDE:
      PartlyOutside = true;
      return true;
    case SKINCMD_HAS_GRAPHIC_BG: {
      const TsGeneralData* section = Section();
      if (!section) return false;
      HWND parent = ParentWindow(window);
      if (section->States[0].Transparency == 100 && parent) {
        m.Result = SendSkinCommand(parent, SKINCMD_HAS_GRAPHIC_BG) & 0x7F;
      } else {
        m.Result =
            (section->States[0].GradientPercent + section->States[0].ImagePercent > 0 || NeedsParentBg()) ? 1 : 0;
      }
      return true;
    }
    case SKINCMD_PARENT_CHANGED:
      if (NeedsParentBg()) {
        BGChanged = true;
        if (HWND h = OwnerHandle(window); s.Argument == 1 && h)
          ::RedrawWindow(h, nullptr, nullptr, RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_INVALIDATE);
        if (fw::TWinControl* w = OwnerWindowed()) SendToChildControls(w, m);
      }
      return true;
    case SKINCMD_GET_COLOR:
      m.Result = static_cast<LRESULT>(ColorForChildren(window));
      return true;
    case SKINCMD_GET_SKIN_INDEX:
      if (s.LParam) *reinterpret_cast<std::int32_t*>(s.LParam) = SkinIndex;
      m.Result = 1;
      return true;
    case SKINCMD_GET_BACKGROUND:
      if (s.LParam) AnswerBackgroundRequest(*reinterpret_cast<BackgroundRequest*>(s.LParam), 0, window);
      m.Result = 1;
      return true;
    case SKINCMD_GET_FLAGS:
      if (s.LParam == 1) {
        UpdatePlainFlag(true);
      } else {
        m.Result = StateFlags;
      }
      return true;
    case SKINCMD_SET_PAINTER:
      Painter = reinterpret_cast<void*>(s.LParam);
      if (Painter)
        StateFlags |= sfPainterSet;
      else
        StateFlags &= static_cast<std::uint16_t>(~sfPainterSet);
      m.Result = 1;
      return true;
    case SKINCMD_GET_APPLICATION:
      m.Result = reinterpret_cast<LRESULT>(fw::Application);
      return true;
    default:
      return false;
  }
}

bool TsCommonData::CommonMessage(fw::TMessage& m, HWND window) {
  const bool designing = OwnerObject && (OwnerObject->ComponentState() & fw::csDesigning);
  switch (m.Msg) {
    case SM_ALPHACMD:
      return HandleSkinMessage(m, window);
    case WM_MOVE:
      CloseGlow();
      if (NeedsParentBg()) {
        BGChanged = true;
        SendParentChanged(OwnerControl, OwnerHandle(window));
      }
      return false;
    case WM_SIZE:
      CloseGlow();
      if (Skinned()) {
        BGChanged = true;
        if (Section()->States[0].GradientPercent > 0)
          if (fw::TWinControl* w = OwnerWindowed())
            for (int n = 0; n < w->ControlCount(); ++n) {
              fw::TControl* child = w->Controls(n);
              if (!child->Destroying()) SendParentChanged(child, nullptr);
            }
      }
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      fw::TWinControl* w = OwnerWindowed();
      if (!w || !w->CanFocus()) return false;
      BGChanged = true;
      Focused = m.Msg == WM_SETFOCUS;
      if (Skinned() && IsEditKind(ControlKind) && Section()->StateCount > 1 && w->HandleAllocated())
        ::RedrawWindow(w->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return false;
    }
    case WM_FONTCHANGE:
    case fw::CM_ENABLEDCHANGED:
      MouseAbove = false;
      Focused = false;
      if (OwnerControl && !OwnerControl->Enabled()) CloseGlow();
      return false;
    case WM_UPDATEUISTATE:
      if (!Skinned()) return false;
      m.Result = 1;
      return true;
    case WM_PARENTNOTIFY:
      if (LOWORD(m.WParam) == WM_CREATE && OwnerControl)
        if (fw::TCustomForm* form = FindOwnerForm(OwnerControl); form && form->HandleAllocated())
          SendSkinCommand(form->Handle(), SKINCMD_ADAPT_CONTROL, reinterpret_cast<LPARAM>(OwnerControl));
      return false;
    case fw::CM_VISIBLECHANGED:
      if (CacheBmp) {
        if (m.WParam != 0) {
          Updating = false;
          BGChanged = true;
        } else {
          CacheBmp->SetSize(0, 0);
        }
      }
      return false;
    case fw::CM_MOUSEENTER:
      if (designing) return false;
      if (Skinned()) {
        if (!IsContainerKind(ControlKind)) MouseAbove = true;
        if (DefaultManager) DefaultManager->SetHotControl(OwnerHandle(window));
        if (!IsNoGlowKind(ControlKind) && !IsButtonKind(ControlKind)) ShowHoverGlow(false, window);
        if (IsEditKind(ControlKind) && Section()->StateCount > 1) {
          BGChanged = true;
          if (HWND h = OwnerHandle(window)) ::SendMessageA(h, WM_NCPAINT, 0, 0);
        }
      } else {
        MouseAbove = true;
      }
      return false;
    case fw::CM_MOUSELEAVE:
      if (designing) return false;
      if (Skinned()) {
        MouseAbove = false;
        if (!IsNoGlowKind(ControlKind) && !IsButtonKind(ControlKind)) {
          ClearGlowsThroughHook(true);
          GlowId = -1;
        }
        if (IsEditKind(ControlKind) && OwnerControl && OwnerControl->Visible()) {
          BGChanged = true;
          if (HWND h = OwnerHandle(window)) ::SendMessageA(h, WM_NCPAINT, 0, 0);
        }
      }
      return false;
    case fw::CM_SHOWINGCHANGED:
      if (OwnerControl && OwnerControl->Visible()) SkinChanged();
      return false;
    default:
      return false;
  }
}

}  // namespace translit
