// The folder tree of the shell namespace: a skinned tree view whose nodes
// each carry a TacShellFolder. The root comes from a root folder's name
// ("rfMyComputer") or a path; children are read from the shell when a node
// is first opened, in the shell's own order, with the system's icons. A right
// click opens the shell's own context menu for the node, labels are renamed
// in place through the shell, and an optional watcher re-reads the selected
// folder when it changes on disk.
//
// Each node's folder object is owned by the tree and freed whenever the node
// goes (deleted, cleared, rebuilt, the window destroyed).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "controls/sTreeView.h"
#include "shell/acItemIdList.h"
#include "shell/acShellFolder.h"
#include "shell/acShellTypes.h"
#include "shell/tree/acShellChangeNotifier.h"

namespace translit {

class TacCustomShellTreeView;

// What a control that owns a shell context menu may do around the commands
// chosen in it: take a command over before the shell runs it, and follow up
// on its outcome. Its interface identifier is IID_IacShellCommandHook. The
// reference counting of controls does not govern their life (they belong to
// their owners), so it counts nothing.
struct IacShellCommandHook : public IUnknown {
  virtual void BeforeShellCommand(const std::string& verb, bool& handled) = 0;
  virtual void AfterShellCommand(const std::string& verb, bool succeeded) = 0;
};
// {7D2A7245-2376-4D33-8008-A130935A2E8B}
extern const IID IID_IacShellCommandHook;

// A shell combo box or list view linked to a tree: the tree hands it its
// root and the folder it selects.
class TacShellLinkedControl {
 public:
  virtual ~TacShellLinkedControl() = default;
  // The tree that drives the control now, none when unlinked.
  virtual void SetTreePartner(TacCustomShellTreeView* tree) = 0;
  virtual void TreeRootChanged(const TacRoot& root) = 0;
  virtual void TreeFolderChanged(LPCITEMIDLIST absoluteList) = 0;
};

using TacAddFolderEvent = std::function<void(fw::TComponent* sender, TacShellFolder* folder, bool& canAdd)>;

// Shows the shell's context menu of folder at (x, y) in owner's client
// area, runs the chosen command and tells owner's command hook, if it has
// one, before and after.
void ShowShellContextMenu(fw::TWinControl* owner, TacShellFolder* folder, int x, int y);

class TacCustomShellTreeView : public TsTreeView, public IacShellCommandHook {
 public:
  explicit TacCustomShellTreeView(fw::TComponent* owner);
  ~TacCustomShellTreeView() override;
  const char* ClassName() const override { return "TacCustomShellTreeView"; }

  // Published.
  bool AutoContextMenus() const { return FAutoContextMenus; }
  void SetAutoContextMenus(bool v) { FAutoContextMenus = v; }
  TacShellObjectTypes ObjectTypes() const { return FObjectTypes; }
  // Stores the types and builds the tree again from the root.
  void SetObjectTypes(TacShellObjectTypes types);
  const TacRoot& Root() const { return FRoot; }
  // A new root (equal ignoring case changes nothing) builds the tree again.
  void SetRoot(const TacRoot& root);
  bool UseShellImages() const { return FUseShellImages; }
  void SetUseShellImages(bool v);
  bool AutoRefresh() const { return FAutoRefresh; }
  // True watches the selected folder and re-reads it when it changes.
  void SetAutoRefresh(bool v);
  TacShowExtension ShowExt() const { return FShowExt; }
  // Applies to nodes made from now on.
  void SetShowExt(TacShowExtension v) { FShowExt = v; }
  fw::TComponent* ShellComboBox() const { return FShellComboBox; }
  void SetShellComboBox(fw::TComponent* control);
  fw::TComponent* ShellListView() const { return FShellListView; }
  void SetShellListView(fw::TComponent* control);
  TacAddFolderEvent OnAddFolder;
  // Asked for a node's image and selected image after the tree set them,
  // only while the tree has an image list.
  fw::TTVChangedEvent OnGetImageIndex;
  fw::TTVChangedEvent OnGetSelectedIndex;

  const TacRoot& PreviousRoot() const { return FPreviousRoot; }
  TacShellFolder* RootFolder() const { return FRootFolder.get(); }
  TacShellChangeNotifier* Notifier() const { return FNotifier.get(); }
  bool Syncing() const { return FSyncing; }
  const std::string& SavedDirectory() const { return FSavedDirectory; }

