// The extra line of popup menus: a band down the left side of a popup with
// a caption reading upwards and an optional glyph, asked of the skin
// manager once per popup with the popup's first item.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "skin/sSkinManager.h"

namespace translit {

// The first item's caption that keeps a popup without extra line (the
// skin selection menu).
inline constexpr const char* kSkinSelectItem = "SkinSelectItem";

// What the last asked popup's extra line shows (the defaults until asked).
TacExtraLineData& CurrentExtraLine();
// Asks the manager for the popup of firstItem; a popup whose first item is
// the skin selection item is not asked and shows no line. Answers whether
// the line is shown.
bool AskExtraLine(const TsSkinManager& manager, const fw::TMenuItem& firstItem);
// The width the extra line takes in a popup: none unless the manager's
// menu support uses the line and the popup shows it.
int ExtraLineWidth(const TsSkinManager& manager, bool lineShown);
// The band of the current extra line into picture at rect: its section,
// the glyph centred 12 pixels above the bottom, the caption reading
// upwards in the section's font colour.
void PaintExtraLine(TsSkinManager& manager, fw::TBitmap& picture, const RECT& rect);

}  // namespace translit
