// Move-only owners of Windows handles. Destructors only release; nothing is
// ever copied to the screen as a side effect of a destructor.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

template <typename H, auto Release>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : FHandle(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : FHandle(std::exchange(o.FHandle, H{})) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.FHandle, H{}));
    return *this;
  }
  H Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != H{}; }
  // Gives up ownership without releasing.
  H Detach() { return std::exchange(FHandle, H{}); }
  void Reset(H h = H{}) {
    if (FHandle) Release(FHandle);
    FHandle = h;
  }

 private:
  H FHandle{};
};

inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DeleteMemoryDC(HDC h) { ::DeleteDC(h); }
inline void DestroyWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void CloseFind(HANDLE h) {
  if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
}
inline void UnhookHook(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }

using UniqueBitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using UniqueFont = UniqueHandle<HFONT, DeleteGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteGdiObject>;
using UniquePen = UniqueHandle<HPEN, DeleteGdiObject>;
using UniqueRgn = UniqueHandle<HRGN, DeleteGdiObject>;
using UniqueDC = UniqueHandle<HDC, DeleteMemoryDC>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindowHandle>;
using UniqueIcon = UniqueHandle<HICON, DestroyIconHandle>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenuHandle>;
using UniqueHook = UniqueHandle<HHOOK, UnhookHook>;
// Events, threads and files (a file that failed to open is held as none,
// not as INVALID_HANDLE_VALUE).
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;

// A find handle: INVALID_HANDLE_VALUE, not 0, means "none".
class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : FHandle(h) {}
  ~FindHandle() { CloseFind(FHandle); }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE Get() const { return FHandle; }
  bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE FHandle;
};

// A DC from GetDC/GetWindowDC, given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND wnd, bool wholeWindow = false)
      : FWnd(wnd), FDC(wholeWindow ? ::GetWindowDC(wnd) : ::GetDC(wnd)) {}
  ~WindowDC() {
    if (FDC) ::ReleaseDC(FWnd, FDC);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HWND FWnd;
  HDC FDC;
};

// Selects an object into a DC and selects the previous one back. Declare it
// after the object it selects, so that it is undone first.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(obj ? ::SelectObject(dc, obj) : nullptr) {}
  ~SelectGuard() {
    if (FOld) ::SelectObject(FDC, FOld);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

class SaveDCGuard {
 public:
  explicit SaveDCGuard(HDC dc) : FDC(dc), FSaved(::SaveDC(dc)) {}
  ~SaveDCGuard() { ::RestoreDC(FDC, FSaved); }
  SaveDCGuard(const SaveDCGuard&) = delete;
  SaveDCGuard& operator=(const SaveDCGuard&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

class PaintScope {
 public:
  explicit PaintScope(HWND wnd) : FWnd(wnd) { FDC = ::BeginPaint(wnd, &FPs); }
  ~PaintScope() { ::EndPaint(FWnd, &FPs); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC DC() const { return FDC; }
  const RECT& Area() const { return FPs.rcPaint; }

 private:
  HWND FWnd;
  PAINTSTRUCT FPs{};
  HDC FDC;
};

// Switches the platform's critical-error boxes (a drive without a medium)
// off until the scope ends, then gives the old error mode back.
class ErrorModeScope {
 public:
  ErrorModeScope() : FOld(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~ErrorModeScope() { ::SetErrorMode(FOld); }
  ErrorModeScope(const ErrorModeScope&) = delete;
  ErrorModeScope& operator=(const ErrorModeScope&) = delete;

 private:
  UINT FOld;
};

}  // namespace fw
