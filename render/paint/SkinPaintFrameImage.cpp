// A picture resized by nine parts.
#include "render/paint/SkinPaintFrameImage.h"

#include <algorithm>

#include "framework/Handles.h"
#include "render/paint/SkinPaintGeometry.h"

namespace translit {

using paint::Intersection;
using paint::IsEmpty;

namespace {

// Fills dest (x, y, w, h) with whole copies of the source piece from the
// top-left, the last column and row cut; or stretches it over the area.
void PaintPiece(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, int mode) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  if (mode == 1) {
    ::StretchBlt(dest, x, y, w, h, source, sx, sy, sw, sh, SRCCOPY);
    return;
  }
  if (mode != 0) return;
  for (int ty = 0; ty < h; ty += sh)
    for (int tx = 0; tx < w; tx += sw)
      ::BitBlt(dest, x + tx, y + ty, std::min(sw, w - tx), std::min(sh, h - ty), source, sx, sy, SRCCOPY);
}

int Band(LONG margin, LONG limit) {
  const int m = std::max<int>(margin, 0);
  return limit > 0 ? std::min<int>(m, limit) : m;
}

}  // namespace

void StretchFrameImage(fw::TBitmap* dest, fw::TBitmap* source, const RECT& destRect, bool drawCentre, int centreMode,
                       const std::array<int, 4>& sideModes, const RECT& limits, const RECT& margins,
                       const RECT& sourceRect) {
  if (!dest || !source || dest == source || IsEmpty(destRect)) return;
  const RECT src = Intersection(sourceRect, RECT{0, 0, source->Width(), source->Height()});
  if (IsEmpty(src)) return;
  HDC to = dest->Canvas().Handle();
  HDC from = source->Canvas().Handle();
  if (!to || !from) return;
  fw::SaveDCGuard saved(to);
  ::SetStretchBltMode(to, COLORONCOLOR);
  // Everything lands inside destRect and inside the bitmap.
  ::IntersectClipRect(to, destRect.left, destRect.top, destRect.right, destRect.bottom);

  const int sw = src.right - src.left, sh = src.bottom - src.top;
  const int dw = destRect.right - destRect.left, dh = destRect.bottom - destRect.top;
  // Source bands, kept inside the source picture.
  const int sl = std::min<int>(std::max<int>(margins.left, 0), sw);
  const int sr = std::min<int>(std::max<int>(margins.right, 0), sw - sl);
  const int st = std::min<int>(std::max<int>(margins.top, 0), sh);
  const int sb = std::min<int>(std::max<int>(margins.bottom, 0), sh - st);
  // Destination bands: cut by the limits and by the destination's size.
  const int dl = std::min(Band(sl, limits.left), dw);
  const int dr = std::min(Band(sr, limits.right), dw - dl);
  const int dt = std::min(Band(st, limits.top), dh);
  const int db = std::min(Band(sb, limits.bottom), dh - dt);
  const int x0 = destRect.left, y0 = destRect.top, x1 = destRect.right, y1 = destRect.bottom;

  // Corners, unscaled, from the source's outer corners.
  ::BitBlt(to, x0, y0, dl, dt, from, src.left, src.top, SRCCOPY);
  ::BitBlt(to, x1 - dr, y0, dr, dt, from, src.right - dr, src.top, SRCCOPY);
  ::BitBlt(to, x0, y1 - db, dl, db, from, src.left, src.bottom - db, SRCCOPY);
  ::BitBlt(to, x1 - dr, y1 - db, dr, db, from, src.right - dr, src.bottom - db, SRCCOPY);

  const int midW = dw - dl - dr, midH = dh - dt - db;
  const int srcMidW = sw - sl - sr, srcMidH = sh - st - sb;
  // Sides: the band between the source's corners, as thick as the destination's band.
  PaintPiece(to, x0, y0 + dt, dl, midH, from, src.left, src.top + st, dl, srcMidH, sideModes[0]);
  PaintPiece(to, x0 + dl, y0, midW, dt, from, src.left + sl, src.top, srcMidW, dt, sideModes[1]);
  PaintPiece(to, x1 - dr, y0 + dt, dr, midH, from, src.right - dr, src.top + st, dr, srcMidH, sideModes[2]);
  PaintPiece(to, x0 + dl, y1 - db, midW, db, from, src.left + sl, src.bottom - db, srcMidW, db, sideModes[3]);
  if (drawCentre)
    PaintPiece(to, x0 + dl, y0 + dt, midW, midH, from, src.left + sl, src.top + st, srcMidW, srcMidH, centreMode);
}

}  // namespace translit
