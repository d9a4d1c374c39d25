// Show animations.
#include "render/effects/acFormShow.h"

#include <memory>

#include "controls/protocol/sVclUtils.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimFrames.h"
#include "render/effects/acAnimProvider.h"
#include "render/effects/acAnimWindow.h"
#include "render/effects/acPaintForm.h"
#include "skin/sLayeredSupport.h"

namespace translit {

namespace {

// The window a show runs on: the form's border window, or a window of the
// animation's own.
struct AnimationWindow {
  std::unique_ptr<fw::TCustomForm> own;
  HWND handle = nullptr;
  POINT position{};
};

AnimationWindow MakeShowWindow(HWND target, TacBorderWindowLink* border) {
  AnimationWindow w;
  const RECT bounds = WindowBounds(target);
  w.position = POINT{bounds.left, bounds.top};
  if (border) {
    w.handle = border->Form()->Handle();
    const RECT extents = border->Extents();
    w.position.x -= extents.left;
    w.position.y -= extents.top;
  } else {
    w.own = std::make_unique<TacAnimWindow>(nullptr);
    w.handle = w.own->Handle();
  }
  MakeLayered(w.handle);
  return w;
}

// The window appears just in front of the target (at the top of everything
// for a topmost one) showing the picture at startAlpha.
void ShowOver(const AnimationWindow& w, HWND target, fw::TBitmap& picture, int startAlpha, TacAnimationKind kind) {
  PutLayeredPicture(w.handle, picture, startAlpha, &w.position, kind, fkShowStart, PictureRect(picture));
  const bool topmost = IsTopmost(target);
  if (topmost) {
    const LONG ex = ::GetWindowLongA(w.handle, GWL_EXSTYLE);
    ::SetWindowLongA(w.handle, GWL_EXSTYLE, ex | WS_EX_TOPMOST);
  }
  ::SetWindowPos(w.handle, topmost ? HWND_TOPMOST : WindowBefore(target), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

void AnimateFormShow(fw::TCustomForm* form, TacAnimationProvider* provider, int timeMs, int blendValue,
                     TacAnimType mode) {
  if (!form || !LayeredWindowsAvailable()) return;
  HWND target = form->Handle();
  const int frames = FrameCount(static_cast<unsigned>(timeMs));
  FreezeScope freeze;
  TacBorderWindowLink* border = provider ? provider->BorderWindow() : nullptr;
  if (provider && !border) provider->PaintFrameCache();
  auto picture = WindowPicture(target, provider, !border);

  AnimationWindow w = MakeShowWindow(target, border);
  ShowOver(w, target, *picture, frames > 0 ? 0 : blendValue, akFormShow);
  if (frames > 0)
    PlayShowFrames(w.handle, *picture, frames, ShowAlphaStep(blendValue, frames), blendValue, mode, akFormShow,
                   nullptr);
  PutLayeredPicture(w.handle, *picture, blendValue, &w.position, akFormShow, fkFinal, PictureRect(*picture));

  SetFormBlendValue(target, blendValue);
  ::SetWindowPos(target, w.handle, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (form->Visible() ? SWP_SHOWWINDOW : 0));
  if (form->Visible()) ::SendMessageA(target, WM_SETREDRAW, TRUE, 0);
  freeze.Release();
  ::RedrawWindow(target, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  if (DwmCompositionEnabled()) WaitFrame();
  if (border) {
    border->RestoreRegion();
  } else {
    ::SetWindowPos(w.handle, target, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    w.own.reset();
  }
  if (provider) provider->AfterAnimation();
}

void AnimateDialogShow(HWND dialog, TacAnimationProvider* dialogSkin, int timeMs, int blendValue, TacAnimType mode) {
  if (!dialog || !LayeredWindowsAvailable()) return;
  const int frames = FrameCount(static_cast<unsigned>(timeMs));
  FreezeScope freeze;
  TacBorderWindowLink* border = dialogSkin ? dialogSkin->BorderWindow() : nullptr;
  std::unique_ptr<fw::TBitmap> picture;
  if (dialogSkin && dialogSkin->FrameCache()) {
    // The frame from the dialog's cache, its client area by its own painting.
    dialogSkin->PaintFrameCache();
    picture = NewBitmap32(0, 0);
    CopyPicture(*picture, *dialogSkin->FrameCache());
    const POINT offset = dialogSkin->ClientOffset();
    RECT client;
    ::GetClientRect(dialog, &client);
    if (fw::TWinControl* control = fw::TWinControl::FromHandle(dialog)) {
      PaintFormTo(picture.get(), control, offset.x, offset.y, nullptr);
    } else {
      HDC dc = picture->Canvas().Handle();
      fw::SaveDCGuard saved(dc);
      ::OffsetWindowOrgEx(dc, -offset.x, -offset.y, nullptr);
      ::IntersectClipRect(dc, 0, 0, client.right, client.bottom);
      ::SendMessageA(dialog, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
    }
    RECT opaque = PictureRect(*picture);
    if (border) {
      opaque = client;
      ::OffsetRect(&opaque, offset.x, offset.y);
    }
    SetRectAlpha(picture.get(), opaque, 255, false);
  } else {
    picture = WindowPicture(dialog, nullptr, true);
  }

  AnimationWindow w = MakeShowWindow(dialog, border);
  ShowOver(w, dialog, *picture, frames > 0 ? 0 : blendValue, akDialogShow);
  if (frames > 0)
    PlayShowFrames(w.handle, *picture, frames, DialogShowAlphaStep(blendValue, frames), blendValue, mode, akDialogShow,
                   nullptr);
  PutLayeredPicture(w.handle, *picture, blendValue, &w.position, akDialogShow, fkFinal, PictureRect(*picture));

  ::SetWindowRgn(w.handle, nullptr, FALSE);
  // A framework form that is not meant to be shown is not made visible by
  // the redraw switch.
  fw::TWinControl* control = fw::TWinControl::FromHandle(dialog);
  if (!control || control->Visible()) ::SendMessageA(dialog, WM_SETREDRAW, TRUE, 0);
  freeze.Release();
  if (border) {
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
    border->Refresh();
  } else {
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::SetWindowPos(w.handle, dialog, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    w.own.reset();
  }
}

}  // namespace translit
