// What the menu tests share: a small skin whose menu pieces each have a
// colour of their own (the popup frame with see-through corners, the item
// in its two states, the check and radio marks, the divider, the caption
// item's look, the menu bar band, the extra line), a form with a menu bar
// and a popup menu, and reading the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/sSkinableMenus.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "tests/skin/LoadedSkin.h"
#include "tests/skin/SkinFolders.h"

namespace translit::test {

// Colours as GetPixel answers them (RGB()).
constexpr COLORREF kFrame = RGB(0, 0, 192);
constexpr COLORREF kMenuBg = RGB(200, 240, 200);
constexpr COLORREF kItem = RGB(250, 250, 210);
constexpr COLORREF kItemHot = RGB(120, 200, 250);
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kInkHot = RGB(128, 0, 0);
constexpr COLORREF kCheck = RGB(0, 160, 0);
constexpr COLORREF kCheckHot = RGB(0, 96, 96);
constexpr COLORREF kRadio = RGB(160, 0, 160);
constexpr COLORREF kDivider = RGB(255, 128, 0);
constexpr COLORREF kToolbar = RGB(230, 200, 160);
constexpr COLORREF kLine = RGB(180, 180, 250);
constexpr COLORREF kExtra = RGB(40, 40, 120);
// The frame mask: 18 x 18, 6-pixel margins; the pixels of each corner cell
// nearer than three steps to the outer corner are the see-through key.
constexpr int kFrameCell = 6;

inline std::uint32_t Argb(COLORREF c) {
  return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Options write colours as BGR numbers, which is COLORREF's own order.
inline std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%06X", static_cast<unsigned>(c));
  return text;
}

inline std::uint32_t MenuMasterPixel(int x, int y) {
  if (x < 18 && y < 18) {
    const bool bandX = x < kFrameCell || x >= 18 - kFrameCell, bandY = y < kFrameCell || y >= 18 - kFrameCell;
    if (bandX && bandY) {
      const int dx = x < kFrameCell ? x : 17 - x, dy = y < kFrameCell ? y : 17 - y;
      if (dx + dy < 3) return 0xFFFF00FF;
    }
    return bandX || bandY ? Argb(kFrame) : 0xFF808080;
  }
  if (x >= 24 && x < 32 && y < 8) return Argb(kCheck);
  if (x >= 32 && x < 40 && y < 8) return Argb(kCheckHot);
  if (x >= 40 && x < 48 && y < 8) return Argb(kRadio);
  if (x >= 48 && x < 54 && y < 2) return Argb(kDivider);
  return 0xFF336699;
}

inline std::string MenuSkinOptions() {
  return "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\n"
         "CHECK=@0024,0000,0040,0008,2,0\r\n"
         "RADIOCHECKED=@0040,0000,0048,0008,1,0\r\n"
         "[MAINMENU]\r\nCOLOR=" +
         Hex(kMenuBg) + "\r\nFONTCOLOR=0x000000\r\nBORDERSMASK=^0000,0000,0018,0018,0006,0006,0006,0006,1,0,0,6\r\n" +
         "[MENUITEM]\r\nSTATES=2\r\nCOLOR=" + Hex(kItem) + "\r\nHOTCOLOR=" + Hex(kItemHot) +
         "\r\nFONTCOLOR=" + Hex(kInk) + "\r\nHOTFONTCOLOR=" + Hex(kInkHot) + "\r\n" +
         "[DIVIDERV]\r\nCOLOR=0x808080\r\nBORDERSMASK=^0048,0000,0054,0002,0002,0001,0002,0001,1,0,0,0\r\n" +
         "[TOOLBAR]\r\nCOLOR=" + Hex(kToolbar) + "\r\nFONTCOLOR=0x000000\r\n" +
         "[MENULINE]\r\nSTATES=2\r\nCOLOR=" + Hex(kLine) + "\r\nHOTCOLOR=" + Hex(kLine) +
         "\r\nFONTCOLOR=0x000000\r\nHOTFONTCOLOR=0x000000\r\n" + "[EXTRALINE]\r\nCOLOR=" + Hex(kExtra) +
         "\r\nFONTCOLOR=0xFFFFFF\r\n";
}

inline void WriteMenuSkin(const std::string& dir) {
  const std::string folder = dir + "M\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  WriteText(folder + "Options.dat", MenuSkinOptions());
  WriteBytes(folder + "Master.bmp", MakeBmp(64, 20, 24, [](int x, int y) { return MenuMasterPixel(x, y); }));
}

// Menu skinning in place while the fixture lives; the skin "M" loaded by
// Load (after the menus exist, as a program's start-up does).
struct MenuSkinning {
  MenuSkinning() { InstallMenuSkinning(); }
  ~MenuSkinning() {
    skin.reset();
    UninstallMenuSkinning();
  }
  void Load() {
    skin.emplace([](const std::string& dir) { WriteMenuSkin(dir); }, "M", false);
  }
  TsSkinManager& Manager() { return *skin->manager; }
  TsSkinableMenus& Menus() { return *static_cast<TsSkinableMenus*>(skin->manager->SkinableMenus()); }
  std::optional<LoadedSkin> skin;
};

inline bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

inline COLORREF ScreenPixel(POINT p) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(screen, p.x, p.y);
  ::ReleaseDC(nullptr, screen);
  return c;
}

inline BOOL CALLBACK CollectOpenPopup(HWND w, LPARAM out) {
  char cls[16] = {};
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  if (pid == ::GetCurrentProcessId() && ::GetClassNameA(w, cls, sizeof(cls)) && lstrcmpA(cls, "#32768") == 0 &&
      ::IsWindowVisible(w))
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
  return TRUE;
}

// The open popup menu windows of the process, the last opened first.
inline std::vector<HWND> OpenPopupWindows() {
  std::vector<HWND> found;
  ::EnumWindows(CollectOpenPopup, reinterpret_cast<LPARAM>(&found));
  return found;
}

inline bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 20) {
    if (done()) return true;
    ::Sleep(20);
  }
  return done();
}

// Runs a function on the user-interface thread from another thread, also
// while a menu loop runs there (the loop takes sent messages).
class UiCall {
 public:
  UiCall() {
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.lpszClassName = "MenuTestUiCall";
      return ::RegisterClassA(&wc);
    }();
    (void)atom;
    FWindow = ::CreateWindowExA(0, "MenuTestUiCall", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  ~UiCall() { ::DestroyWindow(FWindow); }
  UiCall(const UiCall&) = delete;
  UiCall& operator=(const UiCall&) = delete;
  void Run(const std::function<void()>& f) const { ::SendMessageA(FWindow, WM_APP, 0, reinterpret_cast<LPARAM>(&f)); }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
      (*reinterpret_cast<const std::function<void()>*>(lp))();
      return 0;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
  }
  HWND FWindow;
};

}  // namespace translit::test
