// The shell folder tree on a form under Wine: its root from a root name or a
// path, children read when a node first opens and put in the shell's order,
// the path of the selection, a drive without a medium, rebuilding a node,
// the image lists it shows, nodes refused by the application, a window made
// again, and that every node gives its folder object back.
#include "shell/tree/acShellTreeView.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "shell/acAlphaImageList.h"
#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"
#include "tests/shell/MallocSpy.h"
#include "tests/shell/ShellFixture.h"
#include "tests/shell/tree/ShellTreeFixture.h"

namespace translit {
namespace {

using namespace test;
using testing_files::TempFolder;

class ShellTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication().Initialize();
    RegisterShellTreeClasses();
  }
};

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The last component of a path, as a root node made from it is named.
std::string LastPathComponent(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// The temp folder's path without its final "\", as a root path is given.
std::string NoSlash(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Makes a folder and every folder on the way to it.
void Folders(const TempFolder& tmp, const std::string& relative) {
  for (std::size_t cut = relative.find('\\'); cut != std::string::npos; cut = relative.find('\\', cut + 1))
    tmp.Folder(relative.substr(0, cut));
  tmp.Folder(relative);
}

// The shell's display name of the computer folder, asked without the tree.
std::string ComputerName() {
  LPITEMIDLIST raw = nullptr;
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw), S_OK);
  ItemListPtr list(raw);
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(list.get()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
  return info.szDisplayName;
}

fw::TTreeNode* NodeWithPath(fw::TTreeNode* parent, const std::string& path) {
  for (fw::TTreeNode* c = parent ? parent->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
    if (TacCustomShellTreeView::FolderOf(c) && TacCustomShellTreeView::FolderOf(c)->FolderPath() == path) return c;
  return nullptr;
}

TEST_F(ShellTree, TheComputerIsTheOnlyTopNodeOpenAndSelected) {
  TreeForm f("rfMyComputer");
  fw::TTreeNode* root = f.Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetNextSibling(), nullptr) << "one top node";
  EXPECT_TRUE(root->Expanded());
  EXPECT_EQ(f.tree->Selected(), root);
  const std::string name = ComputerName();
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(root->Text(), name);
  EXPECT_EQ(f.tree->CurrentPath(), name) << "the computer has no folder: its path is its name";
  EXPECT_NE(root->ImageIndex(), -1) << "the system's icon";

  // Its drives and other folders are there, in the shell's order, each with
  // an icon; the drives' paths are their roots.
  fw::TTreeNode* c = NodeWithPath(root, "C:\\");
  fw::TTreeNode* t = NodeWithPath(root, "T:\\");
  fw::TTreeNode* z = NodeWithPath(root, "Z:\\");
  ASSERT_TRUE(c && t && z);
  std::vector<fw::TTreeNode*> drives;
  for (fw::TTreeNode* n = root->GetFirstChild(); n; n = n->GetNextSibling()) {
    EXPECT_NE(n->ImageIndex(), -1) << n->Text();
    EXPECT_EQ(n->GetFirstChild(), nullptr) << n->Text() << ": read only when it opens";
    if (n == c || n == t || n == z) drives.push_back(n);
  }
  EXPECT_EQ(drives, (std::vector<fw::TTreeNode*>{c, t, z}));
}

TEST_F(ShellTree, ChildrenAreReadWhenANodeFirstOpensInTheShellsOrder) {
  TempFolder tmp;
  // An order the disk would not give by chance.
  for (const char* name : {"delta", "Alpha", "india", "charlie", "Bravo", "golf", "echo", "Foxtrot", "Juliet", "hotel"})
    tmp.Folder(name);
  Folders(tmp, "delta\\inner");
  Folders(tmp, "delta\\inner\\deeper");
  tmp.File("file.txt");
  tmp.File("delta\\note.txt");

  TreeForm f(NoSlash(tmp.Path()));
  fw::TTreeNode* root = f.Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Text(), LastPathComponent(NoSlash(tmp.Path())));
  EXPECT_EQ(TreeForm::ChildTexts(root), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta", "echo",
                                                                  "Foxtrot", "golf", "hotel", "india", "Juliet"}))
      << "folders only, in the shell's order";

  fw::TTreeNode* delta = TreeForm::Child(root, "delta");
  ASSERT_NE(delta, nullptr);
  EXPECT_TRUE(delta->HasChildren());
  EXPECT_EQ(delta->GetFirstChild(), nullptr);
  delta->Expand(false);
  EXPECT_EQ(TreeForm::ChildTexts(delta), std::vector<std::string>{"inner"});
  EXPECT_EQ(TreeForm::Child(delta, "inner")->GetFirstChild(), nullptr) << "one level at a time";

  // An empty folder loses its expand button once it was opened.
  fw::TTreeNode* echo = TreeForm::Child(root, "echo");
  ASSERT_NE(echo, nullptr);
  echo->Expand(false);
  EXPECT_EQ(echo->GetFirstChild(), nullptr);
  EXPECT_FALSE(echo->HasChildren());

  // With files as well, the tree is built again from its root; the shell
  // puts folders before files, which no listing of the disk does by name.
  f.tree->SetObjectTypes({otFolders, otNonFolders});
  root = f.Root();
  EXPECT_EQ(TreeForm::ChildTexts(root),
            (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta", "echo", "Foxtrot", "golf", "hotel", "india",
                                      "Juliet", "file.txt"}));
  delta = TreeForm::Child(root, "delta");
  ASSERT_NE(delta, nullptr);
  delta->Expand(false);
  EXPECT_NE(TreeForm::Child(delta, "note.txt"), nullptr);
}

