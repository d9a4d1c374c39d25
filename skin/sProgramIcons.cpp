// The program's icons.
#include "skin/sProgramIcons.h"

#include <shellapi.h>

#include "framework/Handles.h"

namespace translit {

namespace {

struct ProgramIcons {
  fw::UniqueIcon largeIcon;
  fw::UniqueIcon smallIcon;
};

ProgramIcons& Icons() {
  static ProgramIcons icons;
  return icons;
}

fw::UniqueIcon FetchIcon(const char* path, UINT size) {
  SHFILEINFOA info{};
  if (!::SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | size)) return fw::UniqueIcon();
  return fw::UniqueIcon(info.hIcon);
}

}  // namespace

void LoadProgramIcons() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  ProgramIcons& icons = Icons();
  if (!icons.largeIcon) icons.largeIcon = FetchIcon(path, SHGFI_LARGEICON);
  if (!icons.smallIcon) icons.smallIcon = FetchIcon(path, SHGFI_SMALLICON);
}

void FreeProgramIcons() {
  Icons().largeIcon.Reset();
  Icons().smallIcon.Reset();
}

HICON ProgramIcon(bool large) { return large ? Icons().largeIcon.Get() : Icons().smallIcon.Get(); }

}  // namespace translit
