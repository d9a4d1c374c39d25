// Folder objects on Wine's real shell namespace: paths and captions, folder
// and attribute queries, renaming, icons, column details, subfolder binding
// and enumeration, and that none of it leaks task-allocator blocks.
#include "shell/acShellFolder.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "shell/acAlphaImageList.h"
#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"
#include "tests/shell/MallocSpy.h"
#include "tests/shell/ShellFixture.h"

namespace translit {
namespace {

using test::ChildrenOf;
using test::FolderObjectOf;
using test::ItemsOf;
using test::LeakedBlocks;
using test::ListedFolder;
using test::ParsePath;
using test::TStubShellFolder;
using testing_files::TempFolder;

constexpr DWORD kAllItems = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::unique_ptr<TacShellFolder> ComputerFolder() {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list))) return nullptr;
  ItemListPtr owned(list);
  return std::make_unique<TacShellFolder>(nullptr, BindSubfolder(DesktopFolder()->ShellFolder(), list), list);
}

TEST(DesktopFolder, IsTheParentlessDesktopObject) {
  TacShellFolder* desktop = DesktopFolder();
  ASSERT_NE(desktop, nullptr);
  EXPECT_EQ(desktop->Parent(), nullptr);
  EXPECT_EQ(CountItemIds(desktop->AbsoluteId()), 0);
  EXPECT_EQ(CountItemIds(desktop->RelativeId()), 0);
  ASSERT_NE(desktop->ShellFolder(), nullptr);
  EXPECT_EQ(desktop->ParentShellFolder(), desktop->ShellFolder());
}

TEST(FolderPath, ComputerIsItsDisplayNameAndDrivesAreTheirRoots) {
  auto computer = ComputerFolder();
  ASSERT_TRUE(computer);
  EXPECT_EQ(computer->Parent(), DesktopFolder()) << "made without parent: the desktop object adopts it";
  EXPECT_EQ(computer->Level(), 0);
  std::string path = computer->FolderPath();
  EXPECT_FALSE(path.empty());
  EXPECT_NE(path.rfind("::{", 0), 0u) << path;
  EXPECT_EQ(path, ShellItemName(DesktopFolder()->ShellFolder(), computer->AbsoluteId(), SHGDN_NORMAL, seSystem));
  EXPECT_EQ(computer->ItemCaption(seSystem), path);
  EXPECT_TRUE(computer->IsFolderItem());
  EXPECT_TRUE(computer->HasSubfolders());

  auto drives = ChildrenOf(*computer, SHCONTF_FOLDERS);
  const TacShellFolder* driveC = nullptr;
  for (const auto& drive : drives)
    if (SameText(drive->FolderPath(), "C:\\")) driveC = drive.get();
  ASSERT_NE(driveC, nullptr) << "no child of the computer folder has the path C:\\";
  EXPECT_EQ(driveC->Parent(), computer.get());
  EXPECT_EQ(driveC->Level(), 1);
  EXPECT_EQ(CountItemIds(driveC->AbsoluteId()), CountItemIds(computer->AbsoluteId()) + 1);
  EXPECT_TRUE(driveC->IsFolderItem());
  EXPECT_TRUE(driveC->HasSubfolders());
}

TEST(FolderPath, FileSystemItemsGiveFullPaths) {
  TempFolder tree;
  tree.Folder("sub");
  tree.File("sub\\file.txt");
  const ListedFolder items = ItemsOf(tree.Path(), SHCONTF_FOLDERS);
  ASSERT_TRUE(items.root);
  // The shell gives a folder's path without the final "\".
  EXPECT_TRUE(SameText(items.root->FolderPath() + "\\", tree.Path())) << items.root->FolderPath();
  TacShellFolder* sub = items["sub"];
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(SameText(sub->FolderPath(), tree.Path() + "sub"));
  auto files = ChildrenOf(*sub, SHCONTF_NONFOLDERS);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(SameText(files[0]->FolderPath(), tree.Path() + "sub\\file.txt"));
  EXPECT_EQ(files[0]->Level(), 2);
}