// Files shown: a folder's expand button tells whether anything is in it
// before it is opened; extensions follow ShowExt for nodes made after it
// was set, and folder names never change with it.
TEST_F(ShellTree, FilesTheirExtensionsAndWhatFoldersHold) {
  TempFolder tmp;
  tmp.File("a.txt");
  tmp.Folder("x.y");
  tmp.Folder("holds");
  tmp.File("holds\\inside.txt");
  tmp.Folder("empty");
  TreeForm f(NoSlash(tmp.Path()), {otFolders, otNonFolders});
  fw::TTreeNode* root = f.Root();
  ASSERT_NE(TreeForm::Child(root, "a.txt"), nullptr);
  EXPECT_TRUE(TreeForm::Child(root, "holds")->HasChildren());
  EXPECT_FALSE(TreeForm::Child(root, "empty")->HasChildren()) << "nothing in it, known before it opens";

  f.tree->SetShowExt(seHide);
  EXPECT_NE(TreeForm::Child(f.Root(), "a.txt"), nullptr) << "nodes made before keep their text";
  f.tree->RebuildNode(f.Root());
  EXPECT_NE(TreeForm::Child(f.Root(), "a"), nullptr);
  EXPECT_NE(TreeForm::Child(f.Root(), "x.y"), nullptr) << "a folder keeps its whole name";
  f.tree->SetShowExt(seShow);
  f.tree->RebuildNode(f.Root());
  EXPECT_NE(TreeForm::Child(f.Root(), "a.txt"), nullptr) << "shown once, not twice";
  EXPECT_NE(TreeForm::Child(f.Root(), "x.y"), nullptr);
}

TEST_F(ShellTree, RootsFromNamesAndPaths) {
  TempFolder tmp;
  tmp.Folder("music");
  const std::string music = tmp.Path() + "music";
  char desktopPath[MAX_PATH] = "";
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktopPath, CSIDL_DESKTOPDIRECTORY, FALSE));
  struct Case {
    std::string root, text, path;
  } cases[] = {
      {"T:\\", "T:", "T:\\"},
      {"T", "T", "T:\\"},  // one letter is a drive
      {music, "music", music},
      {music + "\\", "music", music},
      {"rfMyComputer", ComputerName(), ComputerName()},
      {"rfDesktop", "", desktopPath},
  };
  for (const Case& c : cases) {
    TreeForm f(c.root);
    ASSERT_NE(f.Root(), nullptr) << c.root;
    if (!c.text.empty()) {
      EXPECT_EQ(f.Root()->Text(), c.text) << c.root;
    }
    EXPECT_EQ(f.Root()->GetNextSibling(), nullptr) << c.root;
    EXPECT_TRUE(SameText(f.tree->CurrentPath(), c.path)) << c.root << " gave " << f.tree->CurrentPath();
    EXPECT_TRUE(f.Root()->Selected()) << c.root;
  }
}

