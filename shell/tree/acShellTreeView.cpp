// The shell folder tree.
#include "shell/tree/acShellTreeView.h"  // first: the platform headers rename RegisterClass for all that follows

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "controls/protocol/sSkinState.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "shell/acAlphaImageList.h"
#include "shell/acShellNames.h"
#include "shell/acShellRoot.h"
#include "shell/acShellUnit.h"
#include "framework/core/FlagScope.h"
#include "framework/Handles.h"

namespace translit {

// {7D2A7245-2376-4D33-8008-A130935A2E8B}
const IID IID_IacShellCommandHook = {0x7D2A7245, 0x2376, 0x4D33, {0x80, 0x08, 0xA1, 0x30, 0x93, 0x5A, 0x2E, 0x8B}};

namespace {

// Re-reads the parents of renamed nodes once their label edits are over.
constexpr UINT WM_SHELLTREE_REBUILD_PENDING = WM_USER + 2;
// Ends the node update of a filled node that the platform did not open
// after all (another handler refused it).
constexpr UINT WM_SHELLTREE_EXPAND_DONE = WM_USER + 3;

using fw::UniqueMenu;

// The hourglass while the shell is asked, the old cursor back afterwards.
class WaitCursor {
 public:
  WaitCursor() : FOld(::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
  ~WaitCursor() { ::SetCursor(FOld); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR FOld;
};

class NodeUpdate {
 public:
  explicit NodeUpdate(fw::TTreeNodes& nodes) : FNodes(nodes) { FNodes.BeginUpdate(); }
  ~NodeUpdate() { FNodes.EndUpdate(); }
  NodeUpdate(const NodeUpdate&) = delete;
  NodeUpdate& operator=(const NodeUpdate&) = delete;

 private:
  fw::TTreeNodes& FNodes;
};

// The skin data's update: the control paints nothing meanwhile.
class SkinUpdate {
 public:
  explicit SkinUpdate(TsCommonData& data) : FData(data) { FData.StartUpdate(); }
  ~SkinUpdate() { FData.FinishUpdate(false); }
  SkinUpdate(const SkinUpdate&) = delete;
  SkinUpdate& operator=(const SkinUpdate&) = delete;

 private:
  TsCommonData& FData;
};

// The context menu's extension interface sits in the process-wide slot
// while its menu is tracked.
class ContextMenuSlot {
 public:
  explicit ContextMenuSlot(ComPtr<IContextMenu2> menu) { SetCurrentContextMenu(std::move(menu)); }
  ~ContextMenuSlot() { SetCurrentContextMenu(nullptr); }
  ContextMenuSlot(const ContextMenuSlot&) = delete;
  ContextMenuSlot& operator=(const ContextMenuSlot&) = delete;
};

// The folder part of a path: up to and including its last "\" or ":".
std::string FolderPartOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The last component of a root path: "C:\Music\" gives "Music", "C:\" "C:".
std::string LastPathComponent(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

ItemListPtr CopyList(LPCITEMIDLIST list) { return ItemListPtr(list ? CloneItemList(list) : nullptr); }

}  // namespace

// ---- the context menu

void ShowShellContextMenu(fw::TWinControl* owner, TacShellFolder* folder, int x, int y) {
  if (!owner || !folder) return;
  IShellFolder* parent = folder->ParentShellFolder();
  if (!parent) return;
  HWND ownerWnd = owner->Handle();
  LPCITEMIDLIST ids[1] = {folder->RelativeId()};
  ComPtr<IContextMenu> menu;
  if (FAILED(parent->GetUIObjectOf(ownerWnd, 1, ids, IID_IContextMenu, nullptr, menu.PutVoid())) || !menu) return;

  const POINT at = owner->ClientToScreen(POINT{x, y});
  UniqueMenu popup(::CreatePopupMenu());
  if (!popup) return;
  if (FAILED(menu->QueryContextMenu(popup.Get(), 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME))) return;
  UINT command = 0;
  {
    ContextMenuSlot slot(menu.As<IContextMenu2>(IID_IContextMenu2));
    command = static_cast<UINT>(
        ::TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, ownerWnd, nullptr));
  }
  if (command == 0) return;

  char verb[256] = {};
  if (FAILED(menu->GetCommandString(command - 1, GCS_VERBA, nullptr, verb, sizeof verb))) verb[0] = '\0';
  verb[sizeof verb - 1] = '\0';

  auto* hook = dynamic_cast<IacShellCommandHook*>(owner);
  bool handled = false;
  bool succeeded = false;
  if (hook) {
    hook->BeforeShellCommand(verb, handled);
    succeeded = true;
  }
  if (!handled) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = ownerWnd;
    info.lpVerb = MAKEINTRESOURCEA(command - 1);
    info.nShow = SW_SHOWNORMAL;
    succeeded = menu->InvokeCommand(&info) == S_OK;
  }
  if (hook) hook->AfterShellCommand(verb, succeeded);
}

// ---- construction

TacCustomShellTreeView::TacCustomShellTreeView(fw::TComponent* owner)
    : TsTreeView(owner), FNotifier(std::make_unique<TacShellChangeNotifier>(nullptr)) {
  StartShellUnit();
  SetRightClickSelect(true);
}

TacCustomShellTreeView::~TacCustomShellTreeView() {
  FNotifier.reset();
  SetShellComboBox(nullptr);
  SetShellListView(nullptr);
  // The framework's destruction removes the window; the nodes' folders go
  // first, while this class still knows them.
  DropAllNodes();
  FRootFolder.reset();
}

HRESULT STDMETHODCALLTYPE TacCustomShellTreeView::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IacShellCommandHook) || IsEqualIID(iid, IID_IUnknown)) {
    *object = static_cast<IacShellCommandHook*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

void TacCustomShellTreeView::Loaded() {
  TsTreeView::Loaded();
  BuildRoot();
  if (FAutoRefresh) SetAutoRefresh(true);
}

void TacCustomShellTreeView::CreateHandleDone() {
  TsTreeView::CreateHandleDone();
  ApplyImageList();
  if (Loading() || FBuildingRoot) return;
  // A window made again holds none of the old nodes: the tree starts over
  // from its root.
  DropAllNodes();
  BuildRoot();
}

// ---- nodes and their folders

TacShellFolder* TacCustomShellTreeView::FolderOf(const fw::TTreeNode* node) {
  return node ? static_cast<TacShellFolder*>(node->Data()) : nullptr;
}

TacShellFolder* TacCustomShellTreeView::CurrentFolder() const { return FolderOf(Selected()); }

std::string TacCustomShellTreeView::CurrentPath() const {
  TacShellFolder* folder = CurrentFolder();
  return folder ? folder->FolderPath() : std::string();
}

std::wstring TacCustomShellTreeView::CurrentPathW() const {
  TacShellFolder* folder = CurrentFolder();
  return folder ? folder->FolderPathW() : std::wstring();
}

void TacCustomShellTreeView::FreeNodeFolder(fw::TTreeNode* node) {
  FIconsPending.erase(node);
  delete FolderOf(node);
  node->SetData(nullptr);
}

void TacCustomShellTreeView::Delete(fw::TTreeNode* node) {
  FreeNodeFolder(node);
  TsTreeView::Delete(node);
}

void TacCustomShellTreeView::DropAllNodes() {
  if (!HandleAllocated()) return;
  // Selections the platform makes while the nodes go are no user's choice.
  fw::FlagScope syncing(FSyncing);
  NodeUpdate update(Items());
  SkinUpdate skin(SkinData());
  for (fw::TTreeNode* node = Items().GetFirstNode(); node; node = node->GetNext()) FreeNodeFolder(node);
  FIconsPending.clear();
  Items().Clear();
}

void TacCustomShellTreeView::BuildRoot() {
  if (Loading() || (ComponentState() & fw::csDesigning)) return;
  std::string error;
  try {
    std::unique_ptr<TacShellFolder> root = MakeRootFolder(FRootFolder, FPreviousRoot, FRoot);
    FRootFolder = std::move(root);
  } catch (const fw::Exception& e) {
    error = e.Message();
  }
  if (FRootFolder) {
    fw::FlagScope building(FBuildingRoot);
    if (Items().Count() > 0) DropAllNodes();
    auto* folder =
        new TacShellFolder(nullptr, ComPtr<IShellFolder>::Share(FRootFolder->ShellFolder()), FRootFolder->AbsoluteId());
    std::string text = RootFolderByName(FRoot)
                           ? ShellItemName(DesktopFolder()->ShellFolder(), folder->AbsoluteId(), SHGDN_NORMAL, FShowExt)
                           : LastPathComponent(FRoot);
    fw::TTreeNode* node = nullptr;
    try {
      node = Items().AddChildObject(nullptr, text, folder);
    } catch (...) {
      delete folder;
      throw;
    }
    if (FUseShellImages) {
      node->SetImageIndex(folder->SystemIconIndex(false, false));
      node->SetSelectedIndex(folder->SystemIconIndex(false, true));
    }
    AskImageIndexes(node);
    node->SetHasChildren(folder->HasSubfolders());
    node->Expand(false);
    SetSelected(node);
    if (FNotifier) FNotifier->SetOnChange(FNotifier->OnChange());
  }
  if (!error.empty()) throw fw::Exception(error);
}

void TacCustomShellTreeView::FillChildren(fw::TTreeNode* node) {
  WaitCursor wait;
  NodeUpdate update(Items());
  // A drive without a medium or a folder without access is read as empty,
  // with no critical-error box of the platform: neither while it is listed
  // nor while each child is asked for its name and attributes.
  fw::ErrorModeScope errorMode;
  TacShellFolder* folder = FolderOf(node);
  IShellFolder* shellFolder = folder ? folder->ShellFolder() : nullptr;
  if (!shellFolder) return;

  std::vector<ItemListPtr> ids;
  try {
    ComPtr<IEnumIDList> items;
    const HRESULT hr = shellFolder->EnumObjects(ShellOwnerWindow(), ShellEnumFlags(FObjectTypes), items.Put());
    if (FAILED(hr) || !items) return;
    for (;;) {
      LPITEMIDLIST id = nullptr;
      ULONG fetched = 0;
      const HRESULT next = items->Next(1, &id, &fetched);
      ItemListPtr owned(id);
      if (next != S_OK || !owned) break;
      ids.push_back(std::move(owned));
    }
  } catch (const fw::Exception&) {
    return;
  }
  // The shell's own order. Listings often come in it already (Wine's and
  // NTFS's by name, for folders alone): one pass finds that out. A stable
  // merge keeps to the array's bounds whatever the folder's comparison
  // answers.
  const auto shellOrder = [shellFolder](const ItemListPtr& a, const ItemListPtr& b) {
    return CompareInShellOrder(shellFolder, a.get(), b.get()) < 0;
  };
  if (!std::is_sorted(ids.begin(), ids.end(), shellOrder)) std::stable_sort(ids.begin(), ids.end(), shellOrder);
  for (ItemListPtr& id : ids) AddDescribedNode(node, std::move(id));
}

fw::TTreeNode* TacCustomShellTreeView::AddDescribedNode(fw::TTreeNode* parentNode, ItemListPtr id) {
  TacShellFolder* parentFolder = FolderOf(parentNode);
  // Bound below the parent's folder when it is first asked for; the listing's
  // own list is kept, not copied.
  auto folder = std::make_unique<TacShellFolder>(parentFolder, std::move(id));
  const std::string text = folder->ItemCaption(FShowExt);
  // Whether it has subfolders and whether it is shared, in one question.
  const ULONG attributes = folder->Attributes(SFGAO_HASSUBFOLDER | SFGAO_SHARE);
  fw::TTreeNode* child = Items().AddChildObject(parentNode, text, folder.get(), (attributes & SFGAO_HASSUBFOLDER) != 0);
  TacShellFolder* described = folder.release();
  if (attributes & SFGAO_SHARE) child->SetOverlayIndex(0);
  if (FObjectTypes.Contains(otNonFolders) && described->ShellFolder())
    child->SetHasChildren(HasEnumerableChildren(described->ShellFolder(), ShellEnumFlags(FObjectTypes)));
  // The shell's icons are asked for when the node is first shown.
  if (FUseShellImages)
    FIconsPending.insert(child);
  else
    AskImageIndexes(child);
  bool canAdd = true;
  if (OnAddFolder) OnAddFolder(this, described, canAdd);
  if (!canAdd) {
    child->Delete();
    return nullptr;
  }
  return child;
}

void TacCustomShellTreeView::ImagesNeeded(fw::TTreeNode* node) {
  if (FIconsPending.erase(node) == 0) return;
  TacShellFolder* folder = FolderOf(node);
  if (!folder) return;
  const int image = folder->SystemIconIndex(false, false);
  int selected = folder->SystemIconIndex(false, true);
  if (selected == 0) selected = image;
  node->StoreImageIndexes(image, selected);
  AskImageIndexes(node);
}

bool TacCustomShellTreeView::CanExpand(fw::TTreeNode* node) {
  if ((ComponentState() & fw::csDesigning) && node->Parent()) return false;
  if (!TsTreeView::CanExpand(node)) return false;
  TacShellFolder* folder = FolderOf(node);
  bool isFolder = false;
  if (folder) {
    // Asking a drive without a medium whether it is a folder probes it.
    fw::ErrorModeScope errorMode;
    isFolder = folder->IsFolderItem({}, true);
  }
  if (isFolder) {
    if (node->HasChildren() && !node->GetFirstChild()) {
      CloseExpandUpdate();
      Items().BeginUpdate();
      FExpandUpdateOpen = true;
      try {
        FillChildren(node);
      } catch (...) {
        CloseExpandUpdate();
        throw;
      }
      // Without children the platform does not open the node and says
      // nothing more: the update ends here then, else once it is open.
      if (!node->GetFirstChild())
        CloseExpandUpdate();
      else
        ::PostMessageA(Handle(), WM_SHELLTREE_EXPAND_DONE, 0, 0);
    }
  } else if (folder) {
    const std::string path = folder->FolderPath();
    const std::string dir = FolderPartOf(path);
    ::ShellExecuteA(Handle(), nullptr, path.c_str(), nullptr, dir.empty() ? nullptr : dir.c_str(), SW_HIDE);
  }
  node->SetHasChildren(node->GetFirstChild() != nullptr);
  return true;
}

bool TacCustomShellTreeView::CanChange(fw::TTreeNode* node) {
  const bool allowed = TsTreeView::CanChange(node);
  if (!allowed || FSyncing || !node) return allowed;
  const bool autoRefresh = FAutoRefresh;
  SetAutoRefresh(false);
  TacShellFolder* folder = FolderOf(node);
  if (folder && !folder->IsFolderItem()) folder = folder->Parent();
  {
    fw::FlagScope syncing(FSyncing);
    if (folder) TellLinkedFolder(folder->AbsoluteId());
  }
  fw::TTreeNode* oldWatch = std::exchange(FNodeToWatch, node);
  try {
    SetAutoRefresh(autoRefresh);
  } catch (...) {
    FNodeToWatch = oldWatch;
    throw;
  }
  FNodeToWatch = oldWatch;
  return allowed;
}

void TacCustomShellTreeView::CloseExpandUpdate() {
  if (!FExpandUpdateOpen) return;
  FExpandUpdateOpen = false;
  Items().EndUpdate();
}

fw::TTreeNode* TacCustomShellTreeView::FindNodeByList(LPCITEMIDLIST list, fw::TTreeNode* start) const {
  if (!list || !start) return nullptr;
  const int level = start->Level();
  for (fw::TTreeNode* node = start; node; node = node->GetNext()) {
    if (node != start && node->Level() <= level) break;
    TacShellFolder* folder = FolderOf(node);
    if (folder && ItemListsEqual(folder->AbsoluteId(), list)) return node;
  }
  return nullptr;
}

void TacCustomShellTreeView::SelectByList(LPCITEMIDLIST absoluteList) {
  if (FSyncing || Loading() || !absoluteList || !HandleAllocated()) return;
  if (TacShellFolder* current = CurrentFolder(); current && ItemListsEqual(current->AbsoluteId(), absoluteList)) return;
  fw::TTreeNode* node = Items().GetFirstNode();
  if (!node) return;
  fw::FlagScope syncing(FSyncing);
  NodeUpdate update(Items());
  SkinUpdate skin(SkinData());
  TacItemLists ancestors = AncestorItemLists(absoluteList);
  for (const ItemListPtr& ancestor : ancestors) {
    // Ancestors above the root (the desktop over the computer) have no node.
    if (fw::TTreeNode* found = FindNodeByList(ancestor.get(), node)) {
      node = found;
      node->Expand(false);
    }
  }
  fw::TTreeNode* target = FindNodeByList(absoluteList, node);
  SetSelected(target);
  if (target) target->MakeVisible();
  TellLinkedFolder(absoluteList);
}

void TacCustomShellTreeView::RebuildNode(fw::TTreeNode* node) {
  TacShellFolder* old = FolderOf(node);
  if (!old || !old->ShellFolder()) return;
  ItemListPtr topList, selectedList;
  if (TacShellFolder* top = FolderOf(TopItem())) topList = CopyList(top->AbsoluteId());
  if (TacShellFolder* selected = CurrentFolder()) selectedList = CopyList(selected->AbsoluteId());

  NodeUpdate update(Items());
  SkinUpdate skin(SkinData());
  WaitCursor wait;

  auto* folder =
      new TacShellFolder(FolderOf(node->Parent()), ComPtr<IShellFolder>::Share(old->ShellFolder()), old->RelativeId());
  fw::TTreeNode* fresh = nullptr;
  try {
    fresh = Items().InsertObject(node, std::string(), folder);
  } catch (...) {
    delete folder;
    throw;
  }
  FillChildren(fresh);
  fresh->SetImageIndex(folder->SystemIconIndex(false, false));
  fresh->SetSelectedIndex(folder->SystemIconIndex(false, true));
  fresh->SetHasChildren(folder->HasSubfolders());
  fresh->SetText(folder->ItemCaption(FShowExt));

  // What was open under the old node opens again under the new one.
  std::vector<ItemListPtr> expanded;
  const int level = node->Level();
  for (fw::TTreeNode* n = node; n; n = n->GetNext()) {
    if (n != node && n->Level() <= level) break;
    if (n->Expanded())
      if (TacShellFolder* f = FolderOf(n)) expanded.push_back(CopyList(f->AbsoluteId()));
  }
  for (const ItemListPtr& list : expanded)
    if (fw::TTreeNode* again = FindNodeByList(list.get(), fresh)) again->Expand(false);

  node->Delete();
  if (selectedList)
    if (fw::TTreeNode* selected = FindNodeByList(selectedList.get(), Items().GetFirstNode())) SetSelected(selected);
  if (topList)
    if (fw::TTreeNode* top = FindNodeByList(topList.get(), Items().GetFirstNode())) SetTopItem(top);
}

// ---- images

bool TacCustomShellTreeView::HasImageList() const { return ImageListToShow() != nullptr; }

HIMAGELIST TacCustomShellTreeView::ImageListToShow() const {
  if (Images()) return Images();
  if (FUseShellImages && SharedSystemImages()) return SharedSystemImages()->Handle();
  return nullptr;
}

void TacCustomShellTreeView::ApplyImageList() {
  if (!HandleAllocated()) return;
  fw::FlagScope setting(FSettingImages);
  ::SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(ImageListToShow()));
}

