// The real program under Wine, driven as a user would drive it: pick a
// prepared folder in its tree, press the button, read the status bar,
// answer its boxes, and check the files on disk and the end of the process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/core/SysUtils.h"
#include "tests/app/RenameFixture.h"
#include "tests/e2e/Remote.h"
#include "tests/support/RemoveTree.h"

namespace {

using testing_rename::Ansi;
using testing_rename::FolderTree;

// A file of the build, named for Windows.
std::string WindowsPath(const std::string& unix) {
  std::string path = "Z:" + unix;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The program as the build placed it.
std::string ProgramPath() { return WindowsPath(TRANSLIT_EXE); }

// The skin folder the dialog's stored settings name, made on this machine
// for one run with the packed skin BlueIce in it; what the test made of the
// path goes again afterwards.
class StoredSkinFolder {
 public:
  explicit StoredSkinFolder(const std::string& packedSkin) {
    const std::wstring path =
        L"C:\\documents\\разное\\kodlab\\компоненты\\SkinEngine.7.33.stable.full.source\\Skins";
    for (std::size_t cut = path.find(L'\\', 3);; cut = path.find(L'\\', cut + 1)) {
      const std::wstring part = path.substr(0, cut);
      if (::CreateDirectoryW(part.c_str(), nullptr) && FMade.empty()) FMade = part;
      if (cut == std::wstring::npos) break;
    }
    FFile = path + L"\\BlueIce.asz";
    const std::string from = WindowsPath(packedSkin);
    std::wstring wideFrom(from.begin(), from.end());
    FCopied = ::CopyFileW(wideFrom.c_str(), FFile.c_str(), FALSE) != 0;
  }
  ~StoredSkinFolder() {
    ::DeleteFileW(FFile.c_str());
    if (!FMade.empty()) testing_files::RemoveTree(FMade);
  }
  StoredSkinFolder(const StoredSkinFolder&) = delete;
  StoredSkinFolder& operator=(const StoredSkinFolder&) = delete;
  bool Copied() const { return FCopied; }

 private:
  std::wstring FMade;
  std::wstring FFile;
  bool FCopied = false;
};

// The section index the skin data of another process's skinned control
// answers, -1 for none.
int SkinIndexOf(HANDLE process, HWND control) {
  e2e::RemoteBuffer remote(process, sizeof(std::int32_t));
  const std::int32_t none = -1;
  remote.Write(&none, sizeof(none));
  ::SendMessageA(control, 0xA100, 26u << 16, reinterpret_cast<LPARAM>(remote.Address()));
  std::int32_t index = -1;
  remote.Read(&index, sizeof(index));
  return index;
}

// The error a rename onto a folder's name gets on this platform.
std::string RenameOntoFolderMessage() {
  FolderTree probe;
  std::wstring file = probe.Root() + L"\\a", dir = probe.Root() + L"\\b";
  ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ::CreateDirectoryW(dir.c_str(), nullptr);
  ::MoveFileW(file.c_str(), dir.c_str());
  return fw::InOutErrorMessage(static_cast<int>(::GetLastError()));
}

// Each test runs without a skin (the stored folder is not on this machine)
// and, where the build has it, with BlueIce in the stored folder.
class RunningProgram : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
#ifdef TRANSLIT_SKIN_BLUEICE_PACKED
    if (GetParam()) {
      skin = std::make_unique<StoredSkinFolder>(TRANSLIT_SKIN_BLUEICE_PACKED);
      ASSERT_TRUE(skin->Copied()) << "the skin is in the stored folder";
    }
#endif
  }
  // The dialog's button and bar are drawn from the skin exactly when it is
  // there.
  void ExpectSkinned(HWND buttonWindow, HWND bar) {
    if (GetParam()) {
      EXPECT_GE(SkinIndexOf(program->Process(), buttonWindow), 0);
      EXPECT_GE(SkinIndexOf(program->Process(), bar), 0);
    } else {
      EXPECT_EQ(SkinIndexOf(program->Process(), buttonWindow), -1);
      EXPECT_EQ(SkinIndexOf(program->Process(), bar), -1);
    }
  }

  // Starts the program and selects folder (a path on drive T:) in its tree.
  void StartAndSelect(const std::string& tFolderName) {
    program = std::make_unique<e2e::Program>(ProgramPath(), "");
    form = e2e::WaitForWindow(program->Id(), "TForm1", 30000);
    ASSERT_TRUE(form) << "the dialog did not appear";
    EXPECT_EQ(e2e::WindowText(form), "Help for Lorvanta");
    tree = e2e::FindChild(form, "TFolderTree");
    button = e2e::FindChild(form, "TsBitBtn");
    status = e2e::FindChild(form, "TsStatusBar");
    ASSERT_TRUE(tree && button && status);
    ExpectSkinned(button, status);

    // The root is the computer; at start it is selected.
    auto root = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ASSERT_TRUE(root);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), root);
    HTREEITEM drive = e2e::FindTreeChild(program->Process(), tree, root, "T:");
    ASSERT_TRUE(drive) << "drive T: is not in the tree";
    HTREEITEM folder = e2e::FindTreeChild(program->Process(), tree, drive, tFolderName);
    ASSERT_TRUE(folder) << "the prepared folder is not in the tree";
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder));
  }

  std::unique_ptr<StoredSkinFolder> skin;
  std::unique_ptr<e2e::Program> program;
  HWND form = nullptr, tree = nullptr, button = nullptr, status = nullptr;
};

std::wstring FolderNameOf(const FolderTree& t) { return t.Root().substr(3); }

