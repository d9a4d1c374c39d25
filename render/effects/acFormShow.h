// Showing a form or a dialog with an animation: a layered window over the
// form shows the form's picture fading in (or growing from its middle, in
// aero mode) in frames 12 ms apart, then the form takes its place. The form
// frames decide when this runs; the call returns when it is over.
#pragma once

#include <windows.h>

#include "framework/Forms.h"
#include "skin/sSkinManagerOptions.h"

namespace translit {

class TacAnimationProvider;

// The show animation of a form; provider is the form's skinning component,
// none for a form without one.
void AnimateFormShow(fw::TCustomForm* form, TacAnimationProvider* provider, int timeMs, int blendValue,
                     TacAnimType mode);

// The same for a dialog: dialogSkin is its automatic skinning, none for a
// dialog without one.
void AnimateDialogShow(HWND dialog, TacAnimationProvider* dialogSkin, int timeMs, int blendValue, TacAnimType mode);

}  // namespace translit
