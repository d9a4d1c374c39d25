// Moving and sizing a skinned form by an outline (ResizeMode rmBorder): the
// press captures the mouse, every move inverts the outline of the new
// bounds on the screen (never smaller than the form's minimum tracking
// size), and the release removes the outline and moves and sizes the form
// once. One operation at a time for the process.
#pragma once

#include "framework/Messages.h"

namespace translit {

class TsSkinProvider;

// Starts a move (HTCAPTION) or a size (HTLEFT..HTBOTTOMRIGHT) from the
// cursor's place; false for any other code or while one runs.
bool StartRubberBand(TsSkinProvider& provider, int hitCode);
// WM_MOUSEMOVE, WM_LBUTTONUP and WM_CAPTURECHANGED of the form while an
// operation runs; true when the message is answered. A lost capture ends
// the operation without moving the form.
bool RubberBandMessage(TsSkinProvider& provider, fw::TMessage& m);
bool RubberBandRunning();

}  // namespace translit
