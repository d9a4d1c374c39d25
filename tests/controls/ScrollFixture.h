// What the subclassing and tree view tests share: a skin with scroll
// sections in plain colours that tell the bars' parts and their normal, hot
// and pressed looks apart on screen, a
// message pump with a time limit, real mouse input, pixels read from a
// window's DC, and a plain window with scroll bars that logs the scroll
// codes it gets and scrolls by them as a list would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/acScrollWnd.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "skin/sSkinManager.h"
#include "tests/skin/LoadedSkin.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/GuiPump.h"
#include "tests/support/RealInput.h"
#include "tests/support/TempFolder.h"

namespace translit::test {

// Colours (0x00BBGGRR) of the sections, normal and hot/pressed.
constexpr COLORREF kEditColor = 0xF0E0D0;
constexpr COLORREF kEditFont = 0x203040;
constexpr COLORREF kTrack1 = 0x0000C0, kTrack1Pressed = 0x000060;
constexpr COLORREF kTrack2 = 0x00C000, kTrack2Pressed = 0x006000;
constexpr COLORREF kArrow = 0xC00000, kArrowHot = 0xFF8080;
constexpr COLORREF kThumb = 0x808000, kThumbHot = 0xC0C000;
// The frame of a held arrow and of a dragged thumb: the third cell of their
// frame images (their middles show the section's hot colour).
constexpr COLORREF kArrowPressed = 0x600060, kThumbPressed = 0x006060;
constexpr COLORREF kGrip = 0x996633;  // the rest of the master bitmap
constexpr COLORREF kSelection = 0x00FFFF, kSelectionFocused = 0x00C0FF;
// What the probe window prints as its client.
constexpr COLORREF kClientInk = 0x5A3C1E;

inline std::string ScrollSkinOptions(bool withSelection = true, COLORREF editColor = kEditColor) {
  auto hex = [](COLORREF c) {
    char b[16];
    std::snprintf(b, sizeof(b), "0x%06lX", static_cast<unsigned long>(c));
    return std::string(b);
  };
  auto section = [&](const char* name, COLORREF normal, COLORREF hot, const char* frame = nullptr) {
    std::string text =
        std::string("[") + name + "]\r\nCOLOR=" + hex(normal) + "\r\nSTATES=3\r\nHOTCOLOR=" + hex(hot) + "\r\n";
    if (frame) text += std::string("BORDERSMASK=") + frame + "\r\n";
    return text;
  };
  // Frames four pixels wide from the master bitmap's cells (ScrollMaster):
  // normal, hot and pressed.
  const char* arrowFrame = "^0000,0000,0036,0012,0004,0004,0004,0004,3,0,0,0";
  const char* thumbFrame = "^0036,0000,0072,0012,0004,0004,0004,0004,3,0,0,0";
  // The grip is a plain piece of the master bitmap: kGrip all over.
  std::string s = "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\nGRIPIMAGE=@0072,0000,0080,0008,1,0\r\n";
  s += "[EDIT]\r\nCOLOR=" + hex(editColor) + "\r\nFONTCOLOR=" + hex(kEditFont) + "\r\nSTATES=1\r\n";
  s += section("SCROLLBAR1V", kTrack1, kTrack1Pressed) + section("SCROLLBAR1H", kTrack1, kTrack1Pressed);
  s += section("SCROLLBAR2V", kTrack2, kTrack2Pressed) + section("SCROLLBAR2H", kTrack2, kTrack2Pressed);
  for (const char* b : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"})
    s += section(b, kArrow, kArrowHot, arrowFrame);
  s +=
      section("SCROLLSLIDERV", kThumb, kThumbHot, thumbFrame) + section("SCROLLSLIDERH", kThumb, kThumbHot, thumbFrame);
  if (withSelection)
    s += "[SELECTION]\r\nCOLOR=" + hex(kSelection) + "\r\nSTATES=2\r\nHOTCOLOR=" + hex(kSelectionFocused) +
         "\r\nFONTCOLOR=0x000000\r\nHOTFONTCOLOR=0x000000\r\n";
  return s;
}

// The master bitmap of the scroll skin: 12-pixel cells of the arrows'
// frames (normal, hot, pressed) from x 0, of the thumb's from x 36, kGrip
// elsewhere.
inline Bytes ScrollMaster() {
  auto argb = [](COLORREF c) { return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); };
  return MakeBmp(90, 20, 24, [argb](int x, int y) {
    const COLORREF arrows[3] = {kArrow, kArrowHot, kArrowPressed}, thumbs[3] = {kThumb, kThumbHot, kThumbPressed};
    if (y < 12 && x < 36) return argb(arrows[x / 12]);
    if (y < 12 && x < 72) return argb(thumbs[(x - 36) / 12]);
    return argb(kGrip);
  });
}

// Writes the scroll skin into the folder dir + name.
inline void WriteScrollSkin(const std::string& dir, const std::string& name, const std::string& options) {
  WriteSkinFolder(dir, name, options);
  WriteBytes(dir + name + "\\Master.bmp", ScrollMaster());
}

// A skin manager with a scroll skin loaded; it is the default manager.
class ScrollSkin : public LoadedSkin {
 public:
  explicit ScrollSkin(bool withSelection = true)
      : LoadedSkin(
            [withSelection](const std::string& dir) { WriteScrollSkin(dir, "S", ScrollSkinOptions(withSelection)); },
            "S", false) {}
};

using testing_gui::PumpFor;
using testing_gui::PumpUntil;

// Real mouse input at screen points.
inline void MouseMove(POINT p) { testing_gui::MoveMouse(p); }
inline void MouseButton(DWORD flags) { testing_gui::MouseButtons(flags); }
inline void LeftDown() { MouseButton(MOUSEEVENTF_LEFTDOWN); }
inline void LeftUp() { MouseButton(MOUSEEVENTF_LEFTUP); }

// Moves the mouse onto a skinned bar of window at a screen point and waits
// until the bar tracks it: a new window takes the mouse only once the
// platform has it in place.
inline bool HoverBarAt(HWND window, POINT target) {
  return PumpUntil(
      [&] {
        ::SetForegroundWindow(::GetAncestor(window, GA_ROOT));
        MouseMove(POINT{target.x, target.y - 1});
        MouseMove(target);
        PumpFor(30);
        return ScrollTracking().HotWindow == window && ScrollTracking().HoverBar >= 0;
      },
      10000);
}

// A pixel of the window's whole area (window coordinates).
inline COLORREF WindowPixel(HWND wnd, int x, int y) {
  HDC dc = ::GetWindowDC(wnd);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(wnd, dc);
  return c;
}

// A window's point (window coordinates) on the screen.
inline POINT ScreenPoint(HWND wnd, int x, int y) {
  RECT r;
  ::GetWindowRect(wnd, &r);
  return POINT{r.left + x, r.top + y};
}

// One scroll code the probe window got.
struct ScrollEvent {
  UINT msg;
  int code;
  int pos;
  DWORD timeMs;
};

// A top-level frame with a child list-like window: WS_VSCROLL | WS_HSCROLL,
// a client edge, ranges 0..99 with a page of 10 in both directions. It
// scrolls by the codes it gets and logs them, and prints its client in
// kClientInk.
class ProbeWindows {
 public:
  ProbeWindows(int width = 200, int height = 150, DWORD extraStyle = 0, int x = 20, int y = 20) {
    Register();
    frame = ::CreateWindowExA(0, "ScrollProbeFrame", "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                              nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    child = ::CreateWindowExA(WS_EX_CLIENTEDGE, "ScrollProbe", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | extraStyle, x, y, width,
                              height, frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetPropA(child, "ProbeLog", this);
    SetRange(SB_VERT, 0, 99, 10, 0);
    SetRange(SB_HORZ, 0, 99, 10, 0);
    ::UpdateWindow(frame);
  }
  ~ProbeWindows() {
    if (::IsWindow(frame)) ::DestroyWindow(frame);
  }
  ProbeWindows(const ProbeWindows&) = delete;
  ProbeWindows& operator=(const ProbeWindows&) = delete;

  void SetRange(int bar, int min, int max, UINT page, int pos) {
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, min, max, page, pos, 0};
    ::SetScrollInfo(child, bar, &si, TRUE);
  }
  int Pos(int bar) const { return ::GetScrollPos(child, bar); }
  std::vector<ScrollEvent> Codes(UINT msg, int code) const {
    std::vector<ScrollEvent> out;
    for (const auto& e : log)
      if (e.msg == msg && e.code == code) out.push_back(e);
    return out;
  }

