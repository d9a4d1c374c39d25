// The skinned status bar.
#include "controls/sStatusBar.h"  // first: the platform headers rename RegisterClass for all that follows

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "controls/skindata/SkinControlText.h"
#include "controls/skindata/SkinPaintControl.h"
#include "framework/ClassRegistry.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintChildren.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// The part of the bar's width the platform's size grip takes.
constexpr int kGripWidth = 18;

}  // namespace

TsStatusBar::TsStatusBar(fw::TComponent* owner) : fw::TStatusBar(owner), FSkinData(this, true, kKindStatusBar) {
  FControlStyle |= fw::csAcceptsControls | fw::csOpaque;
  if (!Loading()) FSkinData.SkinChanged();
}

TsStatusBar::~TsStatusBar() { MarkDestroying(); }

void TsStatusBar::Loaded() {
  fw::TStatusBar::Loaded();
  FSkinData.SkinChanged();
  FSkinData.BGChanged = true;
}

void TsStatusBar::PanelTextChanged() {
  // The next paint rebuilds the picture; nothing else happens per text.
  FSkinData.BGChanged = true;
  fw::TStatusBar::PanelTextChanged();
}

bool TsStatusBar::SkinnedNow() { return FSkinData.Skinned() && CanPaint(this); }

bool TsStatusBar::LiesInsideParent() const {
  fw::TWinControl* parent = Parent();
  if (!parent) return false;
  // Both corners, the far one included, must be points of the client
  // rectangle, whose right and bottom edges lie outside it: a bar docked at
  // the bottom counts as partly outside and repaints its picture with
  // every paint.
  const RECT client = parent->ClientRect();
  const POINT nearCorner{Left(), Top()}, farCorner{Left() + Width(), Top() + Height()};
  return ::PtInRect(&client, nearCorner) && ::PtInRect(&client, farCorner);
}

// ---- Window procedure

void TsStatusBar::WndProc(fw::TMessage& m) {
  if (IsSkinMessage(m)) {
    if (!SkinMessage(m)) fw::TStatusBar::WndProc(m);
    return;
  }
  if (SkinnedNow() && SkinnedMessage(m)) return;
  fw::TStatusBar::WndProc(m);
}

bool TsStatusBar::SkinMessage(fw::TMessage& m) {
  const TacSkinMessage s = ReadSkinMessage(m);
  const bool own = s.LParam == reinterpret_cast<LPARAM>(FSkinData.SkinManager());
  switch (s.Command) {
    case SKINCMD_NEW_SKIN:
    case SKINCMD_REFRESH:
      if (!own) return FSkinData.CommonMessage(m);
      SendToChildControls(this, m);
      FSkinData.CommonMessage(m);
      if (s.Command == SKINCMD_REFRESH && HandleAllocated()) {
        FSkinData.RequestRepaint();
        ::SendMessageA(Handle(), WM_NCPAINT, 0, 0);
      }
      return true;
    case SKINCMD_REMOVE_SKIN:
      if (!own) return FSkinData.CommonMessage(m);
      FSkinData.CommonMessage(m);
      // The platform's window was never changed for the skin: repainting it
      // brings its own look back.
      if (HandleAllocated())
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
      SendToChildControls(this, m);
      return true;
    case SKINCMD_END_UPDATE_FRAME:
      if (FSkinData.Updating) {
        FSkinData.Updating = false;
        FSkinData.RequestRepaint();
        if (HandleAllocated()) ::SendMessageA(Handle(), WM_NCPAINT, 0, 0);
      }
      return true;
    default:
      return FSkinData.CommonMessage(m);
  }
}

bool TsStatusBar::SkinnedMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_MOVE: {
      const TsGeneralData* s = FSkinData.Section();
      if (s->States[0].Transparency >= 1 || s->States[1].Transparency >= 1) FSkinData.BGChanged = true;
      break;
    }
    case WM_PAINT:
      if (SkinChangeFreeze || SkinLoadInProgress) {
        if (!m.WParam) fw::PaintScope validate(Handle());
      } else {
        PaintBar(reinterpret_cast<HDC>(m.WParam));
        // The skinned picture is the whole paint: the platform's own
        // painting underneath it would only be covered again.
        RepaintDone();
      }
      m.Result = 0;
      return true;
    case WM_ERASEBKGND:
      // A picture still good is the background; a stale one is rebuilt by
      // the paint that follows.
      FSkinData.Updating = FSkinData.IsUpdating();
      if (!FSkinData.Updating && !FSkinData.BGChanged && m.WParam) CopyClient(reinterpret_cast<HDC>(m.WParam));
      return true;
    case WM_NCPAINT:
      if (Visible() || Designing()) OnNcPaint();
      return true;
    case WM_PRINT:
      if ((Visible() || Designing()) && m.WParam) OnPrint(reinterpret_cast<HDC>(m.WParam));
      return true;
    case WM_PRINTCLIENT:
      if (Visible() || Designing()) {
        FSkinData.Updating = FSkinData.IsUpdating();
        if (!FSkinData.Updating && m.WParam) PaintBar(reinterpret_cast<HDC>(m.WParam));
      }
      return true;
    case fw::CN_DRAWITEM:
      // Panels are part of the skinned picture.
      m.Result = TRUE;
      return true;
    default:
      break;
  }
  if (FSkinData.CommonMessage(m)) return true;
  fw::TStatusBar::WndProc(m);
  switch (m.Msg) {
    case WM_SIZE:
      if (BorderWidth() > 0 && HandleAllocated() && ::IsWindowVisible(Handle()))
        ::SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      break;
    case SB_SETTEXTA:
    case SB_SETTEXTW:
    case SB_SIMPLE:
    case SB_GETRECT:
    case SB_SETPARTS:
      FSkinData.BGChanged = true;
      break;
    default:
      break;
  }
  return true;
}

