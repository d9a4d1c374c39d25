// Window region of a skinned frame.
#include "forms/acFrameRegion.h"

#include "forms/sSkinProvider.h"
#include "framework/Handles.h"
#include "framework/core/FlagScope.h"
#include "render/paint/SkinPaintMasks.h"
#include "skin/sSkinManager.h"

namespace translit {

std::vector<RECT> CollectFrameRegionRects(TsSkinManager& manager, int formMask, int titleMask, int width, int height) {
  std::vector<RECT> rects;
  if (manager.IsValidMask(formMask)) {
    const TsMaskData& mask = manager.Masks[static_cast<std::size_t>(formMask)];
    CollectMaskRegionRects(rects, width, mask, false, 0);
    CollectMaskRegionRects(rects, width, mask, true, height - mask.MarginBottom);
  }
  if (manager.IsValidMask(titleMask))
    CollectMaskRegionRects(rects, width, manager.Masks[static_cast<std::size_t>(titleMask)], false, 0);
  return rects;
}

void UpdateFrameRegion(TsSkinProvider& p, const TacFrameMetrics& m) {
  p.RegionDirty = false;
  fw::FlagScope busy(p.RegionBusy);
  fw::TCustomForm& form = *p.OwnerForm;
  HWND window = form.Handle();
  TsSkinManager* manager = p.SkinData().SkinManager();
  if (!p.DrawNonClientArea() || !manager) return;
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE));
  // The region is set with a redraw only where nothing shows yet or the
  // whole window is redrawn anyway.
  const BOOL redraw = !::IsWindowVisible(window) || m.Maximised || form.Position() == fw::poDefault;
  p.RegionRects.clear();
  if ((!HasFrame(form) && !m.Minimised && !(style & WS_THICKFRAME)) || (style & WS_CHILD)) {
    ::SetWindowRgn(window, nullptr, redraw);
    return;
  }
  if (m.Maximised && form.FormStyle() != fw::fsMDIChild) {
    // The frame past the screen's edges is cut away.
    fw::UniqueRgn inner(
        ::CreateRectRgn(m.FrameBorder, m.TopFrame, m.FrameWidth - m.FrameBorder, m.Height - m.TopFrame));
    if (::SetWindowRgn(window, inner.Get(), redraw)) inner.Detach();
    return;
  }
  const int titleSection = p.TitleSkinIndex;
  const int titleMask = manager->IsValidSection(titleSection)
                            ? manager->Sections[static_cast<std::size_t>(titleSection)].BorderIndex
                            : -1;
  p.RegionRects = CollectFrameRegionRects(*manager, p.SkinData().BorderIndex, titleMask, m.FrameWidth, m.Height);
  if (p.RegionRects.empty()) {
    ::SetWindowRgn(window, nullptr, redraw);
    return;
  }
  fw::UniqueRgn region(::CreateRectRgn(0, 0, m.FrameWidth, m.Height));
  for (const RECT& r : p.RegionRects) {
    fw::UniqueRgn cut(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
    ::CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_DIFF);
  }
  // The window owns the region from here on.
  if (::SetWindowRgn(window, region.Get(), redraw)) region.Detach();
}

}  // namespace translit
