// Keeps the system's own caption off the screen of a skinned form. The
// default handling of an activation change, a caption change and an icon
// change paints the system's title straight into the window; here it runs
// while the window's visible style is taken away (which leaves every DC of
// the window without a visible area for the moment), and the skinned frame
// is painted from the cache right after.
#pragma once

#include "framework/Messages.h"

namespace translit {

class TsSkinProvider;

// WM_NCACTIVATE, WM_SETTEXT, WM_SETICON: the default handling unseen, the
// frame repainted after. The default's result stays the message's result.
void NcActivateCovered(TsSkinProvider& provider, fw::TMessage& m);
void SetTextCovered(TsSkinProvider& provider, fw::TMessage& m);
void SetIconCovered(TsSkinProvider& provider, fw::TMessage& m);

}  // namespace translit
