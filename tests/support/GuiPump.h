// The message loop of the GUI tests: handles messages, and the work worker
// threads hand over, until a condition holds or the time is up.
#pragma once

#include <windows.h>

#include <functional>

namespace testing_gui {

// False when the time ran out before done() said so.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);

}  // namespace testing_gui