TEST_F(ShellTree, TheSameRootInOtherLettersChangesNothing) {
  TempFolder tmp;
  Folders(tmp, "a\\b");
  const std::string root = NoSlash(tmp.Path());
  TreeForm f(root);
  fw::TTreeNode* top = f.Root();
  fw::TTreeNode* a = TreeForm::Child(top, "a");
  ASSERT_NE(a, nullptr);
  a->Expand(false);
  f.tree->SetSelected(a);
  std::string upper = root;
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  ASSERT_NE(upper, root);

  f.tree->SetRoot(upper);
  EXPECT_EQ(f.tree->Root(), root);
  EXPECT_EQ(f.Root(), top) << "the nodes stayed";
  EXPECT_TRUE(a->Expanded());
  EXPECT_EQ(f.tree->Selected(), a);
}

TEST_F(ShellTree, AnUnknownPathKeepsThePreviousRootAfterSayingSo) {
  TempFolder tmp;
  tmp.Folder("kept");
  const std::string good = NoSlash(tmp.Path());
  TreeForm f(good);
  const std::string bad = tmp.Path() + "no such folder";
  {
    BoxAnswerer answerer;
    f.tree->SetRoot(bad);
    EXPECT_EQ(answerer.texts, std::vector<std::string>{"Error Setting Path : " + bad});
  }
  EXPECT_EQ(f.tree->Root(), good);
  ASSERT_NE(f.Root(), nullptr);
  EXPECT_EQ(f.Root()->Text(), LastPathComponent(good));
  EXPECT_NE(TreeForm::Child(f.Root(), "kept"), nullptr);
  EXPECT_EQ(f.tree->CurrentPath(), good);

  // When the previous root has gone as well, the error is raised; the nodes
  // of the root folder still held stay.
  TempFolder other;
  other.Folder("x");
  const std::string gone = NoSlash(other.Path());
  f.tree->SetRoot(gone);
  ASSERT_EQ(f.tree->Root(), gone);
  RemoveDirectoryA((other.Path() + "x").c_str());
  RemoveDirectoryA(gone.c_str());
  try {
    f.tree->SetRoot(bad);
    FAIL() << "both roots fail: the error is raised";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "Error Setting Path : " + bad);
  }
  EXPECT_NE(f.Root(), nullptr);
}

TEST_F(ShellTree, ADriveWithoutAMediumShowsNoChildrenAndNoBox) {
  NoMediumDrive drive;
  ASSERT_TRUE(drive.Made()) << "the mount manager made no CD drive";
  const UINT errorMode = GetErrorMode();
  TreeForm f("rfMyComputer");
  fw::TTreeNode* node = NodeWithPath(f.Root(), drive.Root());
  ASSERT_NE(node, nullptr) << "the drive is not under the computer";
  const std::vector<HWND> known{f.form->Handle()};

  node->Expand(false);
  PumpFor(300);
  EXPECT_EQ(node->GetFirstChild(), nullptr);
  EXPECT_FALSE(node->HasChildren()) << "its expand button goes";
  EXPECT_TRUE(OtherVisibleWindows(known).empty()) << "a box came up";
  EXPECT_EQ(GetErrorMode(), errorMode) << "the error mode is given back";

  // Selecting it: its path is its root, and there is nothing to walk.
  f.tree->SetSelected(node);
  EXPECT_EQ(f.tree->CurrentPath(), drive.Root());
}

// A folder of scripted items that records the platform's error mode every
// time it is asked about them: each of its items is a folder (bound to this
// same object) holding two more.
class ProbedFolder : public IShellFolder, public IEnumIDList {
 public:
  std::vector<UINT> modes;  // one per question about an item
  int listed = 0;

