// System title buttons of a skinned frame: images, widths, places, normal look.
#include "forms/acCaptionButtons.h"

#include <algorithm>

#include "forms/sSkinProvider.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr int kMissingWidth = 21;

TsSkinManager* ManagerOf(TsSkinProvider& p) { return p.SkinData().SkinManager(); }

int GlobalMask(TsSkinManager& manager, const char* name) {
  return manager.MaskIndex(manager.ConstIndexes.GlobalInfoIndex, "GLOBALINFO", name);
}

int Spacing(TsSkinProvider& p, TsSkinManager& manager) {
  return LargeTitleStyle(*p.OwnerForm) && manager.GlobalInfo ? manager.GlobalInfo->BiSpace : 0;
}

int CloseHeight(TsSkinManager& manager, const TacCaptionButton& close) {
  return manager.IsValidMask(close.GlyphMask) ? manager.MaskStateHeight(close.GlyphMask) : kMissingWidth;
}

}  // namespace

bool LargeTitleStyle(fw::TCustomForm& form) {
  return form.BorderStyle() == fw::bsSingle || form.BorderStyle() == fw::bsSizeable;
}

bool VisibleClose(const TsSkinProvider& provider) { return provider.HadSysMenuStyle; }

bool VisibleMax(TsSkinProvider& p) {
  fw::TCustomForm& f = *p.OwnerForm;
  return VisibleClose(p) && (::IsIconic(f.Handle()) || f.FormStyle() == fw::fsMDIChild ||
                             (LargeTitleStyle(f) && (f.BorderIcons() & fw::biMaximize)));
}

bool VisibleMin(TsSkinProvider& p) {
  fw::TCustomForm& f = *p.OwnerForm;
  return VisibleClose(p) && (::IsIconic(f.Handle()) || f.FormStyle() == fw::fsMDIChild ||
                             (LargeTitleStyle(f) && (f.BorderIcons() & fw::biMinimize)));
}

bool VisibleHelp(TsSkinProvider& p) { return VisibleClose(p) && (p.OwnerForm->BorderIcons() & fw::biHelp); }

void ChooseButtonImages(TsSkinProvider& p) {
  TsSkinManager* manager = ManagerOf(p);
  TacCaptionButtons& b = p.CaptionButtons;
  if (!manager || !manager->IsValidSection(manager->ConstIndexes.GlobalInfoIndex)) {
    b.Minimize.GlyphMask = b.Maximize.GlyphMask = b.Close.GlyphMask = b.Help.GlyphMask = -1;
    return;
  }
  auto large = [&] {
    b.Minimize.GlyphMask = GlobalMask(*manager, "BICONMIN");
    b.Maximize.GlyphMask = GlobalMask(*manager, "BICONMAX");
    b.Help.GlyphMask = GlobalMask(*manager, "BICONHELP");
    b.Close.GlyphMask = GlobalMask(*manager, "BICONCLOSE");
    b.Minimize.LargeGlyphs = b.Maximize.LargeGlyphs = b.Close.LargeGlyphs = true;
    b.Help.LargeGlyphs = false;
  };
  if (LargeTitleStyle(*p.OwnerForm)) {
    large();
    const int alone = GlobalMask(*manager, "BICLOSEALONE");
    if (!VisibleMax(p) && !VisibleMin(p) && manager->IsValidMask(alone)) b.Close.GlyphMask = alone;
  } else {
    b.Close.GlyphMask = GlobalMask(*manager, "SICONCLOSE");
    b.Minimize.GlyphMask = GlobalMask(*manager, "SICONMIN");
    b.Maximize.GlyphMask = GlobalMask(*manager, "SICONMAX");
    b.Help.GlyphMask = GlobalMask(*manager, "SICONHELP");
    if (!manager->IsValidMask(b.Help.GlyphMask)) b.Help.GlyphMask = GlobalMask(*manager, "BICONHELP");
    b.Minimize.LargeGlyphs = b.Maximize.LargeGlyphs = b.Close.LargeGlyphs = b.Help.LargeGlyphs = false;
    // A skin without the small set draws every form with the large one.
    if (!manager->IsValidMask(b.Close.GlyphMask)) large();
  }
  p.UserButtonMask = GlobalMask(*manager, "TITLEBUTTON");
}

