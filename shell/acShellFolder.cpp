// Folder objects of the shell namespace and the binding of subfolders.
#include "shell/acShellFolder.h"

#include <shellapi.h>

#include <cstdio>
#include <utility>

#include "framework/core/SysUtils.h"
#include "shell/acOleError.h"
#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"
#include "framework/Handles.h"

namespace translit {

namespace {

// The desktop's own absolute list: the empty list.
ItemListPtr DesktopItemList() {
  LPITEMIDLIST list = nullptr;
  OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list));
  return ItemListPtr(list);
}

std::string ToLower(std::string s) {
  CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

}  // namespace

TacShellFolder::TacShellFolder(TacShellFolder* parent, ComPtr<IShellFolder> shellFolder, LPCITEMIDLIST id)
    : FRelativeId(CloneItemList(id)), FShellFolder(std::move(shellFolder)) {
  if (parent) {
    FAbsoluteId.reset(JoinItemLists(parent->AbsoluteId(), id));
    FParent = parent;
  } else {
    ItemListPtr desktopId = DesktopItemList();
    FAbsoluteId.reset(JoinItemLists(desktopId.get(), id));
    FParent = DesktopFolder();
  }
  if (parent)
    for (TacShellFolder* p = parent->Parent(); p; p = p->Parent()) ++FLevel;
}

TacShellFolder::TacShellFolder(TacShellFolder* parent, LPCITEMIDLIST id) : TacShellFolder(parent, nullptr, id) {
  FBindPending = true;
}

TacShellFolder::TacShellFolder(TacShellFolder* parent, ItemListPtr id) : FRelativeId(std::move(id)) {
  FBindPending = true;
  if (parent) {
    FParent = parent;
    FJoinPending = true;
    for (TacShellFolder* p = parent->Parent(); p; p = p->Parent()) ++FLevel;
  } else {
    ItemListPtr desktopId = DesktopItemList();
    FAbsoluteId.reset(JoinItemLists(desktopId.get(), FRelativeId.get()));
    FParent = DesktopFolder();
  }
}

LPCITEMIDLIST TacShellFolder::AbsoluteId() const {
  if (FJoinPending) {
    FJoinPending = false;
    FAbsoluteId.reset(JoinItemLists(FParent->AbsoluteId(), RelativeId()));
  }
  return FAbsoluteId.get();
}

IShellFolder* TacShellFolder::ShellFolder() const {
  if (FBindPending) {
    FBindPending = false;
    IShellFolder* parentFolder = FParent ? FParent->ShellFolder() : nullptr;
    FShellFolder = BindSubfolder(parentFolder, RelativeId());
  }
  return FShellFolder.Get();
}

TacShellFolder::TacShellFolder(DesktopTag, ComPtr<IShellFolder> shellFolder, ItemListPtr desktopId)
    : FRelativeId(CloneItemList(desktopId.get())), FShellFolder(std::move(shellFolder)) {
  FAbsoluteId.reset(JoinItemLists(desktopId.get(), FRelativeId.get()));
}

std::unique_ptr<TacShellFolder> TacShellFolder::CreateDesktop() {
  ComPtr<IShellFolder> desktop = DesktopShellFolder();
  return std::unique_ptr<TacShellFolder>(new TacShellFolder(DesktopTag{}, std::move(desktop), DesktopItemList()));
}

TacShellFolder::~TacShellFolder() = default;

IShellFolder* TacShellFolder::ParentShellFolder() const {
  if (FParent) return FParent->ShellFolder();
  // Only the desktop object has no parent: its folder is the desktop's.
  return FShellFolder ? FShellFolder.Get() : DesktopFolder()->ShellFolder();
}

std::string TacShellFolder::FolderPath() const {
  return ShellItemName(DesktopFolder()->ShellFolder(), AbsoluteId(), SHGDN_FORPARSING, seSystem);
}

std::wstring TacShellFolder::FolderPathW() const {
  return ShellItemWideName(DesktopFolder()->ShellFolder(), AbsoluteId(), SHGDN_FORPARSING);
}

