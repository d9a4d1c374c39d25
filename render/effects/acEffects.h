// Switching the animation effects on: the skin manager and the per-control
// skin data reach them through slots of the skin layer, which this fills
// in. The program calls InstallEffects once at start-up (tests do the
// same), which also lets stored layouts create threaded timers;
// ShutdownEffects frees what the effects keep for the process.
#pragma once

namespace translit {

void InstallEffects();
// Empties the slots and frees the glows, the hide timer and the cover.
void ShutdownEffects();

}  // namespace translit