  // The folder object of a node, none for none.
  static TacShellFolder* FolderOf(const fw::TTreeNode* node);
  // The selected node's folder object, or none.
  TacShellFolder* CurrentFolder() const;
  // The selected folder's path: a full path for a file-system folder (a
  // drive's ends in "\"), the display name of a virtual one, "" when no
  // node is selected.
  std::string CurrentPath() const;
  // The same with every character kept, for callers that open the folder:
  // it reaches a folder whose name the code page cannot hold.
  std::wstring CurrentPathW() const;
  // Selects the node of an absolute list, opening the nodes of its
  // ancestors on the way.
  void SelectByList(LPCITEMIDLIST absoluteList);
  // Reads a node's children from the shell again, keeping what was open,
  // the selection and the top node where they still exist.
  void RebuildNode(fw::TTreeNode* node);
  // The first node at or below start whose folder is list.
  fw::TTreeNode* FindNodeByList(LPCITEMIDLIST list, fw::TTreeNode* start) const;

  // The command hook of the context menu.
  void BeforeShellCommand(const std::string& verb, bool& handled) override;
  void AfterShellCommand(const std::string& verb, bool succeeded) override;

  void Loaded() override;

  // Whether TVM_SETIMAGELIST messages of others are being replaced.
  bool SettingImages() const { return FSettingImages; }

  // IUnknown: answers IacShellCommandHook; counts nothing.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

 protected:
  void WndProc(fw::TMessage& m) override;
  void CreateHandleDone() override;
  bool CanExpand(fw::TTreeNode* node) override;
  bool CanChange(fw::TTreeNode* node) override;
  void Delete(fw::TTreeNode* node) override;
  void Edit(fw::TTreeNode* node, const char* text) override;
  void Notification(fw::TComponent* component, bool removing) override;

 private:
  void BuildRoot();
  void RebuildFromRoot();
  void FillChildren(fw::TTreeNode* node);
  // Adds the node of id below parentNode with its folder object, text,
  // children flag and overlay; its icons follow when first needed. None
  // when OnAddFolder refused it.
  fw::TTreeNode* AddDescribedNode(fw::TTreeNode* parentNode, ItemListPtr id);
  // The system's icons of a node described before, asked of the shell only
  // now that they are shown or read: the shell's icon lookup is by far its
  // slowest question, and most nodes of a large folder are never shown.
  void ImagesNeeded(fw::TTreeNode* node) override;
  void DropAllNodes();
  void FreeNodeFolder(fw::TTreeNode* node);
  void AskImageIndexes(fw::TTreeNode* node);
  bool HasImageList() const;
  HIMAGELIST ImageListToShow() const;
  void ApplyImageList();
  void PostRebuildRequest();
  void RebuildPending();
  void ShowContextMenuAt(LPARAM screenPos);
  bool HandleMenuMessage(fw::TMessage& m);
  void LinkControl(fw::TComponent*& slot, fw::TComponent* control);
  void TellLinkedRoot();
  void TellLinkedFolder(LPCITEMIDLIST list);

  TacRoot FRoot = "rfDesktop";
  TacRoot FPreviousRoot;
  std::unique_ptr<TacShellFolder> FRootFolder;
  TacShellObjectTypes FObjectTypes{otFolders};
  bool FBuildingRoot = false;
  bool FAutoContextMenus = true;
  bool FSyncing = false;
  fw::TComponent* FShellComboBox = nullptr;
  fw::TComponent* FShellListView = nullptr;
  bool FAutoRefresh = false;
  bool FSettingImages = false;
  bool FUseShellImages = true;
  std::unique_ptr<TacShellChangeNotifier> FNotifier;
  std::string FSavedDirectory;
  fw::TTreeNode* FNodeToWatch = nullptr;
  TacShowExtension FShowExt = seSystem;
  // Nodes described with the shell's icons still to be asked for.
  std::unordered_set<const fw::TTreeNode*> FIconsPending;
  // Nodes (by their folders' lists) to re-read once the label edit that
  // renamed one of their children has ended.
  std::vector<ItemListPtr> FPendingRebuilds;
  // The node update opened for a node being filled, kept until the platform
  // has opened the node: the platform then lays the new nodes out once.
  bool FExpandUpdateOpen = false;
  void CloseExpandUpdate();
};

class TsShellTreeView : public TacCustomShellTreeView {
 public:
  using TacCustomShellTreeView::TacCustomShellTreeView;
  const char* ClassName() const override { return "TsShellTreeView"; }
};

// The message a change of the watched folder posts to the tree; it re-reads
// the selected node.
constexpr UINT WM_SHELLTREE_REBUILD = WM_USER + 1;

// Registers the shell tree's classes with the layout reader.
void RegisterShellTreeClasses();

}  // namespace translit