  static LPITEMIDLIST NewId(BYTE tag) {
    auto* id = static_cast<BYTE*>(::CoTaskMemAlloc(6));
    id[0] = 4, id[1] = 0, id[2] = tag, id[3] = 0, id[4] = 0, id[5] = 0;
    return reinterpret_cast<LPITEMIDLIST>(id);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IShellFolder)
      *out = static_cast<IShellFolder*>(this);
    else if (iid == IID_IEnumIDList)
      *out = static_cast<IEnumIDList*>(this);
    else
      *out = nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, LPBC, LPOLESTR, ULONG*, LPITEMIDLIST*, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** out) override {
    listed = 0;
    *out = this;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST, LPBC, REFIID iid, void** out) override {
    return QueryInterface(iid, out);
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST, LPBC, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, LPCITEMIDLIST a, LPCITEMIDLIST b) override {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(a->mkid.abID[0] - b->mkid.abID[0]));
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, LPCITEMIDLIST*, SFGAOF* attributes) override {
    modes.push_back(GetErrorMode());
    *attributes &= SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, LPCITEMIDLIST*, REFIID, UINT*, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST id, SHGDNF, STRRET* name) override {
    modes.push_back(GetErrorMode());
    name->uType = STRRET_CSTR;
    name->cStr[0] = static_cast<char>('a' + id->mkid.abID[0]);
    name->cStr[1] = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, LPCITEMIDLIST, LPCOLESTR, SHGDNF, LPITEMIDLIST*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG, LPITEMIDLIST* id, ULONG* fetched) override {
    if (listed == 2) return S_FALSE;
    *id = NewId(static_cast<BYTE>(listed++));
    if (fetched) *fetched = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override {
    listed = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList**) override { return E_NOTIMPL; }
};

// Opening a node asks whether it is a folder, lists it and asks every child
// for its name and attributes: each of these may touch a drive without a
// medium, and none may bring up the platform's critical-error box.
TEST_F(ShellTree, OpeningANodeProbesEveryChildWithCriticalErrorBoxesOff) {
  ProbedFolder probed;  // outlives the tree, which lets go of it last
  TempFolder tmp;
  TreeForm f(NoSlash(tmp.Path()));
  f.tree->SetUseShellImages(false);
  TacShellFolder* root = TacCustomShellTreeView::FolderOf(f.Root());
  ASSERT_NE(root, nullptr);
  ItemListPtr outerId(ProbedFolder::NewId(7)), innerId(ProbedFolder::NewId(8));
  auto* outer = new TacShellFolder(root, ComPtr<IShellFolder>::Attach(&probed), outerId.get());
  fw::TTreeNode* outerNode = f.tree->Items().AddChildObject(f.Root(), "outer", outer, true);
  // Its folder asks the probed folder about the inner item.
  auto* inner = new TacShellFolder(outer, ComPtr<IShellFolder>::Attach(&probed), innerId.get());
  fw::TTreeNode* node = f.tree->Items().AddChildObject(outerNode, "inner", inner, true);

  const UINT callerMode = SEM_NOGPFAULTERRORBOX;
  const UINT saved = SetErrorMode(callerMode);
  probed.modes.clear();
  node->Expand(false);
  const UINT after = SetErrorMode(saved);
  EXPECT_EQ(TreeForm::ChildTexts(node), (std::vector<std::string>{"a", "b"}));
  ASSERT_GE(probed.modes.size(), 5u) << "the folder check, and a name and attributes for each child";
  for (std::size_t i = 0; i < probed.modes.size(); ++i)
    EXPECT_TRUE(probed.modes[i] & SEM_FAILCRITICALERRORS) << "question " << i << " asked with boxes on";
  EXPECT_EQ(after, callerMode) << "the error mode is given back";
}

