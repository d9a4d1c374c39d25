// Scratch folders and folder objects for the shell tests; also installs the
// malloc spy and starts the shell unit before any test runs.
#include "tests/shell/ShellFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"
#include "tests/shell/MallocSpy.h"

namespace translit::test {

namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + "*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = path + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full + "\\");
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    MallocSpy::Install();
    StartShellUnit();
  }
};

const auto* environment = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

TempTree::TempTree() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  char name[64];
  std::snprintf(name, sizeof name, "shelltest_%lu_%d\\", GetCurrentProcessId(), ++serial);
  FPath = std::string(temp) + name;
  RemoveTree(FPath);
  CreateDirectoryA(FPath.c_str(), nullptr);
}

TempTree::~TempTree() { RemoveTree(FPath); }

std::string TempTree::File(const std::string& name, const std::string& content) const {
  std::string path = FPath + name;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
  return path;
}

std::string TempTree::Folder(const std::string& name) const {
  std::string path = FPath + name;
  CreateDirectoryA(path.c_str(), nullptr);
  return path + "\\";
}

ItemListPtr ParsePath(const std::string& path) {
  std::wstring wide = AnsiToWide(path);
  LPITEMIDLIST list = nullptr;
  ULONG eaten = 0;
  ComPtr<IShellFolder> desktop = DesktopShellFolder();
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &list, nullptr))) list = nullptr;
  return ItemListPtr(list);
}

std::unique_ptr<TacShellFolder> FolderObjectOf(const std::string& path) {
  ItemListPtr list = ParsePath(path);
  if (!list) return nullptr;
  ComPtr<IShellFolder> folder = BindSubfolder(DesktopFolder()->ShellFolder(), list.get());
  return std::make_unique<TacShellFolder>(DesktopFolder(), std::move(folder), list.get());
}

std::vector<std::unique_ptr<TacShellFolder>> ChildrenOf(TacShellFolder& folder, DWORD flags) {
  std::vector<std::unique_ptr<TacShellFolder>> children;
  ComPtr<IEnumIDList> items;
  if (!folder.ShellFolder() || folder.ShellFolder()->EnumObjects(nullptr, flags, items.Put()) != S_OK || !items)
    return children;
  for (;;) {
    LPITEMIDLIST id = nullptr;
    ULONG fetched = 0;
    if (items->Next(1, &id, &fetched) != S_OK) break;
    ItemListPtr owned(id);
    children.push_back(
        std::make_unique<TacShellFolder>(&folder, BindSubfolder(folder.ShellFolder(), owned.get()), owned.get()));
  }
  IShellFolder* shellFolder = folder.ShellFolder();
  std::stable_sort(children.begin(), children.end(), [shellFolder](const auto& a, const auto& b) {
    return CompareInShellOrder(shellFolder, a->RelativeId(), b->RelativeId()) < 0;
  });
  return children;
}

TacShellFolder* ChildNamed(const std::vector<std::unique_ptr<TacShellFolder>>& children, const std::string& name) {
  for (const auto& child : children)
    if (child->ItemCaption(seSystem) == name) return child.get();
  return nullptr;
}

}  // namespace translit::test