void TacCustomShellTreeView::SetUseShellImages(bool v) {
  FUseShellImages = v;
  ApplyImageList();
}

void TacCustomShellTreeView::AskImageIndexes(fw::TTreeNode* node) {
  if (!HasImageList()) return;
  if (OnGetImageIndex) OnGetImageIndex(this, node);
  if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
}

// ---- settings

void TacCustomShellTreeView::SetRoot(const TacRoot& root) {
  if (SameTextIgnoringCase(root, FRoot)) return;
  FPreviousRoot = FRoot;
  FRoot = root;
  RebuildFromRoot();
}

void TacCustomShellTreeView::SetObjectTypes(TacShellObjectTypes types) {
  FObjectTypes = types;
  RebuildFromRoot();
}

void TacCustomShellTreeView::RebuildFromRoot() {
  if (FSyncing) return;
  fw::FlagScope syncing(FSyncing);
  BuildRoot();
  TellLinkedRoot();
}

void TacCustomShellTreeView::SetAutoRefresh(bool v) {
  FAutoRefresh = v;
  if (Loading() || (ComponentState() & fw::csDesigning)) return;
  FNotifier.reset();
  if (!v) return;
  FNotifier = std::make_unique<TacShellChangeNotifier>(nullptr);
  FNotifier->SetWatchSubTree(false);
  // The folder of the node being selected, else the selected one: changes
  // re-read the selected node, so that is the folder to watch.
  TacShellFolder* watched = FNodeToWatch ? FolderOf(FNodeToWatch) : CurrentFolder();
  if (!watched) watched = FRootFolder.get();
  FNotifier->SetRoot(watched ? watched->FolderPath() : std::string());
  FNotifier->SetOnChange([this] { PostRebuildRequest(); });
}

