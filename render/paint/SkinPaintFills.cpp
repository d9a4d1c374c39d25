// Solid fills and border strips on a DC.
#include "render/paint/SkinPaintFills.h"

#include <algorithm>

#include "framework/Colors.h"
#include "framework/Handles.h"
#include "render/paint/SkinPaintGeometry.h"

namespace translit {

using paint::Intersection;
using paint::IsEmpty;

void FillSolid(HDC dc, const RECT& rect, fw::TColor color) {
  if (!dc) return;
  fw::SaveDCGuard saved(dc);
  fw::UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(fw::ColorToRGB(color))));
  if (brush) ::FillRect(dc, &rect, brush.Get());
}

void FillBorderSolid(HDC dc, const RECT& rect, int left, fw::TColor color, int bottom, int right, int top) {
  if (!dc || IsEmpty(rect)) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::max(right, 0);
  bottom = std::max(bottom, 0);
  const RECT strips[] = {
      {rect.left, rect.top, rect.right, rect.top + top},
      {rect.left, rect.top + top, rect.left + left, rect.bottom},
      {rect.left + left, rect.bottom - bottom, rect.right, rect.bottom},
      {rect.right - right, rect.top + top, rect.right, rect.bottom - bottom},
  };
  fw::SaveDCGuard saved(dc);
  fw::UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(fw::ColorToRGB(color))));
  if (!brush) return;
  for (const RECT& strip : strips) {
    RECT inside = Intersection(strip, rect);
    if (!IsEmpty(inside)) ::FillRect(dc, &inside, brush.Get());
  }
}

void CopyBorderStrips(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int border) {
  if (!dest || !source || border <= 0 || width <= 0 || height <= 0) return;
  const RECT whole{x, y, x + width, y + height};
  const RECT strips[] = {
      {x, y, x + border, y + height},
      {x + border, y, x + width, y + border},
      {x + width - border, y + border, x + width, y + height},
      {x + border, y + height - border, x + width - border, y + height},
  };
  for (const RECT& strip : strips) {
    RECT r = Intersection(strip, whole);
    if (IsEmpty(r)) continue;
    ::BitBlt(dest, r.left, r.top, r.right - r.left, r.bottom - r.top, source, sourceX + (r.left - x),
             sourceY + (r.top - y), SRCCOPY);
  }
}

}  // namespace translit
