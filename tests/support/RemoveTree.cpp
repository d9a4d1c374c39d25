// Removing folder trees.
#include "tests/support/RemoveTree.h"

#include <windows.h>

#include "framework/Handles.h"

namespace testing_files {

void RemoveTree(const std::wstring& dir) {
  {
    WIN32_FIND_DATAW fd;
    fw::FindHandle find(::FindFirstFileW((dir + L"\\*").c_str(), &fd));
    for (bool more = find.Valid(); more; more = ::FindNextFileW(find.Get(), &fd)) {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir;
      full += L'\\';
      full += name;
      // A link is never followed: what it points to is not the tree's.
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        ::RemoveDirectoryW(full.c_str());
        continue;
      }
      ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        ::DeleteFileW(full.c_str());
    }
  }
  ::RemoveDirectoryW(dir.c_str());
}

void RemoveTree(const std::string& dir) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, dir.data(), static_cast<int>(dir.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, dir.data(), static_cast<int>(dir.size()), wide.data(), n);
  RemoveTree(wide);
}

}  // namespace testing_files
