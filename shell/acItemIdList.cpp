// Allocating, walking, copying and joining item identifier lists.
#include "shell/acItemIdList.h"

#include <cstring>

#include "shell/acOleError.h"

namespace translit {

namespace {

USHORT ItemCount(LPCITEMIDLIST item) { return item->mkid.cb; }

}  // namespace

ComPtr<IMalloc> ShellMalloc() {
  ComPtr<IMalloc> malloc;
  OleCheck(SHGetMalloc(malloc.Put()));
  return malloc;
}

ComPtr<IShellFolder> DesktopShellFolder() {
  ComPtr<IShellFolder> desktop;
  OleCheck(SHGetDesktopFolder(desktop.Put()));
  return desktop;
}

void ItemListDeleter::operator()(ITEMIDLIST* list) const { FreeItemList(list); }

LPITEMIDLIST AllocItemList(UINT size) {
  if (size > kMaxItemListBytes) return nullptr;
  auto list = static_cast<LPITEMIDLIST>(ShellMalloc()->Alloc(size));
  if (list) std::memset(list, 0, size);
  return list;
}

LPITEMIDLIST NextItemId(LPCITEMIDLIST list) {
  return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(reinterpret_cast<const BYTE*>(list)) + ItemCount(list));
}

void RemoveLastItemId(LPITEMIDLIST list) {
  if (!list || ItemCount(list) == 0) return;
  LPITEMIDLIST last = list;
  for (LPITEMIDLIST next = NextItemId(last); ItemCount(next) != 0; next = NextItemId(next)) last = next;
  last->mkid.cb = 0;
}

int CountItemIds(LPCITEMIDLIST list) {
  int count = 0;
  if (!list) return 0;
  for (; ItemCount(list) != 0; list = NextItemId(list)) ++count;
  return count;
}

UINT ItemListSize(LPCITEMIDLIST list) {
  if (!list) return 0;
  UINT size = sizeof(USHORT);
  for (; ItemCount(list) != 0; list = NextItemId(list)) size += ItemCount(list);
  return size;
}

LPITEMIDLIST CloneItemList(LPCITEMIDLIST list) {
  if (!list) return nullptr;
  UINT size = ItemListSize(list);
  LPITEMIDLIST copy = AllocItemList(size);
  if (copy) std::memcpy(copy, list, size);
  return copy;
}

LPITEMIDLIST JoinItemLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  // Callers must hand a real second list; a missing one joins as the empty list.
  static const USHORT emptyList = 0;
  if (!second) second = reinterpret_cast<LPCITEMIDLIST>(&emptyList);
  UINT firstBytes = first ? ItemListSize(first) - sizeof(USHORT) : 0;
  UINT secondBytes = ItemListSize(second);
  LPITEMIDLIST joined = AllocItemList(firstBytes + secondBytes);
  if (!joined) return nullptr;
  BYTE* out = reinterpret_cast<BYTE*>(joined);
  if (firstBytes) std::memcpy(out, first, firstBytes);
  std::memcpy(out + firstBytes, second, secondBytes);
  return joined;
}

void FreeItemList(LPITEMIDLIST list) {
  if (!list) return;
  // Freeing runs in destructors, so it must not raise: without the shell's
  // interface the same task allocator is reached through COM directly.
  ComPtr<IMalloc> malloc;
  if (SUCCEEDED(SHGetMalloc(malloc.Put())) && malloc)
    malloc->Free(list);
  else
    CoTaskMemFree(list);
}

LPITEMIDLIST LastItemIdOf(LPCITEMIDLIST list) {
  if (!list) return nullptr;
  LPCITEMIDLIST last = list;
  while (CountItemIds(last) > 1) last = NextItemId(last);
  return CloneItemList(last);
}

TacItemLists AncestorItemLists(LPCITEMIDLIST list) {
  TacItemLists ancestors;
  int count = CountItemIds(list);
  if (count == 0) return ancestors;
  ItemListPtr prefix(CloneItemList(list));
  if (!prefix) return ancestors;
  // Cut the copy back one item at a time, collecting copies longest first.
  for (int i = 1; i < count; ++i) {
    RemoveLastItemId(prefix.get());
    ItemListPtr copy(CloneItemList(prefix.get()));
    if (!copy) return {};
    ancestors.insert(ancestors.begin(), std::move(copy));
  }
  // The desktop's empty list: the first list cut to nothing.
  RemoveLastItemId(prefix.get());
  ancestors.insert(ancestors.begin(), std::move(prefix));
  return ancestors;
}

void FreeAncestorItemLists(TacItemLists* lists) {
  if (lists) lists->clear();
}

bool ItemListsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b) { return DesktopShellFolder()->CompareIDs(0, a, b) == S_OK; }

}  // namespace translit
