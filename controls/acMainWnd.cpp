// The root subclassing object: attaching, detaching, the skin message and
// the frame picture.
#include "controls/acMainWnd.h"

#include <algorithm>
#include <exception>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "controls/skindata/SkinPaintControl.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "render/effects/acGlow.h"
#include "render/paint/sGraphUtils.h"
#include "skin/sSkinManager.h"

namespace translit {

bool acDialogLook = false;
bool acKeepFonts = false;

namespace {

using SetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// SetWindowTheme of the platform's theme library, when there is one.
SetWindowThemeProc ThemeSetter() {
  static SetWindowThemeProc proc = [] {
    HMODULE lib = ::LoadLibraryA("uxtheme.dll");
    return lib ? reinterpret_cast<SetWindowThemeProc>(reinterpret_cast<void*>(::GetProcAddress(lib, "SetWindowTheme")))
               : nullptr;
  }();
  return proc;
}

constexpr UINT kFrameChanged = SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

void TacWndRelease::operator()(TacMainWnd* wnd) const {
  if (!wnd) return;
  // Called from the owning pointer's destructor: nothing may leave it.
  wnd->DetachQuietly(true);
  if (wnd->FDepth > 0)
    wnd->FFreePending = true;  // freed when its running message returns
  else
    delete wnd;
}

TacMainWnd::TacMainWnd() = default;

TacMainWnd::~TacMainWnd() { DetachQuietly(false); }

void TacMainWnd::DetachQuietly(bool repaint) noexcept {
  try {
    Detach(repaint);
  } catch (...) {
    // The window is released as far as it could be; the object goes.
  }
}

TacMainWnd* TacMainWnd::FromHandle(HWND handle) {
  return handle ? static_cast<TacMainWnd*>(::GetPropA(handle, kSubclassProp)) : nullptr;
}

WNDPROC TacMainWnd::OldWndProc() const { return FThunk ? ThunkPrevious(FThunk) : nullptr; }
WNDPROC TacMainWnd::NewWndProc() const { return FThunk ? ThunkProc(FThunk) : nullptr; }

TsSkinManager* TacMainWnd::Manager() const {
  if (SkinManager) return SkinManager;
  return SkinData ? SkinData->SkinManager() : nullptr;
}

bool TacMainWnd::SkinActive() const {
  TsSkinManager* manager = Manager();
  return SkinData && manager && manager->Active() && !manager->Sections.empty();
}

bool TacMainWnd::Skinned() const { return SkinActive() && SkinData->Skinned(); }

bool TacMainWnd::ForMyManager(LPARAM lParam) const { return lParam == reinterpret_cast<LPARAM>(Manager()); }

bool TacMainWnd::WantsThemeOff(const std::string& section) const { return section != "DIALOG"; }

void TacMainWnd::Attach(HWND handle, bool applyNow, const std::string& section, TsSkinManager* manager,
                        TsCommonData* skinData) {
  CtrlHandle = handle;
  FThunk = nullptr;
  FLink.reset();
  Detached = false;

  if (ThemeSetter() && WantsThemeOff(section)) {
    ThemeSetter()(handle, L" ", L" ");
    FThemeOff = true;
  }

  if (!skinData) {
    // A window without framework control: its skin data needs an owner that
    // lives as long as the object.
    FSkinDataOwner = std::make_unique<fw::TComponent>(nullptr);
    FOwnSkinData = std::make_unique<TsCommonData>(FSkinDataOwner.get(), true);
    skinData = FOwnSkinData.get();
    OwnsSkinData = true;
  }
  SkinData = skinData;
  SkinManager = manager;
  if (OwnsSkinData && manager) SkinData->SetSkinManager(manager);
  if (acKeepFonts) SkinData->SetCustomFont(true);
  if (SkinData->SkinSection().empty()) {
    const std::string name = section.empty() ? std::string(DefaultSection()) : section;
    if (!name.empty()) SkinData->SetSkinSection(name);
  }
  if (OwnsSkinData) SkinData->UpdateIndexes();

  DialogLook = acDialogLook;
  SaveColors();
  ColorsApplied = false;
  ReadWindowText();
  AttachScrolls();

  ::SetPropA(handle, kSubclassProp, this);
  auto* control = dynamic_cast<fw::TWinControl*>(SkinData->OwnerControl);
  if (!control && !SkinData->OwnerControl && SkinData->OwnerObject && !OwnsSkinData)
    control = FindOwnerForm(SkinData->OwnerObject);  // a form's skinning component
  if (control && control->HandleAllocated() && control->Handle() == handle) {
    FControl = control;
    FLink = InstallMethodLink(control->WindowProc, this);
  } else {
    const auto old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(handle, GWLP_WNDPROC));
    FThunk = NewProcThunk(handle, this, old);
    ::SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ThunkProc(FThunk)));
  }

  if (applyNow) ::SetWindowPos(handle, nullptr, 0, 0, 0, 0, kFrameChanged);
  if (FControl) FControl->SetControlStyle(FControl->ControlStyle() | fw::csOpaque);
}

