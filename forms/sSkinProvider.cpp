// The skinned frame of a form: the provider's life, its properties, its
// initialisation and the form's messages it answers. The skin message has
// a file of its own (sSkinProviderCommands.cpp), and so has every part of
// the picture (acFrame*.cpp).
#include "forms/sSkinProvider.h"  // first: the platform headers rename RegisterClass for all that follows

#include <windowsx.h>

#include <algorithm>

#include "controls/protocol/sVclUtils.h"
#include "forms/acFrameCache.h"
#include "forms/acFrameClient.h"
#include "forms/acFrameHitTest.h"
#include "forms/acFrameMenuHooks.h"
#include "forms/acFrameMouse.h"
#include "forms/acFramePlacement.h"
#include "forms/acPreviewMode.h"
#include "forms/acFrameRegion.h"
#include "forms/acTitleButtonStates.h"
#include "forms/acTitleCover.h"
#include "forms/sSystemMenu.h"
#include "framework/Colors.h"
#include "framework/Handles.h"
#include "skin/sSkinManager.h"

namespace translit {

bool TsSkinProvider::ButtonPressed = false;

namespace {

// Another provider of the form that is not going away.
bool FormHasProvider(fw::TCustomForm& form, const TsSkinProvider* self) {
  if (form.HandleAllocated()) {
    auto* other = reinterpret_cast<TsSkinProvider*>(SendSkinCommand(form.Handle(), SKINCMD_GET_PROVIDER));
    if (other && other != self && !other->Destroying()) return true;
  }
  for (int i = 0; i < form.ComponentCount(); ++i) {
    auto* other = dynamic_cast<TsSkinProvider*>(form.Components(i));
    if (other && other != self && !other->Destroying() && !other->IsDuplicate) return true;
  }
  return false;
}

}  // namespace

TsSkinProvider::TsSkinProvider(fw::TComponent* owner, bool atRunTime)
    : fw::TComponent(owner),
      FAddedTitle([this] {
        FreeGlowCaches();
        MarkFrameDirty();
        RepaintNonClient();
      }),
      FSkinData(this, true, kKindFormFrame),
      FTitleButtons([this] {
        MarkFrameDirty();
        RepaintNonClient();
      }) {
  OwnerForm = dynamic_cast<fw::TCustomForm*>(owner);
  if (!OwnerForm) throw fw::EAbort("TsSkinProvider component may be used with forms only!");
  if (FormHasProvider(*OwnerForm, this)) {
    if (OwnerForm->Designing()) throw fw::EAbort("Only one instance of the TsSkinProvider component is allowed!");
    IsDuplicate = true;
    return;
  }
  FSkinData.SetSkinSection("FORM");
  TitleBackBitmap = NewBitmap32(0, 0);
  MenuLineBitmap = NewBitmap32(0, 0);
  MenuLineCount = -1;
  SavedWindowProc = OwnerForm->WindowProc;
  OwnerForm->WindowProc = [this](fw::TMessage& m) { WindowProc(m); };
  SkinnedForms().push_back(OwnerForm);
  FormIsActive = OwnerForm->HandleAllocated() && ::GetActiveWindow() == OwnerForm->Handle();
  // A provider made at run time changes nothing before its form's first
  // non-client message.
  InitPending = atRunTime;
  if (!InitPending && !Loading() && !OwnerForm->Loading()) InitializeFrame(false);
}

TsSkinProvider* TsSkinProvider::CreateAtRunTime(fw::TCustomForm* form) { return new TsSkinProvider(form, true); }

TsSkinProvider::~TsSkinProvider() {
  MarkDestroying();
  if (IsDuplicate || !OwnerForm) return;
  DropTitleAnimations(*this);
  auto& forms = SkinnedForms();
  forms.erase(std::remove(forms.begin(), forms.end(), OwnerForm), forms.end());
  OwnerForm->WindowProc = SavedWindowProc;
  if (OwnerForm->HandleAllocated() && !OwnerForm->Destroying()) {
    // The form goes on in the system's look.
    RestoreSystemLook();
  }
}

void TsSkinProvider::Loaded() {
  fw::TComponent::Loaded();
  if (!IsDuplicate) InitializeFrame(false);
}

// ---- Properties

void TsSkinProvider::SetCaptionAlignment(fw::TAlignment v) {
  if (v == FCaptionAlignment) return;
  FCaptionAlignment = v;
  MarkFrameDirty();
  RepaintNonClient();
}

void TsSkinProvider::SetDrawNonClientArea(bool v) {
  if (v == FDrawNonClientArea) return;
  FDrawNonClientArea = v;
  if (IsDuplicate || !OwnerForm->HandleAllocated() || !Initialized) return;
  HWND window = OwnerForm->Handle();
  const LONG style = ::GetWindowLongA(window, GWL_STYLE);
  if (!v) {
    // The system frame comes back whole: its buttons and its outline.
    if (HadSysMenuStyle) ::SetWindowLongA(window, GWL_STYLE, style | WS_SYSMENU);
    HadSysMenuStyle = false;
    ::SetWindowRgn(window, nullptr, TRUE);
    RegionRects.clear();
    RegionSize = SIZE{-1, -1};
  } else if (style & WS_SYSMENU) {
    HadSysMenuStyle = true;
    ::SetWindowLongA(window, GWL_STYLE, style & ~WS_SYSMENU);
  }
  ChooseButtonImages(*this);
  RegionDirty = true;
  MarkFrameDirty();
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TsSkinProvider::SetGripMode(TsGripMode v) {
  if (v == FGripMode) return;
  FGripMode = v;
  MarkFrameDirty();
}

void TsSkinProvider::SetMenuLineSkin(const std::string& v) {
  if (v == FMenuLineSkin) return;
  FMenuLineSkin = v;
  MarkFrameDirty();
}

void TsSkinProvider::SetShowAppIcon(bool v) {
  if (v == FShowAppIcon) return;
  FShowAppIcon = v;
  MarkFrameDirty();
  RepaintNonClient();
}

void TsSkinProvider::SetTitleSkin(const std::string& v) {
  if (v == FTitleSkin) return;
  FTitleSkin = v;
  UpdateIndexes();
  MarkFrameDirty();
  RepaintNonClient();
}

void TsSkinProvider::SetUseGlobalColor(bool v) {
  if (v == FUseGlobalColor) return;
  FUseGlobalColor = v;
  if (v && SkinnedNow()) ApplyGlobalColor();
}

// ---- State

bool TsSkinProvider::SkinnedNow() {
  return !IsDuplicate && !InitPending && OwnerForm && !OwnerForm->Destroying() && !Destroying() &&
         OwnerForm->HandleAllocated() && FSkinData.Skinned();
}

TacFrameMetrics TsSkinProvider::Metrics() { return MeasureFrame(*OwnerForm, MenuLineCount); }

int TsSkinProvider::ButtonsAreaWidth() { return translit::ButtonsAreaWidth(*this); }

int TsSkinProvider::FrameState() const {
  const TsGeneralData* section = FSkinData.Section();
  if (!section) return 0;
  return std::max(0, std::min(FormIsActive ? 1 : 0, section->StateCount - 1));
}

std::string TsSkinProvider::TitleSection() const {
  TsSkinManager* manager = FSkinData.SkinManager();
  if (!FTitleSkin.empty() && manager && manager->SectionIndex(FTitleSkin) >= 0) return FTitleSkin;
  return "FORMTITLE";
}

void TsSkinProvider::MarkFrameDirty() { FSkinData.BGChanged = true; }

void TsSkinProvider::FreeGlowCaches() {
  ActiveGlowCache.reset();
  InactiveGlowCache.reset();
}

void TsSkinProvider::TakeSkinParts(bool applyGlobalColor) {
  UpdateIndexes();
  ChooseButtonImages(*this);
  MenuLineCount = -1;
  RegionDirty = true;
  FreeGlowCaches();
  MarkFrameDirty();
  if (applyGlobalColor) ApplyGlobalColor();
}

void TsSkinProvider::UpdateIndexes() {
  TsSkinManager* manager = FSkinData.SkinManager();
  if (!manager) {
    TitleSkinIndex = CaptionSkinIndex = -1;
    return;
  }
  TitleSkinIndex = manager->SectionIndex(TitleSection());
  CaptionSkinIndex = manager->SectionIndex("CAPTION");
}

void TsSkinProvider::ApplyGlobalColor() {
  TsSkinManager* manager = FSkinData.SkinManager();
  if (!FUseGlobalColor || FSkinData.CustomColor() || !manager || OwnerForm->Loading()) return;
  OwnerForm->SetColor(static_cast<fw::TColor>(static_cast<std::uint32_t>(manager->GlobalColor()) & 0xFFFFFF));
}

void TsSkinProvider::InitializeFrame(bool lazy) {
  if (IsDuplicate || InitPending || !OwnerForm->HandleAllocated()) return;
  TsSkinManager* manager = FSkinData.SkinManager();
  if (!manager || !manager->Active()) return;
  FSkinData.UpdateIndexes();
  if (!FSkinData.Skinned()) return;
  FSkinData.Updating = false;
  Initialized = true;
  HWND window = OwnerForm->Handle();
  const LONG style = ::GetWindowLongA(window, GWL_STYLE);
  // Made while the window still has its own system menu to take captions from.
  if (!FSystemMenu) FSystemMenu = std::make_unique<TsSystemMenu>(*this);
  // The system draws no title buttons once the window has no system menu;
  // the frame draws them.
  if (FDrawNonClientArea && (style & WS_SYSMENU)) {
    HadSysMenuStyle = true;
    ::SetWindowLongA(window, GWL_STYLE, style & ~WS_SYSMENU);
  }
  TakeSkinParts(!(style & WS_CHILD));
  if (FrameMenuHooks().PrepareMenus) FrameMenuHooks().PrepareMenus(*OwnerForm);
  if (lazy && OwnerForm->BorderStyle() == fw::bsSizeToolWin) {
    FAllowBlendOnMoving = false;
    FUseGlobalColor = true;
  }
}

void TsSkinProvider::RestoreSystemLook() {
  HWND window = OwnerForm->Handle();
  if (HadSysMenuStyle) ::SetWindowLongA(window, GWL_STYLE, ::GetWindowLongA(window, GWL_STYLE) | WS_SYSMENU);
  HadSysMenuStyle = false;
  ::SetWindowRgn(window, nullptr, FALSE);
  RegionRects.clear();
  RegionSize = SIZE{-1, -1};
  if (FUseGlobalColor && !FSkinData.CustomColor()) OwnerForm->SetColor(fw::clBtnFace);
  FSkinData.CacheBmp.reset();
  if (TitleBackBitmap) TitleBackBitmap->SetSize(0, 0);
  if (MenuLineBitmap) MenuLineBitmap->SetSize(0, 0);
  FreeGlowCaches();
  Initialized = false;
  if (::IsWindowVisible(window)) {
    // The system measures and draws its own frame again.
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

// ---- Painting

void TsSkinProvider::PaintFrame() {
  if (!SkinnedNow()) return;
  PaintFrameCache(*this, Metrics());
}

void TsSkinProvider::RepaintNonClient() {
  if (!SkinnedNow() || !Initialized || !FDrawNonClientArea) return;
  HWND window = OwnerForm->Handle();
  if (!::IsWindowVisible(window)) return;
  const TacFrameMetrics m = Metrics();
  PaintFrameCache(*this, m);
  if (!FSkinData.CacheBmp) return;
  if (RegionDirty && !RegionBusy) UpdateFrameRegion(*this, m);
  fw::WindowDC dc(window, true);
  fw::SaveDCGuard saved(dc.Get());
  CopyFrameStrips(dc.Get(), *FSkinData.CacheBmp, m);
}

void TsSkinProvider::OnNcPaint(fw::TMessage& m) {
  m.Result = 0;
  if (FSkinData.Updating || (FSkinData.StateFlags & sfUpdating)) return;
  if (!FDrawNonClientArea) {
    CallDefault(m);
    return;
  }
  HWND window = OwnerForm->Handle();
  if (::IsIconic(window)) MarkFrameDirty();
  if (ShowAnimating || !::IsWindowVisible(window) || OwnerForm->Loading() || !Initialized) return;
  const TacFrameMetrics metrics = Metrics();
  if (RegionDirty && !RegionBusy) UpdateFrameRegion(*this, metrics);
  if (!FSkinData.CacheBmp || FSkinData.CacheBmp->Width() == 0) MarkFrameDirty();
  PaintFrameCache(*this, metrics);
  if (!FSkinData.CacheBmp) return;
  fw::WindowDC dc(window, true);
  fw::SaveDCGuard saved(dc.Get());
  CopyFrameStrips(dc.Get(), *FSkinData.CacheBmp, metrics);
}

// ---- Messages

void TsSkinProvider::ShowSystemMenuAt(int x, int y) {
  if (FSystemMenu) FSystemMenu->ShowAt(x, y);
}

void TsSkinProvider::CallDefault(fw::TMessage& m) {
  if (SavedWindowProc) SavedWindowProc(m);
}

void TsSkinProvider::WindowProc(fw::TMessage& m) {
  if (IsSkinMessage(m)) {
    if (!SkinCommand(m)) CallDefault(m);
    return;
  }
  if (EndsTitleAnimations(m.Msg, m.WParam)) DropTitleAnimations(*this);
  switch (m.Msg) {
    case WM_CREATE:
      CallDefault(m);
      if (OwnerForm->FormStyle() != fw::fsMDIChild) InitializeFrame(false);
      return;
    case WM_SETREDRAW:
      RedrawLockCount = m.WParam ? std::max(0, RedrawLockCount - 1) : RedrawLockCount + 1;
      CallDefault(m);
      return;
    default:
      break;
  }
  if (InitPending) {
    const bool wakes = m.Msg == WM_NCHITTEST || m.Msg == WM_NCPAINT ||
                       ((m.Msg == fw::CM_VISIBLECHANGED || m.Msg == WM_SHOWWINDOW) && m.WParam);
    if (!wakes) {
      CallDefault(m);
      return;
    }
    InitPending = false;
    InitializeFrame(true);
  }
  if (!SkinnedNow() || !Initialized || !SkinnedMessage(m)) CallDefault(m);
}

bool TsSkinProvider::SkinnedMessage(fw::TMessage& m) {
  if (FrameMouseMessage(*this, m) || PreviewMessage(*this, m)) return true;
  HWND window = OwnerForm->Handle();
  switch (m.Msg) {
    case WM_NCPAINT:
      OnNcPaint(m);
      return true;
    case WM_ERASEBKGND:
      return EraseClient(*this, m);
    case WM_PAINT:
      return PaintClient(*this, m);
    case WM_PRINT:
      return PrintForm(*this, m);
    case WM_PRINTCLIENT:
      m.Result = 0;
      return true;
    case WM_NCACTIVATE:
      NcActivateCovered(*this, m);
      return true;
    case WM_SETTEXT:
      SetTextCovered(*this, m);
      return true;
    case WM_SETICON:
      SetIconCovered(*this, m);
      return true;
    case WM_SIZE:
      CallDefault(m);
      FSkinData.CommonMessage(m);
      FreeGlowCaches();
      MenuLineCount = -1;
      RegionDirty = true;
      MarkFrameDirty();
      // The client's picture depends on the window's size: all of it is
      // repainted, not only what the new size uncovered.
      if (::IsWindowVisible(window))
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      return true;
    case WM_SYSCOLORCHANGE:
      CallDefault(m);
      MenuLineCount = -1;
      MarkFrameDirty();
      return true;
    case WM_SHOWWINDOW:
      CallDefault(m);
      if (m.WParam && OwnerForm->Parent()) MarkFrameDirty();
      if (m.WParam) RegisterForPreview(*this);
      return true;
    case fw::CM_VISIBLECHANGED:
      FSkinData.CommonMessage(m);
      CallDefault(m);
      return true;
    case fw::CM_ENABLEDCHANGED:
      CallDefault(m);
      MarkFrameDirty();
      ::SendMessageA(window, WM_NCPAINT, 1, 0);
      return true;
    case WM_MEASUREITEM:
      if (FrameMenuHooks().MeasureItem && FrameMenuHooks().MeasureItem(*OwnerForm, m)) return true;
      return false;
    case WM_INITMENUPOPUP:
      if (FrameMenuHooks().InitMenuPopup && FrameMenuHooks().InitMenuPopup(*OwnerForm, m)) return true;
      return false;
    case WM_CONTEXTMENU:
      if (FrameMenuHooks().ContextMenu && FrameMenuHooks().ContextMenu(*OwnerForm, m)) return true;
      return false;
    case WM_ENTERIDLE:
      m.Result = 0;
      return true;
    case WM_NCHITTEST:
      FrameHitTest(*this, m);
      return true;
    case WM_GETMINMAXINFO:
      FrameMinMaxInfo(*this, m);
      return true;
    case WM_WINDOWPOSCHANGING:
      FramePosChanging(*this, m);
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      // The system would track (and draw) buttons of its own there.
      if (!CaptionButtonByCode(*this, static_cast<int>(m.WParam))) return false;
      m.Result = 0;
      PressButton(*this, static_cast<int>(m.WParam), POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      return true;
    case WM_NCLBUTTONUP:
      m.Result = 0;
      return ReleaseButton(*this, static_cast<int>(m.WParam), POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
      MouseLeft(*this);
      return false;
    default:
      return false;
  }
}

TsSkinProvider* ProviderOf(fw::TCustomForm* form) {
  if (!form || !form->HandleAllocated()) return nullptr;
  return reinterpret_cast<TsSkinProvider*>(SendSkinCommand(form->Handle(), SKINCMD_GET_PROVIDER));
}

}  // namespace translit
