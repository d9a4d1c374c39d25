// Title buttons of a skinned frame: images, predicates, widths, places, looks.
#include "forms/acCaptionButtons.h"

#include <algorithm>

#include "forms/acTitleButtonFade.h"
#include "forms/sSkinProvider.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr int kMissingWidth = 21;
// Room between the system buttons and the user's own.
constexpr int kUserButtonsGap = 8;

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

int UserButtonWidth(TsSkinProvider& p, TsSkinManager& manager, TsTitleButton& button) {
  const int skin = manager.IsValidMask(p.UserButtonMask) ? manager.MaskStateWidth(p.UserButtonMask) : kMissingWidth;
  return std::max(skin, button.Glyph().Width() + 2);
}

// The restore image: the skin's, else the form section's own.
int RestoreMask(TsSkinProvider& p, TsSkinManager& manager) {
  const int global = GlobalMask(manager, "BICONNORM");
  if (manager.IsValidMask(global)) return global;
  return manager.MaskIndex(p.SkinData().SkinIndex, p.SkinData().SkinSection(), "BICONNORM");
}

TsTitleButton* UserButtonOf(TsSkinProvider& p, int code) {
  const int index = code - kHitUserButton;
  if (index < 0 || index >= p.TitleButtons().Count()) return nullptr;
  return &p.TitleButtons().Items(index);
}

void DrawUserGlyph(TsTitleButton& user, const TacCaptionButton& button, int state, fw::TBitmap& target, POINT at) {
  fw::TBitmap& glyph = user.Glyph();
  if (glyph.Empty() || glyph.Width() <= 0 || glyph.Height() <= 0) return;
  const int shift = state == 2 ? 1 : 0;
  const int w = button.Bounds.right - button.Bounds.left, h = button.Bounds.bottom - button.Bounds.top;
  const int x = at.x + (w - glyph.Width()) / 2 + shift, y = at.y + (h - glyph.Height()) / 2 + shift;
  if (glyph.PixelFormat() == fw::pf32bit) {
    const RECT dest{x, y, x + glyph.Width(), y + glyph.Height()};
    ComposeAlpha(dest, RECT{0, 0, glyph.Width(), glyph.Height()}, &target, false, EmptyParentCache(), &glyph);
    return;
  }
  // The bottom left pixel's colour is the glyph's transparent colour.
  const COLORREF key = ::GetPixel(glyph.Canvas().Handle(), 0, glyph.Height() - 1);
  CopyOpaque(&target, &glyph, x, static_cast<fw::TColor>(key), y);
}

}  // namespace

TacCaptionButton::TacCaptionButton(int hitTestCode) : HitTestCode(hitTestCode) {}
TacCaptionButton::~TacCaptionButton() = default;

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

bool EnabledMax(TsSkinProvider& p) {
  fw::TCustomForm& f = *p.OwnerForm;
  if (!(f.BorderIcons() & fw::biMaximize)) return false;
  return f.FormStyle() == fw::fsMDIChild || (!::IsZoomed(f.Handle()) && LargeTitleStyle(f));
}

bool EnabledMin(TsSkinProvider& p) {
  return (p.OwnerForm->BorderIcons() & fw::biMinimize) && !::IsIconic(p.OwnerForm->Handle());
}

bool EnabledRestore(TsSkinProvider& p) {
  HWND window = p.OwnerForm->Handle();
  const bool normal = !::IsZoomed(window) && !::IsIconic(window);
  return ((p.OwnerForm->BorderIcons() & fw::biMaximize) && !normal) || ::IsIconic(window);
}

