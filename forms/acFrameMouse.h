// The mouse and the window menu on a skinned frame, apart from the title
// buttons' presses and releases: a click on the title icon opens the skinned
// system menu below it and a double click there closes the form; a double
// click on the title maximises or restores the form where it allows that
// and does nothing elsewhere; a right click on the title or the icon opens
// the skinned system menu at the cursor, Alt+Space below the icon, and the
// system's own window menu never shows; a maximised form is not dragged by
// its title; ResizeMode rmBorder moves and sizes by an outline; and the
// frame follows the window commands (minimise, maximise, restore, drag).
#pragma once

#include "framework/Messages.h"

namespace translit {

class TsSkinProvider;

// WM_NCLBUTTONDOWN and WM_NCLBUTTONDBLCLK off the title buttons,
// WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_SYSCOMMAND, the system's menu request
// and the outline operation's messages; true when the message is answered.
bool FrameMouseMessage(TsSkinProvider& provider, fw::TMessage& m);

}  // namespace translit