TEST(FolderPath, TheWidePathKeepsWhatTheCodePageCannotHold) {
  TempFolder tree;
  // "Привет 日本": the last two letters are not in code page 1251.
  const std::wstring full = tree.Root() + L"\\\x041F\x0440\x0438\x0432\x0435\x0442 \x65E5\x672C";
  ASSERT_TRUE(::CreateDirectoryW(full.c_str(), nullptr));
  const ListedFolder items = ItemsOf(tree.Path(), SHCONTF_FOLDERS);
  ASSERT_TRUE(items.root);
  ASSERT_EQ(items.children.size(), 1u);
  const std::wstring wide = items.children[0]->FolderPathW();
  EXPECT_EQ(::lstrcmpiW(wide.c_str(), full.c_str()), 0) << WideToAnsi(wide.c_str());
  EXPECT_NE(::GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesA(items.children[0]->FolderPath().c_str()), INVALID_FILE_ATTRIBUTES)
      << "the code page's path reaches it: the test shows nothing";

  // Where the code page holds every character the two agree, down to the
  // computer's display name.
  EXPECT_EQ(WideToAnsi(items.root->FolderPathW().c_str()), items.root->FolderPath());
  auto computer = ComputerFolder();
  ASSERT_TRUE(computer);
  EXPECT_EQ(computer->FolderPathW(), AnsiToWide(computer->FolderPath()));
}

// A file type whose extension the shell never shows, registered in the
// prefix while a test runs (Wine reads classes from the machine's key only).
class HiddenExtensionType {
 public:
  HiddenExtensionType() {
    HKEY key;
    if (!RegCreateKeyA(HKEY_CLASSES_ROOT, ".shelltesthide", &key)) {
      RegSetValueA(key, nullptr, REG_SZ, "ShellTestHiddenFile", 0);
      RegCloseKey(key);
    }
    if (!RegCreateKeyA(HKEY_CLASSES_ROOT, "ShellTestHiddenFile", &key)) {
      RegSetValueExA(key, "NeverShowExt", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
      RegCloseKey(key);
    }
  }
  ~HiddenExtensionType() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".shelltesthide");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "ShellTestHiddenFile");
  }
};

TEST(ItemCaption, ShowExtensionRules) {
  HiddenExtensionType hiddenType;
  TempFolder tree;
  tree.File("a.txt");
  tree.File("noext");
  tree.File("report.shelltesthide");
  tree.Folder("dir.ext");
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  ASSERT_EQ(items.children.size(), 4u);
  struct Case {
    const char* shown;  // as the shell names it
    const char* hide;
    const char* show;
  } cases[] = {
      {"a.txt", "a", "a.txt"},
      {"noext", "noext", "noext"},
      {"report", "report", "report.shelltesthide"},
      {"dir.ext", "dir.ext", "dir.ext"},  // a folder keeps its name
  };
  for (const Case& c : cases) {
    TacShellFolder* item = items[c.shown];
    ASSERT_NE(item, nullptr) << c.shown;
    EXPECT_EQ(item->ItemCaption(seSystem), c.shown);
    EXPECT_EQ(item->ItemCaption(seHide), c.hide) << c.shown;
    EXPECT_EQ(item->ItemCaption(seShow), c.show) << c.shown;
  }
}

TEST(ItemCaption, WithoutAParentFolderIsAQuestionMark) {
  TempFolder tree;
  auto root = FolderObjectOf(tree.Path());
  ASSERT_TRUE(root);
  // A parent whose folder could not be bound.
  TacShellFolder unbound(DesktopFolder(), nullptr, root->RelativeId());
  TacShellFolder child(&unbound, nullptr, root->RelativeId());
  EXPECT_EQ(child.ParentShellFolder(), nullptr);
  EXPECT_EQ(child.ItemCaption(seSystem), "?");
  EXPECT_TRUE(child.ItemProperties().Empty());
  EXPECT_FALSE(child.IsFolderItem());
  EXPECT_EQ(ShellItemName(nullptr, root->RelativeId(), SHGDN_NORMAL, seSystem), "parentfolder = nil");
}

