// The outline move and size of a skinned form.
#include "forms/acFrameRubberBand.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "forms/sSkinProvider.h"
#include "framework/Handles.h"

namespace translit {

namespace {

struct RubberBand {
  HWND window = nullptr;
  int kind = 0;  // the hit code pressed
  std::unique_ptr<fw::WindowDC> screen;
  RECT start{}, bounds{};
  POINT pressed{};
  SIZE minimum{};
  bool shown = false;
};

// The running operation, or none.
std::unique_ptr<RubberBand>& Current() {
  static std::unique_ptr<RubberBand> band;
  return band;
}

// Inverts a frame of the bounds three pixels wide; a second call puts the
// screen back.
void InvertOutline(RubberBand& band) {
  HDC dc = band.screen->Get();
  const RECT& r = band.bounds;
  const int w = r.right - r.left, h = r.bottom - r.top, t = 3;
  ::PatBlt(dc, r.left, r.top, w, t, DSTINVERT);
  ::PatBlt(dc, r.left, r.bottom - t, w, t, DSTINVERT);
  ::PatBlt(dc, r.left, r.top + t, t, h - 2 * t, DSTINVERT);
  ::PatBlt(dc, r.right - t, r.top + t, t, h - 2 * t, DSTINVERT);
  band.shown = !band.shown;
}

// The bounds for the cursor's offset from the press: moved whole, or the
// edges of the pressed zone moved, no smaller than the minimum.
RECT Tracked(const RubberBand& band, POINT cursor) {
  const int dx = cursor.x - band.pressed.x, dy = cursor.y - band.pressed.y;
  RECT r = band.start;
  if (band.kind == HTCAPTION) {
    ::OffsetRect(&r, dx, dy);
    return r;
  }
  const int k = band.kind;
  if (k == HTLEFT || k == HTTOPLEFT || k == HTBOTTOMLEFT) r.left = std::min(r.left + dx, r.right - band.minimum.cx);
  if (k == HTRIGHT || k == HTTOPRIGHT || k == HTBOTTOMRIGHT) r.right = std::max(r.right + dx, r.left + band.minimum.cx);
  if (k == HTTOP || k == HTTOPLEFT || k == HTTOPRIGHT) r.top = std::min(r.top + dy, r.bottom - band.minimum.cy);
  if (k == HTBOTTOM || k == HTBOTTOMLEFT || k == HTBOTTOMRIGHT)
    r.bottom = std::max(r.bottom + dy, r.top + band.minimum.cy);
  return r;
}

SIZE MinimumTrackSize(HWND window) {
  MINMAXINFO info{};
  info.ptMinTrackSize = POINT{::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{::GetSystemMetrics(SM_CXMAXTRACK), ::GetSystemMetrics(SM_CYMAXTRACK)};
  ::SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return SIZE{info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

// Ends the operation: the outline goes, the capture is given back.
std::unique_ptr<RubberBand> Finish() {
  std::unique_ptr<RubberBand> band = std::move(Current());
  if (!band) return band;
  if (band->shown) InvertOutline(*band);
  band->screen.reset();
  if (::GetCapture() == band->window) ::ReleaseCapture();
  return band;
}

}  // namespace

bool RubberBandRunning() { return Current() != nullptr; }

bool StartRubberBand(TsSkinProvider& p, int hitCode) {
  if (Current() || !(hitCode == HTCAPTION || (hitCode >= HTLEFT && hitCode <= HTBOTTOMRIGHT))) return false;
  HWND window = p.OwnerForm->Handle();
  auto band = std::make_unique<RubberBand>();
  band->window = window;
  band->kind = hitCode;
  band->minimum = MinimumTrackSize(window);
  ::GetWindowRect(window, &band->start);
  band->bounds = band->start;
  ::GetCursorPos(&band->pressed);
  band->screen = std::make_unique<fw::WindowDC>(nullptr);
  RubberBand& running = *band;
  Current() = std::move(band);
  ::SetCapture(window);
  InvertOutline(running);
  return true;
}

bool RubberBandMessage(TsSkinProvider& p, fw::TMessage& m) {
  RubberBand* band = Current().get();
  if (!band || band->window != p.OwnerForm->Handle()) return false;
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      POINT cursor{};
      ::GetCursorPos(&cursor);
      const RECT next = Tracked(*band, cursor);
      if (!::EqualRect(&next, &band->bounds)) {
        if (band->shown) InvertOutline(*band);
        band->bounds = next;
        InvertOutline(*band);
      }
      m.Result = 0;
      return true;
    }
    case WM_LBUTTONUP: {
      const std::unique_ptr<RubberBand> done = Finish();
      const RECT& r = done->bounds;
      if (!::EqualRect(&r, &done->start))
        ::MoveWindow(done->window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
      m.Result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != band->window) Finish();
      return false;
    default:
      return false;
  }
}

}  // namespace translit
