// Skin items.
#include "render/paint/SkinPaintItem.h"

#include "controls/protocol/sSkinState.h"
#include <algorithm>

#include "framework/Handles.h"
#include "render/pixels/AlphaKernels.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintGeometry.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "render/bitmaps/sGradient.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

using paint::Height;
using paint::LiesInside;
using paint::LimitState;
using paint::Width;

// What one state of a section paints with.
struct Layers {
  TColorValue color = 0;  // RGB
  int transparency = 0;
  int imagePercent = 0;
  int gradientPercent = 0;
  const TsGradArray* gradient = nullptr;  // null or empty: the plain colour
  const TsMaskData* textureMask = nullptr;
  fw::TBitmap* picture = nullptr;  // a large texture picture
};

Layers ChooseLayers(TsSkinManager& manager, int sectionIndex, const std::string& sectionName, fw::TColor override,
                    int hotTexture, int texture, int state) {
  const TsGeneralData& section = manager.Sections[static_cast<std::size_t>(sectionIndex)];
  Layers l;
  if (override != clSkinTransparent) {
    l.color = manager.ColorToRGB(override);
    return l;
  }
  const TsGenState& look = section.States[state > 0 ? 1 : 0];
  l.color = manager.ColorToRGB(look.Color);
  l.transparency = look.Transparency;
  if (l.transparency == 100) return l;
  l.imagePercent = look.ImagePercent;
  l.gradientPercent = look.GradientPercent;
  l.gradient = &look.GradientArray;
  if (l.imagePercent <= 0) return l;
  const char* prop = state == 0 ? "PATTERN" : "HOTPATTERN";
  int index = state > 0 ? hotTexture : texture;
  if (index == -1) {
    index = manager.TextureIndex(sectionIndex, sectionName, prop);
  } else if (manager.IsValidMask(index) && manager.Masks[static_cast<std::size_t>(index)].ExtraLayers != 0) {
    index = -1;  // a layered piece of the caller's is laid over the whole item later, not here
  }
  if (manager.IsValidMask(index)) {
    l.textureMask = &manager.Masks[static_cast<std::size_t>(index)];
  } else {
    const int pattern = manager.PatternIndex(sectionIndex, sectionName, prop);
    if (pattern >= 0 && pattern < static_cast<int>(manager.Patterns.size()))
      l.picture = manager.Patterns[static_cast<std::size_t>(pattern)].Image.get();
  }
  return l;
}

bool HasGradient(const Layers& l) { return l.gradient && !l.gradient->empty(); }

// A plain colour into r. The pixel fill serves 32-bit pictures only; any
// other picture is filled through its DC, so that painting never fails.
void FillColour(fw::TBitmap* target, const RECT& r, fw::TColor color) {
  if (target->PixelFormat() == fw::pf32bit) {
    FillBitmapRect(target, r, color);
  } else {
    FillSolid(target->Canvas().Handle(), r, color);
  }
}

void PaintGradientOrColor(fw::TBitmap* target, const RECT& r, const Layers& l) {
  if (HasGradient(l)) {
    PaintGradient(target, r, *l.gradient);
  } else {
    FillColour(target, r, l.color);
  }
}

std::uint8_t Share(int percent) { return static_cast<std::uint8_t>(std::clamp(percent * 255 / 100, 0, 255)); }

// Colour, gradient and texture of a look into r of target, in that order of
// priority: texture first, the gradient mixed over it, then the colour.
void PaintLayers(fw::TBitmap* target, const RECT& r, const Layers& l, const ParentCache& parent) {
  const int image = l.imagePercent, gradient = l.gradientPercent;
  const bool textureFound = l.picture || l.textureMask;
  if (image + gradient == 100 && image > 0 && image < 100 && l.textureMask && l.textureMask->FillMode == 0 &&
      HasGradient(l) && l.gradient->front().Mode < 2) {
    fw::TBitmap* picture = MaskImage(*l.textureMask);
    if (picture) {
      const TsMaskData& m = *l.textureMask;
      PaintGradientOnTexture(target, r, *l.gradient, Share(image), RECT{m.SrcLeft, m.SrcTop, m.SrcRight, m.SrcBottom},
                             picture);
      return;
    }
  }
  bool textureDrawn = false;
  if (image > 0) {
    RECT left = r;
    if (l.picture) {
      DrawTexture(target, left, l.picture, 0, nullptr);
      textureDrawn = true;
    } else if (l.textureMask && l.textureMask->ExtraLayers != 0) {
      DrawTextureFromMask(target, r, parent, l.textureMask->FillMode, *l.textureMask);
      left = RECT{-1, -1, -1, -1};
      textureDrawn = true;
    } else if (l.textureMask) {
      DrawTexture(target, left, nullptr, l.textureMask->FillMode, l.textureMask);
      textureDrawn = true;
    }
    if (!textureFound) left = r;
    if (left.left != -1) FillColour(target, left, l.color);
  }
  if (gradient > 0) {
    if (textureDrawn) {
      auto layer = NewBitmap32(Width(r), Height(r));
      PaintGradientOrColor(layer.get(), RECT{0, 0, Width(r), Height(r)}, l);
      MixBitmapsAt(target, layer.get(), Share(image), POINT{r.left, r.top}, RECT{0, 0, Width(r), Height(r)});
    } else {
      PaintGradientOrColor(target, r, l);
    }
  }
  if (image + gradient > 0 && image + gradient < 100) {
    // The tint's rectangle takes its right column and bottom row in.
    TintRect(target, RECT{r.left, r.top, r.right - 1, r.bottom - 1}, image + gradient, l.color);
  } else if (image + gradient == 0) {
    FillColour(target, r, l.color);
  }
}

