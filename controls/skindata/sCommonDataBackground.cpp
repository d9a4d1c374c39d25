// The background protocol of a control's skin data: the parent background it
// paints on, its answer to a child's background request (its cache, a colour,
// or the request passed on to its own parent) and the copying of its cache to
// a DC around the child windows that paint themselves.
#include "controls/skindata/sCommonData.h"

#include <algorithm>

#include "controls/protocol/sVclUtils.h"
#include "framework/Colors.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinManager.h"

namespace translit {

ParentCache TsCommonData::ParentCacheOf(HWND window) const {
  if (!Skinned() || (OwnerControl ? !OwnerControl->Parent() : !(window && ::GetParent(window)))) {
    ParentCache none = EmptyParentCache();
    none.FillColor = static_cast<fw::TColor>(BackgroundColor(0, window));
    return none;
  }
  BackgroundRequest request;
  if (OwnerControl) {
    request.Rect = RECT{0, 0, OwnerControl->Width(), OwnerControl->Height()};
    QueryParentBackground(request, static_cast<fw::TControl*>(OwnerControl->Parent()), false);
    ParentCache cache = RequestToParentCache(request);
    cache.X += OwnerControl->Left();
    cache.Y += OwnerControl->Top();
    return cache;
  }
  RECT r{};
  ::GetWindowRect(window, &r);
  HWND parent = ::GetParent(window);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  request.Rect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
  QueryParentBackground(request, parent, false);
  ParentCache cache = RequestToParentCache(request);
  cache.X += r.left;
  cache.Y += r.top;
  return cache;
}

void TsCommonData::AnswerBackgroundRequest(BackgroundRequest& request, int state, HWND window) {
  if (!Skinned() || FCustomColor) {
    request.Kind = bkColor;
    request.Color = static_cast<std::int32_t>(OwnColor());
    return;
  }
  const TsGenState& look = Section()->States[state == 0 ? 0 : 1];
  const int t = look.Transparency, g = look.GradientPercent, i = look.ImagePercent;
  TsSkinManager* manager = SkinManager();
  if (t == 100) {
    if ((StateFlags & sfPlainBackground) || !CacheBmp || BGChanged) {
      // The parent's background shows through: ask it, in its coordinates.
      POINT position{0, 0};
      bool answeredBitmap = false;
      if (OwnerControl && OwnerControl->Parent()) {
        position = POINT{OwnerControl->Left(), OwnerControl->Top()};
        request.OffsetX += position.x;
        request.OffsetY += position.y;
        QueryParentBackground(request, static_cast<fw::TControl*>(OwnerControl->Parent()), request.DrawNow != 0);
        answeredBitmap = request.Kind == bkBitmap;
      } else if (!OwnerControl && window && ::GetParent(window)) {
        RECT r{};
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&r), 1);
        position = POINT{r.left, r.top};
        request.OffsetX += position.x;
        request.OffsetY += position.y;
        QueryParentBackground(request, ::GetParent(window), request.DrawNow != 0);
        answeredBitmap = request.Kind == bkBitmap;
      } else {
        request.Kind = bkColor;
        request.Color =
            DefaultManager ? static_cast<std::int32_t>(DefaultManager->GlobalColor()) : fw::ColorToRGB(fw::clBtnFace);
      }
      if (answeredBitmap) {
        request.OffsetX += position.x;
        request.OffsetY += position.y;
      }
      return;
    }
  } else if (t > 0 && t < 100) {
    if (!CacheBmp) {
      request.Kind = bkColor;
      request.Color = clSkinTransparent;
      return;
    }
  } else if (t == 0) {
    if (g <= 0 && i < 1) {
      request.Kind = bkColor;
      request.Bitmap = CacheBmp.get();
      request.Color = static_cast<std::int32_t>(BackgroundColor(state, window));
      if (request.DrawNow && request.DC) FillSolid(request.DC, request.Rect, request.Color);
      return;
    }
    request.Color = static_cast<std::int32_t>(manager->GlobalColor());
    if (!CacheBmp) {
      request.Kind = bkColor;
      request.Color = clSkinTransparent;
      return;
    }
  }
  if (!CacheBmp) {
    // A transparency outside 0..100 comes here too: with no cache there is
    // no bitmap to give, so the key colour, as for the looks above.
    request.Kind = bkColor;
    request.Color = clSkinTransparent;
    return;
  }
  request.Kind = bkBitmap;
  if (request.DrawNow && request.DC) {
    const RECT& r = request.Rect;
    ::BitBlt(request.DC, r.left, r.top, r.right - r.left, r.bottom - r.top, CacheBmp->Canvas().Handle(),
             r.left + request.OffsetX, r.top + request.OffsetY, SRCCOPY);
    return;
  }
  request.Bitmap = CacheBmp.get();
  request.OffsetX = 0;
  request.OffsetY = 0;
}

namespace {

struct ChildClip {
  HWND parent;
  HDC dc;
  TsSkinManager* manager;
};

// Leaves child out of dc's clip region: a skinned group box only by its
// caption and border strips, any other visible child whole.
void ExcludeChild(HDC dc, HWND child, POINT origin, TsSkinManager* manager) {
  if (!::IsWindowVisible(child)) return;
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  ::OffsetRect(&r, origin.x, origin.y);
  const int groupBox = manager ? manager->SectionIndex("GROUPBOX") : -1;
  std::int32_t childIndex = -1;
  if (groupBox >= 0 && AnswersSkinMessages(child) &&
      SendSkinCommand(child, SKINCMD_GET_SKIN_INDEX, reinterpret_cast<LPARAM>(&childIndex)) == 1 &&
      childIndex == groupBox) {
    const int mask = manager->MaskIndex(groupBox, "GROUPBOX", "BORDERSMASK");
    const int left = manager->IsValidMask(mask) ? manager->MaskMarginLeft(mask) : 0;
    const int right = manager->IsValidMask(mask) ? manager->MaskMarginRight(mask) : 0;
    const int bottom = manager->IsValidMask(mask) ? manager->MaskMarginBottom(mask) : 0;
    const int top = std::max(static_cast<int>(SendSkinCommand(child, SKINCMD_GET_CAPTION_HEIGHT)),
                             manager->IsValidMask(mask) ? manager->MaskMarginTop(mask) : 0);
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.top + top);
    ::ExcludeClipRect(dc, r.left, r.top + top, r.left + left, r.bottom);
    ::ExcludeClipRect(dc, r.right - right, r.top + top, r.right, r.bottom);
    ::ExcludeClipRect(dc, r.left + left, r.bottom - bottom, r.right - right, r.bottom);
    return;
  }
  ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

void TsCommonData::CopyCacheToDC(HDC dc, const RECT& rect, bool clip, HWND window) const {
  if (!dc || !CacheBmp || CacheBmp->Width() == 0 || CacheBmp->Height() == 0) return;
  fw::SaveDCGuard saved(dc);
  if (clip) {
    HWND self = OwnerHandle(window);
    if (self) {
      // Child windows in this window's coordinates; the client area may be
      // inset in the cache by a frame.
      POINT origin{0, 0};
      if (!OwnerControl || dynamic_cast<fw::TCustomForm*>(OwnerControl)) {
        RECT client = ClientRectInWindow(self);
        origin = POINT{client.left, client.top};
      }
      for (HWND child = ::GetWindow(self, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ExcludeChild(dc, child, origin, SkinManager());
    }
  }
  ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, CacheBmp->Canvas().Handle(),
           rect.left, rect.top, SRCCOPY);
}

}  // namespace translit
