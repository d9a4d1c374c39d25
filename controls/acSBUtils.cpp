// The attach helper of forms and frames.
#include "controls/acSBUtils.h"

namespace translit {

namespace {

using FlatSBProc = BOOL(WINAPI*)(HWND);

// InitializeFlatSB or UninitializeFlatSB of the platform's common controls.
FlatSBProc FlatScrollBars(const char* name) {
  HMODULE lib = ::GetModuleHandleA("comctl32.dll");
  if (!lib) lib = ::LoadLibraryA("comctl32.dll");
  return lib ? reinterpret_cast<FlatSBProc>(reinterpret_cast<void*>(::GetProcAddress(lib, name))) : nullptr;
}

}  // namespace

void RefreshFormScrolls(TacWndPtr<TacScrollWnd>& object, bool skinned, HWND handle, TsCommonData* skinData) {
  if (skinned && handle && (!object || object->Detached)) {
    if (FlatSBProc off = FlatScrollBars("UninitializeFlatSB")) off(handle);
  }
  const bool had = static_cast<bool>(object);
  RefreshScrollObject(object, skinned, handle, skinData);
  if (had && !object && handle && ::IsWindow(handle)) {
    if (FlatSBProc on = FlatScrollBars("InitializeFlatSB")) on(handle);
  }
}

}  // namespace translit
