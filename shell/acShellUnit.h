// The shell browser's process-wide objects: COM, the desktop folder object,
// the shared system image list, the lock of the change watcher and the slot
// of the context menu that is open. They are made together on first use (or
// by StartShellUnit) and freed when the program ends.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "shell/ComPtr.h"

namespace translit {

class TacShellFolder;
class TsAlphaImageList;

// Creates the process-wide objects now, on the user-interface thread.
void StartShellUnit();

// The desktop object, default parent of every root folder object.
TacShellFolder* DesktopFolder();
// The system's small-icon image list, shared, never destroyed by us; null
// when the system has none.
TsAlphaImageList* SharedSystemImages();
// Guards the change watcher's settings between its thread and the tree.
CRITICAL_SECTION& ShellChangeLock();
// The context menu being tracked, for its owner-drawn items; null when none.
IContextMenu2* CurrentContextMenu();
void SetCurrentContextMenu(ComPtr<IContextMenu2> menu);

// The window that owns shell commands started for the user: the
// application's.
HWND ShellOwnerWindow();

}  // namespace translit
