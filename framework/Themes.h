// The platform's visual themes, where its theme library is present: the
// themed push button that owner-drawn buttons draw under their content.
#pragma once

#include <windows.h>

namespace fw {

// The looks of a themed push button.
enum TThemedButtonState { tbsNormal = 1, tbsHot = 2, tbsPressed = 3, tbsDisabled = 4, tbsDefaulted = 5 };

// Draws the themed push button in state over rect of dc, on the parent's
// themed background where the button's image lets it show, and sets content
// to the rectangle the caption and glyph go in. False, and nothing drawn,
// when visual themes are not in effect for the window (no theme library,
// themes off, or switched off for that window).
bool DrawThemedPushButton(HWND window, HDC dc, const RECT& rect, TThemedButtonState state, RECT& content);

}  // namespace fw
