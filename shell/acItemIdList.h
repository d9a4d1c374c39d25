// Item identifier lists of the shell namespace: a run of items, each led by
// its 16-bit byte count (the count included), ended by a zero count. Lists
// are allocated and freed only with the shell's task allocator.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "shell/ComPtr.h"

namespace translit {

// The shell's task allocator; EOleSysError when it cannot be had.
ComPtr<IMalloc> ShellMalloc();
// The desktop's IShellFolder; EOleSysError when it cannot be had.
ComPtr<IShellFolder> DesktopShellFolder();

struct ItemListDeleter {
  void operator()(ITEMIDLIST* list) const;
};
// An owned list, freed with the task allocator.
using ItemListPtr = std::unique_ptr<ITEMIDLIST, ItemListDeleter>;
// Owned lists, as AncestorItemLists builds them.
using TacItemLists = std::vector<ItemListPtr>;

// The largest list the engine makes: far beyond any the shell hands out (an
// item holds at most 64 KiB and a path is a few dozen items), and small
// enough that sizes of joined lists cannot wrap around.
constexpr UINT kMaxItemListBytes = 16u << 20;

// size bytes from the task allocator, zero-filled; null when it has none or
// size is above kMaxItemListBytes.
LPITEMIDLIST AllocItemList(UINT size);
// The address just after the first item.
LPITEMIDLIST NextItemId(LPCITEMIDLIST list);
// Ends the list before its last item; null and empty lists stay as they are.
void RemoveLastItemId(LPITEMIDLIST list);
int CountItemIds(LPCITEMIDLIST list);
// Bytes of the list with its terminator; 0 for null.
UINT ItemListSize(LPCITEMIDLIST list);
LPITEMIDLIST CloneItemList(LPCITEMIDLIST list);
// first without its terminator, then second; first may be null.
LPITEMIDLIST JoinItemLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
void FreeItemList(LPITEMIDLIST list);
// A copy of the last item as a one-item list (an empty list for an empty one).
LPITEMIDLIST LastItemIdOf(LPCITEMIDLIST list);
// The absolute lists of every proper ancestor, the desktop's empty list first
// and the parent last. Empty for an empty list, and when memory runs out.
TacItemLists AncestorItemLists(LPCITEMIDLIST list);
void FreeAncestorItemLists(TacItemLists* lists);
// Whether the desktop folder finds the two absolute lists equal.
bool ItemListsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b);

}  // namespace translit
