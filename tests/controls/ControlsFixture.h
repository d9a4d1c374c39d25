// What the tests of the skinned controls share: small skins whose pieces
// show where each pixel came from, real mouse and keyboard input, a message
// pump with a time limit, and reading what the screen shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/Threads.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acEffects.h"
#include "skin/sSkinManager.h"
#include "tests/skin/LoadedSkin.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/GuiPump.h"
#include "tests/support/PicturePixels.h"
#include "tests/support/RealInput.h"
#include "tests/support/TempFolder.h"

namespace translit::test {

// Colours as 0xRRGGBB (what GetPixel answers, with red and blue swapped).
// The button image has four states of 12 x 12 pixels with 4-pixel margins,
// each framed in its own colour; the outermost corner pixels (x + y < 2 from
// each corner) are the transparent key.
constexpr std::uint32_t kEdge[4] = {0xC00000, 0x00C000, 0x0000C0, 0xC0C000};
constexpr int kButtonCell = 12;
constexpr int kButtonMargin = 4;
// The status panel image: 6 x 6, a 2-pixel frame.
constexpr std::uint32_t kPanelFrame = 0x204080;
// The divider: 6 x 12 of one colour, 3-pixel side bands.
constexpr std::uint32_t kDividerBand = 0x008080;
// The size grip: 8 x 8, a triangle at the bottom right (x + y >= 7).
constexpr std::uint32_t kGrip = 0x00FFFF;
// Section colours (the skin writes them BGR; these are what shows).
constexpr std::uint32_t kButtonColor = 0xDDDDDD;
constexpr std::uint32_t kButtonHotColor = 0xEEEEEE;
constexpr std::uint32_t kBarColor = 0xCCCCCC;
constexpr std::uint32_t kBarText = 0xFF0000;

constexpr std::uint32_t kKeyPixel = 0xFF00FF;

inline std::uint32_t MasterPixel(int x, int y) {
  if (x < 4 * kButtonCell && y < kButtonCell) {
    const int state = x / kButtonCell, cx = x % kButtonCell, cy = y;
    const bool bandX = cx < kButtonMargin || cx >= kButtonCell - kButtonMargin;
    const bool bandY = cy < kButtonMargin || cy >= kButtonCell - kButtonMargin;
    if (bandX && bandY) {
      const int dx = cx < kButtonMargin ? cx : kButtonCell - 1 - cx;
      const int dy = cy < kButtonMargin ? cy : kButtonCell - 1 - cy;
      if (dx + dy < 2) return kKeyPixel;
    }
    return bandX || bandY ? kEdge[state] : 0x808080;
  }
  if (x >= 48 && x < 54 && y < 6) {
    const int cx = x - 48;
    return cx < 2 || cx >= 4 || y < 2 || y >= 4 ? kPanelFrame : 0xFFFFFF;
  }
  if (x >= 60 && x < 68 && y < 8) return (x - 60) + y >= 7 ? kGrip : kKeyPixel;
  if (x >= 70 && x < 76 && y < 12) return kDividerBand;
  return 0x336699;
}

// "T": the button and the bar framed panels. "D": panels divided by the
// section "DIVIDER". "ONE": a button section of one state. "A": the button
// image has a mask layer instead of key pixels. "G": the button glows under
// the mouse.
inline std::string SkinOptions(const std::string& kind) {
  std::string text =
      "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\n"
      "GRIPIMAGE=^0060,0000,0068,0008,0000,0000,0000,0000,1,0,0,0\r\n"
      "[BUTTON]\r\nCOLOR=0xDDDDDD\r\nHOTCOLOR=0xEEEEEE\r\nFONTCOLOR=0x000000\r\nHOTFONTCOLOR=0x000000\r\n"
      "SHOWFOCUS=1\r\nFADINGENABLED=1\r\nFADINGITERATIONS=5\r\n"
      "BORDERSMASK=^0000,0000,0048,0012,0004,0004,0004,0004,4,0,0,0\r\n";
  text += kind == "ONE" ? "STATES=1\r\n" : "STATES=4\r\n";
  if (kind == "G") text += "GLOW=1\r\nGLOWMARGIN=2\r\nGLOW0=^0000,0000,0030,0012,0010,0004,0010,0004,1,0,1,0\r\n";
  // Colours in the options are BGR.
  text += "[STATUSBAR]\r\nCOLOR=0xCCCCCC\r\nFONTCOLOR=0x0000FF\r\n";
  if (kind == "D")
    text += "[DIVIDER]\r\nCOLOR=0x404040\r\nBORDERSMASK=^0070,0000,0076,0012,0003,0002,0003,0002,1,0,0,0\r\n";
  else
    text += "STATUSPANELMASK=^0048,0000,0054,0006,0002,0002,0002,0002,1,0,0,0\r\n";
  return text;
}

// The button image of the skin "A": the same four framed states as the
// master bitmap's, with a mask layer below instead of key pixels: the
// corners' outermost pixels are wholly see-through (white), the frame
// opaque (black), the middle see-through.
inline std::uint32_t LayeredButtonPixel(int x, int y) {
  const bool maskLayer = y >= kButtonCell;
  const int cy = y % kButtonCell, cx = x % kButtonCell;
  const std::uint32_t image = MasterPixel(x, cy);
  if (!maskLayer) return image == kKeyPixel ? 0x808080 : image;
  const bool bandX = cx < kButtonMargin || cx >= kButtonCell - kButtonMargin;
  const bool bandY = cy < kButtonMargin || cy >= kButtonCell - kButtonMargin;
  return image == kKeyPixel || !(bandX || bandY) ? 0xFFFFFF : 0x000000;
}

inline void WriteControlsSkin(const std::string& dir, const std::string& name, const std::string& kind) {
  const std::string folder = dir + name + "\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  std::string options = SkinOptions(kind);
  if (kind == "A") {
    const std::string keyed = "BORDERSMASK=^0000,0000,0048,0012,0004,0004,0004,0004,4,0,0,0";
    options.replace(options.find(keyed), keyed.size(), "BORDERSMASK=!BUTTON.PNG!4!1!0!4!4!4!4!0");
    WriteBytes(folder + "Button.png", MakePng(4 * kButtonCell, 2 * kButtonCell, false,
                                              [](int x, int y) { return 0xFF000000u | LayeredButtonPixel(x, y); }));
  }
  WriteText(folder + "Options.dat", options);
  WriteBytes(folder + "Master.bmp", MakeBmp(96, 16, 24, [](int x, int y) { return 0xFF000000u | MasterPixel(x, y); }));
}

// The skin "T" made for a newer engine, so that its load shows the warning
// box, with the button's colour changed to kNewerButtonColor: "NEWER".
constexpr std::uint32_t kNewerButtonColor = 0x778899;
inline void WriteNewerSkin(const std::string& dir) {
  WriteControlsSkin(dir, "NEWER", "T");
  std::string options = SkinOptions("T");
  for (auto [from, to] : {std::pair<std::string, std::string>{"VERSION=7.2", "VERSION=8"},
                          std::pair<std::string, std::string>{"COLOR=0xDDDDDD", "COLOR=0x998877"}})
    options.replace(options.find(from), from.size(), to);
  WriteText(dir + "NEWER\\Options.dat", options);
}

using testing_gui::PumpFor;
using testing_gui::PumpUntil;

// What the screen shows at a point, as 0xRRGGBB.
inline std::uint32_t ScreenPixel(POINT p) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(screen, p.x, p.y);
  ::ReleaseDC(nullptr, screen);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

using testing_gui::PicturePixel;

// Real input, as a user gives it.
inline void MouseTo(POINT screen) { testing_gui::MoveMouse(screen); }
inline void MouseButton(bool down) { testing_gui::MouseButtons(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

inline void Key(WORD vk, bool down) { testing_gui::KeyEvent(vk, down); }

// The channel-wise mix of two colours with a's weight w of 255, as the fade
// mixes (rounded by adding 127 before the shift).
inline std::uint32_t Mixed(std::uint32_t a, std::uint32_t b, int w) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= ((ca * static_cast<std::uint32_t>(w) + cb * (255 - static_cast<std::uint32_t>(w)) + 127) >> 8) << shift;
  }
  return out;
}

// An application, the effects switched on and a skin manager that loads the
// skins written into a temporary folder: "T", "D", "ONE", "A" and "G" (see
// SkinOptions). Starts with "T".
class ControlsSkin : public LoadedSkin {
 public:
  ControlsSkin()
      : LoadedSkin(
            [](const std::string& dir) {
              for (const char* kind : {"T", "D", "ONE", "A", "G"}) WriteControlsSkin(dir, kind, kind);
            },
            "T", true) {}
};

}  // namespace translit::test
