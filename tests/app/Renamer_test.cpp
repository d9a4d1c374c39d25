// The dialog's walk on real folders with Cyrillic names: what is renamed,
// what is left, what stops the walk, and that no file content is lost;
// names the code page cannot hold, names that would grow too long, and
// folders that are links.
#include <gtest/gtest.h>

#include <set>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "shell/acShellFolder.h"
#include "shell/acShellNames.h"
#include "shell/acShellRoot.h"
#include "shell/acShellUnit.h"
#include "tests/app/RenameFixture.h"
#include "tests/support/HostProgram.h"
#include "tests/support/StoredSkin.h"

namespace {

using testing_rename::Ansi;
using testing_rename::FolderTree;
using testing_skin::StoredSkin;
using testing_skin::StoredSkinScope;
using translit::app::RegisterAppClasses;
using translit::app::TForm1;

// The skin as the native build wrote it; empty when the build had none.
const std::string kGeneratedSkins = TRANSLIT_SKINS_WINDOWS_DIR;

// The dialog as on a machine without its skin (scripts/run may have
// installed one in this Wine prefix; it is put back afterwards).

// Selects the node of a folder (a path) in the dialog's tree as a linked
// control would, opening the nodes on the way; false when it is not there.
bool SelectFolder(translit::TsShellTreeView& tree, const std::string& path) {
  translit::ItemListPtr list;
  if (translit::RootItemList(path, list) != S_OK) return false;
  tree.SelectByList(list.get());
  return tree.CurrentFolder() && translit::ItemListsEqual(tree.CurrentFolder()->AbsoluteId(), list.get());
}

class Renamer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication();
    RegisterAppClasses();
  }
  void SetUp() override {
    skin = std::make_unique<StoredSkinScope>(StoredSkin::None, kGeneratedSkins);
    ASSERT_TRUE(skin->Ok());
    form = new TForm1(fw::Application);
  }
  void TearDown() override {
    delete form;
    skin.reset();
  }
  // Walks the tree's folder as the button does and gives what it then
  // holds; every file's content must still be there, once.
  std::map<std::string, std::string> Walked(FolderTree& tree) {
    const std::vector<std::string> before = tree.Contents();
    EXPECT_NO_THROW(form->ScanFolder(tree.AnsiRoot(), "*.mp3"));
    EXPECT_EQ(tree.Contents(), before) << "a file's content was lost";
    return tree.Files();
  }
  std::unique_ptr<StoredSkinScope> skin;
  TForm1* form = nullptr;
};

TEST_F(Renamer, RenamesFilesAtEveryDepthAndKeepsFolderNames) {
  FolderTree tree;
  tree.AddFiles({
      {"Ёлка.txt", "1"},
      {"Песня 01 (live).mp3", "2"},
      {"readme.TXT", "3"},
      {"Папка\\Щука.doc", "4"},
      {"Папка\\Вложенная\\Йод", "5"},
      {"Папка\\Вложенная\\объект.Мальчик", "6"},
      {"Эхо.ini", "7", FILE_ATTRIBUTE_HIDDEN},
      {"Хор.sys", "8", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN},
      {"Ёж\\Track_07 - final.MP3", "9"},
  });
  tree.AddFolder("Пусто");

  const std::map<std::string, std::string> expected = {
      {"Yolka.txt", "1"},
      {"Pesnya 01 (live).mp3", "2"},
      {"readme.TXT", "3"},
      {"Папка\\Chshuka.doc", "4"},
      {"Папка\\Вложенная\\Iod", "5"},
      {"Папка\\Вложенная\\ob''ekt.Mal'chik", "6"},
      {"Eho.ini", "7"},
      {"Hor.sys", "8"},
      {"Ёж\\Track_07 - final.MP3", "9"},
  };
  EXPECT_EQ(Walked(tree), expected);
}

TEST_F(Renamer, TakenNamesAreLeftAloneWithoutAMessage) {
  FolderTree tree;
  tree.AddFiles({
      {"Мама.txt", "cyrillic"},
      {"MAMA.TXT", "latin, other case"},  // taken whatever the case
      {"Йод.txt", "first"},
      {"Иод.txt", "second"},  // maps to the same Latin name
  });

  std::map<std::string, std::string> files = Walked(tree);
  EXPECT_EQ(files.count("Мама.txt"), 1u);
  EXPECT_EQ(files.count("MAMA.TXT"), 1u);
  ASSERT_EQ(files.count("Iod.txt"), 1u);
  // Whichever of the two the folder yielded first took the name.
  bool firstWon = files["Iod.txt"] == "first";
  EXPECT_EQ(files.count(firstWon ? "Иод.txt" : "Йод.txt"), 1u);
  EXPECT_EQ(files.size(), 4u);
}

