// The real program under Wine, driven as a user would drive it: pick a
// prepared folder in its shell tree (opening the drive, then selecting the
// folder, through the tree's own messages), press the button (or a key,
// with nothing clicked first), read the status bar, answer its boxes, and
// check the files on disk and the end of the process. Each run is made
// without a skin at the folder the dialog's stored settings name, with the
// skin folder and with the packed skin there; a damaged skin there shows its
// load error and the program goes on with the platform's look. Walks whose
// outcome does not depend on the skin (names the code page cannot hold,
// folders that are links) run once, without one.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "framework/core/SysUtils.h"
#include "tests/app/RenameFixture.h"
#include "tests/e2e/Remote.h"
#include "tests/support/HostProgram.h"
#include "tests/support/RealInput.h"
#include "tests/support/RemoveTree.h"
#include "tests/support/StoredSkin.h"

namespace {

using testing_rename::Ansi;
using testing_rename::FolderTree;
using testing_skin::StoredSkin;
using testing_skin::StoredSkinScope;

// The skin as the native build wrote it; empty when the build had none.
const std::string kGeneratedSkins = TRANSLIT_SKINS_WINDOWS_DIR;

// The program as the build placed it, named for Windows.
std::string ProgramPath() {
  std::string unix = TRANSLIT_EXE;
  std::string path = "Z:" + unix;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
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

// The shell names a drive by its label and letter: "(T:)" ends it.
bool IsDriveT(const std::string& text) { return text.size() >= 4 && text.compare(text.size() - 4, 4, "(T:)") == 0; }

class RunningProgram : public ::testing::TestWithParam<StoredSkin> {
 protected:
  void SetUp() override {
    if (GetParam() != StoredSkin::None && kGeneratedSkins.empty()) GTEST_SKIP() << "built without the skin";
    skin = std::make_unique<StoredSkinScope>(GetParam(), kGeneratedSkins);
    ASSERT_TRUE(skin->Ok()) << "cannot prepare the stored skin folder";
  }
  void TearDown() override {
    program.reset();
    skin.reset();
  }

  // Starts the program (in workDir when given) and waits for its dialog.
  void Start(const std::string& workDir = "") {
    program = std::make_unique<e2e::Program>(ProgramPath(), workDir);
    form = e2e::WaitForWindow(program->Id(), "TForm1", 30000);
  }

  // Whether the skin is loaded in this run.
  bool SkinExpected() const { return GetParam() == StoredSkin::Folder || GetParam() == StoredSkin::Packed; }
  // Whether the program's tree is drawn by the skin: its window carries the
  // skinning object of its frame and bars.
  bool TreeSkinned() const { return ::GetPropA(tree, "ACSBSC") != nullptr; }
  // Whether a skinned control of the program is drawn from a section of the
  // skin: the section index its skin data answers.
  bool DrawnFromSkin(HWND control) const {
    e2e::RemoteBuffer remote(program->Process(), sizeof(std::int32_t));
    const std::int32_t none = -1;
    remote.Write(&none, sizeof(none));
    constexpr UINT kSkinMessage = 0xA100;
    constexpr WPARAM kGetSkinIndex = 26u << 16;
    ::SendMessageA(control, kSkinMessage, kGetSkinIndex, reinterpret_cast<LPARAM>(remote.Address()));
    std::int32_t index = -1;
    remote.Read(&index, sizeof(index));
    return index >= 0;
  }

  // Starts the program and selects folder (a path on drive T:) in its tree.
  void StartAndSelect(const std::string& tFolderName) {
    Start();
    StartAndSelectRunning(tFolderName);
  }

  // Waits for the started program's dialog and selects the folder.
  void StartAndSelectRunning(const std::string& tFolderName) {
    if (!form) form = e2e::WaitForWindow(program->Id(), "TForm1", 30000);
    ASSERT_TRUE(form) << "the dialog did not appear";
    EXPECT_EQ(e2e::WindowText(form), "Help for Lorvanta");
    tree = e2e::FindChild(form, "TsShellTreeView");
    button = e2e::FindChild(form, "TsBitBtn");
    status = e2e::FindChild(form, "TsStatusBar");
    ASSERT_TRUE(tree && button && status);
    EXPECT_EQ(TreeSkinned(), SkinExpected());
    EXPECT_EQ(DrawnFromSkin(button), SkinExpected());
    EXPECT_EQ(DrawnFromSkin(status), SkinExpected());

    // The root is the computer, the only top node; at start it is selected
    // and open.
    auto root = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ASSERT_TRUE(root);
    EXPECT_EQ(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(root)), 0);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)), root);
    EXPECT_TRUE(::SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(root), TVIS_EXPANDED) & TVIS_EXPANDED);
    HTREEITEM drive = e2e::FindTreeChildWhere(program->Process(), tree, root, IsDriveT);
    ASSERT_TRUE(drive) << "drive T: is not in the tree";
    // Its folders are read when it opens.
    EXPECT_EQ(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(drive)), 0);
    HTREEITEM folder = e2e::FindTreeChild(program->Process(), tree, drive, tFolderName);
    ASSERT_TRUE(folder) << "the prepared folder is not in the tree";
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder));
  }

  std::unique_ptr<StoredSkinScope> skin;
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
  Start(testing_rename::Ansi(testing_rename::Utf8(workDir.Root())));
  ASSERT_TRUE(form);
  HWND treeView = e2e::FindChild(form, "TsShellTreeView");
  ASSERT_TRUE(treeView);
  tree = treeView;
  EXPECT_EQ(TreeSkinned(), SkinExpected());
  auto root = reinterpret_cast<HTREEITEM>(::SendMessageA(treeView, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  ASSERT_TRUE(root);
  const std::string caption = e2e::TreeItemText(program->Process(), treeView, root);
  ASSERT_FALSE(caption.empty());
  int n = ::MultiByteToWideChar(CP_ACP, 0, caption.data(), static_cast<int>(caption.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, caption.data(), static_cast<int>(caption.size()), wide.data(), n);
  workDir.AddFile(testing_rename::Utf8(wide) + "\\Файл.txt", "not the computer");
  std::map<std::string, std::string> before = workDir.Files();

  HWND done = e2e::ClickForWindow(e2e::FindChild(form, "TsBitBtn"), program->Id(), "TMessageForm");
  ASSERT_TRUE(done) << "no \"Готово!\" box";
  ASSERT_TRUE(e2e::ClickUntilGone(e2e::FindChild(done, "TButton"), done));
  DWORD code = 1;
  ASSERT_TRUE(program->WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(workDir.Files(), before);
}

// A colour of the generated skin's options ("FONTCOLOR=..." in a section),
// as 0xRRGGBB; 0xFFFFFFFF when it is not there.
std::uint32_t GeneratedSkinColour(const std::string& section, const std::string& key) {
  std::ifstream options(kGeneratedSkins + "\\BlueIce\\Options.dat", std::ios::binary);
  std::string line, current;
  while (std::getline(options, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      current = line.substr(1, line.size() - 2);
    } else if (current == section && line.rfind(key + "=", 0) == 0) {
      const std::uint32_t bgr = static_cast<std::uint32_t>(std::stoul(line.substr(key.size() + 1)));
      return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    }
  }
  return 0xFFFFFFFFu;
}

// Whether the dialog's title bar is drawn active. In the platform's look:
// its active caption colour along most of its middle row and nowhere its
// inactive one. With the skin: the caption's text in the skin's active
// caption colour, nowhere in its inactive one, and no platform caption
// colour anywhere in the title.
bool CaptionDrawnActive(HWND form, bool skinned) {
  RECT r;
  ::GetWindowRect(form, &r);
  const int w = r.right - r.left;
  const int top = ::GetSystemMetrics(SM_CYFIXEDFRAME), caption = ::GetSystemMetrics(SM_CYCAPTION);
  const int y = top + caption / 2;
  const std::vector<std::uint32_t> pixels = e2e::ScreenPixels(form);
  if (pixels.size() < static_cast<std::size_t>(w * (top + caption))) return false;
  const auto shown = [](int index) {
    const COLORREF c = ::GetSysColor(index);
    return static_cast<std::uint32_t>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
  };
  int active = 0, inactive = 0;
  if (!skinned) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y * w + x)];
      active += p == shown(COLOR_ACTIVECAPTION) || p == shown(COLOR_GRADIENTACTIVECAPTION);
      inactive += p == shown(COLOR_INACTIVECAPTION) || p == shown(COLOR_GRADIENTINACTIVECAPTION);
    }
    return active * 2 > w && inactive == 0;
  }
  const std::uint32_t activeText = GeneratedSkinColour("CAPTION", "HOTFONTCOLOR");
  const std::uint32_t inactiveText = GeneratedSkinColour("CAPTION", "FONTCOLOR");
  int platform = 0;
  for (int row = top; row < top + caption; ++row)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(row * w + x)];
      active += p == activeText;
      inactive += p == inactiveText;
      for (int index :
           {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION})
        platform += p == shown(index);
    }
  return active > 0 && inactive == 0 && platform == 0;
}

