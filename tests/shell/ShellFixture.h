// Shared pieces of the shell tests: folder objects for real paths (made in a
// TempFolder of tests/support), and children in shell order.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/acShellFolder.h"
#include "tests/support/TempFolder.h"

namespace translit::test {

// The absolute list of a path, parsed by the desktop; null when it fails.
ItemListPtr ParsePath(const std::string& path);
// A folder object for a path, made as a root is: below the desktop object.
std::unique_ptr<TacShellFolder> FolderObjectOf(const std::string& path);
// The children of a folder object for SHCONTF flags, in the shell's order.
std::vector<std::unique_ptr<TacShellFolder>> ChildrenOf(TacShellFolder& folder, DWORD flags);
// The child whose caption (seSystem) is name, or null.
TacShellFolder* ChildNamed(const std::vector<std::unique_ptr<TacShellFolder>>& children, const std::string& name);

}  // namespace translit::test