TEST_F(ShellTree, ThePathOfTheSelection) {
  TempFolder tmp;
  Folders(tmp, "a\\b\\c");
  const std::string c = tmp.Path() + "a\\b\\c";
  TreeForm f("rfMyComputer");

  ItemListPtr list = ParsePath(c);
  ASSERT_TRUE(list);
  f.tree->SelectByList(list.get());
  ASSERT_NE(f.tree->Selected(), nullptr);
  EXPECT_TRUE(SameText(f.tree->CurrentPath(), c)) << f.tree->CurrentPath();
  EXPECT_EQ(f.tree->Selected()->Text(), "c");
  EXPECT_TRUE(f.tree->Selected()->Parent()->Expanded()) << "its ancestors were opened";

  fw::TTreeNode* t = NodeWithPath(f.Root(), "T:\\");
  f.tree->SetSelected(t);
  EXPECT_EQ(f.tree->CurrentPath(), "T:\\") << "a drive's path ends in its separator";

  f.tree->SetSelected(nullptr);
  EXPECT_EQ(f.tree->CurrentFolder(), nullptr);
  EXPECT_EQ(f.tree->CurrentPath(), "");

  // A list outside the tree selects nothing.
  TreeForm g(NoSlash(tmp.Path()));
  ItemListPtr outside = ParsePath("T:\\");
  g.tree->SelectByList(outside.get());
  EXPECT_EQ(g.tree->Selected(), nullptr);
}

TEST_F(ShellTree, RebuildingANodeKeepsWhatWasOpenSelectedAndOnTop) {
  TempFolder tmp;
  for (int i = 0; i < 60; ++i) tmp.Folder("pad" + std::to_string(100 + i));
  Folders(tmp, "x\\y\\z");
  Folders(tmp, "x\\w");
  TreeForm f(NoSlash(tmp.Path()));
  fw::TTreeNode* root = f.Root();
  fw::TTreeNode* x = TreeForm::Child(root, "x");
  ASSERT_NE(x, nullptr);
  x->Expand(false);
  fw::TTreeNode* y = TreeForm::Child(x, "y");
  ASSERT_NE(y, nullptr);
  y->Expand(false);
  f.tree->SetSelected(TreeForm::Child(y, "z"));
  f.tree->SetTopItem(TreeForm::Child(root, "pad130"));
  ASSERT_NE(f.tree->TopItem(), nullptr);
  const std::string top = f.tree->TopItem()->Text();
  ASSERT_EQ(top, "pad130");
  Folders(tmp, "x\\new");
  Folders(tmp, "x\\y\\late");

  f.tree->RebuildNode(x);
  fw::TTreeNode* x2 = TreeForm::Child(f.Root(), "x");
  ASSERT_NE(x2, nullptr);
  EXPECT_EQ(TreeForm::ChildTexts(x2), (std::vector<std::string>{"new", "w", "y"}));
  fw::TTreeNode* y2 = TreeForm::Child(x2, "y");
  ASSERT_NE(y2, nullptr);
  EXPECT_TRUE(x2->Expanded());
  EXPECT_TRUE(y2->Expanded());
  EXPECT_EQ(TreeForm::ChildTexts(y2), (std::vector<std::string>{"late", "z"}));
  ASSERT_NE(f.tree->Selected(), nullptr);
  EXPECT_EQ(f.tree->Selected(), TreeForm::Child(y2, "z"));
  ASSERT_NE(f.tree->TopItem(), nullptr);
  EXPECT_EQ(f.tree->TopItem()->Text(), top);
  EXPECT_EQ(TreeForm::ChildTexts(f.Root()).size(), 61u) << "one node for x, not two";

  // The root itself can be read again too.
  f.tree->RebuildNode(f.Root());
  EXPECT_EQ(TreeForm::ChildTexts(f.Root()).size(), 61u);
  EXPECT_EQ(f.tree->Selected()->Text(), "z");
}