TEST_P(RunningProgram, RenamesTheChosenFolderSaysDoneAndEnds) {
  FolderTree tree(L"T:\\");
  tree.AddFile("Альбом\\Песня 01 (live).mp3", "song");
  tree.AddFile("Альбом\\Обложка.jpg", "cover");
  tree.AddFile("notes.txt", "notes");
  tree.AddFile("Ёлка.txt", "tree");
  std::vector<std::string> before = tree.Contents();

  StartAndSelect(testing_rename::Utf8(FolderNameOf(tree)));
  HWND done = e2e::ClickForWindow(button, program->Id(), "TMessageForm");
  ASSERT_TRUE(done) << "no \"Готово!\" box";
  EXPECT_EQ(e2e::WindowText(done), "Translit");
  // The walk put each file's name in the status bar; one of them is last.
  std::string last = e2e::StatusText(program->Process(), status, 0);
  EXPECT_TRUE(last == "Pesnya 01 (live).mp3" || last == Ansi("Обложка.jpg") || last == "notes.txt" ||
              last == Ansi("Ёлка.txt") || last == Ansi("Песня 01 (live).mp3"))
      << last;

  HWND ok = e2e::FindChild(done, "TButton");
  ASSERT_TRUE(ok);
  EXPECT_EQ(e2e::WindowText(ok), "OK");
  ASSERT_TRUE(e2e::ClickUntilGone(ok, done));

  DWORD code = 1;
  ASSERT_TRUE(program->WaitForExit(20000, &code)) << "the program did not end after \"Готово!\"";
  EXPECT_EQ(code, 0u);
  std::map<std::string, std::string> expected = {
      {"Альбом\\Pesnya 01 (live).mp3", "song"},
      {"Альбом\\Oblozhka.jpg", "cover"},
      {"notes.txt", "notes"},
      {"Yolka.txt", "tree"},
  };
  EXPECT_EQ(tree.Files(), expected);
  EXPECT_EQ(tree.Contents(), before);
}

TEST_P(RunningProgram, FailedRenameShowsTheErrorAndKeepsTheDialogOpen) {
  std::string expectedMessage = RenameOntoFolderMessage() + ".";
  FolderTree tree(L"T:\\");
  tree.AddFolder("Kot");
  tree.AddFile("Кот", "cat");
  std::vector<std::string> before = tree.Contents();

  StartAndSelect(testing_rename::Utf8(FolderNameOf(tree)));
  HWND box = e2e::ClickForWindow(button, program->Id(), "#32770");
  ASSERT_TRUE(box) << "no error box";
  EXPECT_EQ(e2e::WindowText(box), "Translit");
  EXPECT_EQ(e2e::WindowText(::GetDlgItem(box, 0xFFFF)), expectedMessage);
  EXPECT_EQ(e2e::StatusText(program->Process(), status, 0), Ansi("Кот"));
  ASSERT_TRUE(e2e::ClickUntilGone(e2e::FindChild(box, "Button"), box));

  // Back in the loop: the dialog is still there, no "Готово!".
  ::Sleep(500);
  EXPECT_TRUE(program->Running());
  EXPECT_TRUE(::IsWindowVisible(form));
  EXPECT_FALSE(e2e::WaitForWindow(program->Id(), "TMessageForm", 300));
  EXPECT_EQ(tree.Files().count("Кот"), 1u);

  // Its close box ends the program without renaming anything.
  ::PostMessageA(form, WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(program->WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(tree.Contents(), before);
}

TEST_P(RunningProgram, ComputerSelectedAtStartRenamesNothing) {
  // The root has no file-system path. A folder of its caption in the
  // program's current folder is not the computer: nothing in it is renamed,
  // and the program still says it is done and ends.
  FolderTree workDir;
  workDir.AddFile("Ёлка.txt", "kept");
  program = std::make_unique<e2e::Program>(ProgramPath(), testing_rename::Ansi(testing_rename::Utf8(workDir.Root())));
  form = e2e::WaitForWindow(program->Id(), "TForm1", 30000);
  ASSERT_TRUE(form);
  HWND treeView = e2e::FindChild(form, "TFolderTree");
  ASSERT_TRUE(treeView);
  auto root = reinterpret_cast<HTREEITEM>(::SendMessageA(treeView, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  ASSERT_TRUE(root);
  const std::string caption = e2e::TreeItemText(program->Process(), treeView, root);
  ASSERT_FALSE(caption.empty());
  int n = ::MultiByteToWideChar(CP_ACP, 0, caption.data(), static_cast<int>(caption.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, caption.data(), static_cast<int>(caption.size()), wide.data(), n);
  workDir.AddFile(testing_rename::Utf8(wide) + "\\Файл.txt", "not the computer");
  std::map<std::string, std::string> before = workDir.Files();

  ExpectSkinned(e2e::FindChild(form, "TsBitBtn"), e2e::FindChild(form, "TsStatusBar"));
  HWND done = e2e::ClickForWindow(e2e::FindChild(form, "TsBitBtn"), program->Id(), "TMessageForm");
  ASSERT_TRUE(done) << "no \"Готово!\" box";
  ASSERT_TRUE(e2e::ClickUntilGone(e2e::FindChild(done, "TButton"), done));
  DWORD code = 1;
  ASSERT_TRUE(program->WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(workDir.Files(), before);
}

#ifdef TRANSLIT_SKIN_BLUEICE_PACKED
INSTANTIATE_TEST_SUITE_P(Skins, RunningProgram, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "BlueIce" : "NoSkin"; });
#else
INSTANTIATE_TEST_SUITE_P(Skins, RunningProgram, ::testing::Values(false),
                         [](const ::testing::TestParamInfo<bool>&) { return "NoSkin"; });
#endif

}  // namespace
