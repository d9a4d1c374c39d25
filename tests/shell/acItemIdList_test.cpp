// Item list helpers on synthetic lists (items of plain bytes that no shell
// folder needs to understand), and their use of the task allocator.
#include "shell/acItemIdList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/shell/MallocSpy.h"
#include "tests/shell/ShellFixture.h"

namespace translit {
namespace {

using Items = std::vector<std::string>;

// A list of one item per string, each item its count and the string's bytes.
ItemListPtr MakeList(const Items& items) {
  UINT size = sizeof(USHORT);
  for (const auto& item : items) size += static_cast<UINT>(sizeof(USHORT) + item.size());
  ItemListPtr list(AllocItemList(size));
  BYTE* p = reinterpret_cast<BYTE*>(list.get());
  for (const auto& item : items) {
    USHORT count = static_cast<USHORT>(sizeof(USHORT) + item.size());
    std::memcpy(p, &count, sizeof count);
    std::copy(item.begin(), item.end(), p + sizeof count);
    p += count;
  }
  return list;
}

Items ItemsOf(LPCITEMIDLIST list) {
  Items items;
  for (; list && list->mkid.cb; list = NextItemId(list))
    items.emplace_back(reinterpret_cast<const char*>(list->mkid.abID), list->mkid.cb - sizeof(USHORT));
  return items;
}

TEST(ItemLists, SizesAndCounts) {
  struct Case {
    Items items;
    UINT size;
  } cases[] = {{{}, 2}, {{"a"}, 5}, {{"a", "bb", "c"}, 12}, {{std::string(300, 'x')}, 304}};
  for (const Case& c : cases) {
    ItemListPtr list = MakeList(c.items);
    EXPECT_EQ(ItemListSize(list.get()), c.size) << c.items.size() << " items";
    EXPECT_EQ(CountItemIds(list.get()), static_cast<int>(c.items.size()));
    EXPECT_EQ(ItemsOf(list.get()), c.items);
  }
  EXPECT_EQ(ItemListSize(nullptr), 0u);
  EXPECT_EQ(CountItemIds(nullptr), 0);
}

TEST(ItemLists, AllocZeroFillsAndFailsWithNull) {
  ItemListPtr list(AllocItemList(64));
  ASSERT_TRUE(list);
  const BYTE* bytes = reinterpret_cast<const BYTE*>(list.get());
  EXPECT_TRUE(std::all_of(bytes, bytes + 64, [](BYTE b) { return b == 0; }));
  // Refused by the list's own limit, on 64 bits too, where the allocator
  // would have the address space for it.
  EXPECT_EQ(AllocItemList(kMaxItemListBytes + 1), nullptr);
  EXPECT_EQ(AllocItemList(0xFFFFFFF0u), nullptr);
  ItemListPtr largest(AllocItemList(kMaxItemListBytes));
  EXPECT_TRUE(largest) << "the limit itself is allowed";
}

TEST(ItemLists, RemoveLastItemId) {
  struct Case {
    Items in, out;
  } cases[] = {{{"a", "bb", "c"}, {"a", "bb"}}, {{"a"}, {}}, {{}, {}}};
  for (const Case& c : cases) {
    ItemListPtr list = MakeList(c.in);
    RemoveLastItemId(list.get());
    EXPECT_EQ(ItemsOf(list.get()), c.out) << c.in.size() << " items";
  }
  RemoveLastItemId(nullptr);
}

TEST(ItemLists, CloneCopiesEveryByte) {
  ItemListPtr list = MakeList({"a", "bb", "c"});
  ItemListPtr copy(CloneItemList(list.get()));
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), list.get());
  EXPECT_EQ(std::memcmp(copy.get(), list.get(), 12), 0);
  EXPECT_EQ(CloneItemList(nullptr), nullptr);
}

TEST(ItemLists, Join) {
  struct Case {
    bool firstNull;
    Items first, second, out;
  } cases[] = {
      {true, {}, {"x", "yy"}, {"x", "yy"}},
      {false, {}, {"x"}, {"x"}},
      {false, {"a", "b"}, {"x"}, {"a", "b", "x"}},
      {false, {"a"}, {}, {"a"}},
      {false, {}, {}, {}},
  };
  for (const Case& c : cases) {
    ItemListPtr first = c.firstNull ? nullptr : MakeList(c.first);
    ItemListPtr second = MakeList(c.second);
    ItemListPtr joined(JoinItemLists(first.get(), second.get()));
    ASSERT_TRUE(joined);
    EXPECT_NE(joined.get(), second.get());
    EXPECT_EQ(ItemsOf(joined.get()), c.out);
    EXPECT_EQ(ItemListSize(joined.get()), ItemListSize(first.get()) + ItemListSize(second.get()) - (first ? 2 : 0));
  }
  // A missing second list joins as the empty one instead of being read.
  ItemListPtr first = MakeList({"a"});
  ItemListPtr joined(JoinItemLists(first.get(), nullptr));
  EXPECT_EQ(ItemsOf(joined.get()), Items{"a"});
}

