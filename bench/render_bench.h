// Timing of the pixel layer's benchmarks: ours and the reference alternate
// round by round on the same bytes, and the medians are compared.
#pragma once

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchArch.h"

namespace translit::bench {

struct Medians {
  double oursSeconds;
  double referenceSeconds;
};

inline double MedianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename Ours, typename Reference>
Medians Alternate(int rounds, Ours ours, Reference reference) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> a, b;
  auto time = [](auto&& f) {
    auto t0 = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - t0).count();
  };
  ours();
  reference();
  for (int i = 0; i < rounds; ++i) {
    // Who goes first alternates too, so neither always finds warm caches.
    if (i % 2 == 0) {
      a.push_back(time(ours));
      b.push_back(time(reference));
    } else {
      b.push_back(time(reference));
      a.push_back(time(ours));
    }
  }
  return {MedianOf(a), MedianOf(b)};
}

template <typename F>
double MedianSeconds(int rounds, F f) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> v;
  f();
  for (int i = 0; i < rounds; ++i) {
    auto t0 = Clock::now();
    f();
    v.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return MedianOf(v);
}

// A peer library runs natively only. Its native run prints the peer's median
// as a PEER line; bench/run hands it to the Windows run of the same benchmark
// in the same invocation as TRANSLIT_PEER_<NAME> (seconds), where our code is
// then measured under Wine against it.
inline void PrintPeer(const std::string& name, double seconds) { std::printf("PEER %s %.9f\n", name.c_str(), seconds); }

inline double HandedOverPeerSeconds(const std::string& name) {
  std::string variable = "TRANSLIT_PEER_" + name;
  for (auto& c : variable) c = c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const char* value = std::getenv(variable.c_str());
  return value ? std::atof(value) : 0.0;
}

// Prints what was measured, then the RESULT line (ratio of times).
inline void Report(const std::string& name, const std::string& what, const std::string& referenceName, double pixels,
                   Medians m, const std::string& target) {
  const double ours = pixels / m.oursSeconds / 1e6;
  const double ref = pixels / m.referenceSeconds / 1e6;
  std::printf("%s: ours %.1f Mpix/s (median %.3f ms), %s %.1f Mpix/s (median %.3f ms)\n", what.c_str(), ours,
              m.oursSeconds * 1e3, referenceName.c_str(), ref, m.referenceSeconds * 1e3);
  std::printf("RESULT %s ours=%.1fMpix/s reference=%.1fMpix/s ratio=%.2f target=%s%s\n", name.c_str(), ours, ref,
              m.oursSeconds / m.referenceSeconds, target.c_str(), translit::bench::kArchField);
  std::fflush(stdout);
}

// The Windows side of a peer benchmark: our median under Wine against the
// peer's native one, as RESULT <name>-wine.
inline void ReportAgainstHandedOverPeer(const std::string& name, const std::string& what, const std::string& peerName,
                                        double pixels, double oursSeconds, const std::string& target) {
  const double peer = HandedOverPeerSeconds(name);
  if (peer <= 0) {
    std::printf("%s: ours %.1f Mpix/s under Wine; no peer median handed over (bench/run %s runs both)\n", what.c_str(),
                pixels / oursSeconds / 1e6, name.c_str());
    return;
  }
  Report(name + "-wine", what + " under Wine", peerName + ", native", pixels, Medians{oursSeconds, peer}, target);
}

}  // namespace translit::bench
