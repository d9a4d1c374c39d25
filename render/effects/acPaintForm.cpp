// Pictures of forms.
#include "render/effects/acPaintForm.h"

#include "controls/protocol/sMessages.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimProvider.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintParent.h"

namespace translit {

namespace {

// A control that is not shown yet looks like its parent's background.
void PaintParentBackground(HDC dc, fw::TControl* control) {
  BackgroundRequest request;
  request.Rect = RECT{0, 0, control->Width(), control->Height()};
  QueryParentBackground(request, control->Parent(), false);
  if (request.Kind == bkBitmap && request.Bitmap) {
    ::BitBlt(dc, 0, 0, control->Width(), control->Height(), request.Bitmap->Canvas().Handle(),
             control->Left() + request.OffsetX, control->Top() + request.OffsetY, SRCCOPY);
  } else {
    FillSolid(dc, request.Rect, static_cast<fw::TColor>(request.Color));
  }
}

// A window the framework's way: a child window with its frame, a form's
// client area alone (the frame is not the client's business).
void PaintWindowItself(HDC dc, HWND wnd) {
  LPARAM flags = PRF_ERASEBKGND | PRF_CLIENT;
  if (IsChildWindow(wnd)) flags |= PRF_NONCLIENT;
  ::SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}

void PaintControl(fw::TBitmap* bitmap, HDC dc, fw::TControl* control, TacAnimationProvider* provider) {
  if (!provider && control->Parent() && !control->Visible()) {
    PaintParentBackground(dc, control);
    return;
  }
  if (!(provider && provider->BorderWindow())) ::IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  const LPARAM painter = reinterpret_cast<LPARAM>(dc);
  if (!windowed) {
    // Framework graphic controls paint on WM_PAINT with the DC given.
    control->Perform(SM_ALPHACMD, SkinWParam(SKINCMD_SET_PAINTER), painter);
    control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    control->Perform(SM_ALPHACMD, SkinWParam(SKINCMD_SET_PAINTER), 0);
    return;
  }
  HWND wnd = windowed->Handle();
  if (AnswersSkinMessages(wnd)) {
    SendSkinCommand(wnd, SKINCMD_SET_PAINTER, painter);
    ::SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                   PRF_ERASEBKGND | PRF_CLIENT | (IsChildWindow(wnd) || provider ? PRF_NONCLIENT : 0));
    SendSkinCommand(wnd, SKINCMD_SET_PAINTER, 0);
  } else {
    PaintWindowItself(dc, wnd);
  }
  for (int i = 0; i < windowed->ControlCount(); ++i) {
    auto* child = dynamic_cast<fw::TWinControl*>(windowed->Controls(i));
    if (!child || !child->Visible() || !child->HandleAllocated()) continue;
    fw::SaveDCGuard saved(dc);
    ::OffsetWindowOrgEx(dc, -child->Left(), -child->Top(), nullptr);
    PaintControl(bitmap, dc, child, nullptr);
  }
  if (provider && provider->BorderWindow()) {
    const POINT offset = provider->ClientOffset();
    RECT client = windowed->ClientRect();
    ::OffsetRect(&client, offset.x, offset.y);
    client.bottom = std::min<LONG>(client.bottom, bitmap->Height());
    SetRectAlpha(bitmap, client, 255, false);
  }
}

}  // namespace

void PaintFormTo(fw::TBitmap* bitmap, fw::TControl* control, int x, int y, TacAnimationProvider* provider) {
  if (!bitmap || !control) return;
  HDC dc = bitmap->Canvas().Handle();
  fw::SaveDCGuard saved(dc);
  ::OffsetWindowOrgEx(dc, -x, -y, nullptr);
  PaintControl(bitmap, dc, control, provider);
}

std::unique_ptr<fw::TBitmap> WindowPicture(HWND window, TacAnimationProvider* provider, bool opaque) {
  fw::TWinControl* control = fw::TWinControl::FromHandle(window);
  std::unique_ptr<fw::TBitmap> picture;
  if (provider && provider->FrameCache()) {
    fw::TBitmap* cache = provider->FrameCache();
    picture = NewBitmap32(cache->Width(), cache->Height());
    PaintFormTo(picture.get(), control ? static_cast<fw::TControl*>(control) : provider->Form(), 0, 0, provider);
  } else {
    RECT bounds;
    ::GetWindowRect(window, &bounds);
    picture = NewBitmap32(bounds.right - bounds.left, bounds.bottom - bounds.top);
    HDC dc = picture->Canvas().Handle();
    if (control) {
      // Wine prints no frame (WM_PRINT ignores PRF_NONCLIENT there): the
      // frame the window shows is taken first, and printed over where the
      // platform can.
      if (::IsWindowVisible(window)) {
        fw::WindowDC own(window, true);
        ::BitBlt(dc, 0, 0, picture->Width(), picture->Height(), own.Get(), 0, 0, SRCCOPY);
      }
      ::SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
      const RECT client = ClientRectInWindow(window);
      PaintFormTo(picture.get(), control, client.left, client.top, nullptr);
    } else {
      ::SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                     PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
    }
  }
  if (opaque) SetRectAlpha(picture.get(), RECT{0, 0, picture->Width(), picture->Height()}, 255, false);
  return picture;
}

}  // namespace translit