// A program the user has just started owns the keyboard: its dialog is
// active and its button focused from the first moment, so a key pressed on
// the keyboard, with nothing clicked, presses the button; the "Готово!"
// box that follows takes the keyboard in its turn.
TEST_P(RunningProgram, TheStartedProgramTakesTheKeyboardAtOnce) {
  for (const char* key : {"space", "Return"}) {
    SCOPED_TRACE(key);
    FolderTree tree(L"T:\\");
    tree.AddFile("Ёлка.txt", "tree");
    StartAndSelect(testing_rename::Utf8(FolderNameOf(tree)));
    ASSERT_TRUE(form);

    EXPECT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == form; }, 3000)) << "the dialog is not active";
    EXPECT_TRUE(e2e::WaitUntil([&] { return CaptionDrawnActive(form, SkinExpected()); }, 3000))
        << "the caption is drawn inactive";
    GUITHREADINFO input{};
    input.cbSize = sizeof(input);
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(form, nullptr), &input));
    EXPECT_EQ(input.hwndActive, form);
    EXPECT_EQ(input.hwndFocus, button) << "the button has not the keyboard";

    ASSERT_TRUE(testing_gui::PressKeyOnDisplay(key)) << "xdotool could not be started";
    HWND done = e2e::WaitForWindow(program->Id(), "TMessageForm", 10000);
    ASSERT_TRUE(done) << "the key started no walk";
    EXPECT_EQ(tree.Files(), (std::map<std::string, std::string>{{"Yolka.txt", "tree"}}));

    ASSERT_TRUE(e2e::WaitUntil([&] { return ::GetForegroundWindow() == done; }, 5000)) << "the box is not active";
    ASSERT_TRUE(testing_gui::PressKeyOnDisplay("Return"));
    DWORD code = 1;
    ASSERT_TRUE(program->WaitForExit(20000, &code)) << "Enter did not answer the box";
    EXPECT_EQ(code, 0u);
    program.reset();
    form = nullptr;
  }
}