std::string TacShellFolder::ItemCaption(TacShowExtension showExt) const {
  IShellFolder* folder = ParentShellFolder();
  if (!folder) return "?";
  return ShellItemName(folder, RelativeId(), SHGDN_INFOLDER, showExt);
}

ULONG TacShellFolder::Attributes(ULONG request) const {
  IShellFolder* folder = ParentShellFolder();
  if (!folder || !FRelativeId) return 0;
  LPCITEMIDLIST ids[1] = {RelativeId()};
  ULONG attributes = request;
  if (FAILED(folder->GetAttributesOf(1, ids, &attributes))) return 0;
  return attributes;
}

bool TacShellFolder::IsFolderItem(const std::string& fileName, bool openZipFiles) const {
  if (!openZipFiles && !fileName.empty() && ToLower(ExtractFileExt(fileName)) == ".zip") return false;
  return Attributes(SFGAO_FOLDER) & SFGAO_FOLDER;
}

bool TacShellFolder::HasSubfolders() const { return Attributes(SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER; }

TacItemCapabilities TacShellFolder::ItemCapabilities() const {
  return AttributesToSet<TacItemCapabilities>(Attributes(ItemCapabilityMask), ItemCapabilityAttributes);
}

TacItemProperties TacShellFolder::ItemProperties() const {
  if (!ParentShellFolder()) return {};
  TacItemProperties first =
      AttributesToSet<TacItemProperties>(Attributes(ItemPropertyMask), ItemPropertyAttributes, 0, 4);
  TacItemProperties second = AttributesToSet<TacItemProperties>(Attributes(0), ItemPropertyAttributes, 4, 4);
  return TacItemProperties::FromBits(first.Bits() | second.Bits());
}

bool TacShellFolder::RenameItem(const std::wstring& newName) {
  if (!ItemCapabilities().Contains(icCanRename)) return false;
  IShellFolder* folder = ParentShellFolder();
  LPITEMIDLIST newId = nullptr;
  HRESULT hr = folder->SetNameOf(nullptr, RelativeId(), newName.c_str(), SHGDN_NORMAL, &newId);
  ItemListPtr owned(newId);
  if (FAILED(hr)) throw fw::Exception(fw::Format("Rename to %s failed", WideToAnsi(newName.c_str())));
  // Keep the old lists when the shell renamed without naming the new item.
  if (!owned) return true;
  FJoinPending = false;
  FAbsoluteId.reset(FParent ? JoinItemLists(FParent->AbsoluteId(), owned.get()) : CloneItemList(owned.get()));
  FRelativeId = std::move(owned);
  return true;
}

int TacShellFolder::SystemIconIndex(bool large, bool open) const {
  UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX;
  if (open) flags |= SHGFI_OPENICON;
  if (!large) flags |= SHGFI_SMALLICON;
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(AbsoluteId()), 0, &info, sizeof info, flags);
  return info.iIcon;
}

bool TacShellFolder::OpenWithShell() const {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = ShellOwnerWindow();
  info.lpIDList = const_cast<LPITEMIDLIST>(AbsoluteId());
  info.nShow = SW_SHOW;
  return ShellExecuteExA(&info);
}

void TacShellFolder::LoadColumnDetails(TacShellFolder* rootFolder, HWND viewWindow, int columnCount) {
  FViewWindow = viewWindow;
  FColumnTexts.Clear();
  IShellFolder* folder = rootFolder ? rootFolder->ShellFolder() : ParentShellFolder();
  if (!FDetailSource && folder) {
    FShellFolder2 = ComPtr<IShellFolder>::Share(folder).As<IShellFolder2>(IID_IShellFolder2);
    if (FShellFolder2) {
      FDetailSource = FShellFolder2.As<IUnknown>(IID_IUnknown);
    } else {
      if (FAILED(folder->CreateViewObject(viewWindow, IID_IShellDetails, FShellDetails.PutVoid())))
        FShellDetails.Reset();
      if (FShellDetails) FDetailSource = FShellDetails.As<IUnknown>(IID_IUnknown);
    }
  }
  if (!FDetailSource) {
    LoadDetailsFromFindData(columnCount);
  } else {
    for (int column = 1; column < columnCount; ++column) {
      SHELLDETAILS details{};
      HRESULT hr = FShellFolder2 ? FShellFolder2->GetDetailsOf(RelativeId(), column, &details)
                                 : FShellDetails->GetDetailsOf(RelativeId(), column, &details);
      FColumnTexts.Add(SUCCEEDED(hr) ? StrRetText(RelativeId(), details.str) : std::string());
    }
  }
  FDetailsLoaded = true;
}