void TacMainWnd::Detach(bool repaint) {
  if (Detached || FDetaching || !CtrlHandle) return;
  FDetaching = true;
  if (FLink) {
    ReleaseMethodLink(FControl->WindowProc, FLink);
    FLink.reset();
  } else if (FThunk) {
    ReleaseProcThunk(FThunk);
    FThunk = nullptr;
  }
  std::exception_ptr failure;
  if (::IsWindow(CtrlHandle)) {
    if (::GetPropA(CtrlHandle, kSubclassProp) == this) ::RemovePropA(CtrlHandle, kSubclassProp);
    try {
      RestoreColors();
    } catch (...) {
      failure = std::current_exception();
    }
    if (FThemeOff && ThemeSetter()) ThemeSetter()(CtrlHandle, nullptr, nullptr);
  }
  FThemeOff = false;
  try {
    DetachScrolls(repaint);
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  Detached = true;
  FDetaching = false;
  if (failure) std::rethrow_exception(failure);
  // Own skin data goes with the object: a message that detached it may
  // still be running.
}

void TacMainWnd::TargetMessage(fw::TMessage& m) {
  ++FDepth;
  try {
    WndProc(m);
  } catch (...) {
    if (--FDepth == 0 && FFreePending) delete this;
    throw;
  }
  if (--FDepth == 0 && FFreePending) delete this;
}

LRESULT TacMainWnd::CallPrev(fw::TMessage& m) {
  if (FLink && FLink->Previous) {
    FLink->Previous(m);
  } else if (FThunk) {
    m.Result = ::CallWindowProcA(ThunkPrevious(FThunk), CtrlHandle, m.Msg, m.WParam, m.LParam);
  } else {
    m.Result = 0;
  }
  return m.Result;
}

void TacMainWnd::ReadWindowText() {
  char text[1001] = {};
  if (CtrlHandle) ::SendMessageA(CtrlHandle, WM_GETTEXT, sizeof(text) - 1, reinterpret_cast<LPARAM>(text));
  WindowText = text;
}

void TacMainWnd::TrackHotControl() {
  if (DefaultManager && ::IsWindowEnabled(CtrlHandle) && DefaultManager->HotControl() != CtrlHandle)
    DefaultManager->SetHotControl(CtrlHandle);
}

void TacMainWnd::HandleDestroy(fw::TMessage& m) {
  if (SkinData && SkinData->GlowId >= 0) {
    HideGlowEffect(SkinData->GlowId);
    SkinData->GlowId = -1;
  }
  CallPrev(m);
  if (m.Result == 0) {
    try {
      Detach(false);
    } catch (...) {
      // The window is going away: nothing may stop that.
    }
  }
}

void TacMainWnd::UpdateGeometry() {
  ::GetWindowRect(CtrlHandle, &WndRect);
  WndSize = SIZE{WndRect.right - WndRect.left, WndRect.bottom - WndRect.top};
  ParentHandle = ::GetParent(CtrlHandle);
  ParentOffset = POINT{WndRect.left, WndRect.top};
  ParentRect = RECT{};
  if (ParentHandle) {
    ::ScreenToClient(ParentHandle, &ParentOffset);
    ::GetClientRect(ParentHandle, &ParentRect);
  }
}

void TacMainWnd::PaintFrameCache(bool dialogLook) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager) return;
  if (!SkinData->CacheBmp) SkinData->CacheBmp = NewBitmap32(0, 0);
  fw::TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(std::max<int>(WndSize.cx, 0), std::max<int>(WndSize.cy, 0));
  const RECT all{0, 0, cache->Width(), cache->Height()};
  const TColorValue border = manager->GlobalInfo ? manager->GlobalInfo->BorderColor : clSkinTransparent;
  if (dialogLook && border != clSkinTransparent) {
    FillBitmapRect(cache, all, fw::clWindow);
    fw::UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(manager->ColorToRGB(border))));
    ::FrameRect(cache->Canvas().Handle(), &all, brush.Get());
  } else if (const TsGeneralData* section = SkinData->Section()) {
    const ParentCache parent = SkinData->ParentCacheOf(CtrlHandle);
    int states = section->StateCount;
    if (manager->IsValidMask(SkinData->BorderIndex))
      states = std::max<int>(states, manager->Masks[static_cast<std::size_t>(SkinData->BorderIndex)].StateCount);
    const bool hot = (SkinData->Focused || SkinData->MouseAbove) && states > 1;
    PaintControlItem(*SkinData, parent, true, cache, POINT{0, 0}, all, hot ? 1 : 0);
    if (FControl && !FControl->Enabled()) {
      TsDisabledKind kind = dkBlended;
      SendSkinCommand(CtrlHandle, SKINCMD_GET_DISABLED_KIND, reinterpret_cast<LPARAM>(&kind));
      ApplyDisabledLook(cache, kind, FControl->Parent(), POINT{FControl->Left(), FControl->Top()}, parent);
    }
  }
  SkinData->BGChanged = false;
}

