// Control fades.
#include "render/effects/sFade.h"

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimFrames.h"
#include "render/effects/acAnimState.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

int gLiveFades = 0;
bool gAnimationsStopped = false;

constexpr unsigned kFadeIntervalMs = 10;

unsigned ButtonEventOf(TacAnimatEvent event) {
  switch (event) {
    case aeMouseEnter:
      return beMouseEnter;
    case aeMouseLeave:
      return beMouseLeave;
    case aeMouseDown:
      return beMouseDown;
    case aeMouseUp:
      return beMouseUp;
    default:
      return 0;
  }
}

bool HasPicture(const fw::TBitmap* bitmap) { return bitmap && bitmap->Width() > 0 && bitmap->Height() > 0; }

void CopyPicture(fw::TBitmap& dest, fw::TBitmap& source) {
  dest.SetSize(source.Width(), source.Height());
  ::BitBlt(dest.Canvas().Handle(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0, SRCCOPY);
}

}  // namespace

// ---- TsFadeTimer

TsFadeTimer::TsFadeTimer(TsCommonData& skinData, HWND window)
    : fw::TTimer(nullptr), FSkinData(skinData), FWindow(window) {
  SetEnabled(false);
}

TsFadeTimer::~TsFadeTimer() {
  *FAlive = false;
  SetDirection(0);
}

void TsFadeTimer::SetDirection(int direction) {
  if ((FDirection != 0) != (direction != 0)) gLiveFades += direction != 0 ? 1 : -1;
  FDirection = direction;
}

void TsFadeTimer::Prepare(bool fast) {
  if (!BmpFrom) BmpFrom = NewBitmap32(0, 0);
  CopyPicture(*BmpFrom, *FSkinData.CacheBmp);
  SetInterval(kFadeIntervalMs);
  const TsGeneralData* section = FSkinData.Section();
  Iterations = section ? section->FadingIterations : 5;
  if (fast) Iterations /= 2;
  Step = 1;
}

HWND TsFadeTimer::ControlWindow() const {
  if (FWindow) return FWindow;
  auto* windowed = dynamic_cast<fw::TWinControl*>(FSkinData.OwnerControl);
  return windowed && windowed->HandleAllocated() ? windowed->Handle() : nullptr;
}

bool TsFadeTimer::ControlShowing() const {
  if (FSkinData.OwnerControl) return FSkinData.OwnerControl->Showing();
  return FWindow && ::IsWindowVisible(FWindow);
}

LRESULT TsFadeTimer::SendToControl(std::uint16_t command, LPARAM lParam) const {
  if (FSkinData.OwnerControl) return SendSkinCommandTo(FSkinData.OwnerControl, command, lParam);
  return FWindow ? SendSkinCommand(FWindow, command, lParam) : 0;
}

