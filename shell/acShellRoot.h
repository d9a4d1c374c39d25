// The root folder object of a tree, from a root folder's name
// ("rfMyComputer") or a folder path.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "shell/acItemIdList.h"
#include "shell/acShellFolder.h"
#include "shell/acShellTypes.h"

namespace translit {

// Two roots (names or paths) are the same root when they differ in letter
// case alone, as the file system sees paths.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

// The absolute list of a root; a failed result when it names nothing.
HRESULT RootItemList(const TacRoot& root, ItemListPtr& list);

// The folder object of newRoot. When newRoot cannot be resolved, the error
// "Error Setting Path : <newRoot>" is shown in a box and oldRoot is used
// instead (newRoot is set back to it); when that fails too, the error is
// raised. On success oldRootFolder is freed.
std::unique_ptr<TacShellFolder> MakeRootFolder(std::unique_ptr<TacShellFolder>& oldRootFolder, const TacRoot& oldRoot,
                                               TacRoot& newRoot);

}  // namespace translit