TEST(IsFolderItem, ZipNamesAreNoFoldersWhileZipFilesStayClosed) {
  TempFolder tree;
  tree.Folder("bundle.ZIP");  // a real folder the shell opens
  tree.File("archive.zip", "PK");
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  TacShellFolder* bundle = items["bundle.ZIP"];
  TacShellFolder* archive = items["archive.zip"];
  ASSERT_TRUE(bundle && archive);
  EXPECT_TRUE(bundle->IsFolderItem());
  EXPECT_TRUE(bundle->IsFolderItem("bundle.ZIP", true));
  EXPECT_FALSE(bundle->IsFolderItem("bundle.ZIP", false));
  EXPECT_TRUE(bundle->IsFolderItem("", false)) << "no name: the shell decides";
  EXPECT_FALSE(archive->IsFolderItem("archive.zip", false));
  EXPECT_FALSE(archive->HasSubfolders());
}

TEST(Attributes, CapabilitiesAndPropertiesOfRealItems) {
  TempFolder tree;
  tree.File("plain.txt");
  std::string readOnly = tree.File("locked.txt");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  tree.Folder("dir");
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  TacShellFolder* plain = items["plain.txt"];
  TacShellFolder* locked = items["locked.txt"];
  TacShellFolder* dir = items["dir"];
  ASSERT_TRUE(plain && locked && dir);

  TacItemCapabilities caps = plain->ItemCapabilities();
  for (TacItemCapability c : {icCanCopy, icCanDelete, icCanMove, icCanRename})
    EXPECT_TRUE(caps.Contains(c)) << "capability " << c;
  EXPECT_TRUE(plain->ItemProperties().Contains(ipFileSystem));
  EXPECT_FALSE(plain->ItemProperties().Contains(ipReadOnly));
  EXPECT_TRUE(locked->ItemProperties().Contains(ipReadOnly));
  EXPECT_TRUE(dir->ItemProperties().Contains(ipFileSystemAncestor));
  EXPECT_FALSE(plain->ItemProperties().Contains(ipFileSystemAncestor));
}

TEST(RenameItem, RenamesARealFileAndFollowsIt) {
  TempFolder tree;
  tree.File("old.txt", "content");
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  TacShellFolder* item = items["old.txt"];
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->RenameItem(L"new.txt"));
  EXPECT_FALSE(FileExists(tree.Path() + "old.txt"));
  EXPECT_TRUE(FileExists(tree.Path() + "new.txt"));
  EXPECT_EQ(item->ItemCaption(seSystem), "new.txt");
  EXPECT_TRUE(SameText(item->FolderPath(), tree.Path() + "new.txt"));
  EXPECT_EQ(CountItemIds(item->AbsoluteId()), CountItemIds(items.root->AbsoluteId()) + 1);

  // Cyrillic names pass through the code page both ways.
  ASSERT_TRUE(item->RenameItem(L"\x0416\x0443\x043A.txt"));
  EXPECT_TRUE(FileExists(tree.Path() + "\xC6\xF3\xEA.txt"));
  EXPECT_EQ(item->ItemCaption(seSystem), "\xC6\xF3\xEA.txt");
}

