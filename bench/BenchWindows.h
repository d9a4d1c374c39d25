// What the Windows benchmarks that drive windows share: emptying the
// message queue between measured steps, and the host's skin folder as Wine
// sees it.
#pragma once

#include <windows.h>

#include <string>

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

}  // namespace translit::bench