std::string ParamName(const ::testing::TestParamInfo<StoredSkin>& info) { return testing_skin::Name(info.param); }

INSTANTIATE_TEST_SUITE_P(StoredSkins, RunningProgram,
                         ::testing::Values(StoredSkin::None, StoredSkin::Folder, StoredSkin::Packed), ParamName);

// Walks whose outcome does not depend on the skin, run once without one.
class ProgramWalk : public RunningProgram {
 protected:
  // Selects the child of the selected folder whose tree text is name
  // (UTF-8; the tree shows it in the code page).
  void SelectChild(const std::string& name) {
    auto selected = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    ASSERT_TRUE(selected);
    HTREEITEM child = e2e::FindTreeChild(program->Process(), tree, selected, Ansi(name));
    ASSERT_TRUE(child) << "no node for " << name;
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
  }

  // Presses the button, answers "Готово!" and waits for the program's end.
  void RenameAndFinish() {
    HWND done = e2e::ClickForWindow(button, program->Id(), "TMessageForm");
    ASSERT_TRUE(done) << "no \"Готово!\" box";
    ASSERT_TRUE(e2e::ClickUntilGone(e2e::FindChild(done, "TButton"), done));
    DWORD code = 1;
    ASSERT_TRUE(program->WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
  }
};

// A chosen folder whose name the code page cannot hold is walked, and files
// with such names are renamed with every other character kept.
TEST_P(ProgramWalk, NamesTheCodePageCannotHoldAreRenamedInFull) {
  FolderTree tree(L"T:\\");
  for (const char* name : {"Привет 日本.txt", "Ёж.txt", "Щука ü.txt", "Яблоко €.txt"})
    tree.AddFile(std::string("Папка 日本\\") + name, name);
  StartAndSelect(testing_rename::Utf8(FolderNameOf(tree)));
  SelectChild("Папка 日本");
  RenameAndFinish();
  EXPECT_EQ(tree.Files(), (std::map<std::string, std::string>{
                              {"Папка 日本\\Privet 日本.txt", "Привет 日本.txt"},
                              {"Папка 日本\\Yozh.txt", "Ёж.txt"},
                              {"Папка 日本\\Chshuka ü.txt", "Щука ü.txt"},
                              {"Папка 日本\\Yabloko €.txt", "Яблоко €.txt"},
                          }));
}

// Folders that are links are not entered: one back to the chosen folder (a
// cycle) and one to a folder outside it. Wine shows each as a folder with
// the reparse-point attribute (0x410).
TEST_P(ProgramWalk, FoldersThatAreLinksAreNotEntered) {
  FolderTree outside(L"T:\\");
  outside.AddFile("Снаружи.txt", "outside");
  FolderTree tree(L"T:\\");
  tree.AddFile("Ёлка.txt", "root");
  tree.AddFile("Вниз\\Кот.txt", "below");
  testing_host::HostLink cycle(tree.Root() + L"\\" + testing_rename::Widen("Вниз\\Назад"), "..");
  testing_host::HostLink elsewhere(tree.Root() + L"\\" + testing_rename::Widen("Наружу"),
                                   testing_host::UnixPath(outside.Root()));
  ASSERT_TRUE(cycle.Made() && elsewhere.Made()) << "no host links";

  StartAndSelect(testing_rename::Utf8(FolderNameOf(tree)));
  RenameAndFinish();

  EXPECT_EQ(tree.Files(), (std::map<std::string, std::string>{{"Yolka.txt", "root"}, {"Вниз\\Kot.txt", "below"}}));
  EXPECT_EQ(outside.Files(), (std::map<std::string, std::string>{{"Снаружи.txt", "outside"}}));
}

INSTANTIATE_TEST_SUITE_P(NoStoredSkin, ProgramWalk, ::testing::Values(StoredSkin::None), ParamName);

// The outer ring, two pixels wide, of a window's picture: a tree's frame
// without the nodes inside it, which differ from run to run.
std::vector<std::uint32_t> Frame(HWND wnd) {
  RECT r;
  ::GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const std::vector<std::uint32_t> all = e2e::ScreenPixels(wnd);
  std::vector<std::uint32_t> ring;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (x < 2 || y < 2 || x >= w - 2 || y >= h - 2) ring.push_back(all[static_cast<std::size_t>(y * w + x)]);
  return ring;
}

// The button, the status bar and the folder tree's frame as the screen
// shows them once the dialog is up and has settled.
std::vector<std::uint32_t> DialogLook(HWND form) {
  HWND button = e2e::FindChild(form, "TsBitBtn"), status = e2e::FindChild(form, "TsStatusBar"),
       tree = e2e::FindChild(form, "TsShellTreeView");
  ::SetForegroundWindow(form);
  e2e::WaitUntil([&] { return ::GetForegroundWindow() == form; }, 2000);
  std::vector<std::uint32_t> look, last;
  // Two pictures in a row that agree: the painting is over.
  for (int i = 0; i < 20; ++i) {
    ::Sleep(200);
    look = e2e::ScreenPixels(button);
    for (const std::vector<std::uint32_t>& part : {e2e::ScreenPixels(status), Frame(tree)})
      look.insert(look.end(), part.begin(), part.end());
    if (look == last) break;
    last = look;
  }
  return look;
}

// A damaged skin at the stored folder: its load error is shown in the box
// "Error" before the dialog comes up; the dialog then looks as it does with
// no skin at all, and renaming works as always.
class DamagedSkin : public RunningProgram {
 protected:
  // The damaged copy is put there by the test itself, after a run without
  // a skin.
  void SetUp() override {
    if (kGeneratedSkins.empty()) GTEST_SKIP() << "built without the skin";
  }