// ---- Painting

void TsStatusBar::PaintBarCache() {
  fw::TWinControl* parent = Parent();
  const bool parentSays =
      parent && parent->HandleAllocated() && SendSkinCommand(parent->Handle(), SKINCMD_IS_PARTLY_OUTSIDE) == 1;
  const bool need = FSkinData.BGChanged || FSkinData.PartlyOutside || parentSays;
  FSkinData.PartlyOutside = !LiesInsideParent();
  if (!need || FSkinData.ParentBgForced) return;
  RepaintCache();
}

void TsStatusBar::RepaintCache() {
  if (!FSkinData.Skinned()) return;
  const ParentCache parent = FSkinData.ParentCacheOf();
  FSkinData.SizeCache();
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  fw::TBitmap* cache = FSkinData.CacheBmp.get();
  PaintControlItem(FSkinData, parent, true, cache, POINT{0, 0}, RECT{0, 0, w, h}, 0);
  DrawPanels();
  if (SizeGrip()) DrawGrip();
  FillCornerHoles(FSkinData, 0);
  FSkinData.BGChanged = false;
}

void TsStatusBar::DrawPanels() {
  const int w = Width(), h = Height();
  const int usable = w - (SizeGrip() ? kGripWidth : 0);
  if (SimplePanel() || Panels().Count() == 0) {
    DrawSkinnedPanel(nullptr, RECT{0, 1, usable - 1, h - 1}, true, true);
    return;
  }
  int left = 0;
  for (int i = 0; i < Panels().Count(); ++i) {
    fw::TStatusPanel& panel = Panels()[i];
    const bool last = i == Panels().Count() - 1;
    const int right = last ? usable : left + panel.Width();
    RECT r{left, 0, right, h};
    ::InflateRect(&r, -1, -1);
    DrawSkinnedPanel(&panel, r, last, false);
    left += panel.Width();
  }
}

void TsStatusBar::DrawSkinnedPanel(fw::TStatusPanel* panel, const RECT& r, bool last, bool simple) {
  TsSkinManager* manager = FSkinData.SkinManager();
  fw::TBitmap* cache = FSkinData.CacheBmp.get();
  const int frame = manager->MaskIndex(FSkinData.SkinIndex, FSkinData.SkinSection(), "STATUSPANELMASK");
  if (manager->IsValidMask(frame)) {
    const RECT area = simple ? RECT{0, 0, Width(), Height()} : r;
    PaintBorderMask(cache, area, false, 0, manager->Masks[static_cast<std::size_t>(frame)], EmptyParentCache());
  } else if (!last) {
    DrawDivider(r);
  }
  fw::TCanvas& canvas = cache->Canvas();
  if (panel && panel->Style() == fw::psOwnerDraw) {
    if (OnDrawPanel) {
      HDC dc = canvas.Handle();
      fw::SaveDCGuard saved(dc);
      fw::CanvasScope scope(FCanvas, dc);
      OnDrawPanel(this, *panel, r);
    }
    return;
  }
  RECT text = r;
  ::InflateRect(&text, -1, -1);
  text.bottom -= 1;
  text.left += 2;
  text.right -= 4;
  // File names are shown as they are: an "&" in one is no accelerator.
  UINT flags = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
  const fw::TAlignment alignment = panel ? panel->Alignment() : fw::taLeftJustify;
  flags |= alignment == fw::taRightJustify ? DT_RIGHT : alignment == fw::taCenter ? DT_CENTER : DT_LEFT;
  if (UseRightToLeftReading()) flags |= DT_RIGHT;
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(fw::bsClear);
  WriteControlText(canvas, panel ? panel->Text() : SimpleText(), Enabled(), FSkinData.IsHot(), FSkinData, flags, text);
}

