// The re-skinning animation.
#include "render/effects/acSkinChange.h"

#include <memory>
#include <vector>

#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimFrames.h"
#include "render/effects/acAnimProvider.h"
#include "render/effects/acAnimState.h"
#include "render/effects/acAnimWindow.h"
#include "render/effects/acOutputWindow.h"
#include "render/effects/acPaintForm.h"
#include "skin/sLayeredSupport.h"

namespace translit {

namespace {

bool IsChildWindow(HWND wnd) { return (::GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD) != 0; }

// A still cover, from CoverWithSnapshot to the end of the re-skinning that
// uses it. Every form being re-skinned has its own: the forms are all
// prepared before the first one is animated.
struct Cover {
  HWND form = nullptr;
  std::unique_ptr<TOutputWindow> window;
  std::unique_ptr<fw::TBitmap> snapshot;
};

std::vector<Cover>& Covers() {
  static std::vector<Cover> covers;
  return covers;
}

Cover* CoverFor(HWND form) {
  for (Cover& cover : Covers())
    if (cover.form == form) return &cover;
  return nullptr;
}

// Frees the cover of form, and those of forms that are gone (a form freed
// between its preparation and its animation never reaches the latter).
void FreeCoverOf(HWND form) {
  std::erase_if(Covers(), [form](const Cover& cover) { return cover.form == form || !::IsWindow(cover.form); });
}

bool LayeredPath(fw::TWinControl* target) {
  return LayeredWindowsAvailable() && dynamic_cast<fw::TCustomForm*>(target) && !IsChildWindow(target->Handle());
}

// The picture of the target in its new skin.
std::unique_ptr<fw::TBitmap> NewPicture(fw::TWinControl* target, TacAnimationProvider* provider, bool opaque) {
  if (!IsChildWindow(target->Handle())) return WindowPicture(target->Handle(), provider, opaque);
  auto picture = NewBitmap32(target->Width(), target->Height());
  PaintFormTo(picture.get(), target, 0, 0, provider);
  if (opaque) SetRectAlpha(picture.get(), PictureRect(*picture), 255, false);
  return picture;
}

// Drawn into the cover's DC; it stays until the cover is hidden.
void DrawOnCover(Cover& cover, fw::TBitmap& picture, int level) {
  HWND wnd = cover.window->Handle();
  {
    fw::WindowDC dc(wnd, true);
    ::BitBlt(dc.Get(), 0, 0, picture.Width(), picture.Height(), picture.Canvas().Handle(), 0, 0, SRCCOPY);
  }
  ReportFrame(TacAnimFrame{akSkinChange, fkCover, wnd, -1, level, PictureRect(picture)});
  SendRefreshNotice();
}

void LetDraw(fw::TWinControl* target) {
  if (target->Visible()) ::SendMessageA(target->Handle(), WM_SETREDRAW, TRUE, 0);
}

void LayeredSkinChange(fw::TCustomForm* form, TacAnimationProvider* provider, int frames, int blendValue,
                       TacAnimType mode, FreezeScope& freeze) {
  HWND target = form->Handle();
  TacBorderWindowLink* border = provider ? provider->BorderWindow() : nullptr;
  std::unique_ptr<fw::TBitmap> oldPicture;
  if (border) {
    oldPicture = provider->TakeCoverPicture();
    if (!oldPicture && provider->FrameCache()) {
      oldPicture = NewBitmap32(0, 0);
      CopyPicture(*oldPicture, *provider->FrameCache());
    }
  }
  if (provider) provider->PaintFrameCache();
  auto picture = NewPicture(form, provider, !border);

  std::unique_ptr<fw::TCustomForm> oldBorderForm, temporary;
  TacBorderWindowLink* newBorder = nullptr;
  HWND window = nullptr;
  const RECT bounds = WindowBounds(target);
  POINT position{bounds.left, bounds.top};
  if (border) {
    oldBorderForm = border->TakeForm();
    newBorder = provider->NewBorderWindow();
    window = newBorder->Form()->Handle();
    const RECT extents = newBorder->Extents();
    position.x -= extents.left;
    position.y -= extents.top;
  } else {
    temporary = std::make_unique<TacAnimWindow>(nullptr);
    window = temporary->Handle();
  }
  MakeLayered(window);
  const bool topmost = IsTopmost(target);
  if (topmost) ::SetWindowLongA(window, GWL_EXSTYLE, ::GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_TOPMOST);
  PutLayeredPicture(window, *picture, frames > 0 ? 0 : blendValue, &position, akSkinChange, fkShowStart,
                    PictureRect(*picture));
  ::SetWindowPos(window, topmost ? HWND_TOPMOST : WindowBefore(target), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (frames > 0) {
    HWND oldWindow = oldBorderForm && oldPicture ? oldBorderForm->Handle() : nullptr;
    PlayShowFrames(window, *picture, frames, ShowAlphaStep(blendValue, frames), blendValue, mode, akSkinChange,
                   [&](int alpha) {
                     if (oldWindow)
                       PutLayeredPicture(oldWindow, *oldPicture, OldWindowAlpha(blendValue, alpha), nullptr,
                                         akSkinChange, fkOldFrame, PictureRect(*oldPicture));
                   });
  }
  freeze.Release();
  SetFormBlendValue(target, blendValue);
  LetDraw(form);
  ::RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (newBorder) newBorder->Refresh();
}

void SnapshotSkinChange(fw::TWinControl* target, TacAnimationProvider* provider, int frames, FreezeScope& freeze) {
  if (!CoverInPlace(target)) CoverWithSnapshot(target);
  Cover& cover = *CoverFor(target->Handle());
  auto picture = NewPicture(target, provider, false);
  if (provider)
    if (HRGN outline = provider->WindowOutline()) ::SetWindowRgn(cover.window->Handle(), outline, FALSE);
  if (frames > 0 && cover.snapshot->Width() == picture->Width() && cover.snapshot->Height() == picture->Height()) {
    auto mixed = NewBitmap32(picture->Width(), picture->Height());
    for (int k = 0; k <= frames; ++k) {
      const int level = SkinChangeLevel(frames, k);
      MergeByMask(mixed.get(), cover.snapshot.get(), picture.get(), level, nullptr);
      DrawOnCover(cover, *mixed, level);
      WaitFrame();
    }
  }
  DrawOnCover(cover, *picture, -1);
  freeze.Release();
  if (target->Visible()) {
    LetDraw(target);
    if (PlatformMajorVersion() > 5)
      ::RedrawWindow(target->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  const bool layeredForm =
      dynamic_cast<fw::TCustomForm*>(target) && (::GetWindowLongA(target->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  if (!layeredForm)
    ::SetWindowPos(cover.window->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

void AnimateSkinChange(fw::TWinControl* form, int timeMs, int blendValue, TacAnimType mode) {
  if (!form || !form->HandleAllocated()) {
    FreeCoverOf(nullptr);
    return;
  }
  const int frames = FrameCount(static_cast<unsigned>(timeMs));
  FreezeScope freeze;
  TacAnimationProvider* provider = AnimationProviderOf(form->Handle());
  // A cover laid while preparing is not needed on the layered path.
  if (LayeredPath(form))
    LayeredSkinChange(static_cast<fw::TCustomForm*>(form), provider, frames, blendValue, mode, freeze);
  else
    SnapshotSkinChange(form, provider, frames, freeze);
  FreeCoverOf(form->Handle());
}

void CoverWithSnapshot(fw::TWinControl* form) {
  if (!form) return;
  HWND target = form->Handle();
  const RECT bounds = WindowBounds(target);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  Cover* found = CoverFor(target);
  Cover& cover = found ? *found : Covers().emplace_back(Cover{target, nullptr, nullptr});
  if (!cover.snapshot) cover.snapshot = NewBitmap32(0, 0);
  cover.snapshot->SetSize(width, height);
  {
    fw::WindowDC screen(nullptr);
    ::BitBlt(cover.snapshot->Canvas().Handle(), 0, 0, width, height, screen.Get(), bounds.left, bounds.top, SRCCOPY);
  }
  if (!cover.window) cover.window = std::make_unique<TOutputWindow>(nullptr, target);
  TOutputWindow& window = *cover.window;
  if (fw::TWinControl* parent = form->Parent()) {
    window.SetParent(parent);
    window.SetBounds(form->Left(), form->Top(), form->Width(), form->Height());
    ::SetWindowPos(window.Handle(), WindowBefore(target), form->Left(), form->Top(), form->Width(), form->Height(),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    window.SetBounds(bounds.left, bounds.top, width, height);
    ::SetWindowPos(window.Handle(), nullptr, bounds.left, bounds.top, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  // The cover shows the old look at once, whatever the system put into a
  // window that paints nothing.
  fw::WindowDC dc(window.Handle(), true);
  ::BitBlt(dc.Get(), 0, 0, width, height, cover.snapshot->Canvas().Handle(), 0, 0, SRCCOPY);
}

bool CoverInPlace() {
  for (const Cover& cover : Covers())
    if (cover.window && cover.window->HandleAllocated()) return true;
  return false;
}

bool CoverInPlace(fw::TWinControl* form) {
  if (!form || !form->HandleAllocated()) return false;
  const Cover* cover = CoverFor(form->Handle());
  return cover && cover->window && cover->window->HandleAllocated();
}

void FreeCover() { Covers().clear(); }

void PrepareSkinChange(fw::TCustomForm* form) {
  if (!form || !form->HandleAllocated()) return;
  TacAnimationProvider* provider = AnimationProviderOf(form->Handle());
  if (LayeredPath(form)) {
    if (provider && provider->BorderWindow()) provider->PrepareCoverPicture();
  } else {
    CoverWithSnapshot(form);
  }
  if (form->Visible()) ::SendMessageA(form->Handle(), WM_SETREDRAW, FALSE, 0);
}

}  // namespace translit
