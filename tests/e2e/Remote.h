// Driving another process's windows as a user would: finding its windows,
// reading tree and status bar items through memory in that process, and
// real mouse and keyboard input.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/RealInput.h"

namespace e2e {

// Memory allocated in another process, freed with it.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* Address() const { return FAddress; }
  void Write(const void* data, size_t size, size_t offset = 0);
  void Read(void* data, size_t size, size_t offset = 0) const;

 private:
  HANDLE FProcess;
  void* FAddress;
};

// A started program: its process handle closed and the process killed (if it
// still runs) when the object goes.
class Program {
 public:
  Program(const std::string& exe, const std::string& workDir);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  HANDLE Process() const { return FInfo.hProcess; }
  DWORD Id() const { return FInfo.dwProcessId; }
  bool Running() const;
  // Waits for the end; returns false on time-out.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

 private:
  PROCESS_INFORMATION FInfo{};
};

// The first visible top-level window of the process with that class, waiting
// up to timeoutMs for it.
HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs);
HWND FindChild(HWND parent, const char* className);
std::string WindowText(HWND wnd);

// Tree items of another process's tree view.
std::string TreeItemText(HANDLE process, HWND tree, HTREEITEM item);
// The first child of parent (TVI_ROOT for the roots) whose text passes the
// test, or null. A parent is opened first with the tree's own message, as
// a click on its button opens it, so that a tree filled on opening reads it.
HTREEITEM FindTreeChildWhere(HANDLE process, HWND tree, HTREEITEM parent,
                             const std::function<bool(const std::string&)>& test);
// The child of parent (TVI_ROOT for the roots) with that text, or null.
HTREEITEM FindTreeChild(HANDLE process, HWND tree, HTREEITEM parent, const std::string& text);
std::string StatusText(HANDLE process, HWND bar, int panel);

// Real input: a left click in the middle of the window; a key press.
void ClickWindow(HWND wnd);
using testing_gui::PressKey;
// Clicks a button of a box until the box goes, as a user clicks again when
// the first click came before the box was ready; false if it stays.
bool ClickUntilGone(HWND button, HWND box, int attempts = 5);
// Clicks a button until a window of that class appears in the process; the
// window, or null. A click that did reach the button disables it behind the
// box that comes up, so a repeated click does nothing twice.
HWND ClickForWindow(HWND button, DWORD processId, const char* className, int attempts = 5);

// What the screen shows of the window's rectangle, row by row, each pixel
// 0x00RRGGBB: the look a user sees, whatever process painted it.
std::vector<std::uint32_t> ScreenPixels(HWND wnd);

// Polls until the condition holds or time runs out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

}  // namespace e2e
