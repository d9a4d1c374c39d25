// Hiding a form or dialog with an animation: its last picture fades out
// (or shrinks toward its middle, in aero mode) on a layered window at the
// top of everything, one frame every 12 ms on a threaded timer, while the
// program goes on. One hide runs at a time; a new one frees the window of
// the previous one.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Forms.h"
#include "skin/sSkinManagerOptions.h"

namespace translit {

class TacAnimationProvider;

// Plays picture on window and frees both at the end (at once when timeMs
// gives no frame).
void AnimateFormHide(std::unique_ptr<fw::TWinControl> window, std::unique_ptr<fw::TBitmap> picture, int timeMs,
                     TacAnimType mode, int startBlend);

// The hide of a form with a skinning component, with the FormHide settings
// of the default manager.
void AnimateProviderHide(fw::TCustomForm* form, TacAnimationProvider* provider);

// The hide of a dialog (dialogSkin: its automatic skinning, none for a
// dialog without), with the DialogHide settings.
void AnimateDialogHide(HWND dialog, TacAnimationProvider* dialogSkin);

// A hide is playing (its timer holds a window).
bool HideAnimationRunning();
// Frees the hide timer with whatever it holds (the program's end).
void FreeHideAnimation();

}  // namespace translit