TEST(RenameItem, RefusesWhatTheShellRefuses) {
  TempFolder tree;
  tree.File("a.txt");
  tree.File("taken.txt");
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  TacShellFolder* item = items["a.txt"];
  ASSERT_NE(item, nullptr);
  for (const wchar_t* name : {L"taken.txt", L"a|b.txt", L"sub\\a.txt", L""}) {
    std::string ansi = WideToAnsi(name);
    try {
      item->RenameItem(name);
      ADD_FAILURE() << "renamed to " << ansi;
    } catch (const fw::Exception& e) {
      EXPECT_EQ(e.Message(), "Rename to " + ansi + " failed");
    }
    EXPECT_EQ(item->ItemCaption(seSystem), "a.txt") << ansi;
    EXPECT_TRUE(FileExists(tree.Path() + "a.txt")) << ansi;
    EXPECT_TRUE(FileExists(tree.Path() + "taken.txt"));
  }

  // A drive has no SFGAO_CANRENAME: nothing is asked of the shell.
  auto computer = ComputerFolder();
  ASSERT_TRUE(computer);
  auto drives = ChildrenOf(*computer, SHCONTF_FOLDERS);
  for (const auto& drive : drives) {
    if (!SameText(drive->FolderPath(), "C:\\")) continue;
    ASSERT_FALSE(drive->ItemCapabilities().Contains(icCanRename));
    ItemListPtr before(CloneItemList(drive->AbsoluteId()));
    EXPECT_FALSE(drive->RenameItem(L"X"));
    EXPECT_TRUE(ItemListsEqual(before.get(), drive->AbsoluteId()));
    EXPECT_TRUE(SameText(drive->FolderPath(), "C:\\"));
  }
}

TEST(RenameItem, LeaksNothingOnSuccessOrFailure) {
  TempFolder tree;
  tree.File("one.txt");
  tree.File("taken.txt");
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  TacShellFolder* item = items["one.txt"];
  ASSERT_NE(item, nullptr);
  bool flip = false;
  EXPECT_EQ(LeakedBlocks(6,
                         [&] {
                           item->RenameItem(flip ? L"one.txt" : L"two.txt");
                           flip = !flip;
                         }),
            0);
  EXPECT_EQ(LeakedBlocks(6,
                         [&] {
                           try {
                             item->RenameItem(L"taken.txt");
                           } catch (const fw::Exception&) {
                           }
                         }),
            0);
}

TEST(Enumeration, SubfoldersComeInTheShellsOrder) {
  TempFolder tree;
  for (const char* name : {"b", "A", "c", "\xC1\xE5\xF0\xE5\xE7\xE0"}) tree.Folder(name);
  tree.File("aaa.txt");
  auto root = FolderObjectOf(tree.Path());
  ASSERT_TRUE(root);
  EXPECT_TRUE(root->HasSubfolders());

  auto folders = ChildrenOf(*root, ShellEnumFlags({otFolders}));
  std::vector<std::string> captions;
  captions.reserve(folders.size());
  for (const auto& f : folders) captions.push_back(f->ItemCaption(seSystem));
  // Folders only, case-insensitively sorted by the shell, Latin before Cyrillic.
  EXPECT_EQ(captions, (std::vector<std::string>{"A", "b", "c", "\xC1\xE5\xF0\xE5\xE7\xE0"}));
  for (const auto& f : folders) {
    EXPECT_NE(f->ShellFolder(), nullptr) << f->ItemCaption(seSystem);
    EXPECT_TRUE(f->IsFolderItem());
  }
  auto everything = ChildrenOf(*root, ShellEnumFlags({otFolders, otNonFolders}));
  ASSERT_EQ(everything.size(), 5u);
  EXPECT_EQ(everything.back()->ItemCaption(seSystem), "aaa.txt") << "folders sort before files";
  EXPECT_EQ(everything.back()->ShellFolder(), nullptr) << "a file binds to no folder";
}

// A folder whose enumeration is scripted, and which records the error mode
// the platform is in while it is asked.
class ScriptedFolder : public TStubShellFolder {
 public:
  HRESULT enumResult = E_FAIL;
  IEnumIDList* enumerator = nullptr;
  UINT modeDuringEnum = 0xFFFF;

  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** out) override {
    modeDuringEnum = SetErrorMode(0);
    SetErrorMode(modeDuringEnum);
    *out = enumerator;
    if (enumerator) enumerator->AddRef();
    return enumResult;
  }
};