void TacCustomShellTreeView::PostRebuildRequest() {
  if (HandleAllocated()) ::PostMessageA(Handle(), WM_SHELLTREE_REBUILD, 0, 0);
}

void TacCustomShellTreeView::RebuildPending() {
  std::vector<ItemListPtr> pending = std::move(FPendingRebuilds);
  FPendingRebuilds.clear();
  for (const ItemListPtr& list : pending)
    if (fw::TTreeNode* node = FindNodeByList(list.get(), Items().GetFirstNode())) RebuildNode(node);
}

// ---- linked controls

void TacCustomShellTreeView::LinkControl(fw::TComponent*& slot, fw::TComponent* control) {
  if (slot == control) return;
  if (auto* old = dynamic_cast<TacShellLinkedControl*>(slot)) old->SetTreePartner(nullptr);
  slot = control;
  if (!control) return;
  FreeNotification(control);
  if (auto* linked = dynamic_cast<TacShellLinkedControl*>(control)) {
    linked->TreeRootChanged(FRoot);
    linked->SetTreePartner(this);
  }
}

void TacCustomShellTreeView::SetShellComboBox(fw::TComponent* control) { LinkControl(FShellComboBox, control); }

void TacCustomShellTreeView::SetShellListView(fw::TComponent* control) { LinkControl(FShellListView, control); }

