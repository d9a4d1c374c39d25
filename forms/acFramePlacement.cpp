// Maximised place and screen snapping of a skinned form.
#include "forms/acFramePlacement.h"

#include <cstdlib>

#include "forms/sSkinProvider.h"
#include "framework/WorkAreas.h"

namespace translit {

POINT SnappedPosition(POINT pos, SIZE size, const RECT& work, int buffer) {
  if (std::abs(pos.x + size.cx - work.right) < buffer) pos.x = work.right - size.cx;
  if (std::abs(pos.y + size.cy - work.bottom) < buffer) pos.y = work.bottom - size.cy;
  if (std::abs(pos.x - work.left) < buffer) pos.x = work.left;
  if (std::abs(pos.y - work.top) < buffer) pos.y = work.top;
  return pos;
}

void FrameMinMaxInfo(TsSkinProvider& p, fw::TMessage& m) {
  fw::TCustomForm& form = *p.OwnerForm;
  HWND window = form.Handle();
  auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
  if (info && p.DrawNonClientArea() && form.BorderStyle() != fw::bsNone && form.FormStyle() != fw::fsMDIChild &&
      !form.Parent() && !(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
    // Relative to the work area's corner, the system's frame width off it
    // on every side.
    const RECT work = fw::WorkAreaOf(window);
    const int a = FrameBorder(window);
    info->ptMaxPosition = POINT{-a, -a};
    info->ptMaxSize = POINT{work.right - work.left + 2 * a, work.bottom - work.top + 2 * a};
    m.Result = 0;
  }
  p.CallDefault(m);
}

void FramePosChanging(TsSkinProvider& p, fw::TMessage& m) {
  fw::TCustomForm& form = *p.OwnerForm;
  HWND window = form.Handle();
  auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
  if (pos && !p.RegionBusy && !form.Loading() && p.ScreenSnap() && !(pos->flags & SWP_NOMOVE) && !::IsZoomed(window) &&
      !::IsIconic(window) && ::IsWindowVisible(window)) {
    RECT r{};
    ::GetWindowRect(window, &r);
    const SIZE size = pos->flags & SWP_NOSIZE ? SIZE{r.right - r.left, r.bottom - r.top} : SIZE{pos->cx, pos->cy};
    const POINT snapped = SnappedPosition(POINT{pos->x, pos->y}, size, fw::WorkAreaOf(window), p.SnapBuffer());
    pos->x = snapped.x;
    pos->y = snapped.y;
  }
  p.CallDefault(m);
}

}  // namespace translit
