// Parent backgrounds: asking a control or a bare window for the background
// under a child, and the ParentCache made of the answer.
#include "render/paint/SkinPaintParent.h"

#include <cstdint>

#include "controls/protocol/sVclUtils.h"
#include "framework/Colors.h"
#include "framework/Handles.h"
#include "render/paint/SkinPaintFills.h"
#include "render/pixels/KeyColor.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

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

ParentCache MakeParentCache(fw::TBitmap* bitmap, int x, int y) { return {bitmap, x, y, clSkinTransparent, true}; }

ParentCache EmptyParentCache() { return {nullptr, 0, 0, 0, false}; }

ParentCache RequestToParentCache(const BackgroundRequest& request) {
  if (request.Kind == bkBitmap) {
    // A painter would read through a missing bitmap; treat it as no answer.
    if (!request.Bitmap) return {nullptr, request.OffsetX, request.OffsetY, clSkinTransparent, false};
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

}  // namespace translit
