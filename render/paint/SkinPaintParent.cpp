// Parent backgrounds and the shared helper painters.
#include "render/paint/SkinPaintParent.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "controls/protocol/sVclUtils.h"
#include "framework/Colors.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr fw::TColor kKeyColor = 0x00FF00FF;

bool IsKey(std::uint32_t pixel) { return (pixel & 0x00FFFFFFu) == 0x00FF00FFu; }

RECT Intersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// A message to a framework control: by its window when it has one, else by a
// direct call.
LRESULT SendToControl(fw::TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(control); windowed && windowed->HandleAllocated())
    return ::SendMessageA(windowed->Handle(), msg, wParam, lParam);
  return control->Perform(msg, wParam, lParam);
}

// Lets the target paint itself into the request's DC, placed so that the
// requesting control's area lands at the DC's origin.
template <class Send>
void LetTargetPaint(BackgroundRequest& request, Send send) {
  if (!request.DC) return;
  fw::SaveDCGuard saved(request.DC);
  ::OffsetViewportOrgEx(request.DC, -request.OffsetX, -request.OffsetY, nullptr);
  ::OffsetRect(&request.Rect, request.OffsetX, request.OffsetY);
  ::IntersectClipRect(request.DC, request.Rect.left, request.Rect.top, request.Rect.right, request.Rect.bottom);
  send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(request.DC));
  send(WM_PAINT, reinterpret_cast<WPARAM>(request.DC));
}

LPARAM RequestAddress(BackgroundRequest& request) { return reinterpret_cast<LPARAM>(&request); }

}  // namespace

ParentCache MakeParentCache(fw::TBitmap* bitmap, int x, int y) { return {bitmap, x, y, kKeyColor, true}; }

ParentCache EmptyParentCache() { return {nullptr, 0, 0, 0, false}; }

ParentCache RequestToParentCache(const BackgroundRequest& request) {
  if (request.Kind == bkBitmap) {
    // A painter would read through a missing bitmap; treat it as no answer.
    if (!request.Bitmap) return {nullptr, request.OffsetX, request.OffsetY, kKeyColor, false};
    return MakeParentCache(request.Bitmap, request.OffsetX, request.OffsetY);
  }
  return {nullptr, request.OffsetX, request.OffsetY, fw::ColorToRGB(request.Color), false};
}

bool QueryParentBackground(BackgroundRequest& request, fw::TControl* target, bool drawNow) {
  if (!target) return QueryParentBackground(request, static_cast<HWND>(nullptr), drawNow);
  const bool askedToDraw = request.DrawNow != 0;
  request.Kind = bkNone;
  request.DrawNow = drawNow ? 1 : 0;
  SendToControl(target, SM_ALPHACMD, SkinWParam(SKINCMD_GET_BACKGROUND), RequestAddress(request));
  if (request.Kind != bkNone) return true;
  if (askedToDraw) {
    LetTargetPaint(request, [&](UINT msg, WPARAM dc) { SendToControl(target, msg, dc, 0); });
    return false;
  }
  request.Kind = bkColor;
  const LRESULT answer = SendToControl(target, SM_ALPHACMD, SkinWParam(SKINCMD_GET_COLOR), 0);
  request.Color = answer != 0 ? static_cast<std::int32_t>(answer) : fw::ColorToRGB(target->Color());
  if (request.DrawNow && request.Bitmap && request.DC) FillSolid(request.DC, request.Rect, request.Color);
  return false;
}

bool QueryParentBackground(BackgroundRequest& request, HWND target, bool drawNow) {
  const bool askedToDraw = request.DrawNow != 0;
  request.Kind = bkNone;
  request.DrawNow = drawNow ? 1 : 0;
  if (target) ::SendMessageA(target, SM_ALPHACMD, SkinWParam(SKINCMD_GET_BACKGROUND), RequestAddress(request));
  if (request.Kind != bkNone) return true;
  if (askedToDraw && target) {
    LetTargetPaint(request, [&](UINT msg, WPARAM dc) { ::SendMessageA(target, msg, dc, 0); });
    return false;
  }
  request.Kind = bkColor;
  request.Color = DefaultManager ? static_cast<std::int32_t>(DefaultManager->GlobalColor()) : fw::clBtnFace;
  return false;
}

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