TEST(HasEnumerableChildren, ProbesQuietlyAndRestoresTheErrorMode) {
  TempFolder tree;
  tree.Folder("full");
  tree.Folder("full\\inner");
  tree.Folder("files");
  tree.File("files\\only.txt");
  tree.Folder("empty");
  const ListedFolder items = ItemsOf(tree.Path(), SHCONTF_FOLDERS);
  ASSERT_TRUE(items.root);
  TacShellFolder* full = items["full"];
  TacShellFolder* files = items["files"];
  TacShellFolder* empty = items["empty"];
  ASSERT_TRUE(full && files && empty);

  const UINT callerMode = SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;
  UINT saved = SetErrorMode(callerMode);
  struct Case {
    IShellFolder* folder;
    DWORD flags;
    bool expected;
    const char* what;
  } cases[] = {
      {full->ShellFolder(), SHCONTF_FOLDERS, true, "folder with a subfolder"},
      {files->ShellFolder(), SHCONTF_FOLDERS, false, "only files, folders asked"},
      {files->ShellFolder(), kAllItems, true, "only files, files asked"},
      {empty->ShellFolder(), kAllItems, false, "empty folder"},
      {nullptr, kAllItems, false, "no folder"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasEnumerableChildren(c.folder, c.flags), c.expected) << c.what;
    EXPECT_EQ(SetErrorMode(callerMode), callerMode) << "mode not restored: " << c.what;
  }

  ScriptedFolder failing;
  EXPECT_FALSE(HasEnumerableChildren(&failing, kAllItems));
  EXPECT_EQ(failing.modeDuringEnum, static_cast<UINT>(SEM_FAILCRITICALERRORS));
  EXPECT_EQ(SetErrorMode(callerMode), callerMode);
  ScriptedFolder noEnumerator;
  noEnumerator.enumResult = S_FALSE;
  EXPECT_FALSE(HasEnumerableChildren(&noEnumerator, kAllItems));
  EXPECT_EQ(SetErrorMode(saved), callerMode);

  EXPECT_EQ(LeakedBlocks(5, [&] { HasEnumerableChildren(full->ShellFolder(), kAllItems); }), 0)
      << "the first item's list must be freed";
}

TEST(BindSubfolder, BindsFoldersAndFallsBackToTheDesktop) {
  TempFolder tree;
  tree.Folder("sub");
  tree.File("sub\\inside.txt");
  const ListedFolder items = ItemsOf(tree.Path(), SHCONTF_FOLDERS);
  ASSERT_TRUE(items.root);
  ASSERT_NE(items.root->ShellFolder(), nullptr);
  TacShellFolder* sub = items["sub"];
  ASSERT_NE(sub, nullptr);
  ComPtr<IShellFolder> bound = BindSubfolder(items.root->ShellFolder(), sub->RelativeId());
  ASSERT_TRUE(bound);
  EXPECT_TRUE(HasEnumerableChildren(bound.Get(), SHCONTF_NONFOLDERS));

  // A folder that binds nothing: the absolute list is bound by the desktop.
  ScriptedFolder nothing;
  ComPtr<IShellFolder> viaDesktop = BindSubfolder(&nothing, sub->AbsoluteId());
  ASSERT_TRUE(viaDesktop);
  EXPECT_TRUE(HasEnumerableChildren(viaDesktop.Get(), SHCONTF_NONFOLDERS));
}