TEST_F(Renamer, NameTakenByAFolderStopsTheWalkWithAnIOError) {
  FolderTree tree;
  tree.AddFolder("Kot");
  tree.AddFile("Кот", "cat");
  tree.AddFile("Пёс.txt", "dog");
  std::vector<std::string> before = tree.Contents();

  try {
    form->ScanFolder(tree.AnsiRoot(), "*.mp3");
    FAIL() << "the rename onto a folder's name must fail";
  } catch (const fw::EInOutError& e) {
    EXPECT_NE(e.ErrorCode, 0);
    EXPECT_EQ(e.Message(), fw::InOutErrorMessage(e.ErrorCode));
  }
  std::map<std::string, std::string> files = tree.Files();
  EXPECT_EQ(files.count("Кот"), 1u) << "the failing file keeps its name";
  EXPECT_EQ(form->sStatusBar1->Panels()[0].Text(), Ansi("Кот")) << "the status bar shows the failing file";
  // The other file was either renamed before the failure or not reached.
  EXPECT_EQ(files.count("Pyos.txt") + files.count("Пёс.txt"), 1u);
  EXPECT_EQ(tree.Contents(), before);

  // Pressing the button again starts over: what was renamed maps to itself.
  EXPECT_THROW(form->ScanFolder(tree.AnsiRoot(), "*.mp3"), fw::EInOutError);
  EXPECT_EQ(tree.Contents(), before);
}

TEST_F(Renamer, NamesTheCodePageCannotHoldAreRenamedInFull) {
  FolderTree tree;
  tree.AddFiles({
      {"Привет 日本.txt", "1"},
      {"Ёж.txt", "2"},
      {"Щука ü.txt", "3"},
      {"Яблоко €.txt", "4"},
      // A folder the code page cannot name is entered too.
      {"日本 Папка\\Кот ü.txt", "5"},
  });

  const std::map<std::string, std::string> expected = {
      {"Privet 日本.txt", "1"},       {"Yozh.txt", "2"}, {"Chshuka ü.txt", "3"}, {"Yabloko €.txt", "4"},
      {"日本 Папка\\Kot ü.txt", "5"},
  };
  EXPECT_EQ(Walked(tree), expected);
}

// What the code page holds is spelled as it always was: the wide spelling
// of each of its characters, between Latin letters, is the code page
// spelling's.
TEST(TransliterateMethod, EveryCodePageCharacterSpellsAsInTheCodePage) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string ansi = std::string("a") + static_cast<char>(byte) + "z";
    const std::wstring wide = translit::AnsiToWide(ansi);
    ASSERT_EQ(wide.size(), 3u) << "byte " << byte;
    EXPECT_EQ(translit::WideToAnsi(TForm1::TransliterateName(wide).c_str()), TForm1::TransliterateName(ansi))
        << "byte " << byte;
  }
}

// Selects the node of a folder given by its full wide path, as a linked
// control would; false when it is not there.
bool SelectWideFolder(translit::TsShellTreeView& tree, const std::wstring& path) {
  std::wstring text = path;
  ULONG eaten = 0, attributes = 0;
  LPITEMIDLIST parsed = nullptr;
  if (FAILED(translit::DesktopFolder()->ShellFolder()->ParseDisplayName(nullptr, nullptr, text.data(), &eaten, &parsed,
                                                                        &attributes)))
    return false;
  translit::ItemListPtr list(parsed);
  tree.SelectByList(list.get());
  return tree.CurrentFolder() && translit::ItemListsEqual(tree.CurrentFolder()->AbsoluteId(), list.get());
}

TEST_F(Renamer, ASelectedFolderTheCodePageCannotNameIsWalked) {
  FolderTree tree;
  tree.AddFile("Альбом 日本\\Песня.mp3", "song");
  const std::wstring folder = tree.Root() + L"\\" + testing_rename::Widen("Альбом 日本");
  ASSERT_TRUE(SelectWideFolder(*form->sShellTreeView1, folder));
  // The code page's path names no folder on disk.
  ASSERT_EQ(::GetFileAttributesA(form->sShellTreeView1->CurrentPath().c_str()), INVALID_FILE_ATTRIBUTES);

  ASSERT_TRUE(form->RenameSelectedFolder());

  EXPECT_EQ(tree.Files(), (std::map<std::string, std::string>{{"Альбом 日本\\Pesnya.mp3", "song"}}));
}

