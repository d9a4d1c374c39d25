// Re-skinning a form with an animation. With layered windows the new look
// fades in on a layered window over the form, which keeps showing its old
// look until the end; without them a still cover (a snapshot of the screen)
// is laid over the form and the old picture is cross-faded into the new one
// on it. The skin manager prepares the forms before it announces a new skin
// and runs this for each after.
#pragma once

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "skin/sSkinManagerOptions.h"

namespace translit {

// The re-skinning animation of a form (or any windowed control, which takes
// the cover path).
void AnimateSkinChange(fw::TWinControl* form, int timeMs, int blendValue, TacAnimType mode);

// Lays the still cover over the form: a snapshot of the screen under it on
// a window that paints nothing. Each form has a cover of its own.
void CoverWithSnapshot(fw::TWinControl* form);
// A cover of some form is in place.
bool CoverInPlace();
// The form's cover is in place.
bool CoverInPlace(fw::TWinControl* form);
// Frees every cover window and snapshot.
void FreeCover();

// Before a skin change: keeps the form's old look on screen until its
// animation (the provider takes its picture, or the still cover is laid)
// and stops it drawing.
void PrepareSkinChange(fw::TCustomForm* form);

}  // namespace translit