void TacMainWnd::PrepareCache() {
  UpdateGeometry();
  PaintFrameCache(DialogLook);
}

bool TacMainWnd::HandleSkinCommand(fw::TMessage& m) {
  const TacSkinMessage s = ReadSkinMessage(m);
  switch (s.Command) {
    case SKINCMD_NEW_SKIN:
      if (ForMyManager(s.LParam)) {
        SkinData->UpdateIndexes();
        SkinData->BGChanged = true;
        if (FControl)
          SendToChildControls(FControl, m);
        else
          SendToChildWindows(CtrlHandle, m);
      }
      return false;
    case SKINCMD_REMOVE_SKIN:
      if (ForMyManager(s.LParam)) RestoreColors();
      return false;
    case SKINCMD_REFRESH:
      if (ForMyManager(s.LParam)) {
        SkinData->UpdateIndexes();
        SkinData->BGChanged = true;
        ColorsApplied = false;
        if (Visible())
          ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      }
      return true;
    case SKINCMD_END_UPDATE_FRAME:
      if (!SkinData->Updating) return false;
      SkinData->Updating = false;
      ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      return true;
    case SKINCMD_IS_SKINNED:
      m.Result = 1;
      return true;
    case SKINCMD_IS_UPDATING:
      m.Result = SkinData->Updating ? 1 : 0;
      return true;
    case SKINCMD_SET_SECTION:
      if (s.LParam) SkinData->SetSkinSection(reinterpret_cast<const TacSectionInfo*>(s.LParam)->Name);
      return false;
    case SKINCMD_HAS_GRAPHIC_BG:
      if (!SkinData->OwnerControl) return false;
      return SkinData->HandleSkinMessage(m, CtrlHandle);
    case SKINCMD_GET_COLOR:
      if (CallPrev(m) == 0) m.Result = static_cast<LRESULT>(SkinData->BackgroundColor(0, CtrlHandle));
      return true;
    case SKINCMD_PREPARE_CACHE:
      PrepareCache();
      return false;
    case SKINCMD_GET_BACKGROUND:
      if (s.LParam) SkinData->AnswerBackgroundRequest(*reinterpret_cast<BackgroundRequest*>(s.LParam), 0, CtrlHandle);
      m.Result = 1;
      return true;
    case SKINCMD_SET_PAINTER:
      SkinData->Painter = reinterpret_cast<void*>(s.LParam);
      if (s.LParam)
        SkinData->StateFlags |= sfPainterSet;
      else
        SkinData->StateFlags &= static_cast<std::uint16_t>(~sfPainterSet);
      return false;
    case SKINCMD_GET_APPLICATION:
      m.Result = reinterpret_cast<LRESULT>(fw::Application);
      return true;
    default:
      return false;
  }
}

void TacMainWnd::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      HandleDestroy(m);
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_SIZE:
      if (SkinData) SkinData->BGChanged = true;
      break;
    case WM_SETTEXT:
      CallPrev(m);
      ReadWindowText();
      return;
    case WM_MOUSEMOVE:
      TrackHotControl();
      break;
    case WM_PRINT:
      m.Result = ::SendMessageA(CtrlHandle, WM_PAINT, m.WParam, m.LParam);
      return;
    default:
      break;
  }
  if (!SkinActive()) {
    CallPrev(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD && HandleSkinCommand(m)) return;
  CallPrev(m);
}

}  // namespace translit