void CopyBorderStrips(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                      int border) {
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

void CopyKeyedFromSource(fw::TBitmap* dest, fw::TBitmap* source, const RECT& destRect, int corner,
                         TsSkinTables* manager, int maskIndex, const RECT& sourceRect) {
  const PixelView to = ViewOf(dest);
  const PixelView from = ViewOf(source);
  if (to.Empty() || from.Empty()) return;
  const RECT d = Intersection(destRect, RECT{0, 0, to.width, to.height});
  const RECT s = Intersection(sourceRect, RECT{0, 0, from.width, from.height});
  // Parts cut off at the top-left of either rectangle shift the other one.
  const int skipX = std::max(d.left - destRect.left, s.left - sourceRect.left);
  const int skipY = std::max(d.top - destRect.top, s.top - sourceRect.top);
  const int width = std::min(d.right - destRect.left, s.right - sourceRect.left) - skipX;
  const int height = std::min(d.bottom - destRect.top, s.bottom - sourceRect.top) - skipY;
  if (width <= 0 || height <= 0) return;

  ByteView mask;
  int maskX = 0, maskY = 0;
  if (maskIndex != -1) {
    if (!manager || !manager->IsValidMask(maskIndex)) return;
    const TsMaskData& m = manager->Masks[static_cast<std::size_t>(maskIndex)];
    fw::TBitmap* image = m.OwnBitmap ? m.OwnBitmap.get() : manager->MasterBitmap.get();
    mask = BytesOf(image);
    if (mask.Empty()) return;
    // The test area is the overlap, aligned to the chosen corner of the
    // first state image.
    const int fullWidth = std::min(destRect.right - destRect.left, sourceRect.right - sourceRect.left);
    const int fullHeight = std::min(destRect.bottom - destRect.top, sourceRect.bottom - sourceRect.top);
    maskX = m.SrcLeft;
    maskY = m.SrcTop;
    if (corner == 14 || corner == 17) maskX += MaskStateWidth(m) - fullWidth;
    if (corner == 16 || corner == 17) maskY += MaskStateHeight(m) - fullHeight;
  }

  for (int j = 0; j < height; ++j) {
    const int dy = destRect.top + skipY + j;
    const int sy = sourceRect.top + skipY + j;
    std::uint32_t* destRow = to.Row(dy);
    const std::uint32_t* sourceRow = from.Row(sy);
    for (int i = 0; i < width; ++i) {
      const int dx = destRect.left + skipX + i;
      const int sx = sourceRect.left + skipX + i;
      bool take;
      if (mask.Empty()) {
        take = IsKey(destRow[dx]);
      } else {
        const int mx = maskX + skipX + i;
        const int my = maskY + skipY + j;
        if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
        const std::uint8_t* p = mask.Row(my) + static_cast<std::ptrdiff_t>(mx) * mask.bytesPerPixel;
        take = p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF;
      }
      if (take) destRow[dx] = sourceRow[sx];
    }
  }
}

void ApplyDisabledLook(fw::TBitmap* bitmap, TsDisabledKind kind, fw::TControl* control, POINT offset,
                       const ParentCache& parent) {
  const PixelView view = ViewOf(bitmap);
  if (view.Empty()) return;
  if (kind & dkGrayed) GrayBitmap(bitmap);
  if (!(kind & dkBlended)) return;
  if (parent.Ready && parent.Bitmap) {
    const int x = parent.X + offset.x;
    const int y = parent.Y + offset.y;
    const RECT under{x, y, x + view.width - 1, y + view.height - 1};
    BlendRectOnto(bitmap, 0, 0, kKeyColor, 0.4, under, parent.Bitmap);
    return;
  }
  fw::TColor color = parent.FillColor;
  if (color == kKeyColor) {
    if (!control || !control->Parent()) return;
    color = static_cast<fw::TColor>(ControlColor(control->Parent()));
    if (color == kKeyColor) return;
  }
  TintRect(bitmap, RECT{0, 0, view.width - 1, view.height - 1}, 50, color);
}

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

namespace {

bool PaintingChildren = false;

class ChildrenGuard {
 public:
  ChildrenGuard() { PaintingChildren = true; }
  ~ChildrenGuard() { PaintingChildren = false; }
  ChildrenGuard(const ChildrenGuard&) = delete;
  ChildrenGuard& operator=(const ChildrenGuard&) = delete;
};

bool Designing(const fw::TComponent* c) { return (c->ComponentState() & fw::csDesigning) != 0; }

bool Qualifies(HDC dc, fw::TControl* child) {
  if (!child->Visible() && !Designing(child)) return false;
  if (dynamic_cast<fw::TWinControl*>(child)) return false;
  if (child->Width() < 1 || child->Height() < 1 || child->Destroying()) return false;
  const RECT bounds = child->BoundsRect();
  return ::RectVisible(dc, &bounds) != FALSE;
}

// The background under one child in the container's picture.
void PutChildBackground(HDC picture, fw::TControl* child, const BackgroundRequest& background) {
  const RECT bounds = child->BoundsRect();
  if (child->ControlStyle() & fw::csOpaque) {
    fw::TColor color = SendSkinCommandTo(child, SKINCMD_IS_SKINNED) == 1
                           ? static_cast<fw::TColor>(SendSkinCommandTo(child, SKINCMD_GET_COLOR, 0xFF00FF))
                           : fw::ColorToRGB(child->Color());
    FillSolid(picture, bounds, color);
  } else if (background.Kind == bkBitmap && background.Bitmap) {
    HDC from = background.Bitmap->Canvas().Handle();
    ::BitBlt(picture, bounds.left, bounds.top, child->Width(), child->Height(), from,
             child->Left() + background.OffsetX, child->Top() + background.OffsetY, SRCCOPY);
  } else if (background.Kind == bkColor) {
    FillSolid(picture, bounds, background.Color);
  }
}

void PaintChild(HDC picture, fw::TControl* child, bool paintCopy) {
  fw::SaveDCGuard saved(picture);
  ::OffsetViewportOrgEx(picture, child->Left(), child->Top(), nullptr);
  ::IntersectClipRect(picture, 0, 0, child->Width(), child->Height());
  const fw::TControlState before = child->ControlState();
  if (paintCopy) child->SetControlState(before | fw::csPaintCopy);
  try {
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(picture), 0);
  } catch (...) {
    // A child that fails to paint leaves its background; the others still paint.
  }
  if (paintCopy) child->SetControlState(before);
}

}  // namespace

