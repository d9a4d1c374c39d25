// The windowless children of a container painted over its background.
#include "render/paint/SkinPaintChildren.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintGeometry.h"
#include "render/paint/SkinPaintParent.h"
#include "render/pixels/KeyColor.h"

namespace translit {

using paint::IsEmpty;

namespace {

bool PaintingChildren = false;

class ChildrenGuard {
 public:
  ChildrenGuard() { PaintingChildren = true; }
  ~ChildrenGuard() { PaintingChildren = false; }
  ChildrenGuard(const ChildrenGuard&) = delete;
  ChildrenGuard& operator=(const ChildrenGuard&) = delete;
};

bool Qualifies(HDC dc, fw::TControl* child) {
  if (!child->Visible() && !child->Designing()) return false;
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
                           ? static_cast<fw::TColor>(SendSkinCommandTo(child, SKINCMD_GET_COLOR, clSkinTransparent))
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
    // Reported like any other failure; the child leaves its background and
    // the others still paint.
    fw::HandleCurrentException();
  }
  if (paintCopy) child->SetControlState(before);
}

}  // namespace

void PaintGraphicChildren(HDC dc, fw::TWinControl* container, POINT offset, bool visibleOnly) {
  if (PaintingChildren || !dc || !container) return;
  ChildrenGuard guard;
  if (visibleOnly && !container->Visible() && !container->Designing()) return;
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
      pictureBitmap.Reset(
          ::CreateCompatibleBitmap(screen.Get(), std::max(container->Width(), 1), std::max(container->Height(), 1)));
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
    if (::GetPixel(pictureDC.Get(), child->Left(), child->Top()) == KeyPixel) continue;
    ::BitBlt(dc, child->Left() + offset.x, child->Top() + offset.y, child->Width(), child->Height(), pictureDC.Get(),
             child->Left(), child->Top(), SRCCOPY);
  }
}

}  // namespace translit
