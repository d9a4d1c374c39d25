// The client background of a skinned form: the part of the frame cache at
// the client's place, or one colour when the skin data says the background
// is plain; the form's graphic controls are painted over it. Also the
// picture of the whole form that WM_PRINT asks for.
#pragma once

#include "framework/Messages.h"

namespace translit {

class TsSkinProvider;

// The messages answered here; false hands the message on.
bool EraseClient(TsSkinProvider& provider, fw::TMessage& m);
bool PaintClient(TsSkinProvider& provider, fw::TMessage& m);
bool PrintForm(TsSkinProvider& provider, fw::TMessage& m);

}  // namespace translit
