// Animation windows and frame pictures.
#include "render/effects/acAnimWindow.h"

#include <algorithm>

#include "controls/protocol/sSkinState.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/sLayeredSupport.h"

namespace translit {

TacAnimWindow::TacAnimWindow(fw::TComponent* owner) : fw::TForm(owner) {
  SetBorderStyle(fw::bsNone);
  SetTag(kEngineWindowTag);
}

void TacAnimWindow::CreateParams(fw::TCreateParams& params) {
  fw::TForm::CreateParams(params);
  params.ExStyle |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
}

void MakeLayered(HWND window) {
  const LONG ex = ::GetWindowLongA(window, GWL_EXSTYLE);
  ::SetWindowLongA(window, GWL_EXSTYLE, ex | WS_EX_LAYERED | WS_EX_NOACTIVATE);
}

void PutLayeredPicture(HWND window, fw::TBitmap& picture, int alpha, const POINT* position, TacAnimationKind animation,
                       TacFrameKind kind, const RECT& rect) {
  if (const TUpdateLayeredWindowProc update = UpdateLayeredWindowProc()) {
    SIZE size{picture.Width(), picture.Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), AC_SRC_ALPHA};
    fw::WindowDC screen(nullptr);
    update(window, screen.Get(), const_cast<POINT*>(position), &size, picture.Canvas().Handle(), &source, 0, &blend,
           ULW_ALPHA);
  }
  ReportFrame(TacAnimFrame{animation, kind, window, alpha, -1, rect});
}

RECT RoundFrameRect(const TacFrameRect& r) {
  return RECT{static_cast<LONG>(RoundHalfEven(r.Left)), static_cast<LONG>(RoundHalfEven(r.Top)),
              static_cast<LONG>(RoundHalfEven(r.Right)), static_cast<LONG>(RoundHalfEven(r.Bottom))};
}

std::unique_ptr<fw::TBitmap> ClearedPictureLike(fw::TBitmap& source) {
  auto picture = NewBitmap32(source.Width(), source.Height());
  ClearPicture(*picture);
  return picture;
}

void ClearPicture(fw::TBitmap& picture) {
  const RECT all{0, 0, picture.Width(), picture.Height()};
  FillBitmapRect(&picture, all, 0);
  SetRectAlpha(&picture, all, 0, false);
}

void StretchPicture(fw::TBitmap& dest, const RECT& rect, fw::TBitmap& source) {
  HDC dc = dest.Canvas().Handle();
  const int old = ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.Canvas().Handle(), 0, 0,
               source.Width(), source.Height(), SRCCOPY);
  ::SetStretchBltMode(dc, old);
}

HWND WindowBefore(HWND window) {
  HWND previous = ::GetWindow(window, GW_HWNDPREV);
  return previous ? previous : HWND_TOP;
}

bool IsTopmost(HWND window) { return (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void WaitFrame() { ::Sleep(kFrameIntervalMs); }

FreezeScope::FreezeScope() { SkinChangeFreeze = true; }

void FreezeScope::Release() {
  if (!FHeld) return;
  FHeld = false;
  SkinChangeFreeze = false;
}

void SetFormBlendValue(HWND form, int blendValue) {
  BYTE alpha = 255;
  DWORD flags = 0;
  if ((::GetWindowLongA(form, GWL_EXSTYLE) & WS_EX_LAYERED) &&
      ::GetLayeredWindowAttributes(form, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
    ::SetLayeredWindowAttributes(form, 0, static_cast<BYTE>(std::clamp(blendValue, 0, 255)), LWA_ALPHA);
}

RECT WindowBounds(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

RECT PictureRect(const fw::TBitmap& picture) { return RECT{0, 0, picture.Width(), picture.Height()}; }

// The frames of a show: frames + 1 pictures 12 ms apart, the alpha growing
// by step up to blendValue; the picture copied once (fading) or stretched
// from an eighth inside its edges to its full size (aero). onFrame runs
// after each frame with the frame's rounded alpha.
void PlayShowFrames(HWND window, fw::TBitmap& picture, int frames, double step, int blendValue, TacAnimType mode,
                    TacAnimationKind kind, const std::function<void(int alpha)>& onFrame) {
  auto work = ClearedPictureLike(picture);
  const RECT full = PictureRect(picture);
  double alpha = 0;
  bool copied = false;
  for (int k = 0; k <= frames; ++k) {
    alpha = NextShowAlpha(alpha, step, blendValue);
    RECT rect = full;
    if (mode == atAero) {
      rect = RoundFrameRect(AeroShowRect(picture.Width(), picture.Height(), frames, k));
      if (rect.left >= 0 && rect.top >= 0) {
        StretchPicture(*work, rect, picture);
      } else {
        CopyPicture(*work, picture);
        rect = full;
      }
    } else if (!copied) {
      CopyPicture(*work, picture);
      copied = true;
    }
    const int rounded = static_cast<int>(RoundHalfEven(alpha));
    PutLayeredPicture(window, *work, rounded, nullptr, kind, fkFrame, rect);
    if (onFrame) onFrame(rounded);
    if (k < frames) WaitFrame();
  }
}

}  // namespace translit