// The parent's background into r: its bitmap where it answered with one,
// else its colour.
void CopyParentBackground(fw::TBitmap* bitmap, const RECT& r, const ParentCache& parent, POINT at) {
  if (parent.Ready && parent.Bitmap) {
    if (parent.Bitmap != bitmap)
      ::BitBlt(bitmap->Canvas().Handle(), r.left, r.top, Width(r), Height(r), parent.Bitmap->Canvas().Handle(), at.x,
               at.y, SRCCOPY);
  } else {
    FillColour(bitmap, r, parent.FillColor);
  }
}

void PaintBackground(int sectionIndex, const std::string& sectionName, ParentCache parent, fw::TColor override,
                     int hotTexture, int texture, TsSkinManager* manager, fw::TBitmap* bitmap, POINT offset,
                     const RECT& rect, int state, POINT part) {
  if (SkinLoadInProgress) return;
  if (!manager) manager = DefaultManager;
  if (!manager || !bitmap || !manager->IsValidSection(sectionIndex) || Width(rect) <= 0 || Height(rect) <= 0) return;
  const TsGeneralData& section = manager->Sections[static_cast<std::size_t>(sectionIndex)];
  state = LimitState(state, section.StateCount);
  const Layers l = ChooseLayers(*manager, sectionIndex, sectionName, override, hotTexture, texture, state);
  const RECT r = rect;
  const POINT at{parent.X + offset.x + part.x, parent.Y + offset.y + part.y};
  ParentCache shifted = parent;
  shifted.X = at.x;
  shifted.Y = at.y;
  const int t = l.transparency;
  const bool unknownParent = !parent.Ready && parent.FillColor == clSkinTransparent;
  const bool textured = l.imagePercent + l.gradientPercent > 0;
  if (unknownParent || t <= 0) {
    PaintLayers(bitmap, r, l, shifted);
  } else if (t >= 100) {
    CopyParentBackground(bitmap, r, parent, at);
  } else if (parent.Ready || textured) {
    auto layer = NewBitmap32(Width(r), Height(r));
    ParentCache layerParent = shifted;
    PaintLayers(layer.get(), RECT{0, 0, Width(r), Height(r)}, l, layerParent);
    CopyParentBackground(bitmap, r, parent, at);
    MixBitmapsAt(bitmap, layer.get(), Share(t), POINT{r.left, r.top}, RECT{0, 0, Width(r), Height(r)});
  } else {
    const std::uint32_t mixed =
        BlendColor(static_cast<std::uint32_t>(parent.FillColor), static_cast<std::uint32_t>(l.color), t / 100.0);
    FillColour(bitmap, r, static_cast<fw::TColor>(mixed & 0xFFFFFF));
  }
  // A layered texture of the normal state lies over everything.
  if (state == 0) {
    const int index = texture != -1 ? texture : hotTexture;
    if (manager->IsValidMask(index)) {
      const TsMaskData& m = manager->Masks[static_cast<std::size_t>(index)];
      if (m.ExtraLayers > 0 && m.FillMode == 10) DrawTextureFromMask(bitmap, r, shifted, 10, m);
    }
  }
}

}  // namespace

void PaintSkinBackground(int sectionIndex, const std::string& sectionName, ParentCache parent, fw::TColor colorOverride,
                         int hotTexture, int texture, TsSkinManager* manager, fw::TBitmap* bitmap, POINT offset,
                         const RECT& rect, int state) {
  PaintBackground(sectionIndex, sectionName, parent, colorOverride, hotTexture, texture, manager, bitmap, offset, rect,
                  state, POINT{0, 0});
}

void PaintSkinBackgroundPart(int sectionIndex, const std::string& sectionName, ParentCache parent,
                             fw::TColor colorOverride, int hotTexture, int texture, TsSkinManager* manager,
                             fw::TBitmap* bitmap, POINT offset, const RECT& rect, int state, POINT part) {
  if (!bitmap || !LiesInside(rect, bitmap)) return;
  PaintBackground(sectionIndex, sectionName, parent, colorOverride, hotTexture, texture, manager, bitmap, offset, rect,
                  state, part);
}