void TacCustomShellTreeView::Notification(fw::TComponent* component, bool removing) {
  TsTreeView::Notification(component, removing);
  if (!removing) return;
  if (component == FShellComboBox) FShellComboBox = nullptr;
  if (component == FShellListView) FShellListView = nullptr;
}

void TacCustomShellTreeView::TellLinkedRoot() {
  for (fw::TComponent* c : {FShellComboBox, FShellListView})
    if (auto* linked = dynamic_cast<TacShellLinkedControl*>(c)) linked->TreeRootChanged(FRoot);
}

void TacCustomShellTreeView::TellLinkedFolder(LPCITEMIDLIST list) {
  for (fw::TComponent* c : {FShellListView, FShellComboBox})
    if (auto* linked = dynamic_cast<TacShellLinkedControl*>(c)) linked->TreeFolderChanged(list);
}

// ---- the shell's commands and in-place renaming

void TacCustomShellTreeView::BeforeShellCommand(const std::string& verb, bool& handled) {
  fw::TTreeNode* selected = Selected();
  if (verb == "rename") {
    if (selected) {
      selected->EditText();
      handled = true;
    }
  } else if (verb == "open") {
    char current[MAX_PATH + 1] = {};
    const DWORD n = ::GetCurrentDirectoryA(MAX_PATH, current);
    FSavedDirectory = n > 0 && n < MAX_PATH ? std::string(current, n) : std::string();
    if (TacShellFolder* folder = CurrentFolder()) {
      const std::string dir = FolderPartOf(folder->FolderPath());
      if (!dir.empty()) ::SetCurrentDirectoryA(dir.c_str());
    }
  }
}

