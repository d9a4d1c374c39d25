// Process-wide skin state that painting code everywhere consults: a skin is
// being loaded, or forms are frozen for a skin-change animation. Both are
// set and cleared by the skin manager on the user-interface thread.
#pragma once

namespace translit {

// True while a skin is being loaded. The skin's tables are half-built then
// (a box shown during the load lets paints through), so painting from the
// skin stands still: the painters and the fades do nothing, skinned
// controls leave the screen and their pictures as they are.
extern bool SkinLoadInProgress;
// True while forms are frozen for the skin-change animation; controls do
// not paint and child updates are not finished.
extern bool SkinChangeFreeze;

}  // namespace translit