TEST_F(ShellTree, EveryNodeGivesItsFolderBack) {
  TempFolder tmp;
  Folders(tmp, "a\\b\\c");
  tmp.Folder("d");
  const std::string root = NoSlash(tmp.Path());
  const long leaked = LeakedBlocks(3, [&] {
    TreeForm f(root);
    fw::TTreeNode* a = TreeForm::Child(f.Root(), "a");
    ASSERT_NE(a, nullptr);
    a->Expand(false);
    ASSERT_NE(TreeForm::Child(a, "b"), nullptr);
    TreeForm::Child(a, "b")->Expand(false);
    f.tree->RebuildNode(a);
    ASSERT_NE(TreeForm::Child(f.Root(), "d"), nullptr);
    TreeForm::Child(f.Root(), "d")->Delete();
    f.tree->SetRoot("rfMyComputer");
    f.tree->SetRoot(root);
  });
  EXPECT_EQ(leaked, 0);
}

TEST_F(ShellTree, TheTreeShowsItsOwnImageList) {
  TempFolder tmp;
  tmp.Folder("a");
  TreeForm f(NoSlash(tmp.Path()));
  HWND wnd = f.tree->Handle();
  auto shown = [&] { return reinterpret_cast<HIMAGELIST>(SendMessageA(wnd, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)); };
  ASSERT_NE(SharedSystemImages(), nullptr);
  const HIMAGELIST system = SharedSystemImages()->Handle();
  EXPECT_EQ(shown(), system);
  fw::TTreeNode* a = TreeForm::Child(f.Root(), "a");
  EXPECT_EQ(a->ImageIndex(), TacCustomShellTreeView::FolderOf(a)->SystemIconIndex(false, false));

  HIMAGELIST other = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  for (WPARAM kind : {WPARAM{TVSIL_NORMAL}, WPARAM{TVSIL_STATE}}) {
    SendMessageA(wnd, TVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(shown(), system) << "a list set by others is replaced, kind " << kind;
  }
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(wnd, TVM_GETIMAGELIST, TVSIL_STATE, 0)), nullptr);

  f.tree->SetUseShellImages(false);
  EXPECT_EQ(shown(), nullptr);
  f.tree->SetImages(other);
  EXPECT_EQ(shown(), other) << "the application's own list";
  f.tree->SetUseShellImages(true);
  EXPECT_EQ(shown(), other) << "the application's list wins over the system's";
  f.tree->SetImages(nullptr);
  EXPECT_EQ(shown(), system);
  f.form.reset();
  ImageList_Destroy(other);
}

// The platform draws each node with the system's icons for its folder
// (asked of the shell when the node is first shown); the application's
// image events run only while the tree has an image list.
TEST_F(ShellTree, NodesShowTheSystemsIconsAndAskTheApplicationWithAList) {
  TempFolder tmp;
  for (const char* name : {"a", "b", "c"}) tmp.Folder(name);
  TreeForm f(NoSlash(tmp.Path()));
  int asked = 0;
  f.tree->OnGetImageIndex = [&](fw::TComponent*, fw::TTreeNode* node) {
    ++asked;
    if (node->Text() == "c") node->SetImageIndex(5);
  };
  f.tree->RebuildNode(f.Root());
  for (const char* name : {"a", "b"}) {
    fw::TTreeNode* node = TreeForm::Child(f.Root(), name);
    ASSERT_NE(node, nullptr);
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node->ItemId();
    ASSERT_TRUE(SendMessageA(f.tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    TacShellFolder* folder = TacCustomShellTreeView::FolderOf(node);
    const int open = folder->SystemIconIndex(false, true);
    EXPECT_EQ(item.iImage, folder->SystemIconIndex(false, false)) << name;
    EXPECT_EQ(item.iSelectedImage, open == 0 ? item.iImage : open) << name;
  }
  EXPECT_EQ(TreeForm::Child(f.Root(), "c")->ImageIndex(), 5) << "the application's own index";
  EXPECT_EQ(asked, 3);

  // No list: no questions.
  f.tree->SetUseShellImages(false);
  asked = 0;
  f.tree->RebuildNode(f.Root());
  for (fw::TTreeNode* n = f.Root()->GetFirstChild(); n; n = n->GetNextSibling()) (void)n->ImageIndex();
  UpdateWindow(f.tree->Handle());
  EXPECT_EQ(asked, 0);
}

TEST_F(ShellTree, TheApplicationMayRefuseFolders) {
  TempFolder tmp;
  for (const char* name : {"keep1", "skip1", "keep2", "skip2"}) tmp.Folder(name);
  TreeForm f(NoSlash(tmp.Path()));
  std::vector<std::string> seen;
  f.tree->OnAddFolder = [&](fw::TComponent* sender, TacShellFolder* folder, bool& canAdd) {
    EXPECT_EQ(sender, f.tree);
    const std::string name = folder->ItemCaption(seSystem);
    seen.push_back(name);
    canAdd = name.rfind("skip", 0) != 0;
  };
  const long leaked = LeakedBlocks(1, [&] { f.tree->RebuildNode(f.Root()); });
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"keep1", "keep1", "keep2", "keep2", "skip1", "skip1", "skip2", "skip2"}));
  EXPECT_EQ(TreeForm::ChildTexts(f.Root()), (std::vector<std::string>{"keep1", "keep2"}));
  EXPECT_EQ(leaked, 0) << "refused nodes free their folders";
}

