// Names of shell items: the text of a STRRET record and an item's display
// name with the extension shown or hidden on request.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "shell/acShellTypes.h"

namespace translit {

// The text of a STRRET answered for id. A wide string the shell allocated is
// freed here (and the record's pointer cleared), so each record is read once.
std::string StrRetText(LPCITEMIDLIST id, STRRET& strRet);

// The same text as the shell gave it, for names the code page cannot hold:
// a wide string stays as it is, an ANSI one is widened.
std::wstring StrRetWideText(LPCITEMIDLIST id, STRRET& strRet);

// The display name of id in parentFolder with the given SHGDN flags; with
// seShow or seHide, a file's extension is shown or cut whatever the shell's
// own setting. "parentfolder = nil" without a folder.
std::string ShellItemName(IShellFolder* parentFolder, LPCITEMIDLIST id, DWORD flags, TacShowExtension showExt);

// The display name of id in parentFolder with the given SHGDN flags, every
// character kept (a path to a folder whose name the code page cannot hold
// still reaches it); items known only by a class identifier are named by
// their normal name, as by ShellItemName. Empty without a folder or name.
std::wstring ShellItemWideName(IShellFolder* parentFolder, LPCITEMIDLIST id, DWORD flags);

// Whether a file (not a folder) exists at path.
bool FileExists(const std::string& path);

// ANSI (the process code page) and wide strings.
std::string WideToAnsi(const wchar_t* text);
std::wstring AnsiToWide(const std::string& text);

}  // namespace translit