void ChooseButtonImages(TsSkinProvider& p) {
  TsSkinManager* manager = ManagerOf(p);
  TacCaptionButtons& b = p.CaptionButtons;
  // A skin without its global section leaves the images as they were.
  if (!manager || !manager->IsValidSection(manager->ConstIndexes.GlobalInfoIndex)) return;
  auto large = [&] {
    b.Minimize.GlyphMask = GlobalMask(*manager, "BICONMIN");
    b.Maximize.GlyphMask = GlobalMask(*manager, "BICONMAX");
    b.Help.GlyphMask = GlobalMask(*manager, "BICONHELP");
    b.Close.GlyphMask = GlobalMask(*manager, "BICONCLOSE");
    b.Minimize.LargeGlyphs = b.Maximize.LargeGlyphs = b.Close.LargeGlyphs = true;
  };
  if (LargeTitleStyle(*p.OwnerForm)) {
    large();
    b.Help.LargeGlyphs = false;
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
    if (!manager->IsValidMask(b.Close.GlyphMask)) {
      large();
      b.Help.LargeGlyphs = true;
    }
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
  if (users.Count() > 0) width += kUserButtonsGap;
  for (int i = 0; i < users.Count(); ++i) width += UserButtonWidth(p, *manager, users.Items(i)) + spacing;
  return width;
}

int ShownGlyphMask(TsSkinProvider& p, const TacCaptionButton& button) {
  TsSkinManager* manager = ManagerOf(p);
  if (!manager) return -1;
  HWND window = p.OwnerForm->Handle();
  if (&button == &p.CaptionButtons.Maximize) {
    if (::IsZoomed(window)) return RestoreMask(p, *manager);
    // Looked up at each paint: the image can differ from the chosen one.
    const int max = GlobalMask(*manager, "BICONMAX");
    return button.LargeGlyphs && manager->IsValidMask(max) ? max : button.GlyphMask;
  }
  if (&button == &p.CaptionButtons.Minimize && ::IsIconic(window)) return RestoreMask(p, *manager);
  return button.GlyphMask;
}

bool CaptionButtonEnabled(TsSkinProvider& p, const TacCaptionButton& button) {
  HWND window = p.OwnerForm->Handle();
  if (&button == &p.CaptionButtons.Maximize) {
    // A minimised form's maximise button looks as maximising allows.
    if (::IsZoomed(window)) return EnabledRestore(p);
    return EnabledMax(p);
  }
  if (&button == &p.CaptionButtons.Minimize) return ::IsIconic(window) ? EnabledRestore(p) : EnabledMin(p);
  if (TsTitleButton* user = UserButtonOf(p, button.HitTestCode)) return user->Enabled();
  return true;
}

void DrawCaptionButton(TsSkinProvider& p, const TacCaptionButton& button, int state, fw::TBitmap& target, POINT at) {
  TsSkinManager* manager = ManagerOf(p);
  if (!manager) return;
  const int w = button.Bounds.right - button.Bounds.left, h = button.Bounds.bottom - button.Bounds.top;
  if (w <= 0 || h <= 0) return;
  // The title behind the button, as it was before any button was drawn.
  if (fw::TBitmap* back = p.TitleBackBitmap.get(); back && back->Width() > 0 && p.SkinData().CacheBmp) {
    const int backLeft = p.SkinData().CacheBmp->Width() - back->Width() - 1;
    ::BitBlt(target.Canvas().Handle(), at.x, at.y, w, h, back->Canvas().Handle(), button.Bounds.left - backLeft,
             button.Bounds.top, SRCCOPY);
  }
  const bool enabled = CaptionButtonEnabled(p, button);
  const int mask = ShownGlyphMask(p, button);
  if (manager->IsValidMask(mask)) {
    const bool faded = state == 0 && (!p.FormIsActive || !enabled);
    const int shown = std::min(state, manager->Masks[static_cast<std::size_t>(mask)].StateCount - 1);
    DrawMaskImage(&target, at, std::max(shown, 0), MakeParentCache(&target, 0, 0),
                  manager->Masks[static_cast<std::size_t>(mask)], faded ? mlFaded : mlNormal);
  }
  if (TsTitleButton* user = UserButtonOf(p, button.HitTestCode)) DrawUserGlyph(*user, button, state, target, at);
}

void PaintTitleButtons(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache) {
  TsSkinManager* manager = ManagerOf(p);
  if (!manager || !manager->GlobalInfo || !HasFrame(*p.OwnerForm)) return;
  const TsSkinData& global = *manager->GlobalInfo;
  const int spacing = Spacing(p, *manager);
  const int h = CloseHeight(*manager, p.CaptionButtons.Close);
  const bool large = LargeTitleStyle(*p.OwnerForm);
  int x = m.FrameWidth - global.BiRight - m.FrameBorder;
  auto place = [&](TacCaptionButton& button, int width) {
    int top = (m.TopFrame + m.Caption - h) / 2;
    if (button.LargeGlyphs && global.BiVAlign == 1) {
      top = m.Maximised ? 3 : 0;
    } else if (large && h < 16) {
      top += 2;
    }
    button.Bounds = RECT{x - width, top, x, top + h};
    x -= width + spacing;
    // The frame shows the normal look under a running fade.
    const int state = button.Fade && button.Fade->Target() >= 0 ? 0 : button.State;
    DrawCaptionButton(p, button, state, cache, POINT{button.Bounds.left, top});
  };
  auto system = [&](TacCaptionButton& button, bool visible) {
    if (!visible) {
      button.Bounds = RECT{};
      return;
    }
    // A button without its image is not drawn but keeps its place.
    const int mask = ShownGlyphMask(p, button);
    place(button, manager->IsValidMask(mask) ? manager->MaskStateWidth(mask) : kMissingWidth);
  };
  TacCaptionButtons& b = p.CaptionButtons;
  system(b.Close, VisibleClose(p));
  system(b.Maximize, VisibleMax(p));
  system(b.Minimize, VisibleMin(p));
  system(b.Help, VisibleHelp(p));
  TsTitleButtons& users = p.TitleButtons();
  if (users.Count() > 0) x -= kUserButtonsGap;
  for (int i = 0; i < users.Count(); ++i) {
    TsTitleButton& user = users.Items(i);
    TacCaptionButton& button = user.CaptionButton();
    button.HitTestCode = kHitUserButton + i;
    if (!user.Visible()) {
      button.Bounds = RECT{};
      continue;
    }
    button.GlyphMask = user.UseSkinData() && manager->IsValidMask(p.UserButtonMask) ? p.UserButtonMask : -1;
    place(button, UserButtonWidth(p, *manager, user));
  }
}

TacCaptionButton* CaptionButtonByCode(TsSkinProvider& p, int code) {
  TacCaptionButtons& b = p.CaptionButtons;
  switch (code) {
    case kHitMinimize:
      return &b.Minimize;
    case kHitMaximize:
      return &b.Maximize;
    case kHitClose:
      return &b.Close;
    case kHitHelp:
      return &b.Help;
    default:
      break;
  }
  TsTitleButton* user = UserButtonOf(p, code);
  return user ? &user->CaptionButton() : nullptr;
}

int CaptionButtonAt(TsSkinProvider& p, POINT windowPoint) {
  for (const TacCaptionButton* button :
       {&p.CaptionButtons.Close, &p.CaptionButtons.Maximize, &p.CaptionButtons.Minimize, &p.CaptionButtons.Help})
    if (::PtInRect(&button->Bounds, windowPoint)) return button->HitTestCode;
  TsTitleButtons& users = p.TitleButtons();
  for (int i = 0; i < users.Count(); ++i) {
    TsTitleButton& user = users.Items(i);
    if (user.Visible() && user.Enabled() && ::PtInRect(&user.CaptionButton().Bounds, windowPoint))
      return kHitUserButton + i;
  }
  return 0;
}

}  // namespace translit