TEST_F(ShellTree, AWindowMadeAgainStartsFromTheRoot) {
  TempFolder tmp;
  Folders(tmp, "a\\b");
  TreeForm f(NoSlash(tmp.Path()));
  fw::TTreeNode* a = TreeForm::Child(f.Root(), "a");
  ASSERT_NE(a, nullptr);
  a->Expand(false);
  f.tree->SetSelected(TreeForm::Child(a, "b"));
  HWND old = f.tree->Handle();

  f.tree->RecreateWnd();
  EXPECT_NE(f.tree->Handle(), old);
  ASSERT_NE(f.Root(), nullptr);
  EXPECT_EQ(f.Root()->GetNextSibling(), nullptr);
  EXPECT_EQ(f.tree->Selected(), f.Root());
  a = TreeForm::Child(f.Root(), "a");
  ASSERT_NE(a, nullptr);
  EXPECT_FALSE(a->Expanded());
  EXPECT_EQ(TacCustomShellTreeView::FolderOf(a)->FolderPath(), tmp.Path() + "a");
}

// A linked list view stand-in: it records what the tree hands it.
class LinkedProbe : public fw::TComponent, public TacShellLinkedControl {
 public:
  using fw::TComponent::TComponent;
  void SetTreePartner(TacCustomShellTreeView* tree) override { partner = tree; }
  void TreeRootChanged(const TacRoot& root) override { roots.push_back(root); }
  void TreeFolderChanged(LPCITEMIDLIST list) override {
    STRRET name{};
    SHGetDesktopFolder(desktop.Put());
    desktop->GetDisplayNameOf(list, SHGDN_FORPARSING, &name);
    folders.push_back(StrRetText(list, name));
  }
  TacCustomShellTreeView* partner = nullptr;
  std::vector<std::string> roots, folders;
  ComPtr<IShellFolder> desktop;
};

TEST_F(ShellTree, LinkedControlsFollowTheRootAndTheSelection) {
  TempFolder tmp;
  tmp.Folder("a");
  tmp.File("f.txt");
  TreeForm f(NoSlash(tmp.Path()), {otFolders, otNonFolders});
  auto* probe = new LinkedProbe(nullptr);
  f.tree->SetShellListView(probe);
  EXPECT_EQ(probe->partner, f.tree);
  EXPECT_EQ(probe->roots, std::vector<std::string>{NoSlash(tmp.Path())});

  f.tree->SetSelected(TreeForm::Child(f.Root(), "a"));
  f.tree->SetSelected(TreeForm::Child(f.Root(), "f.txt"));
  EXPECT_EQ(probe->folders, (std::vector<std::string>{tmp.Path() + "a", NoSlash(tmp.Path())}))
      << "a file shows the folder it is in";
  f.tree->SetRoot("T:\\");
  EXPECT_EQ(probe->roots.back(), "T:\\");

  delete probe;
  EXPECT_EQ(f.tree->ShellListView(), nullptr) << "a freed control is forgotten";
  f.tree->SetSelected(f.Root());
}

}  // namespace
}  // namespace translit
