// What the Windows benchmarks that drive windows share: emptying the
// message queue between measured steps, the host's skin folder as Wine
// sees it, and rounds of paired steps (ours against the platform's).
#pragma once

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/render_bench.h"

namespace translit::bench {

// Handles every message waiting for this thread.
inline void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// A host folder on Wine's drive Z:, with a final backslash.
inline std::string WindowsPath(std::string unix) {
  for (char& c : unix)
    if (c == '/') c = '\\';
  return "Z:" + unix + "\\";
}

// Medians of paired steps over every round, in milliseconds.
struct PairedMedians {
  double oursMs = 0, referenceMs = 0;
  std::size_t count = 0;  // steps of each side
};

// rounds x perRound pairs of steps, ours then the reference's; each step
// returns its time in seconds, or a negative value when it failed. Each
// round's medians are printed. None when a step failed.
template <class Ours, class Reference>
std::optional<PairedMedians> PairedRounds(int rounds, int perRound, Ours ours, Reference reference) {
  std::vector<double> all, allReference;
  for (int r = 0; r < rounds; ++r) {
    std::vector<double> a, b;
    for (int i = 0; i < perRound; ++i) {
      const double s = ours(), p = reference();
      if (s < 0 || p < 0) return std::nullopt;
      a.push_back(s);
      b.push_back(p);
    }
    std::printf("round %d: median %.3f ms skinned, %.3f ms platform\n", r + 1, MedianOf(a) * 1000.0,
                MedianOf(b) * 1000.0);
    all.insert(all.end(), a.begin(), a.end());
    allReference.insert(allReference.end(), b.begin(), b.end());
  }
  return PairedMedians{MedianOf(all) * 1000.0, MedianOf(allReference) * 1000.0, all.size()};
}

}  // namespace translit::bench
