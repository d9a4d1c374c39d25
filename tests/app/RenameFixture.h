// Folder trees for renaming tests: files are made with their Unicode names
// (so that they are stored as UTF-8 on the host) and each holds a text of
// its own, so that a test can prove that no content was lost.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace testing_rename {

std::wstring Widen(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// The name in the program's code page (1251).
std::string Ansi(const std::string& utf8);

class FolderTree {
 public:
  // A fresh, empty folder under base (a temporary folder when empty),
  // removed with everything in it at the end.
  explicit FolderTree(const std::wstring& base = L"");
  FolderTree(const FolderTree&) = delete;
  FolderTree& operator=(const FolderTree&) = delete;

  const std::wstring& Root() const { return FTemp.Root(); }
  // Root in code page 1251, ending in "\".
  const std::string& AnsiRoot() const { return FTemp.Path(); }
  void AddFile(const std::string& relUtf8, const std::string& content, DWORD attributes = 0);
  // Many files at once: relative path (UTF-8), content, attributes.
  struct File {
    std::string relUtf8, content;
    DWORD attributes = 0;
  };
  void AddFiles(std::initializer_list<File> files);
  void AddFolder(const std::string& relUtf8);
  // Relative path (UTF-8, "\" separated) to content, of every file below;
  // links to folders are not followed.
  std::map<std::string, std::string> Files() const;
  // The contents alone, sorted: equal before and after when nothing is lost.
  std::vector<std::string> Contents() const;

 private:
  testing_files::TempFolder FTemp;
};

}  // namespace testing_rename
