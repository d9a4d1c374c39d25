// The disabled look of a finished picture.
#include "render/paint/SkinPaintDisabled.h"

#include "controls/protocol/sVclUtils.h"
#include "render/pixels/KeyColor.h"

namespace translit {

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
    BlendRectOnto(bitmap, 0, 0, clSkinTransparent, 0.4, under, parent.Bitmap);
    return;
  }
  fw::TColor color = parent.FillColor;
  if (color == clSkinTransparent) {
    if (!control || !control->Parent()) return;
    color = static_cast<fw::TColor>(ControlColor(control->Parent()));
    if (color == clSkinTransparent) return;
  }
  TintRect(bitmap, RECT{0, 0, view.width - 1, view.height - 1}, 50, color);
}

}  // namespace translit
