// The provider's part of the skin message: new skin, removed skin and
// refresh from the manager, the questions other skinned windows ask about
// the form (is it skinned, its provider, its colour, its background, its
// client offset) and the redraw locks they take.
#include "forms/sSkinProvider.h"  // first: the platform headers rename RegisterClass for all that follows

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "forms/acFrameCache.h"
#include "forms/acTitleButtonStates.h"
#include "framework/Application.h"
#include "skin/sSkinManager.h"

namespace translit {

bool TsSkinProvider::OwnManager(LPARAM manager) {
  return manager != 0 && manager == reinterpret_cast<LPARAM>(FSkinData.SkinManager());
}

bool TsSkinProvider::SkinCommand(fw::TMessage& m) {
  const TacSkinMessage s = ReadSkinMessage(m);
  if (IsDuplicate) return false;
  // Asked and answered whatever the skin's state.
  switch (s.Command) {
    case SKINCMD_NEW_SKIN:
      NewSkin(m);
      return true;
    case SKINCMD_REMOVE_SKIN:
      RemoveSkin(m);
      return true;
    case SKINCMD_GET_PROVIDER:
      m.Result = reinterpret_cast<LRESULT>(this);
      return true;
    case SKINCMD_IS_SKINNED:
      m.Result = 1;
      return true;
    case SKINCMD_UPDATE_ENDED:
      if (MenuChanged) {
        MenuLineCount = -1;
        MarkFrameDirty();
      }
      return true;
    case SKINCMD_GET_BACKGROUND:
      if (s.LParam) AnswerBackground(*reinterpret_cast<BackgroundRequest*>(s.LParam));
      m.Result = 1;
      return true;
    case SKINCMD_GET_FLAGS:
      return FSkinData.CommonMessage(m);
    case SKINCMD_GET_APPLICATION:
      m.Result = reinterpret_cast<LRESULT>(fw::Application);
      return true;
    case SKINCMD_GET_CLIENT_OFFSET: {
      if (!OwnerForm->HandleAllocated()) return true;
      const TacFrameMetrics metrics = Metrics();
      m.Result = MAKELRESULT(metrics.ClientOffsetX(), metrics.ClientOffsetY());
      return true;
    }
    default:
      break;
  }
  if (!SkinnedNow()) return false;
  HWND window = OwnerForm->Handle();
  switch (s.Command) {
    case SKINCMD_REFRESH:
      RefreshSkin(m);
      return true;
    case SKINCMD_END_UPDATE_FRAME:
      if (FSkinData.Updating) {
        FSkinData.Updating = false;
        MarkFrameDirty();
        RepaintNonClient();
      }
      return true;
    case SKINCMD_SET_UPDATING:
    case SKINCMD_BG_CHANGED:
      MarkFrameDirty();
      return true;
    case SKINCMD_IS_UPDATING:
      m.Result = (SkinChangeFreeze || !(FSkinData.StateFlags & sfPlainBackground)) && FSkinData.Updating ? 1 : 0;
      return true;
    case SKINCMD_HAS_GRAPHIC_BG:
    case SKINCMD_GET_COLOR:
      return FSkinData.CommonMessage(m, window);
    case SKINCMD_ADAPT_CONTROL:
      // Foreign controls are adapted by the automatic skinning, which does
      // not exist yet; the skinned controls need nothing here.
      return true;
    case SKINCMD_LOCK_REDRAW:
      ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
      return true;
    case SKINCMD_UNLOCK_REDRAW:
      ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
      MarkFrameDirty();
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      return true;
    default:
      return FSkinData.CommonMessage(m, window);
  }
}

void TsSkinProvider::NewSkin(fw::TMessage& m) {
  FSkinData.CommonMessage(m);
  if (!OwnManager(m.LParam) || InitPending) return;
  if (!Initialized) {
    InitializeFrame(false);
  } else {
    FSkinData.Updating = false;
    TakeSkinParts(true);
  }
  if (Initialized && OwnerForm->HandleAllocated() && ::IsWindowVisible(OwnerForm->Handle()))
    ::SendMessageA(OwnerForm->Handle(), WM_NCPAINT, 1, 0);
}

void TsSkinProvider::RemoveSkin(fw::TMessage& m) {
  if (!OwnManager(m.LParam) && m.LParam != 0) return;
  DropTitleAnimations(*this);
  FSkinData.CommonMessage(m);
  TitleSkinIndex = CaptionSkinIndex = -1;
  MenuLineCount = -1;
  if (OwnerForm->HandleAllocated() && !OwnerForm->Destroying()) RestoreSystemLook();
}

void TsSkinProvider::RefreshSkin(fw::TMessage& m) {
  FSkinData.CommonMessage(m);
  if (!OwnManager(m.LParam)) return;
  RegionDirty = true;
  HWND window = OwnerForm->Handle();
  if (::IsWindowVisible(window)) {
    MarkFrameDirty();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  ApplyGlobalColor();
}

void TsSkinProvider::AnswerBackground(BackgroundRequest& request) {
  if (!SkinnedNow() || !Initialized) {
    request.Kind = bkColor;
    request.Color = static_cast<std::int32_t>(FSkinData.OwnColor());
    return;
  }
  // The children's places are client coordinates; the cache is the window's.
  const TacFrameMetrics metrics = Metrics();
  PaintFrameCache(*this, metrics);
  if (request.DrawNow) {
    request.OffsetX += metrics.ClientOffsetX();
    request.OffsetY += metrics.ClientOffsetY();
    FSkinData.AnswerBackgroundRequest(request, FrameState(), OwnerForm->Handle());
    return;
  }
  FSkinData.AnswerBackgroundRequest(request, FrameState(), OwnerForm->Handle());
  if (request.Kind == bkBitmap) {
    request.OffsetX += metrics.ClientOffsetX();
    request.OffsetY += metrics.ClientOffsetY();
  }
}

}  // namespace translit
