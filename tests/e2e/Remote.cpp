// Driving another process's windows.
#include "tests/e2e/Remote.h"

#include "framework/Handles.h"
#include "tests/support/ScreenPixels.h"

#include <commctrl.h>

#include <stdexcept>
#include <vector>

namespace e2e {

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size)
    : FProcess(process), FAddress(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
  if (!FAddress) throw std::runtime_error("VirtualAllocEx failed");
}

RemoteBuffer::~RemoteBuffer() { ::VirtualFreeEx(FProcess, FAddress, 0, MEM_RELEASE); }

void RemoteBuffer::Write(const void* data, size_t size, size_t offset) {
  SIZE_T done = 0;
  ::WriteProcessMemory(FProcess, static_cast<char*>(FAddress) + offset, data, size, &done);
}

void RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
  SIZE_T done = 0;
  ::ReadProcessMemory(FProcess, static_cast<char*>(FAddress) + offset, data, size, &done);
}

Program::Program(const std::string& exe, const std::string& workDir) {
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  std::string cmd = "\"" + exe + "\"";
  if (!::CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &FInfo))
    throw std::runtime_error("cannot start " + exe);
  ::WaitForInputIdle(FInfo.hProcess, 10000);
}

Program::~Program() {
  if (Running()) {
    ::TerminateProcess(FInfo.hProcess, 1);
    ::WaitForSingleObject(FInfo.hProcess, 5000);
  }
  ::CloseHandle(FInfo.hThread);
  ::CloseHandle(FInfo.hProcess);
}

bool Program::Running() const { return ::WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (::WaitForSingleObject(FInfo.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  ::GetExitCodeProcess(FInfo.hProcess, exitCode);
  return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(50);
  }
  return true;
}

namespace {
struct WindowQuery {
  DWORD pid;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM param) {
  auto* q = reinterpret_cast<WindowQuery*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  char cls[256] = {};
  ::GetClassNameA(wnd, cls, sizeof(cls));
  if (pid == q->pid && ::IsWindowVisible(wnd) && lstrcmpA(cls, q->className) == 0) {
    q->found = wnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs) {
  WindowQuery q{processId, className, nullptr};
  WaitUntil(
      [&] {
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
        return q.found != nullptr;
      },
      timeoutMs);
  return q.found;
}

HWND FindChild(HWND parent, const char* className) { return ::FindWindowExA(parent, nullptr, className, nullptr); }

std::string WindowText(HWND wnd) {
  char buf[1024] = {};
  ::GetWindowTextA(wnd, buf, sizeof(buf));
  return buf;
}

std::string TreeItemText(HANDLE process, HWND tree, HTREEITEM item) {
  constexpr size_t kText = 512;
  RemoteBuffer remote(process, sizeof(TVITEMA) + kText);
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = static_cast<char*>(remote.Address()) + sizeof(TVITEMA);
  tv.cchTextMax = kText;
  remote.Write(&tv, sizeof(tv));
  ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address()));
  std::vector<char> text(kText + 1, '\0');
  remote.Read(text.data(), kText, sizeof(TVITEMA));
  return text.data();
}

HTREEITEM FindTreeChildWhere(HANDLE process, HWND tree, HTREEITEM parent,
                             const std::function<bool(const std::string&)>& test) {
  HTREEITEM item;
  if (parent == TVI_ROOT) {
    item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  } else {
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    item = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
  }
  for (; item; item = reinterpret_cast<HTREEITEM>(
                   ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
    if (test(TreeItemText(process, tree, item))) return item;
  return nullptr;
}

HTREEITEM FindTreeChild(HANDLE process, HWND tree, HTREEITEM parent, const std::string& text) {
  return FindTreeChildWhere(process, tree, parent,
                            [&](const std::string& t) { return lstrcmpiA(t.c_str(), text.c_str()) == 0; });
}

std::string StatusText(HANDLE process, HWND bar, int panel) {
  constexpr size_t kText = 1024;
  RemoteBuffer remote(process, kText);
  ::SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(remote.Address()));
  std::vector<char> text(kText + 1, '\0');
  remote.Read(text.data(), kText);
  return text.data();
}

void ClickWindow(HWND wnd) {
  RECT r;
  ::GetWindowRect(wnd, &r);
  HWND top = ::GetAncestor(wnd, GA_ROOT);
  ::SetForegroundWindow(top);
  WaitUntil([&] { return ::GetForegroundWindow() == top; }, 2000);
  ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, in, sizeof(INPUT));
}

bool ClickUntilGone(HWND button, HWND box, int attempts) {
  for (int i = 0; i < attempts; ++i) {
    WaitUntil([&] { return ::GetForegroundWindow() == box || !::IsWindow(box); }, 2000);
    if (!::IsWindow(box)) return true;
    ClickWindow(button);
    if (WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 2000)) return true;
  }
  return false;
}

HWND ClickForWindow(HWND button, DWORD processId, const char* className, int attempts) {
  for (int i = 0; i < attempts; ++i) {
    ClickWindow(button);
    if (HWND w = WaitForWindow(processId, className, 4000)) return w;
  }
  return nullptr;
}

std::vector<std::uint32_t> ScreenPixels(HWND wnd) {
  RECT r;
  if (!::GetWindowRect(wnd, &r)) return {};
  return testing_gui::ScreenPixels(r);
}

}  // namespace e2e
