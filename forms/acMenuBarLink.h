// The skinned menus on a form's skinned frame: the frame's menu slots
// filled in. The frame draws the menu bar band into its picture and the
// menus draw the bar's items over it; a bar item redrawn alone (opened,
// hot) is drawn over the band the frame kept. The form's menus are made
// owner-drawn as its skin asks before the frame is painted, when an item is
// first measured and when its popup menu opens.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"
#include "framework/Menus.h"

namespace translit {

void InstallFrameMenuLink();
void UninstallFrameMenuLink();

// The band the form's frame drew behind a bar item at rect (window
// coordinates) and the item's place in it, or none.
fw::TBitmap* FrameMenuBand(const fw::TMenuItem& item, const RECT& rect, POINT& at);

}  // namespace translit
