// Platform support for layered windows, looked up at start-up.
#include "skin/sLayeredSupport.h"

namespace translit {

namespace {

template <typename Proc>
Proc Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

struct LayeredFunctions {
  LayeredFunctions() {
    update = Lookup<TUpdateLayeredWindowProc>(::GetModuleHandleA("user32.dll"), "UpdateLayeredWindow");
  }
  TUpdateLayeredWindowProc update = nullptr;
};

const LayeredFunctions& Functions() {
  static const LayeredFunctions functions;
  return functions;
}

// Looked up with the other platform functions when the engine starts.
[[maybe_unused]] const LayeredFunctions& startUpLookup = Functions();

std::optional<bool>& Override() {
  static std::optional<bool> value;
  return value;
}

bool IsWow64() {
  using Proc = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto isWow64 = Lookup<Proc>(::GetModuleHandleA("kernel32.dll"), "IsWow64Process");
  BOOL wow = FALSE;
  return isWow64 && isWow64(::GetCurrentProcess(), &wow) && wow;
}

}  // namespace

TUpdateLayeredWindowProc UpdateLayeredWindowProc() {
  if (Override() && !*Override()) return nullptr;
  return Functions().update;
}

bool LayeredWindowsAvailable() { return UpdateLayeredWindowProc() != nullptr; }

int PlatformMajorVersion() {
  static const int major = [] {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    return ::GetVersionExA(&info) ? static_cast<int>(info.dwMajorVersion) : 5;
  }();
  return major;
}

bool DwmCompositionEnabled() {
  if (PlatformMajorVersion() < 6) return false;
  // Loaded on first use and kept for the process.
  static const HMODULE dwm = ::LoadLibraryA("DWMAPI.DLL");
  using Proc = HRESULT(WINAPI*)(BOOL*);
  static const Proc enabled = Lookup<Proc>(dwm, "DwmIsCompositionEnabled");
  BOOL on = FALSE;
  return enabled && SUCCEEDED(enabled(&on)) && on;
}

bool NoLayeredEffects() {
  static const bool off = IsWow64() && !DwmCompositionEnabled();
  return off;
}

void OverrideLayeredWindows(std::optional<bool> available) { Override() = available; }

}  // namespace translit
