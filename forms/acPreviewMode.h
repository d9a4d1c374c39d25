// Preview mode: a program started with "/acpreview" as its first argument
// shows skins a skin editor sends it. The main form registers itself with
// the editor (the top-level window titled "Skin Editor") when it is shown,
// and again once its window was made anew; the editor then sends skins by
// WM_COPYDATA, which the skin manager applies, and asks through the preview
// message to close the form or whether it is there. Only the registered
// form takes skins from another program, and only from that editor.
#pragma once

#include <windows.h>

#include "framework/Messages.h"

namespace translit {

class TsSkinProvider;

// The message of the preview protocol, and its WParam values.
constexpr UINT kPreviewMessage = 0xA400;
constexpr WPARAM kPreviewClose = 1, kPreviewRegister = 3, kPreviewPing = 4;
// Messages sent to the editor before registration gives up.
constexpr int kPreviewRegisterTries = 101;

// Whether the command line's first argument (after the program) is
// "/acpreview".
bool IsPreviewCommandLine(const wchar_t* commandLine);
// The program was started in preview mode (read from its command line once;
// a program or a test may decide otherwise).
bool PreviewRequested();
void SetPreviewRequested(bool requested);
// The form's window registered with the editor, or none.
HWND PreviewTarget();
void ForgetPreviewTarget();

// On show: the main form of a program in preview mode registers with the
// editor unless its window already has.
void RegisterForPreview(TsSkinProvider& provider);
// The preview message and WM_COPYDATA; true when answered.
bool PreviewMessage(TsSkinProvider& provider, fw::TMessage& m);

}  // namespace translit