void TacCustomShellTreeView::AfterShellCommand(const std::string& verb, bool succeeded) {
  // The folder the shell's "open" ran in is left again whatever the
  // outcome: the program's own current folder must not move.
  if (verb == "open" && !FSavedDirectory.empty()) {
    ::SetCurrentDirectoryA(FSavedDirectory.c_str());
    FSavedDirectory.clear();
  }
  fw::TTreeNode* selected = Selected();
  if (!succeeded || !selected) return;
  if (verb == "delete") {
    // Only a file-system item has a path to look at: a virtual item's
    // parsing name would be taken as a file of the current folder.
    TacShellFolder* folder = FolderOf(selected);
    if (folder && (folder->Attributes(SFGAO_FILESYSTEM) & SFGAO_FILESYSTEM) &&
        ::GetFileAttributesA(folder->FolderPath().c_str()) == INVALID_FILE_ATTRIBUTES)
      selected->Delete();
  } else if (verb == "paste") {
    RebuildNode(selected);
  }
}

void TacCustomShellTreeView::Edit(fw::TTreeNode* node, const char* text) {
  if (!text) return;
  std::string name = text;
  if (OnEdited) OnEdited(this, node, name);
  TacShellFolder* folder = FolderOf(node);
  if (!folder || !folder->RenameItem(AnsiToWide(name))) return;
  node->SetText(name);
  // The parent is read again once the platform has finished the edit: the
  // edited node is one of the nodes that go.
  if (TacShellFolder* parent = FolderOf(node->Parent())) {
    FPendingRebuilds.push_back(CopyList(parent->AbsoluteId()));
    ::PostMessageA(Handle(), WM_SHELLTREE_REBUILD_PENDING, 0, 0);
  }
}

