#include "framework/SystemMetrics.h"

#include <windows.h>

#include <array>

namespace fw {

namespace {

constexpr std::array<int, 3> kKept{SM_CYCAPTION, SM_CYSMCAPTION, SM_CYMENU};
constexpr int kUnknown = -1;
// The user-interface thread asks; a settings change arrives on it too.
std::array<int, kKept.size()> kept{kUnknown, kUnknown, kUnknown};

}  // namespace

int SystemMetric(int index) {
  for (std::size_t i = 0; i < kKept.size(); ++i) {
    if (kKept[i] != index) continue;
    if (kept[i] == kUnknown) kept[i] = ::GetSystemMetrics(index);
    return kept[i];
  }
  return ::GetSystemMetrics(index);
}

void ForgetSystemMetrics() { kept.fill(kUnknown); }

}  // namespace fw
