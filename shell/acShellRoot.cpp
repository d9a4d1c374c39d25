// Resolving a root name or path to its folder object.
#include "shell/acShellRoot.h"

#include <vector>

#include "framework/Dialogs.h"
#include "framework/core/SysUtils.h"
#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"

namespace translit {

namespace {

HRESULT PathItemList(const std::string& root, ItemListPtr& list) {
  std::string path = NormalizeRootPath(root);
  // An empty path names nothing, as the shell's own S_FALSE would say.
  if (path.empty()) return S_FALSE;
  DWORD n = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (n) {
    std::vector<char> full(n + 1);
    DWORD written = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (written && written < full.size()) path.assign(full.data(), written);
  }
  std::wstring wide = AnsiToWide(path);
  ULONG eaten = static_cast<ULONG>(path.size());
  ULONG attributes = 0;
  LPITEMIDLIST parsed = nullptr;
  HRESULT hr = DesktopShellFolder()->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &parsed, &attributes);
  list.reset(parsed);
  if (hr == S_OK && !list) hr = E_FAIL;
  return hr;
}

}  // namespace

HRESULT RootItemList(const TacRoot& root, ItemListPtr& list) {
  list.reset();
  if (std::optional<TacRootFolder> folder = RootFolderByName(root)) {
    LPITEMIDLIST special = nullptr;
    HRESULT hr = SHGetSpecialFolderLocation(nullptr, RootFolderCsidl[*folder], &special);
    list.reset(special);
    if (hr == S_OK && !list) hr = E_FAIL;
    return hr;
  }
  return PathItemList(root, list);
}

std::unique_ptr<TacShellFolder> MakeRootFolder(std::unique_ptr<TacShellFolder>& oldRootFolder, const TacRoot& oldRoot,
                                               TacRoot& newRoot) {
  ItemListPtr list;
  if (RootItemList(newRoot, list) != S_OK) {
    std::string message = fw::Format("Error Setting Path : %s", newRoot);
    newRoot = oldRoot;
    if (RootItemList(newRoot, list) != S_OK) throw fw::Exception(message);
    fw::MessageDlg(message, fw::mtError, {fw::mbOK});
  }
  ComPtr<IShellFolder> folder = BindSubfolder(DesktopFolder()->ShellFolder(), list.get());
  if (!folder) folder = ComPtr<IShellFolder>::Share(DesktopFolder()->ShellFolder());
  auto root = std::make_unique<TacShellFolder>(DesktopFolder(), std::move(folder), list.get());
  oldRootFolder.reset();
  return root;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

}  // namespace translit