std::string Repeated(const std::string& text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

// A name that would become longer than the file system holds is not made:
// the file keeps its name, without a message, and the walk goes on.
TEST_F(Renamer, NamesThatWouldGrowTooLongAreKeptAndTheWalkGoesOn) {
  // Each old name fits the host's 255 bytes (UTF-8); "Щ" becomes "Chsh".
  const std::string longNames[] = {
      // 404 characters: over 255 however stored.
      Repeated("Щ", 100) + ".txt",
      // 119 characters in 275 bytes: Wine answers "not found".
      Repeated("Щ", 10) + Repeated("日", 78) + "a",
      // 154 characters in 294 bytes: Wine cuts the name short unasked.
      Repeated("Щ", 20) + Repeated("日", 70) + ".txt",
  };
  FolderTree tree;
  std::map<std::string, std::string> expected;
  int n = 0;
  for (const std::string& name : longNames) {
    const std::string content = "long " + std::to_string(++n);
    tree.AddFile(name, content);
    tree.AddFile("Папка " + std::to_string(n) + "\\" + name, content + " below");
    expected[name] = content;
    expected["Папка " + std::to_string(n) + "\\" + name] = content + " below";
    // Files the walk reaches next to them and after them.
    tree.AddFile("Папка " + std::to_string(n) + "\\Ёлка.txt", "short " + std::to_string(n));
    expected["Папка " + std::to_string(n) + "\\Yolka.txt"] = "short " + std::to_string(n);
  }
  tree.AddFile("Кот.txt", "cat");
  expected["Kot.txt"] = "cat";

  EXPECT_NO_THROW(form->ScanFolder(tree.AnsiRoot(), "*.mp3"));

  EXPECT_EQ(tree.Files(), expected);
}

// A rename that fails for a passing cause still stops the walk with its
// error: the file is held open by another without leave to rename it.
TEST_F(Renamer, ALockedFileStopsTheWalkWithItsError) {
  FolderTree tree;
  tree.AddFile("Замок.txt", "locked");
  const std::wstring file = tree.Root() + L"\\" + testing_rename::Widen("Замок.txt");
  HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  fw::UniqueKernelHandle open(handle);

  try {
    form->ScanFolder(tree.AnsiRoot(), "*.mp3");
    FAIL() << "the rename of a locked file must fail";
  } catch (const fw::EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(e.Message(), "I/O error 32");
  }
  EXPECT_EQ(form->sStatusBar1->Panels()[0].Text(), Ansi("Замок.txt"));
  EXPECT_EQ(tree.Files().count("Замок.txt"), 1u);
}

// Folders that are links are not entered and keep their names: one back to
// a folder above (a cycle), one to a folder outside the chosen one. Wine
// shows a host symbolic link to a folder as a folder with the
// reparse-point attribute.
TEST_F(Renamer, FoldersThatAreLinksAreNotEntered) {
  FolderTree outside;
  outside.AddFile("Снаружи.txt", "outside");
  FolderTree tree;
  tree.AddFile("Ёлка.txt", "root");
  tree.AddFile("Вниз\\Кот.txt", "below");
  const std::wstring back = tree.Root() + L"\\" + testing_rename::Widen("Вниз\\Назад");
  const std::wstring away = tree.Root() + L"\\" + testing_rename::Widen("Наружу");
  testing_host::HostLink cycle(back, "..");
  testing_host::HostLink elsewhere(away, testing_host::UnixPath(outside.Root()));
  ASSERT_TRUE(cycle.Made() && elsewhere.Made()) << "no host links";
  for (const std::wstring& link : {back, away})
    EXPECT_EQ(::GetFileAttributesW(link.c_str()), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);

  EXPECT_NO_THROW(form->ScanFolder(tree.AnsiRoot(), "*.mp3"));

  EXPECT_EQ(tree.Files(), (std::map<std::string, std::string>{{"Yolka.txt", "root"}, {"Вниз\\Kot.txt", "below"}}));
  EXPECT_EQ(outside.Files(), (std::map<std::string, std::string>{{"Снаружи.txt", "outside"}}));
  for (const std::wstring& link : {back, away})
    EXPECT_NE(::GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES) << "a link lost its name";
}

TEST_F(Renamer, FoldersThatCannotBeEnumeratedArePassedOver) {
  FolderTree tree;
  tree.AddFile("Файл.txt", "x");
  std::string file = tree.AnsiRoot() + Ansi("Файл.txt");
  for (const std::string& path : {tree.AnsiRoot() + "nonexistent", file, std::string("Q:\\nowhere")}) {
    EXPECT_NO_THROW(form->ScanFolder(path, "*.mp3")) << path;
  }
  EXPECT_EQ(tree.Files().count("Файл.txt"), 1u);
}

TEST(TransliterateMethod, IsTheTable) { EXPECT_EQ(TForm1::TransliterateName(Ansi("Щука")), "Chshuka"); }

TEST_F(Renamer, SelectedDriveIsWalkedThroughItsDoubledSeparator) {
  // T: is a drive of its own (a scratch folder mapped by the test runner).
  ASSERT_NE(::GetFileAttributesW(L"T:\\"), INVALID_FILE_ATTRIBUTES) << "drive T: is not mapped";
  FolderTree tree(L"T:\\");
  tree.AddFile("Диск\\Ёлка.txt", "root walk");
  ASSERT_TRUE(SelectFolder(*form->sShellTreeView1, "T:"));
  ASSERT_EQ(form->sShellTreeView1->CurrentPath(), "T:\\");

  ASSERT_TRUE(form->RenameSelectedFolder());

  std::map<std::string, std::string> expected = {{"Диск\\Yolka.txt", "root walk"}};
  EXPECT_EQ(tree.Files(), expected);
}

// The name of a folder that the program's current folder happens to hold.
std::string Utf8FromAnsi(const std::string& ansi) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
  return testing_rename::Utf8(w);
}