TEST(ItemLists, LastItemIdOf) {
  struct Case {
    Items in, out;
  } cases[] = {{{"a", "bb", "c"}, {"c"}}, {{"a"}, {"a"}}, {{}, {}}};
  for (const Case& c : cases) {
    ItemListPtr list = MakeList(c.in);
    ItemListPtr last(LastItemIdOf(list.get()));
    ASSERT_TRUE(last);
    EXPECT_EQ(ItemsOf(last.get()), c.out);
    EXPECT_EQ(ItemListSize(last.get()), ItemListSize(MakeList(c.out).get()));
  }
}

TEST(ItemLists, AncestorsShortestFirst) {
  ItemListPtr list = MakeList({"a", "bb", "c"});
  TacItemLists ancestors = AncestorItemLists(list.get());
  ASSERT_EQ(ancestors.size(), 3u);
  EXPECT_EQ(ItemsOf(ancestors[0].get()), Items{});
  EXPECT_EQ(ItemListSize(ancestors[0].get()), 2u);
  EXPECT_EQ(ItemsOf(ancestors[1].get()), Items{"a"});
  EXPECT_EQ(ItemsOf(ancestors[2].get()), (Items{"a", "bb"}));
  EXPECT_EQ(ItemsOf(list.get()), (Items{"a", "bb", "c"})) << "the list itself is left alone";

  ItemListPtr one = MakeList({"a"});
  TacItemLists fromOne = AncestorItemLists(one.get());
  ASSERT_EQ(fromOne.size(), 1u);
  EXPECT_EQ(CountItemIds(fromOne[0].get()), 0);

  ItemListPtr empty = MakeList({});
  EXPECT_TRUE(AncestorItemLists(empty.get()).empty());
  EXPECT_TRUE(AncestorItemLists(nullptr).empty());

  FreeAncestorItemLists(&fromOne);
  EXPECT_TRUE(fromOne.empty());
  FreeAncestorItemLists(nullptr);
}

TEST(ItemLists, EveryListComesFromAndGoesBackToTheTaskAllocator) {
  long before = test::MallocSpy::Outstanding();
  LPITEMIDLIST list = AllocItemList(16);
  ASSERT_EQ(test::MallocSpy::Outstanding(), before + 1) << "the spy must see the shell allocator";
  FreeItemList(list);
  EXPECT_EQ(test::MallocSpy::Outstanding(), before);

  long leaked = test::LeakedBlocks(10, [] {
    ItemListPtr list = MakeList({"a", "bb", "c"});
    ItemListPtr copy(CloneItemList(list.get()));
    ItemListPtr joined(JoinItemLists(list.get(), copy.get()));
    ItemListPtr joinedToNull(JoinItemLists(nullptr, list.get()));
    ItemListPtr last(LastItemIdOf(joined.get()));
    TacItemLists ancestors = AncestorItemLists(joined.get());
    RemoveLastItemId(copy.get());
  });
  EXPECT_EQ(leaked, 0);
}

TEST(ItemLists, EqualityThroughTheDesktop) {
  testing_files::TempFolder tree;
  std::string sub = tree.Folder("sub");
  ItemListPtr a = test::ParsePath(sub);
  ItemListPtr b = test::ParsePath(sub);
  ItemListPtr parent = test::ParsePath(tree.Path());
  ASSERT_TRUE(a && b && parent);
  ItemListPtr copy(CloneItemList(a.get()));
  EXPECT_TRUE(ItemListsEqual(a.get(), b.get()));
  EXPECT_TRUE(ItemListsEqual(a.get(), copy.get()));
  EXPECT_FALSE(ItemListsEqual(a.get(), parent.get()));
  // The parent of the folder's list is the list of the folder's parent.
  TacItemLists ancestors = AncestorItemLists(a.get());
  ASSERT_FALSE(ancestors.empty());
  EXPECT_TRUE(ItemListsEqual(ancestors.back().get(), parent.get()));
  EXPECT_EQ(test::LeakedBlocks(5, [&] { ItemListsEqual(a.get(), parent.get()); }), 0);
}

}  // namespace
}  // namespace translit
