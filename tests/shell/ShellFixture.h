// Shared pieces of the shell tests: a scratch folder tree in the prefix's
// temp folder, folder objects for real paths, and children in shell order.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/acShellFolder.h"

namespace translit::test {

// A fresh folder under the temp folder, removed with all it holds.
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The folder's path with a final "\".
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name, const std::string& content = "x") const;
  std::string Folder(const std::string& name) const;

 private:
  std::string FPath;
};

// The absolute list of a path, parsed by the desktop; null when it fails.
ItemListPtr ParsePath(const std::string& path);
// A folder object for a path, made as a root is: below the desktop object.
std::unique_ptr<TacShellFolder> FolderObjectOf(const std::string& path);
// The children of a folder object for SHCONTF flags, in the shell's order.
std::vector<std::unique_ptr<TacShellFolder>> ChildrenOf(TacShellFolder& folder, DWORD flags);
// The child whose caption (seSystem) is name, or null.
TacShellFolder* ChildNamed(const std::vector<std::unique_ptr<TacShellFolder>>& children, const std::string& name);

}  // namespace translit::test
