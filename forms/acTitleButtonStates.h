// The states of a form's title buttons under the mouse: one hot button at a
// time, a pressed button that acts when the mouse is released over it, and
// the repaint of a single button after a change, at once from the saved
// title strip or through its fade, with the glow of a hot button.
#pragma once

#include <windows.h>

namespace translit {

class TsSkinProvider;

// Makes the button with that hit code the hot one (0: none); the one hot
// before goes back to normal. repaint: draw both now.
void SetHotButton(TsSkinProvider& provider, int code, bool repaint);
// The mouse left the client area or the frame: the hot button is the one
// under the cursor now, none when the cursor is off the form's buttons.
// (Leaving the client area for the title reports a leave too, after the
// title's button may already have turned hot.)
void MouseLeft(TsSkinProvider& provider);
// The left button went down on a title button (screen point).
void PressButton(TsSkinProvider& provider, int code, POINT screen);
// The left button came up with the hit code of the release point (screen
// point): the pressed button acts when it is still the one under the
// mouse. False when the default handling should see the release.
bool ReleaseButton(TsSkinProvider& provider, int code, POINT screen);
// Draws one button after its state changed.
void RepaintTitleButton(TsSkinProvider& provider, int code);
// Fades and glows of every button stopped, their windows gone.
void DropTitleAnimations(TsSkinProvider& provider);
// Whether a message of the form moves, hides or closes it, so that the
// windows of fades and glows no longer lie over its buttons.
bool EndsTitleAnimations(UINT msg, WPARAM wParam);

}  // namespace translit