void TsStatusBar::DrawDivider(const RECT& r) {
  TsSkinManager* manager = FSkinData.SkinManager();
  const int section = manager->SectionIndex("DIVIDER");
  if (section < 0) return;
  const int border = manager->MaskIndex(section, "DIVIDER", "BORDERSMASK");
  if (!manager->IsValidMask(border)) return;
  const TsMaskData& mask = manager->Masks[static_cast<std::size_t>(border)];
  const int dw = std::max(2, mask.MarginLeft + mask.MarginRight), dh = Height() - 2;
  if (dh <= 0) return;
  fw::TBitmap* cache = FSkinData.CacheBmp.get();
  // Centred one pixel left of the panel's right edge, one pixel below the top.
  const int x = r.right - 1 - dw / 2, y = 1;
  auto divider = NewBitmap32(dw, dh);
  PaintSkinItem(section, "DIVIDER", MakeParentCache(cache, x, y), -1, -1, manager, divider.get(), POINT{0, 0},
                RECT{0, 0, dw, dh}, 0);
  ::BitBlt(cache->Canvas().Handle(), x, y, dw, dh, divider->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsStatusBar::DrawGrip() {
  TsSkinManager* manager = FSkinData.SkinManager();
  int grip = manager->MaskIndex(manager->ConstIndexes.GlobalInfoIndex, "GLOBALINFO", "GRIPIMAGE");
  if (!manager->IsValidMask(grip)) grip = manager->MaskIndex(FSkinData.SkinIndex, "FORM", "GRIPIMAGE");
  if (!manager->IsValidMask(grip)) return;
  const TsMaskData& mask = manager->Masks[static_cast<std::size_t>(grip)];
  fw::TBitmap* cache = FSkinData.CacheBmp.get();
  const POINT at{Width() - MaskStateWidth(mask) - BorderWidth(), Height() - MaskStateHeight(mask) - BorderWidth()};
  DrawMaskImage(cache, at, 0, MakeParentCache(cache, 0, 0), mask, mlNormal);
}

void TsStatusBar::PaintBar(HDC given) {
  std::optional<fw::PaintScope> scope;
  HDC dc = given;
  if (!dc) {
    scope.emplace(Handle());
    dc = scope->DC();
  }
  if (SkinLoadInProgress) return;
  FSkinData.Updating = FSkinData.IsUpdating();
  if (FSkinData.Updating) return;
  PaintBarCache();
  CopyClient(dc);
  EndChildUpdates(this);
  FSkinData.BGChanged = false;
}

void TsStatusBar::CopyClient(HDC dc) {
  const int border = BorderWidth();
  if (border == 0) {
    FSkinData.CopyCacheToDC(dc, RECT{0, 0, Width(), Height()}, true);
  } else {
    // The client shows the cache from the border's inner corner on.
    fw::SaveDCGuard saved(dc);
    ::OffsetViewportOrgEx(dc, -border, -border, nullptr);
    FSkinData.CopyCacheToDC(dc, RECT{border, border, Width(), Height()}, false);
  }
  PaintGraphicChildren(dc, this, POINT{0, 0}, true);
}

void TsStatusBar::CopyBorder(HDC dc) {
  fw::TBitmap* cache = FSkinData.CacheBmp.get();
  const int border = BorderWidth();
  if (border <= 0 || !cache || cache->Width() <= 0 || cache->Height() <= 0) return;
  CopyBorderStrips(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, border);
}

void TsStatusBar::OnNcPaint() {
  FSkinData.Updating = FSkinData.IsUpdating();
  if (SkinChangeFreeze || FSkinData.Updating) return;
  PaintBarCache();
  if (BorderWidth() <= 0) return;
  fw::WindowDC dc(Handle(), true);
  CopyBorder(dc.Get());
}

void TsStatusBar::OnPrint(HDC dc) {
  FSkinData.Updating = FSkinData.IsUpdating();
  if (FSkinData.Updating) return;
  PaintBarCache();
  CopyBorder(dc);
  const int border = BorderWidth();
  fw::SaveDCGuard saved(dc);
  ::OffsetViewportOrgEx(dc, border, border, nullptr);
  ::IntersectClipRect(dc, 0, 0, ClientWidth(), ClientHeight());
  PaintBar(dc);
}

void TsStatusBar::DrawPanel(fw::TStatusPanel& panel, HDC dc, const RECT& rect) {
  if (panel.Style() == fw::psOwnerDraw) {
    if (OnDrawPanel) {
      fw::CanvasScope scope(FCanvas, dc);
      OnDrawPanel(this, panel, rect);
    }
    return;
  }
  fw::TStatusBar::DrawPanel(panel, dc, rect);
}

// ---- Registration

void RegisterStatusBarClass() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterCommonDataClasses();
  fw::RegisterClass<TsStatusBar>("TsStatusBar", "TStatusBar").Object("SkinData", &TsStatusBar::SkinData);
}

}  // namespace translit