TEST(SystemImages, SharedSmallIconListAndIndexes) {
  TsAlphaImageList* images = SharedSystemImages();
  ASSERT_NE(images, nullptr);
  EXPECT_TRUE(images->ShareImages());
  EXPECT_EQ(images->BkColor(), CLR_NONE);
  SHFILEINFOA info{};
  auto system =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  EXPECT_EQ(images->Handle(), system);
  EXPECT_EQ(images->Width(), GetSystemMetrics(SM_CXSMICON));

  // Another sharing wrapper freed: the system list lives on.
  int count = images->Count();
  ASSERT_GT(count, 0);
  {
    TsAlphaImageList other;
    other.SetShareImages(true);
    other.SetHandle(system);
  }
  EXPECT_EQ(ImageList_GetImageCount(system), count);

  TempFolder tree;
  tree.File("doc.txt");
  tree.Folder("dir");
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  ASSERT_EQ(items.children.size(), 2u);
  for (const auto& child : items.children) {
    for (bool open : {false, true}) {
      int index = child->SystemIconIndex(false, open);
      EXPECT_GE(index, 0) << child->ItemCaption(seSystem);
      EXPECT_LT(index, images->Count()) << child->ItemCaption(seSystem);
      EXPECT_GE(child->SystemIconIndex(true, open), 0);
    }
  }
}

TEST(ColumnDetails, LoadedFromTheShellAndMissingCallsRaise) {
  TempFolder tree;
  tree.File("data.bin", std::string(3000, 'x'));
  const ListedFolder items = ItemsOf(tree.Path(), kAllItems);
  ASSERT_TRUE(items.root);
  TacShellFolder* item = items["data.bin"];
  ASSERT_NE(item, nullptr);

  try {
    item->Details(1);
    ADD_FAILURE() << "no error before LoadColumnDetails";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "data.bin: Missing call to LoadColumnDetails");
  }
  HWND view = reinterpret_cast<HWND>(0x1234);
  item->LoadColumnDetails(items.root.get(), view, 4);
  EXPECT_EQ(item->ViewWindow(), view);
  ASSERT_EQ(item->ColumnTexts().Count(), 3);
  EXPECT_NE(item->Details(1).find('3'), std::string::npos) << "size column: " << item->Details(1);
  EXPECT_EQ(item->Details(4), "");
  EXPECT_EQ(item->Details(0), "");

  WIN32_FIND_DATAA data = item->FindData();
  EXPECT_EQ(data.nFileSizeLow, 3000u);
  EXPECT_STREQ(data.cFileName, "data.bin");

  // A listing folder without detail interfaces: the file data fills in.
  ScriptedFolder plainFolder;
  TacShellFolder listedByPlain(items.root.get(), nullptr, item->RelativeId());
  TacShellFolder plainRoot(DesktopFolder(), ComPtr<IShellFolder>::Share(&plainFolder), items.root->RelativeId());
  listedByPlain.LoadColumnDetails(&plainRoot, view, 3);
  ASSERT_EQ(listedByPlain.ColumnTexts().Count(), 2);
  EXPECT_EQ(listedByPlain.Details(1), "3 KB");
  EXPECT_FALSE(listedByPlain.Details(2).empty()) << "last write time";

  // A virtual folder has no file data.
  auto computer = ComputerFolder();
  ASSERT_TRUE(computer);
  try {
    computer->FindData();
    ADD_FAILURE() << "find data of the computer folder";
  } catch (const fw::Exception& e) {
    std::string start =
        "Unable to retrieve folder details for \"" + computer->ItemCaption(seSystem) + "\". Error code $";
    EXPECT_EQ(e.Message().rfind(start, 0), 0u) << e.Message();
    EXPECT_GT(e.Message().size(), start.size());
  }
  EXPECT_EQ(LeakedBlocks(4, [&] { item->LoadColumnDetails(items.root.get(), view, 6); }), 0);
}

TEST(FolderObjects, QueriesLeakNothing) {
  TempFolder tree;
  tree.File("a.txt");
  tree.Folder("dir");
  auto root = FolderObjectOf(tree.Path());
  ASSERT_TRUE(root);
  EXPECT_EQ(LeakedBlocks(5,
                         [&] {
                           auto children = ChildrenOf(*root, kAllItems);
                           for (const auto& c : children) {
                             c->FolderPath();
                             c->ItemCaption(seShow);
                             c->ItemCaption(seHide);
                             c->IsFolderItem();
                             c->HasSubfolders();
                             c->ItemCapabilities();
                             c->ItemProperties();
                             c->SystemIconIndex(false, true);
                           }
                           auto computer = ComputerFolder();
                           computer->FolderPath();
                         }),
            0);
}