  HWND frame = nullptr;
  HWND child = nullptr;
  std::vector<ScrollEvent> log;
  std::vector<UINT> messages;  // every message the child's own procedure saw

 private:
  static LRESULT CALLBACK ChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<ProbeWindows*>(::GetPropA(wnd, "ProbeLog"));
    if (self) self->messages.push_back(msg);
    if (self && (msg == WM_VSCROLL || msg == WM_HSCROLL)) {
      const int code = LOWORD(wParam);
      const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
      self->log.push_back(ScrollEvent{msg, code, static_cast<short>(HIWORD(wParam)), ::GetTickCount()});
      SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
      ::GetScrollInfo(wnd, bar, &si);
      int pos = si.nPos;
      switch (code) {
        case SB_LINEUP:
          pos -= 1;
          break;
        case SB_LINEDOWN:
          pos += 1;
          break;
        case SB_PAGEUP:
          pos -= static_cast<int>(si.nPage);
          break;
        case SB_PAGEDOWN:
          pos += static_cast<int>(si.nPage);
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          pos = HIWORD(wParam);
          break;
        default:
          return 0;
      }
      si.fMask = SIF_POS;
      si.nPos = pos;
      ::SetScrollInfo(wnd, bar, &si, TRUE);
      return 0;
    }
    if (msg == WM_PRINTCLIENT) {
      RECT client;
      ::GetClientRect(wnd, &client);
      fw::UniqueBrush ink(::CreateSolidBrush(kClientInk));
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, ink.Get());
      return 0;
    }
    if (msg == WM_NCDESTROY) ::RemovePropA(wnd, "ProbeLog");
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
  }
  static void Register() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = ChildProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "ScrollProbe";
    wc.style = CS_DBLCLKS;
    ::RegisterClassA(&wc);
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ScrollProbeFrame";
    ::RegisterClassA(&wc);
  }
};

}  // namespace translit::test
