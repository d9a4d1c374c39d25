// The frame cache of a skinned form.
#include "forms/acFrameCache.h"

#include <algorithm>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "controls/skindata/SkinPaintControl.h"
#include "forms/acCaptionButtons.h"
#include "forms/acFrameCaption.h"
#include "forms/acFrameIcon.h"
#include "forms/acFrameMenuHooks.h"
#include "forms/sSkinProvider.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

bool ShowsMenuBar(fw::TCustomForm& form, const TacFrameMetrics& m) {
  if (m.MenuBar <= 0 || m.MenuLines <= 0) return false;
  HMENU menu = ::GetMenu(form.Handle());
  return menu && ::GetMenuItemCount(menu) > 0;
}

void PaintBody(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache, int state) {
  TsCommonData& data = p.SkinData();
  const RECT whole{0, 0, m.FrameWidth, m.CacheHeight};
  if (data.StateFlags & sfPlainBackground) {
    // A plain colour all over, the border mask on it.
    FillBitmapRect(&cache, whole, static_cast<fw::TColor>(data.BackgroundColor(state)));
    TsSkinManager* manager = data.SkinManager();
    if (manager->IsValidMask(data.BorderIndex))
      PaintBorderMask(&cache, whole, false, state, manager->Masks[static_cast<std::size_t>(data.BorderIndex)],
                      EmptyParentCache());
    return;
  }
  PaintControlItem(data, EmptyParentCache(), false, &cache, POINT{0, 0}, whole, state);
}

// The skin's size grip in the client's bottom right corner, over the
// client background, for a sizeable form that is not maximised.
void PaintGrip(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(p.OwnerForm->Handle(), GWL_STYLE));
  if (p.GripMode() != gmRightBottom || m.Maximised || !(style & WS_THICKFRAME) ||
      (p.SkinData().StateFlags & sfPlainBackground))
    return;
  const int grip = manager->MaskIndex(manager->ConstIndexes.GlobalInfoIndex, "GLOBALINFO", "GRIPIMAGE");
  if (!manager->IsValidMask(grip)) return;
  const POINT at{m.FrameWidth - manager->MaskStateWidth(grip) - m.FrameBorder - 1,
                 m.CacheHeight - manager->MaskStateHeight(grip) - m.FrameBorder - 1};
  DrawMaskImage(&cache, at, 0, MakeParentCache(&cache, 0, 0), manager->Masks[static_cast<std::size_t>(grip)], mlNormal);
}

void PaintTitle(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache, int state) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  const RECT title{0, 0, m.FrameWidth, m.MinimisedNonMain ? m.CacheHeight : m.TitleBottom()};
  // Items drawn over the frame take what the cache holds under them as their
  // parent's background: the painters leave a parent that is the picture
  // itself in place.
  if (manager->IsValidSection(p.TitleSkinIndex))
    PaintSkinItem(p.TitleSkinIndex, p.TitleSection(), MakeParentCache(&cache, 0, 0), -1, -1, manager, &cache,
                  POINT{0, 0}, title, state);
  const int iconWidth = DrawTitleIcon(p, m, cache);
  if (VisibleClose(p) && manager->IsValidSection(p.TitleSkinIndex)) {
    // The plate behind the title buttons.
    const int bar = manager->MaskIndex(p.TitleSkinIndex, p.TitleSection(), "TITLEBAR");
    if (manager->IsValidMask(bar)) {
      const RECT plate{m.FrameWidth - (2 * manager->MaskStateWidth(bar) + p.ButtonsAreaWidth()), 0, m.FrameWidth,
                       m.TitleBottom()};
      PaintBorderMask(&cache, plate, true, state, manager->Masks[static_cast<std::size_t>(bar)],
                      MakeParentCache(&cache, 0, 0));
    }
  }
  DrawFrameCaption(p, m, cache, iconWidth);
}