void PaintGraphicChildren(HDC dc, fw::TWinControl* container, POINT offset, bool visibleOnly) {
  if (PaintingChildren || !dc || !container) return;
  ChildrenGuard guard;
  if (visibleOnly && !container->Visible() && !Designing(container)) return;
  if (container->ControlCount() == 0) return;

  RECT clip{};
  const int clipKind = ::GetClipBox(dc, &clip);
  if (clipKind == NULLREGION || clipKind == ERROR || IsEmpty(clip)) {
    if (container->HandleAllocated()) SendSkinCommand(container->Handle(), SKINCMD_SET_PARTLY_OUTSIDE);
    return;
  }

  BackgroundRequest background;
  QueryParentBackground(background, static_cast<fw::TControl*>(container), false);

  auto* form = dynamic_cast<fw::TCustomForm*>(container);
  const bool mdiMain = form && form->FormStyle() == fw::fsMDIForm;
  const bool paintCopy = (container->ControlState() & fw::csPaintCopy) != 0;

  fw::WindowDC screen(nullptr);
  fw::UniqueDC pictureDC;
  fw::UniqueBitmap pictureBitmap;
  std::optional<fw::SelectGuard> selected;
  std::vector<fw::TControl*> painted;
  for (int i = 0; i < container->ControlCount(); ++i) {
    fw::TControl* child = container->Controls(i);
    if (!Qualifies(dc, child)) continue;
    if (mdiMain && child->Align() != fw::alNone) SendSkinCommandTo(child, SKINCMD_UPDATE_FRAME);
    if (!pictureDC) {
      pictureBitmap.Reset(::CreateCompatibleBitmap(screen.Get(), std::max(container->Width(), 1),
                                                   std::max(container->Height(), 1)));
      pictureDC.Reset(::CreateCompatibleDC(screen.Get()));
      if (!pictureBitmap || !pictureDC) return;
      selected.emplace(pictureDC.Get(), pictureBitmap.Get());
    }
    PutChildBackground(pictureDC.Get(), child, background);
    PaintChild(pictureDC.Get(), child, paintCopy);
    painted.push_back(child);
  }
  if (!pictureDC) return;
  for (fw::TControl* child : painted) {
    // A child that left its top-left pixel at the key colour shows nothing.
    if (::GetPixel(pictureDC.Get(), child->Left(), child->Top()) == 0x00FF00FF) continue;
    ::BitBlt(dc, child->Left() + offset.x, child->Top() + offset.y, child->Width(), child->Height(), pictureDC.Get(),
             child->Left(), child->Top(), SRCCOPY);
  }
}

}  // namespace translit
