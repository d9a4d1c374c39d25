// System metrics that the platform works out afresh on every call. On Wine
// the caption and menu heights are measured from the non-client fonts each
// time (tens of microseconds a call), and a skinned frame asks for them at
// every paint of every child. They change only with the user's settings, so
// they are kept until a settings change says otherwise.
#pragma once

namespace fw {

// GetSystemMetrics(index), kept for SM_CYCAPTION, SM_CYSMCAPTION and
// SM_CYMENU; every other index is asked of the platform each time.
int SystemMetric(int index);

// Drops the kept values; the next call asks the platform again. Top-level
// forms call it when the settings change (WM_SETTINGCHANGE).
void ForgetSystemMetrics();

}  // namespace fw
