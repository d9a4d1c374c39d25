// Opening a folder of 2 000 subfolders in the shell tree, until every child
// node exists and shows, against the bare work of the same enumeration
// through IShellFolder (the names asked of the shell) with the same names
// inserted into a plain tree view and shown. Each round reads the folder
// again with both, alternating which goes first.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "shell/acShellFolder.h"
#include "shell/acShellUnit.h"
#include "shell/tree/acShellTreeView.h"
#include "tests/support/TempFolder.h"
#include "bench/BenchArch.h"
#include "bench/BenchWindows.h"

namespace {

using translit::bench::Pump;

constexpr int kFolders = 2000;
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

fw::TTreeNode* ChildNamed(fw::TTreeNode* node, const std::string& text) {
  for (fw::TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
    if (c->Text() == text) return c;
  return nullptr;
}

// The reference: a plain tree view, its one parent item, the folder's
// IShellFolder bound beforehand as the shell tree's node holds it bound.
struct PlainTree {
  HWND frame = nullptr;
  HWND tree = nullptr;
  HTREEITEM parent = nullptr;

  PlainTree() {
    frame = ::CreateWindowExA(0, "STATIC", "reference", WS_POPUP | WS_VISIBLE | WS_CAPTION, 480, 40, 420, 460, nullptr,
                              nullptr, ::GetModuleHandleA(nullptr), nullptr);
    tree = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                             WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 8, 8, 380, 400,
                             frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  }
  ~PlainTree() { ::DestroyWindow(frame); }
  void Reset() {
    ::SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    TVINSERTSTRUCTA ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<char*>("big");
    parent = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  }
  // Enumerates, names and inserts every subfolder, then shows them.
  int Fill(IShellFolder* folder, HWND owner) {
    int count = 0;
    ::SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    IEnumIDList* items = nullptr;
    if (folder->EnumObjects(owner, SHCONTF_FOLDERS, &items) == S_OK && items) {
      LPITEMIDLIST id = nullptr;
      ULONG fetched = 0;
      while (items->Next(1, &id, &fetched) == S_OK) {
        STRRET name{};
        char text[MAX_PATH] = "";
        if (SUCCEEDED(folder->GetDisplayNameOf(id, SHGDN_INFOLDER, &name))) StrRetToBufA(&name, id, text, MAX_PATH);
        TVINSERTSTRUCTA ins{};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = text;
        if (::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins))) ++count;
        ::CoTaskMemFree(id);
      }
      items->Release();
    }
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    ::SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(tree, nullptr, TRUE);
    return count;
  }
};

}  // namespace

