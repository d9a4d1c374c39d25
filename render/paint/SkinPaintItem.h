// Skin items: a section's background (the parent's background, colour,
// gradient and texture with the section's transparency), its corner images
// and its border, painted into a 32-bit bitmap.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Graphics.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintTarget.h"

namespace translit {

class TsSkinManager;
struct TsGeneralData;

// The background layers of a section into rect. State 0 is normal, 1 hot,
// further states as the section allows; texture and hotTexture are piece
// indexes or -1 to look the section's "PATTERN" / "HOTPATTERN" up. offset
// places rect inside the control when it is painted in pieces. A null
// manager means the default manager. A colourOverride other than the key
// colour paints a flat colour instead of the section's layers.
void PaintSkinBackground(int sectionIndex, const std::string& sectionName, ParentCache parent, fw::TColor colorOverride,
                         int hotTexture, int texture, TsSkinManager* manager, fw::TBitmap* bitmap, POINT offset,
                         const RECT& rect, int state);
// The same into a picture whose view the caller took.
void PaintSkinBackground(int sectionIndex, const std::string& sectionName, const ParentCache& parent,
                         fw::TColor colorOverride, int hotTexture, int texture, TsSkinManager* manager,
                         const TacPaintTarget& target, POINT offset, const RECT& rect, int state);

// Background, corner images and border. Nothing for an empty rect or one
// that does not lie inside the bitmap.
void PaintSkinItem(int sectionIndex, const std::string& sectionName, ParentCache parent, int hotTexture, int texture,
                   TsSkinManager* manager, fw::TBitmap* bitmap, POINT offset, const RECT& rect, int state);

// The section's four corner images (those it has) in rect's corners, over
// what the bitmap already holds.
void DrawCornerImages(TsSkinManager& manager, const TsGeneralData& section, fw::TBitmap* bitmap, const RECT& rect,
                      int state);
void DrawCornerImages(TsSkinManager& manager, const TsGeneralData& section, const TacPaintTarget& target,
                      const RECT& rect, int state);

// The same for a part of a larger item at part inside it: the parent's
// background is read there.
void PaintSkinBackgroundPart(int sectionIndex, const std::string& sectionName, ParentCache parent,
                             fw::TColor colorOverride, int hotTexture, int texture, TsSkinManager* manager,
                             fw::TBitmap* bitmap, POINT offset, const RECT& rect, int state, POINT part);
void PaintSkinItemPart(int sectionIndex, const std::string& sectionName, ParentCache parent, int hotTexture,
                       int texture, int borderIndex, TsSkinManager* manager, fw::TBitmap* bitmap, POINT offset,
                       const RECT& rect, int state, POINT part);

// PaintSkinItem into a picture of rect's size, copied to dc at rect's
// top-left. Nothing for an empty rect or a negative left or top.
void PaintSkinItemToDC(int sectionIndex, const std::string& sectionName, ParentCache parent, TsSkinManager* manager,
                       HDC dc, POINT offset, const RECT& rect, int state);

// The section name (or fallbackName when name is no section) over the whole
// bitmap, on what parentDC shows at rect's top-left or, without parentDC, on
// fillColor. Answers the section's index, -1 when neither name is one.
int PaintSectionByName(fw::TBitmap* bitmap, const std::string& name, const std::string& fallbackName, HDC parentDC,
                       fw::TColor fillColor, const RECT& rect, int state);

}  // namespace translit
