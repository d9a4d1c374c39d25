// What the effects tests share: a message pump with a time limit, a
// recorder of the frames animations put on screen, and a loaded skin with
// sections for fades and glows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Threads.h"
#include "render/effects/acAnimState.h"
#include "render/effects/acEffects.h"
#include "skin/sSkinManager.h"
#include "tests/skin/LoadedSkin.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/GuiPump.h"
#include "tests/support/TempFolder.h"

namespace translit::test {

using testing_gui::PumpFor;
using testing_gui::PumpUntil;

// Every frame reported while it lives.
class FrameLog {
 public:
  FrameLog() {
    SetFrameObserver([this](const TacAnimFrame& f) {
      frames.push_back(f);
      if (onFrame) onFrame(f);
    });
  }
  ~FrameLog() { SetFrameObserver(nullptr); }
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  std::vector<TacAnimFrame> Of(TacFrameKind kind) const {
    std::vector<TacAnimFrame> out;
    for (const auto& f : frames)
      if (f.Kind == kind) out.push_back(f);
    return out;
  }
  std::vector<int> Alphas(TacFrameKind kind) const {
    std::vector<int> out;
    for (const auto& f : Of(kind)) out.push_back(f.Alpha);
    return out;
  }

  std::vector<TacAnimFrame> frames;
  std::function<void(const TacAnimFrame&)> onFrame;
};

// Sections: "BUTTON" fades in 5 steps and glows with a mask of margins 10
// (GLOW0); "PLAIN" has neither; "SLOW" fades in 4 steps.
inline const char* const kEffectsSkin =
    "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\n"
    "[BUTTON]\r\nCOLOR=0x0000FF\r\nSTATES=2\r\nHOTCOLOR=0x00FF00\r\nFADINGENABLED=1\r\nFADINGITERATIONS=5\r\n"
    "GLOW=1\r\nGLOWMARGIN=2\r\nGLOW0=^0000,0000,0030,0020,0010,0010,0010,0010,1,0,1,0\r\n"
    "[PLAIN]\r\nCOLOR=0xFFFFFF\r\nSTATES=2\r\n"
    "[SLOW]\r\nCOLOR=0xFFFFFF\r\nSTATES=2\r\nFADINGENABLED=1\r\nFADINGITERATIONS=4\r\n";

// A skin manager with kEffectsSkin loaded, and the effects switched on.
class EffectsSkin : public LoadedSkin {
 public:
  EffectsSkin() : LoadedSkin([](const std::string& dir) { WriteSkinFolder(dir, "E", kEffectsSkin); }, "E", true) {}
};

}  // namespace translit::test