  // The look of the dialog started with what is at the stored folder; the
  // program is closed again.
  std::vector<std::uint32_t> LookWith(StoredSkin what) {
    StoredSkinScope scope(what, kGeneratedSkins);
    EXPECT_TRUE(scope.Ok());
    Start();
    if (!form) {
      ADD_FAILURE() << "no dialog with " << testing_skin::Name(what);
      return {};
    }
    std::vector<std::uint32_t> look = DialogLook(form);
    ::PostMessageA(form, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(program->WaitForExit(20000, &code));
    form = nullptr;
    return look;
  }
};

TEST_P(DamagedSkin, ShowsTheLoadErrorKeepsThePlatformsLookAndRenames) {
  // The look without any skin, for comparison; the picture holds the
  // button's face, its caption and the bar, not an empty screen. With the
  // whole skin the look is another one: the comparison sees a skin.
  const std::vector<std::uint32_t> plainLook = LookWith(StoredSkin::None);
  ASSERT_GT(std::set<std::uint32_t>(plainLook.begin(), plainLook.end()).size(), 3u);
  ASSERT_NE(LookWith(StoredSkin::Folder), plainLook) << "the skin changes nothing this test can see";

  skin = std::make_unique<StoredSkinScope>(GetParam(), kGeneratedSkins);
  ASSERT_TRUE(skin->Ok());

  FolderTree tree(L"T:\\");
  tree.AddFile("Зима.txt", "winter");
  program = std::make_unique<e2e::Program>(ProgramPath(), "");
  HWND box = e2e::WaitForWindow(program->Id(), "#32770", 30000);
  ASSERT_TRUE(box) << "no box for the damaged skin";
  EXPECT_EQ(e2e::WindowText(box), "Error");
  EXPECT_EQ(e2e::WindowText(::GetDlgItem(box, 0xFFFF)), "Stream read error");
  // The dialog comes up only once the box is answered.
  EXPECT_FALSE(e2e::WaitForWindow(program->Id(), "TForm1", 300));
  ASSERT_TRUE(e2e::ClickUntilGone(e2e::FindChild(box, "Button"), box));

  StartAndSelectRunning(testing_rename::Utf8(FolderNameOf(tree)));
  EXPECT_EQ(DialogLook(form), plainLook) << "the dialog does not show the platform's look";

  HWND done = e2e::ClickForWindow(button, program->Id(), "TMessageForm");
  ASSERT_TRUE(done) << "no \"Готово!\" box";
  ASSERT_TRUE(e2e::ClickUntilGone(e2e::FindChild(done, "TButton"), done));
  DWORD code = 1;
  ASSERT_TRUE(program->WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(tree.Files(), (std::map<std::string, std::string>{{"Zima.txt", "winter"}}));
}

INSTANTIATE_TEST_SUITE_P(StoredSkins, DamagedSkin,
                         ::testing::Values(StoredSkin::TruncatedImage, StoredSkin::TruncatedPacked), ParamName);

}  // namespace