// Puts the process into a folder for one test and back out of it.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::wstring& folder) {
    ::GetCurrentDirectoryW(MAX_PATH, FOld);
    ::SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentFolder() { ::SetCurrentDirectoryW(FOld); }

 private:
  wchar_t FOld[MAX_PATH] = {};
};

TEST_F(Renamer, VirtualFoldersAndRelativePathsRenameNothing) {
  // The computer is selected at start; its path is its caption, which names
  // no folder on disk. A folder of that name in the current folder must not
  // be taken for it.
  fw::TTreeNode* root = form->sShellTreeView1->Items().GetFirstNode();
  ASSERT_TRUE(root);
  ASSERT_EQ(form->sShellTreeView1->Selected(), root);
  const std::string caption = form->sShellTreeView1->CurrentPath();
  ASSERT_EQ(caption, root->Text());
  FolderTree tree;
  tree.AddFile(Utf8FromAnsi(caption) + "\\Файл.txt", "computer");
  tree.AddFile("Папка\\Ёж.txt", "folder");
  std::map<std::string, std::string> before = tree.Files();
  CurrentFolder inside(tree.Root());

  EXPECT_TRUE(form->RenameSelectedFolder()) << "a selection without a folder is still a finished walk";
  EXPECT_EQ(tree.Files(), before);

  char drive[3] = {static_cast<char>(tree.AnsiRoot()[0]), ':', 0};
  for (const std::string& path : {caption + "\\", caption, ".\\" + caption + "\\", Ansi("Папка\\"),
                                  std::string(drive) + Ansi("Папка\\"), std::string(drive) + caption}) {
    EXPECT_NO_THROW(form->ScanFolder(path, "*.mp3")) << path;
    EXPECT_EQ(tree.Files(), before) << "walked a relative path: " << path;
  }
  // The same folders named by their full paths are walked.
  form->ScanFolder(tree.AnsiRoot() + Ansi("Папка"), "*.mp3");
  EXPECT_EQ(tree.Files().count("Папка\\Yozh.txt"), 1u);
}

TEST_F(Renamer, SelectedFolderPathAndNoSelection) {
  FolderTree tree;
  tree.AddFile("Ночь.txt", "n");
  std::string root = tree.AnsiRoot();
  root.pop_back();
  ASSERT_TRUE(SelectFolder(*form->sShellTreeView1, root));
  EXPECT_EQ(form->sShellTreeView1->CurrentPath(), root);

  // Nothing selected: nothing is walked, no box, the dialog stays.
  form->sShellTreeView1->SetSelected(nullptr);
  EXPECT_EQ(form->sShellTreeView1->CurrentPath(), "");
  form->sBitBtn1Click(form->sBitBtn1);
  EXPECT_EQ(tree.Files().count("Ночь.txt"), 1u);
  EXPECT_FALSE(fw::Application->Terminated());
}

}  // namespace