void TacCustomShellTreeView::ShowContextMenuAt(LPARAM screenPos) {
  POINT p{static_cast<short>(LOWORD(screenPos)), static_cast<short>(HIWORD(screenPos))};
  if (p.x == -1 && p.y == -1) {
    // From the keyboard: under the selected node's text.
    fw::TTreeNode* selected = Selected();
    RECT r = selected ? selected->DisplayRect(true) : RECT{};
    p = POINT{r.left, r.bottom};
  } else {
    p = ScreenToClient(p);
  }
  ShowShellContextMenu(this, CurrentFolder(), p.x, p.y);
}

bool TacCustomShellTreeView::HandleMenuMessage(fw::TMessage& m) {
  if (IContextMenu2* menu = CurrentContextMenu()) menu->HandleMenuMsg(m.Msg, m.WParam, m.LParam);
  m.Result = 0;
  return true;
}

void TacCustomShellTreeView::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case TVM_SETIMAGELIST:
      // Whatever list others set, the tree shows its own one.
      if (!FSettingImages) {
        m.WParam = TVSIL_NORMAL;
        m.LParam = reinterpret_cast<LPARAM>(ImageListToShow());
      }
      break;
    case WM_SHELLTREE_REBUILD:
      if (fw::TTreeNode* selected = Selected()) RebuildNode(selected);
      return;
    case WM_SHELLTREE_REBUILD_PENDING:
      RebuildPending();
      return;
    case WM_SHELLTREE_EXPAND_DONE:
      CloseExpandUpdate();
      return;
    case WM_CONTEXTMENU:
      if (FAutoContextMenus) {
        ShowContextMenuAt(m.LParam);
        m.Result = 0;
        return;
      }
      break;
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
      if (HandleMenuMessage(m)) return;
      break;
    case WM_NCPAINT:
      if (SkinChangeFreeze) {
        m.Result = 0;
        return;
      }
      break;
    case WM_DESTROY:
      DropAllNodes();
      break;
    default:
      break;
  }
  TsTreeView::WndProc(m);
  if (m.Msg == fw::CN_NOTIFY) {
    const UINT code = reinterpret_cast<NMHDR*>(m.LParam)->code;
    if (code == TVN_ITEMEXPANDEDA || code == TVN_ITEMEXPANDEDW) CloseExpandUpdate();
  }
}