// A folder object that keeps the list an enumeration handed out: its
// absolute list is joined only when asked for, below the parent as it is
// then, and the adopted list is freed with it, asked or not.
TEST(FolderObjects, AdoptedListsJoinWhenAskedAndAreFreedOnce) {
  TempFolder tree;
  tree.Folder("dir");
  tree.Folder("dir\\inner");
  auto root = FolderObjectOf(tree.Path());
  ASSERT_TRUE(root);
  auto adoptFirst = [](TacShellFolder& parent) -> std::unique_ptr<TacShellFolder> {
    ComPtr<IEnumIDList> items;
    if (parent.ShellFolder()->EnumObjects(nullptr, SHCONTF_FOLDERS, items.Put()) != S_OK || !items) return nullptr;
    LPITEMIDLIST id = nullptr;
    ULONG fetched = 0;
    if (items->Next(1, &id, &fetched) != S_OK) return nullptr;
    return std::make_unique<TacShellFolder>(&parent, ItemListPtr(id));
  };
  auto dir = adoptFirst(*root);
  ASSERT_TRUE(dir);
  EXPECT_EQ(dir->Parent(), root.get());
  EXPECT_EQ(dir->Level(), root->Level() + 1);
  EXPECT_EQ(dir->ItemCaption(seSystem), "dir");
  ItemListPtr expected = ParsePath(tree.Path() + "dir");
  ASSERT_TRUE(expected);
  EXPECT_TRUE(ItemListsEqual(dir->AbsoluteId(), expected.get()));
  EXPECT_TRUE(SameText(dir->FolderPath(), tree.Path() + "dir"));
  // Two levels of adopted lists, the deeper one joined from a parent that
  // was joined lazily itself, and its folder bound through the chain.
  auto inner = adoptFirst(*dir);
  ASSERT_TRUE(inner);
  EXPECT_TRUE(SameText(inner->FolderPath(), tree.Path() + "dir\\inner"));
  EXPECT_EQ(CountItemIds(inner->AbsoluteId()), CountItemIds(root->AbsoluteId()) + 2);

  // Renamed before anybody asked for its list: the list follows the new name.
  auto renamed = adoptFirst(*root);
  ASSERT_TRUE(renamed);
  ASSERT_TRUE(renamed->RenameItem(L"moved"));
  EXPECT_TRUE(SameText(renamed->FolderPath(), tree.Path() + "moved"));
  ASSERT_TRUE(renamed->RenameItem(L"dir"));

  EXPECT_EQ(LeakedBlocks(4, [&] { adoptFirst(*root); }), 0) << "never asked for its absolute list";
  EXPECT_EQ(LeakedBlocks(4,
                         [&] {
                           auto child = adoptFirst(*root);
                           if (child) child->AbsoluteId();
                         }),
            0);
}

// Counts its references; enough of a context menu for the slot.
class CountedMenu : public IContextMenu2 {
 public:
  LONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT, WPARAM, LPARAM) override { return E_NOTIMPL; }
};

TEST(ShellUnit, ContextMenuSlotHoldsOneReference) {
  CountedMenu menu;
  EXPECT_EQ(CurrentContextMenu(), nullptr);
  SetCurrentContextMenu(ComPtr<IContextMenu2>::Share(&menu));
  EXPECT_EQ(CurrentContextMenu(), &menu);
  EXPECT_EQ(menu.references, 2);
  SetCurrentContextMenu(nullptr);
  EXPECT_EQ(CurrentContextMenu(), nullptr);
  EXPECT_EQ(menu.references, 1);
}

}  // namespace
}  // namespace translit