namespace {

// The dialog's skin manager names a folder of the machine the dialog was laid
// out on; here it does not exist, so the manager stays inactive without a
// word and the dialog keeps the platform's look.
TEST_F(Renamer, TheSkinManagerWithoutItsSkinStaysQuietlyInactive) {
  translit::TsSkinManager* manager = form->sSkinManager1;
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(translit::DefaultManager, manager);
  EXPECT_FALSE(manager->Active());
  EXPECT_EQ(manager->SkinName(), "BlueIce");
  EXPECT_EQ(manager->SkinDirectory(),
            Ansi("c:\\documents\\разное\\kodlab\\компоненты\\SkinEngine.7.33.stable.full.source\\Skins\\"));
  EXPECT_EQ(manager->SkinInfo(), "N/A");
  EXPECT_EQ(manager->ThirdPartyClasses(translit::tpButton), (std::vector<std::string>{"TButton"}));
}

// With the skin installed where the stored settings look, the manager loads
// it while the dialog is read, without a message.
TEST_F(Renamer, TheSkinManagerLoadsTheInstalledSkin) {
  if (kGeneratedSkins.empty()) GTEST_SKIP() << "built without the skin";
  delete form;
  form = nullptr;
  skin.reset();
  skin = std::make_unique<StoredSkinScope>(StoredSkin::Folder, kGeneratedSkins);
  ASSERT_TRUE(skin->Ok());
  std::vector<std::string> errors;
  const auto saved = translit::TsSkinManager::ShowLoadError;
  translit::TsSkinManager::ShowLoadError = [&](const std::string& m) { errors.push_back(m); };
  form = new TForm1(fw::Application);
  translit::TsSkinManager::ShowLoadError = saved;

  translit::TsSkinManager* manager = form->sSkinManager1;
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_TRUE(manager->Active());
  EXPECT_FALSE(manager->LoadedFromPacked());
  EXPECT_EQ(manager->SkinName(), "BlueIce");
  EXPECT_EQ(manager->SkinInfo(), "7.2");
  EXPECT_GE(manager->SectionIndex("BUTTON"), 0);
  EXPECT_TRUE(manager->GlobalInfo->Loaded);
}

}  // namespace

namespace {

// The dialog's folder tree as its layout stores it: the computer as its
// root, folders only, the system's icons, no watching, the "EDIT" section,
// an empty bound label, and the shell's menu and label editing left on.
TEST_F(Renamer, TheTreeStartsAtTheComputerWithItsStoredSettings) {
  translit::TsShellTreeView* tree = form->sShellTreeView1;
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->Root(), "rfMyComputer");
  EXPECT_EQ(tree->ObjectTypes(), translit::TacShellObjectTypes{translit::otFolders});
  EXPECT_TRUE(tree->UseShellImages());
  EXPECT_FALSE(tree->AutoRefresh());
  EXPECT_EQ(tree->Notifier(), nullptr) << "nothing is watched";
  EXPECT_EQ(tree->ShowExt(), translit::seSystem);
  EXPECT_TRUE(tree->AutoContextMenus());
  EXPECT_TRUE(tree->RightClickSelect());
  EXPECT_TRUE(tree->ShowButtons() && tree->ShowLines() && tree->ShowRoot() && tree->HideSelection());
  EXPECT_FALSE(tree->ReadOnly()) << "labels are edited in place";
  EXPECT_EQ(tree->SkinData().SkinSection(), "EDIT");
  EXPECT_EQ(tree->Color(), fw::clWhite);
  EXPECT_EQ(tree->Indent(), 19);
  translit::TsBoundLabel& label = tree->BoundLabel();
  EXPECT_FALSE(label.Active());
  EXPECT_EQ(label.Caption(), "");
  EXPECT_EQ(label.Indent(), 0);
  EXPECT_EQ(label.Layout(), translit::sclLeft);
  EXPECT_EQ(label.MaxWidth(), 0);
  EXPECT_TRUE(label.UseSkinColor());
  EXPECT_EQ(label.Font().Name(), "MS Sans Serif");
  EXPECT_EQ(label.Font().Height(), -11);

  fw::TTreeNode* root = tree->Items().GetFirstNode();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetNextSibling(), nullptr);
  EXPECT_TRUE(root->Expanded());
  EXPECT_EQ(tree->Selected(), root);
  EXPECT_NE(root->GetFirstChild(), nullptr) << "its drives and folders";
  EXPECT_EQ(tree->CurrentPath(), root->Text());
  EXPECT_EQ(tree->CurrentPath().rfind("::{", 0), std::string::npos) << "a name, not a class identifier";
}

}  // namespace