// ---- registration

void RegisterShellTreeClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterTreeViewClasses();
  fw::RegisterClass<TacCustomShellTreeView>("TacCustomShellTreeView", "TsTreeView", false)
      .Bool("AutoContextMenus", &TacCustomShellTreeView::SetAutoContextMenus, true)
      .Custom(
          "ObjectTypes",
          [](TacCustomShellTreeView& tree, const fw::StoredValue& v, fw::TLoadContext&) {
            tree.SetObjectTypes(TacShellObjectTypes::FromBits(fw::StoredSet(
                v,
                {{"otFolders", 1u << otFolders}, {"otNonFolders", 1u << otNonFolders}, {"otHidden", 1u << otHidden}})));
          },
          "[otFolders]")
      .String("Root", &TacCustomShellTreeView::SetRoot)
      .Bool("UseShellImages", &TacCustomShellTreeView::SetUseShellImages, true)
      .Bool("AutoRefresh", &TacCustomShellTreeView::SetAutoRefresh, false)
      .Enum("ShowExt", &TacCustomShellTreeView::SetShowExt,
            {{"seSystem", seSystem}, {"seShow", seShow}, {"seHide", seHide}}, "seSystem");
  fw::RegisterClass<TsShellTreeView>("TsShellTreeView", "TacCustomShellTreeView");
}

}  // namespace translit