void DrawCornerImages(TsSkinManager& manager, const TsGeneralData& section, fw::TBitmap* bitmap, const RECT& rect,
                      int state) {
  if (SkinLoadInProgress) return;
  const ParentCache self = MakeParentCache(bitmap, 0, 0);
  const int corners[] = {section.CornerTL, section.CornerTR, section.CornerBL, section.CornerBR};
  for (int i = 0; i < 4; ++i) {
    if (!manager.IsValidMask(corners[i])) continue;
    const TsMaskData& m = manager.Masks[static_cast<std::size_t>(corners[i])];
    const bool right = i % 2 == 1, bottom = i >= 2;
    const POINT at{right ? rect.right - MaskStateWidth(m) : rect.left,
                   bottom ? rect.bottom - MaskStateHeight(m) : rect.top};
    DrawMaskImage(bitmap, at, state, self, m, mlNormal);
  }
}

void PaintSkinItem(int sectionIndex, const std::string& sectionName, ParentCache parent, int hotTexture, int texture,
                   TsSkinManager* manager, fw::TBitmap* bitmap, POINT offset, const RECT& rect, int state) {
  if (SkinLoadInProgress) return;
  if (!manager) manager = DefaultManager;
  if (!manager || !bitmap || Width(rect) <= 0 || Height(rect) <= 0 || !manager->IsValidSection(sectionIndex) ||
      !LiesInside(rect, bitmap))
    return;
  const TsGeneralData& section = manager->Sections[static_cast<std::size_t>(sectionIndex)];
  state = LimitState(state, section.StateCount);
  PaintSkinBackground(sectionIndex, sectionName, parent, clSkinTransparent, hotTexture, texture, manager, bitmap,
                      offset, rect, state);
  DrawCornerImages(*manager, section, bitmap, rect, state);
  parent.X += offset.x;
  parent.Y += offset.y;
  if (manager->IsValidMask(section.BorderIndex))
    PaintBorderMask(bitmap, rect, true, state, manager->Masks[static_cast<std::size_t>(section.BorderIndex)], parent);
}

void PaintSkinItemPart(int sectionIndex, const std::string& sectionName, ParentCache parent, int hotTexture,
                       int texture, int borderIndex, TsSkinManager* manager, fw::TBitmap* bitmap, POINT offset,
                       const RECT& rect, int state, POINT part) {
  if (SkinLoadInProgress) return;
  if (!manager) manager = DefaultManager;
  if (!manager || !bitmap || !LiesInside(rect, bitmap)) return;
  PaintBackground(sectionIndex, sectionName, parent, clSkinTransparent, hotTexture, texture, manager, bitmap, offset,
                  rect, state, part);
  if (!manager->IsValidMask(borderIndex) || !manager->IsValidSection(sectionIndex)) return;
  parent.X += part.x;
  parent.Y += part.y;
  const int limited = LimitState(state, manager->Sections[static_cast<std::size_t>(sectionIndex)].StateCount);
  PaintBorderMask(bitmap, rect, true, limited, manager->Masks[static_cast<std::size_t>(borderIndex)], parent);
}

void PaintSkinItemToDC(int sectionIndex, const std::string& sectionName, ParentCache parent, TsSkinManager* manager,
                       HDC dc, POINT offset, const RECT& rect, int state) {
  if (SkinLoadInProgress) return;
  if (Width(rect) <= 0 || Height(rect) <= 0 || rect.left < 0 || rect.top < 0) return;
  auto picture = NewBitmap32(Width(rect), Height(rect));
  PaintSkinItem(sectionIndex, sectionName, parent, -1, -1, manager, picture.get(), offset,
                RECT{0, 0, Width(rect), Height(rect)}, state);
  fw::SaveDCGuard saved(dc);
  ::BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

int PaintSectionByName(fw::TBitmap* bitmap, const std::string& name, const std::string& fallbackName, HDC parentDC,
                       fw::TColor fillColor, const RECT& rect, int state) {
  if (SkinLoadInProgress) return -1;
  TsSkinManager* manager = DefaultManager;
  if (!manager || !bitmap) return -1;
  std::string used = name;
  int index = manager->SectionIndex(name);
  if (index < 0) {
    used = fallbackName;
    index = manager->SectionIndex(fallbackName);
  }
  if (index < 0) return -1;
  ParentCache parent;
  if (parentDC) {
    ::BitBlt(bitmap->Canvas().Handle(), 0, 0, bitmap->Width(), bitmap->Height(), parentDC, rect.left, rect.top,
             SRCCOPY);
    parent = MakeParentCache(bitmap, 0, 0);
  } else {
    parent.FillColor = fillColor;
  }
  PaintSkinItem(index, used, parent, -1, -1, manager, bitmap, POINT{0, 0},
                RECT{0, 0, bitmap->Width(), bitmap->Height()}, state);
  return index;
}

}  // namespace translit