void TsFadeTimer::DrawToScreen(fw::TBitmap& picture) const {
  HWND wnd = ControlWindow();
  POINT at{0, 0};
  if (!wnd && FSkinData.OwnerControl && FSkinData.OwnerControl->Parent()) {
    // A control without a window of its own is drawn into its parent's.
    fw::TWinControl* parent = FSkinData.OwnerControl->Parent();
    if (!parent->HandleAllocated()) return;
    wnd = parent->Handle();
    at = POINT{FSkinData.OwnerControl->Left(), FSkinData.OwnerControl->Top()};
    fw::WindowDC dc(wnd);
    fw::SaveDCGuard saved(dc.Get());
    ::BitBlt(dc.Get(), at.x, at.y, picture.Width(), picture.Height(), picture.Canvas().Handle(), 0, 0, SRCCOPY);
    return;
  }
  if (!wnd) return;
  fw::WindowDC dc(wnd, true);
  fw::SaveDCGuard saved(dc.Get());
  ::BitBlt(dc.Get(), 0, 0, picture.Width(), picture.Height(), picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsFadeTimer::Timer() {
  const std::shared_ptr<bool> alive = FAlive;
  if (FSkinData.OwnerObject && FSkinData.OwnerObject->Destroying()) return;
  // Neither a frame nor a step while the skin's tables are half-built.
  if (SkinLoadInProgress) return;
  if (gAnimationsStopped || Step > Iterations || Step < 0) {
    // Past the last step, or everything is being stopped: the control ends
    // the fade (which frees this timer) and shows its final look.
    if (gAnimationsStopped) FSkinData.BGChanged = true;
    SendToControl(SKINCMD_STOP_ANIMATION, 0);
    if (!*alive) return;
    // A control that does not stop its fade is not ticked again.
    SetEnabled(false);
    SetDirection(0);
    if (gAnimationsStopped)
      if (HWND wnd = ControlWindow()) ::InvalidateRect(wnd, nullptr, FALSE);
    return;
  }
  if (!ControlShowing()) {
    SetEnabled(false);
    SetDirection(0);
    Iterations = 0;
    FSkinData.BGChanged = true;
    return;
  }
  if (!BmpFrom || !HasPicture(FSkinData.CacheBmp.get())) return;
  if (!FPicture) FPicture = NewBitmap32(0, 0);
  CopyPicture(*FPicture, *BmpFrom);
  MixBitmaps(FPicture.get(), FSkinData.CacheBmp.get(), static_cast<std::uint8_t>(FadeWeight(Step, Iterations)));
  if (SendToControl(SKINCMD_DRAW_FADE, reinterpret_cast<LPARAM>(FPicture.get())) == 0) {
    if (!*alive) return;
    DrawToScreen(*FPicture);
  }
  if (!*alive) return;
  SendRefreshNotice();
  if (!*alive) return;
  ++Step;
}

// ---- Operations

bool FadeAllowed(TacAnimatEvent event, TacAnimatEvents controlEvents, TsSkinManager* manager) {
  if (controlEvents & event) return true;
  if (!(controlEvents & aeGlobalDef)) return false;
  if (!manager) manager = DefaultManager;
  return manager && (manager->AnimEffects().Buttons.Events & ButtonEventOf(event)) != 0;
}

void StartControlFade(std::unique_ptr<TsFadeTimer>& fadeTimer, TsCommonData& skinData, bool fast, bool allowed,
                      HWND window) {
  if (!skinData.Skinned()) return;
  const TsGeneralData* section = skinData.Section();
  const bool fade = allowed && !SkinLoadInProgress && section->FadingEnabled && !gAnimationsStopped &&
                    HasPicture(skinData.CacheBmp.get()) && !skinData.BGChanged;
  if (!fade) {
    skinData.BGChanged = true;
    StopControlFade(fadeTimer, skinData);
    if (auto* windowed = dynamic_cast<fw::TWinControl*>(skinData.OwnerControl)) {
      if (windowed->HandleAllocated()) windowed->Repaint();
    } else if (skinData.OwnerControl) {
      skinData.OwnerControl->Repaint();
    } else if (window) {
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    return;
  }
  if (!fadeTimer) fadeTimer = std::make_unique<TsFadeTimer>(skinData, window);
  TsFadeTimer& timer = *fadeTimer;
  timer.Prepare(fast);
  // The control paints its cache in the new state; the timer mixes into it.
  if (skinData.OwnerControl)
    SendSkinCommandTo(skinData.OwnerControl, SKINCMD_PREPARE_CACHE, 0);
  else if (window)
    SendSkinCommand(window, SKINCMD_PREPARE_CACHE, 0);
  if (!fadeTimer) return;  // the control stopped the fade meanwhile
  fadeTimer->SetDirection(1);
  fadeTimer->SetEnabled(true);
}

void StopControlFade(std::unique_ptr<TsFadeTimer>& fadeTimer, TsCommonData&) {
  if (!fadeTimer || fadeTimer->Destroying()) return;
  fadeTimer->SetEnabled(false);
  fadeTimer->SetDirection(0);
  fadeTimer.reset();
}

int LiveFadeCount() { return gLiveFades; }

bool AnimationsStopped() { return gAnimationsStopped; }

void StopAllAnimations() {
  gAnimationsStopped = true;
  while (gLiveFades > 0) {
    if (fw::Application) fw::Application->ProcessMessages();
    if (gLiveFades > 0) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kFadeIntervalMs, QS_ALLINPUT);
  }
}

void ResumeAnimations() { gAnimationsStopped = false; }

}  // namespace translit