int main() {
  using namespace translit;
  fw::EnsureApplication().Initialize();
  RegisterShellTreeClasses();
  StartShellUnit();

  testing_files::TempFolder base;
  base.Folder("big");
  // Made out of the shell's order, as a disk gives them.
  for (int i = 0; i < kFolders; ++i) base.Folder("big\\folder " + std::to_string((i * 7919) % kFolders + 10000));
  std::string rootPath = base.Path();
  rootPath.pop_back();

  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBounds(40, 40, 420, 460);
  auto* tree = new TsShellTreeView(form.get());
  tree->SetParent(form.get());
  tree->SetBounds(8, 8, 380, 400);
  tree->SetRoot(rootPath);
  form->Show();
  PlainTree plain;
  Pump();

  fw::TTreeNode* top = tree->Items().GetFirstNode();
  fw::TTreeNode* first = top ? ChildNamed(top, "big") : nullptr;
  if (!first) {
    std::printf("the shell tree shows no folder \"big\" under %s\n", rootPath.c_str());
    return 1;
  }
  ComPtr<IShellFolder> bigFolder = ComPtr<IShellFolder>::Share(TacCustomShellTreeView::FolderOf(first)->ShellFolder());
  const HWND owner = ShellOwnerWindow();

  const int rounds = 9;
  std::vector<double> ours, reference, oursPaint, referencePaint;
  // The first picture of the opened folder, apart: the shell tree asks the
  // shell for the icons of the nodes it shows then.
  auto paint = [](HWND wnd) {
    const auto t0 = Clock::now();
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  };
  for (int r = 0; r < rounds; ++r) {
    // A fresh, closed node for "big" (closed first, or the rebuild would
    // open it again), and an empty plain tree.
    if (fw::TTreeNode* old = ChildNamed(tree->Items().GetFirstNode(), "big")) old->Collapse(false);
    tree->RebuildNode(tree->Items().GetFirstNode());
    fw::TTreeNode* big = ChildNamed(tree->Items().GetFirstNode(), "big");
    plain.Reset();
    Pump();
    if (!big || big->GetFirstChild()) {
      std::printf("round %d: the node of \"big\" is not fresh\n", r + 1);
      return 1;
    }
    int oursCount = 0, referenceCount = 0;
    auto timeOurs = [&] {
      const auto t0 = Clock::now();
      big->Expand(false);
      ours.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
      oursCount = big->Count();
    };
    auto timeReference = [&] {
      const auto t0 = Clock::now();
      referenceCount = plain.Fill(bigFolder.Get(), owner);
      reference.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    };
    if (r % 2 == 0) {
      timeOurs();
      timeReference();
    } else {
      timeReference();
      timeOurs();
    }
    oursPaint.push_back(paint(tree->Handle()));
    referencePaint.push_back(paint(plain.tree));
    Pump();
    if (oursCount != kFolders || referenceCount != kFolders) {
      std::printf("round %d: %d child nodes in the shell tree, %d in the plain tree, %d expected\n", r + 1, oursCount,
                  referenceCount, kFolders);
      return 1;
    }
    std::printf(
        "round %d: shell tree %.1f ms, enumeration and plain tree %.1f ms (%d folders); first paint %.1f ms "
        "and %.1f ms\n",
        r + 1, ours.back(), reference.back(), kFolders, oursPaint.back(), referencePaint.back());
  }
  // Where the shell tree's time goes: each of its questions to the shell,
  // asked for every subfolder on its own.
  {
    std::vector<ItemListPtr> ids;
    IEnumIDList* items = nullptr;
    if (bigFolder->EnumObjects(owner, SHCONTF_FOLDERS, &items) == S_OK && items) {
      LPITEMIDLIST id = nullptr;
      ULONG fetched = 0;
      while (items->Next(1, &id, &fetched) == S_OK) ids.emplace_back(id);
      items->Release();
    }
    TacShellFolder* parent = TacCustomShellTreeView::FolderOf(ChildNamed(tree->Items().GetFirstNode(), "big"));
    std::vector<std::unique_ptr<TacShellFolder>> folders;
    auto step = [&](const char* what, auto&& body) {
      const auto t0 = Clock::now();
      for (std::size_t i = 0; i < ids.size(); ++i) body(i);
      std::printf("  %-34s %8.1f ms\n", what, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    };
    std::printf("each question for all %zu subfolders:\n", ids.size());
    step("folder object",
         [&](std::size_t i) { folders.push_back(std::make_unique<TacShellFolder>(parent, ids[i].get())); });
    step("bind the subfolder (when opened)", [&](std::size_t i) { (void)folders[i]->ShellFolder(); });
    step("caption", [&](std::size_t i) { (void)folders[i]->ItemCaption(seSystem); });
    step("icon, closed (when shown)", [&](std::size_t i) { (void)folders[i]->SystemIconIndex(false, false); });
    step("icon, open (when shown)", [&](std::size_t i) { (void)folders[i]->SystemIconIndex(false, true); });
    step("subfolders and sharing",
         [&](std::size_t i) { (void)folders[i]->Attributes(SFGAO_HASSUBFOLDER | SFGAO_SHARE); });
    {
      // Inserting alone: through the shell tree's window (and its layers) and
      // straight into the plain tree.
      HWND wnds[2] = {tree->Handle(), plain.tree};
      for (HWND wnd : wnds) {
        TVINSERTSTRUCTA top{};
        top.hParent = TVI_ROOT;
        top.hInsertAfter = TVI_LAST;
        top.item.mask = TVIF_TEXT;
        top.item.pszText = const_cast<char*>("probe");
        auto parentItem =
            reinterpret_cast<HTREEITEM>(::SendMessageA(wnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&top)));
        ::SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
        const auto t0 = Clock::now();
        for (std::size_t i = 0; i < ids.size(); ++i) {
          TVINSERTSTRUCTA ins{};
          ins.hParent = parentItem;
          ins.hInsertAfter = TVI_LAST;
          ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
          ins.item.pszText = const_cast<char*>("folder 12345");
          ins.item.iImage = ins.item.iSelectedImage = -1;
          ::SendMessageA(wnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
        }
        std::printf("  %-34s %8.1f ms\n",
                    wnd == plain.tree ? "insert into the plain tree" : "insert through the shell tree",
                    std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        const auto t2 = Clock::now();
        ::SendMessageA(wnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parentItem));
        std::printf("  %-34s %8.1f ms\n", wnd == plain.tree ? "open it in the plain tree" : "open it in the shell tree",
                    std::chrono::duration<double, std::milli>(Clock::now() - t2).count());
        ::SendMessageA(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(parentItem));
        ::SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
      }
    }
    const auto shellOrder = [&](const ItemListPtr& a, const ItemListPtr& b) {
      return CompareInShellOrder(bigFolder.Get(), a.get(), b.get()) < 0;
    };
    auto t0 = Clock::now();
    const bool inOrder = std::is_sorted(ids.begin(), ids.end(), shellOrder);
    std::printf("  %-34s %8.1f ms (%s)\n", "checking the shell's order",
                std::chrono::duration<double, std::milli>(Clock::now() - t0).count(),
                inOrder ? "the listing is in it" : "the listing is not in it");
    std::reverse(ids.begin(), ids.end());
    t0 = Clock::now();
    std::stable_sort(ids.begin(), ids.end(), shellOrder);
    std::printf("  %-34s %8.1f ms\n", "sorting a listing in reverse",
                std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  std::printf(
      "first paint of the opened folder (icons of the nodes shown asked then): shell tree %.1f ms, plain tree "
      "%.1f ms\n",
      Median(oursPaint), Median(referencePaint));
  std::printf(
      "opening a folder of %d subfolders: shell tree %.1f ms (names, icons, attributes, folder objects, the "
      "shell's order), bare enumeration with names into a plain tree view %.1f ms\n",
      kFolders, Median(ours), Median(reference));
  std::printf("RESULT tree_expand ours=%.1fms reference=%.1fms ratio=%.3f target=1.5%s\n", Median(ours),
              Median(reference), Median(ours) / Median(reference), translit::bench::kArchField);
  bigFolder.Reset();
  form.reset();
  delete fw::Application;
  return 0;
}