void TacShellFolder::LoadDetailsFromFindData(int columnCount) {
  if (columnCount <= 1) return;
  WIN32_FIND_DATAA data = FindData();
  char text[64];
  // Size in kilobytes (folders have none), then the last write time.
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    text[0] = '\0';
  } else {
    unsigned long long bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    std::snprintf(text, sizeof text, "%llu KB", (bytes + 1023) / 1024);
  }
  FColumnTexts.Add(text);
  if (columnCount > 2) {
    FILETIME local{};
    SYSTEMTIME time{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &time);
    std::snprintf(text, sizeof text, "%02u.%02u.%04u %02u:%02u", time.wDay, time.wMonth, time.wYear, time.wHour,
                  time.wMinute);
    FColumnTexts.Add(text);
  }
  while (FColumnTexts.Count() < columnCount - 1) FColumnTexts.Add({});
}

std::string TacShellFolder::Details(int column) const {
  if (!FDetailsLoaded) throw fw::Exception(fw::Format("%s: Missing call to LoadColumnDetails", ItemCaption(seSystem)));
  if (column < 1 || column > FColumnTexts.Count()) return {};
  return FColumnTexts[column - 1];
}

WIN32_FIND_DATAA TacShellFolder::FindData() const {
  WIN32_FIND_DATAA data{};
  IShellFolder* folder = ParentShellFolder();
  HRESULT hr = folder ? SHGetDataFromIDListA(folder, RelativeId(), SHGDFIL_FINDDATA, &data, sizeof data) : E_FAIL;
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "%lX", static_cast<unsigned long>(hr));
    throw fw::Exception("Unable to retrieve folder details for \"" + ItemCaption(seSystem) + "\". Error code $" + code);
  }
  return data;
}

ComPtr<IShellFolder> BindSubfolder(IShellFolder* parentFolder, LPCITEMIDLIST id) {
  ComPtr<IShellFolder> folder;
  if (parentFolder) {
    if (FAILED(parentFolder->BindToObject(id, nullptr, IID_IShellFolder, folder.PutVoid()))) folder.Reset();
    if (!folder) {
      LPCITEMIDLIST ids[1] = {id};
      if (FAILED(parentFolder->GetUIObjectOf(nullptr, 1, ids, IID_IShellFolder, nullptr, folder.PutVoid())))
        folder.Reset();
      // The folder's own view object replaces the item's UI object, even
      // when there is none.
      ComPtr<IShellFolder> view;
      if (FAILED(parentFolder->CreateViewObject(nullptr, IID_IShellFolder, view.PutVoid()))) view.Reset();
      folder = std::move(view);
    }
  }
  if (!folder) {
    ComPtr<IShellFolder> desktop = DesktopShellFolder();
    if (FAILED(desktop->BindToObject(id, nullptr, IID_IShellFolder, folder.PutVoid()))) folder.Reset();
  }
  return folder;
}

bool HasEnumerableChildren(IShellFolder* folder, DWORD flags) {
  if (!folder) return false;
  fw::ErrorModeScope errorMode;
  ComPtr<IEnumIDList> items;
  if (FAILED(folder->EnumObjects(nullptr, flags, items.Put())) || !items) return false;
  LPITEMIDLIST first = nullptr;
  ULONG fetched = 0;
  HRESULT hr = items->Next(1, &first, &fetched);
  ItemListPtr owned(first);
  return hr == S_OK;
}

int CompareInShellOrder(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b) {
  return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a, b)));
}

}  // namespace translit