int CaptionButtonWidth(TsSkinManager& manager, const TacCaptionButton& button) {
  return manager.IsValidMask(button.GlyphMask) ? manager.MaskStateWidth(button.GlyphMask) : kMissingWidth;
}

int ButtonsAreaWidth(TsSkinProvider& p) {
  TsSkinManager* manager = ManagerOf(p);
  if (!manager || !manager->GlobalInfo) return 0;
  const int spacing = Spacing(p, *manager);
  int width = manager->GlobalInfo->BiRight;
  const TacCaptionButtons& b = p.CaptionButtons;
  if (VisibleClose(p)) {
    width += CaptionButtonWidth(*manager, b.Close);
    if (VisibleMax(p)) width += CaptionButtonWidth(*manager, b.Maximize) + spacing;
    if (VisibleMin(p)) width += CaptionButtonWidth(*manager, b.Minimize) + spacing;
    if (VisibleHelp(p)) width += CaptionButtonWidth(*manager, b.Help) + spacing;
  }
  TsTitleButtons& users = p.TitleButtons();
  if (users.Count() > 0) width += 8;
  for (int i = 0; i < users.Count(); ++i) {
    int w = kMissingWidth;
    if (manager->IsValidMask(p.UserButtonMask)) w = manager->MaskStateWidth(p.UserButtonMask);
    w = std::max(w, users.Items(i).Glyph.Width() + 2);
    width += w + spacing;
  }
  return width;
}

void PaintTitleButtons(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache) {
  TsSkinManager* manager = ManagerOf(p);
  if (!manager || !manager->GlobalInfo || !HasFrame(*p.OwnerForm)) return;
  const TsSkinData& global = *manager->GlobalInfo;
  const int spacing = Spacing(p, *manager);
  const int h = CloseHeight(*manager, p.CaptionButtons.Close);
  int x = m.FrameWidth - global.BiRight - m.FrameBorder;
  const ParentCache parent = MakeParentCache(&cache, 0, 0);
  auto place = [&](TacCaptionButton& button, bool visible, bool enabled) {
    if (!visible) {
      button.Bounds = RECT{};
      return;
    }
    const int w = CaptionButtonWidth(*manager, button);
    int top = (m.TopFrame + m.Caption - h) / 2;
    if (button.LargeGlyphs && global.BiVAlign == 1) {
      top = m.Maximised ? 3 : 0;
    } else if (LargeTitleStyle(*p.OwnerForm) && h < 16) {
      top += 2;
    }
    button.Bounds = RECT{x - w, top, x, top + h};
    x -= w + spacing;
    if (!manager->IsValidMask(button.GlyphMask)) return;
    const bool faded = button.State == 0 && (!p.FormIsActive || !enabled);
    DrawMaskImage(&cache, POINT{button.Bounds.left, top}, button.State, parent,
                  manager->Masks[static_cast<std::size_t>(button.GlyphMask)], faded ? mlFaded : mlNormal);
  };
  fw::TCustomForm& f = *p.OwnerForm;
  TacCaptionButtons& b = p.CaptionButtons;
  const bool maximised = ::IsZoomed(f.Handle()) != 0, minimised = ::IsIconic(f.Handle()) != 0;
  place(b.Close, VisibleClose(p), true);
  place(b.Maximize, VisibleMax(p), (f.BorderIcons() & fw::biMaximize) && !maximised && LargeTitleStyle(f));
  place(b.Minimize, VisibleMin(p), (f.BorderIcons() & fw::biMinimize) && !minimised);
  place(b.Help, VisibleHelp(p), true);
}

int CaptionButtonAt(TsSkinProvider& p, POINT windowPoint) {
  for (const TacCaptionButton* button :
       {&p.CaptionButtons.Close, &p.CaptionButtons.Maximize, &p.CaptionButtons.Minimize, &p.CaptionButtons.Help})
    if (::PtInRect(&button->Bounds, windowPoint)) return button->HitTestCode;
  return 0;
}

}  // namespace translit
