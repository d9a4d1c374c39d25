// The program's own large and small icons, fetched once when the skin
// engine starts (from the shell, for the executable's file) and kept for
// the form frames until the engine shuts down.
#pragma once

#include <windows.h>

namespace translit {

// Fetches both icons of the running executable; icons already held stay.
void LoadProgramIcons();
// Gives both icons back.
void FreeProgramIcons();
// The large (system icon size) or small icon, or none when the shell gave
// none or the icons were given back.
HICON ProgramIcon(bool large);

}  // namespace translit
