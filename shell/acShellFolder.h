// TacShellFolder: one item of the shell namespace as the folder tree shows
// it. It owns its identifier lists (relative to its parent and absolute from
// the desktop) and answers the tree's questions: name, path, folder or not,
// attributes, icon, rename.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "framework/core/Classes.h"
#include "shell/ComPtr.h"
#include "shell/acItemIdList.h"
#include "shell/acShellTypes.h"

namespace translit {

class TacShellFolder {
 public:
  // A folder object for id below parent; with no parent, the desktop object
  // becomes the parent and id is taken as relative to the desktop.
  TacShellFolder(TacShellFolder* parent, ComPtr<IShellFolder> shellFolder, LPCITEMIDLIST id);
  // The same, with the item's own folder bound (BindSubfolder in the
  // parent's folder) only when it is first asked for: a tree that shows
  // thousands of items binds only those it opens.
  TacShellFolder(TacShellFolder* parent, LPCITEMIDLIST id);
  // The same, keeping id itself (as an enumeration handed it out) instead of
  // a copy; the absolute list is joined only when first asked for. The
  // parent must outlive this object, as it must for the binding.
  TacShellFolder(TacShellFolder* parent, ItemListPtr id);
  ~TacShellFolder();
  TacShellFolder(const TacShellFolder&) = delete;
  TacShellFolder& operator=(const TacShellFolder&) = delete;

  // The desktop object itself: the desktop's list and folder, no parent.
  static std::unique_ptr<TacShellFolder> CreateDesktop();

  LPCITEMIDLIST RelativeId() const { return FRelativeId.get(); }
  LPCITEMIDLIST AbsoluteId() const;
  TacShellFolder* Parent() const { return FParent; }
  IShellFolder* ShellFolder() const;
  int Level() const { return FLevel; }
  HWND ViewWindow() const { return FViewWindow; }
  const fw::TStrings& ColumnTexts() const { return FColumnTexts; }

  // The folder the item lives in (the desktop's when there is no parent);
  // not an added reference.
  IShellFolder* ParentShellFolder() const;

  // The parsing name from the desktop: a full path for file-system items,
  // the display name for virtual ones.
  std::string FolderPath() const;
  // The same with every character kept: a path that reaches a folder whose
  // name the code page cannot hold.
  std::wstring FolderPathW() const;
  // The name inside its folder; "?" when the folder cannot be had.
  std::string ItemCaption(TacShowExtension showExt) const;
  // Whether the shell treats the item as a folder; a fileName ending in
  // ".zip" answers false while zip files are not opened as folders.
  bool IsFolderItem(const std::string& fileName = {}, bool openZipFiles = true) const;
  bool HasSubfolders() const;
  // The shell's SFGAO bits of the item for a request mask (0 when its
  // folder cannot be had): several questions in one call.
  ULONG Attributes(ULONG request) const;
  TacItemCapabilities ItemCapabilities() const;
  TacItemProperties ItemProperties() const;
  // Renames the item through its folder: false when the shell does not offer
  // renaming; "Rename to %s failed" when the shell refuses the name.
  bool RenameItem(const std::wstring& newName);
  int SystemIconIndex(bool large, bool open) const;
  // Runs the item's default shell command; false when the shell could not.
  bool OpenWithShell() const;

  // Column texts for a list view of rootFolder (the folder listing this
  // item): columns 1 to columnCount - 1 from the shell's detail interface,
  // or from the file data where the folder has none.
  void LoadColumnDetails(TacShellFolder* rootFolder, HWND viewWindow, int columnCount);
  // Text of a column (1 and up) after LoadColumnDetails; empty past the last.
  std::string Details(int column) const;
  // The item's file data; raises when it cannot be read.
  WIN32_FIND_DATAA FindData() const;

 private:
  struct DesktopTag {};
  TacShellFolder(DesktopTag, ComPtr<IShellFolder> shellFolder, ItemListPtr desktopId);
  void LoadDetailsFromFindData(int columnCount);

  ItemListPtr FRelativeId;
  mutable ItemListPtr FAbsoluteId;
  mutable bool FJoinPending = false;
  TacShellFolder* FParent = nullptr;
  mutable ComPtr<IShellFolder> FShellFolder;
  mutable bool FBindPending = false;
  ComPtr<IShellFolder2> FShellFolder2;
  ComPtr<IShellDetails> FShellDetails;
  ComPtr<IUnknown> FDetailSource;
  int FLevel = 0;
  HWND FViewWindow = nullptr;
  fw::TStrings FColumnTexts;
  bool FDetailsLoaded = false;
};

// An IShellFolder for id below parentFolder, through the ways the shell
// offers one; null when there is none.
ComPtr<IShellFolder> BindSubfolder(IShellFolder* parentFolder, LPCITEMIDLIST id);

// Whether folder lists at least one item with the given SHCONTF flags. The
// platform's critical-error boxes stay off meanwhile, so an empty drive is
// probed without a "no disk" box.
bool HasEnumerableChildren(IShellFolder* folder, DWORD flags);

// The shell's order of two items of folder: negative when a sorts first.
int CompareInShellOrder(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b);

}  // namespace translit