void PaintMenuLine(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  fw::TCustomForm& form = *p.OwnerForm;
  if (!ShowsMenuBar(form, m) || !p.DrawNonClientArea() || !manager->SkinnedPopups()) return;
  int section = p.MenuLineSkin().empty() ? -1 : manager->SectionIndex(p.MenuLineSkin());
  std::string name = p.MenuLineSkin();
  if (!manager->IsValidSection(section)) {
    name = "MENULINE";
    section = manager->SectionIndex(name);
  }
  const RECT band{0, m.TitleBottom(), m.FrameWidth, m.TitleBottom() + m.MenuLines * m.MenuBar + 1};
  if (manager->IsValidSection(section))
    PaintSkinItem(section, name, MakeParentCache(&cache, band.left, band.top), -1, -1, manager, &cache, POINT{0, 0},
                  band, 0);
  // The band as it is before the items: the menus redraw single items on it.
  if (!p.MenuLineBitmap) p.MenuLineBitmap = NewBitmap32(0, 0);
  p.MenuLineBitmap->SetSize(band.right - band.left, band.bottom - band.top);
  ::BitBlt(p.MenuLineBitmap->Canvas().Handle(), 0, 0, band.right - band.left, band.bottom - band.top,
           cache.Canvas().Handle(), band.left, band.top, SRCCOPY);
  if (FrameMenuHooks().PaintMenuBar) FrameMenuHooks().PaintMenuBar(form, cache, band);
}

void SaveTitleBack(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache) {
  const int width = p.ButtonsAreaWidth() + m.FrameBorder + 10;
  const int height = m.TitleBottom() + m.FrameBorder + m.MenuBar;
  const int left = m.FrameWidth - width - 1;
  if (!p.TitleBackBitmap) p.TitleBackBitmap = NewBitmap32(0, 0);
  p.TitleBackBitmap->SetSize(std::max(width, 0), std::max(height, 0));
  ::BitBlt(p.TitleBackBitmap->Canvas().Handle(), 0, 0, width, height, cache.Canvas().Handle(), left, 0, SRCCOPY);
}

// What the form's own paint handler draws becomes part of the client
// background, so that every copy of the client shows it.
void PaintFormHandler(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache) {
  fw::TCustomForm& form = *p.OwnerForm;
  if (!form.OnPaint || (p.SkinData().StateFlags & sfPlainBackground) || m.Minimised) return;
  HDC dc = cache.Canvas().Handle();
  fw::SaveDCGuard saved(dc);
  ::SetWindowOrgEx(dc, -m.ClientOffsetX(), -m.ClientOffsetY(), nullptr);
  ::IntersectClipRect(dc, 0, 0, m.Client.right - m.Client.left, m.Client.bottom - m.Client.top);
  form.PaintHandlerInto(dc);
}

}  // namespace

void PaintFrameCache(TsSkinProvider& p, const TacFrameMetrics& m) {
  TsCommonData& data = p.SkinData();
  if (!data.Skinned() || m.FrameWidth <= 0 || m.CacheHeight <= 0) return;
  if (!data.CacheBmp) {
    data.CacheBmp = NewBitmap32(m.FrameWidth, m.CacheHeight);
    data.UpdatePlainFlag(false);
    fw::TMessage changed{SM_ALPHACMD, SkinWParam(SKINCMD_GET_FLAGS), 1, 0};
    SendToChildControls(p.OwnerForm, changed);
    data.BGChanged = true;
  }
  if (data.CacheBmp->Width() != m.FrameWidth || data.CacheBmp->Height() != m.CacheHeight) data.BGChanged = true;
  if (!data.BGChanged) return;
  p.RegionDirty = true;
  fw::TBitmap& cache = *data.CacheBmp;
  cache.SetSize(m.FrameWidth, m.CacheHeight);
  const int state = p.FrameState();
  PaintBody(p, m, cache, state);
  PaintGrip(p, m, cache);
  if (m.Caption > 0 && p.DrawNonClientArea()) {
    PaintTitle(p, m, cache, state);
    PaintMenuLine(p, m, cache);
    SaveTitleBack(p, m, cache);
    PaintTitleButtons(p, m, cache);
  } else {
    PaintMenuLine(p, m, cache);
  }
  PaintFormHandler(p, m, cache);
  p.MenuChanged = false;
  data.BGChanged = false;
  p.FirstPaintDone = true;
}

void CopyFrameStrips(HDC dc, fw::TBitmap& cache, const TacFrameMetrics& m) {
  HDC source = cache.Canvas().Handle();
  const RECT& c = m.Client;
  const int w = m.Width, h = m.Height;
  // Top, left, right, bottom; for a minimised form the top band is it all.
  ::BitBlt(dc, 0, 0, w, c.top, source, 0, 0, SRCCOPY);
  if (c.bottom > c.top) {
    ::BitBlt(dc, 0, c.top, c.left, c.bottom - c.top, source, 0, c.top, SRCCOPY);
    ::BitBlt(dc, c.right, c.top, w - c.right, c.bottom - c.top, source, c.right, c.top, SRCCOPY);
  }
  ::BitBlt(dc, 0, c.bottom, w, h - c.bottom, source, 0, c.bottom, SRCCOPY);
}

}  // namespace translit
