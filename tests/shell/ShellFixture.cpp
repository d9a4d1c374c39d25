// Folder objects for the shell tests; also installs the malloc spy and
// starts the shell unit before any test runs.
#include "tests/shell/ShellFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"
#include "tests/shell/MallocSpy.h"

namespace translit::test {

namespace {

class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    MallocSpy::Install();
    StartShellUnit();
  }
};

const auto* environment = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

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

ListedFolder ItemsOf(const std::string& path, DWORD flags) {
  ListedFolder items;
  items.root = FolderObjectOf(path);
  if (items.root) items.children = ChildrenOf(*items.root, flags);
  return items;
}

}  // namespace translit::test
