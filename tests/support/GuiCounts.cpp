// GDI and USER object counts on Windows and on Wine.
#include "tests/support/GuiCounts.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>

namespace testing_gui {
namespace {

bool OnWine() {
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

// An entry of Wine's GDI handle table; a used entry has a type.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int kGdiTableEntries = 65536;

// Where the PEB keeps GdiSharedHandleTable: the process layouts differ.
#if defined(_WIN64)
constexpr std::size_t kPebGdiTable = 0xF8;
#else
constexpr std::size_t kPebGdiTable = 0x94;
#endif

const GdiHandleEntry* WineGdiTable() {
  // (The header's TEB read through fs: or gs: looks like an out-of-bounds
  // access to the compiler.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
  auto* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
  return *reinterpret_cast<const GdiHandleEntry* const*>(peb + kPebGdiTable);
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND wnd, LPARAM count) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  if (pid == ::GetCurrentProcessId()) {
    ++*reinterpret_cast<int*>(count);
    ::EnumChildWindows(wnd, CountChild, count);
  }
  return TRUE;
}

}  // namespace

int GdiObjectCount() {
  if (!OnWine()) return static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
  const GdiHandleEntry* table = WineGdiTable();
  int n = 0;
  for (int i = 0; table && i < kGdiTableEntries; ++i)
    if (table[i].type) ++n;
  // A process always holds stock objects: none seen means the table was not
  // found, and equal counts before and after would prove nothing.
  if (n == 0) ADD_FAILURE() << "the process's GDI handle table was not found";
  return n;
}

int UserObjectCount() {
  if (!OnWine()) return static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
  int n = 0;
  ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&n));
  return n;
}

}  // namespace testing_gui
