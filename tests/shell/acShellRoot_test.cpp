// Root folder objects from root names and paths, and the fallback to the
// previous root behind an error box when a path names nothing. The box is a
// real message form; a timer finds it, reads it and presses its button.
#include "shell/acShellRoot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Dialogs.h"
#include "shell/acShellNames.h"
#include "shell/acShellUnit.h"
#include "tests/shell/MallocSpy.h"
#include "tests/shell/ShellFixture.h"

namespace translit {
namespace {

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// Answers every message form that appears while it lives with its first
// button, remembering the texts the forms showed.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    active = this;
    FTimer = SetTimer(nullptr, 0, 50, Tick);
  }
  ~BoxAnswerer() {
    KillTimer(nullptr, FTimer);
    active = nullptr;
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<std::string> texts;
  std::vector<std::string> buttons;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND form = FindWindowA("TMessageForm", nullptr);
    if (!active || !form || !IsWindowVisible(form)) return;
    HWND button = FindWindowExA(form, nullptr, "TButton", nullptr);
    if (!button) return;
    // Each form is answered once, while its click is on its way.
    if (GetPropA(form, "ShellTestAnswered")) return;
    SetPropA(form, "ShellTestAnswered", reinterpret_cast<HANDLE>(1));
    auto* dialog = dynamic_cast<fw::TMessageForm*>(fw::TWinControl::FromHandle(form));
    active->texts.push_back(dialog && dialog->Message() ? dialog->Message()->Caption() : "<not a message form>");
    char caption[64] = "";
    GetWindowTextA(button, caption, sizeof caption);
    active->buttons.emplace_back(caption);
    PostMessageA(button, BM_CLICK, 0, 0);
  }

  static inline BoxAnswerer* active = nullptr;
  UINT_PTR FTimer = 0;
};

std::string ComputerName() {
  LPITEMIDLIST list = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list);
  ItemListPtr owned(list);
  return ShellItemName(DesktopFolder()->ShellFolder(), list, SHGDN_NORMAL, seSystem);
}

TEST(MakeRootFolder, RootNamesGiveTheirSpecialFolders) {
  std::unique_ptr<TacShellFolder> old;
  TacRoot root = "rfMyComputer";
  auto computer = MakeRootFolder(old, "", root);
  ASSERT_TRUE(computer);
  EXPECT_EQ(root, "rfMyComputer");
  EXPECT_EQ(computer->Parent(), DesktopFolder());
  EXPECT_EQ(computer->FolderPath(), ComputerName());
  EXPECT_TRUE(ItemListsEqual(computer->RelativeId(), computer->AbsoluteId()))
      << "a root's relative list is its full list";
  ASSERT_NE(computer->ShellFolder(), nullptr);
  EXPECT_TRUE(HasEnumerableChildren(computer->ShellFolder(), SHCONTF_FOLDERS));

  // The desktop cannot be bound below itself: its own folder is used.
  TacShellFolder* previous = computer.get();
  root = "rfDesktop";
  auto desktop = MakeRootFolder(computer, "rfMyComputer", root);
  ASSERT_TRUE(desktop);
  EXPECT_EQ(computer, nullptr) << "the old root object is freed";
  EXPECT_NE(desktop.get(), previous);
  EXPECT_EQ(CountItemIds(desktop->AbsoluteId()), 0);
  EXPECT_EQ(desktop->ShellFolder(), DesktopFolder()->ShellFolder());
}

TEST(MakeRootFolder, PathsAreNormalisedAndMadeAbsolute) {
  testing_files::TempFolder tree;
  tree.Folder("sub");
  std::unique_ptr<TacShellFolder> old;
  struct Case {
    std::string root;
    std::string path;
  } cases[] = {
      {"c", "C:\\"},
      {"C:", "C:\\"},
      {"c:/", "C:\\"},
      {tree.Path() + "sub", tree.Path() + "sub"},
      {tree.Path() + "sub/", tree.Path() + "sub"},
      {"sub", tree.Path() + "sub"},  // against the current folder
  };
  char saved[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  SetCurrentDirectoryA(tree.Path().c_str());
  for (const Case& c : cases) {
    TacRoot root = c.root;
    BoxAnswerer boxes;
    std::unique_ptr<TacShellFolder> folder;
    EXPECT_NO_THROW(folder = MakeRootFolder(old, "", root)) << c.root;
    ASSERT_TRUE(folder) << c.root;
    EXPECT_TRUE(SameText(folder->FolderPath(), c.path)) << c.root << " gave " << folder->FolderPath();
    EXPECT_EQ(root, c.root);
    EXPECT_TRUE(boxes.texts.empty()) << c.root;
    old = std::move(folder);
  }
  SetCurrentDirectoryA(saved);
}

TEST(MakeRootFolder, UnknownPathShowsTheErrorAndKeepsThePreviousRoot) {
  testing_files::TempFolder tree;
  std::string missing = tree.Path() + "no such folder";
  for (const std::string& bad : {missing, std::string()}) {
    std::unique_ptr<TacShellFolder> old;
    TacRoot previous = "rfMyComputer";
    old = MakeRootFolder(old, "", previous);
    TacRoot root = bad;
    BoxAnswerer boxes;
    auto folder = MakeRootFolder(old, previous, root);
    ASSERT_TRUE(folder) << bad;
    EXPECT_EQ(root, "rfMyComputer") << "the root falls back to the previous one";
    EXPECT_EQ(folder->FolderPath(), ComputerName());
    EXPECT_EQ(old, nullptr);
    ASSERT_EQ(boxes.texts.size(), 1u) << bad;
    EXPECT_EQ(boxes.texts[0], "Error Setting Path : " + bad);
    EXPECT_EQ(boxes.buttons[0], "OK");
  }
}

TEST(MakeRootFolder, RaisesWhenThePreviousRootFailsToo) {
  testing_files::TempFolder tree;
  std::string missing = tree.Path() + "gone";
  for (const std::string& previous : {std::string(), tree.Path() + "also gone"}) {
    TacRoot good = "c";
    std::unique_ptr<TacShellFolder> old;
    old = MakeRootFolder(old, "", good);
    TacShellFolder* kept = old.get();
    TacRoot root = missing;
    BoxAnswerer boxes;
    try {
      MakeRootFolder(old, previous, root);
      ADD_FAILURE() << "no error with previous root '" << previous << "'";
    } catch (const fw::Exception& e) {
      EXPECT_EQ(e.Message(), "Error Setting Path : " + missing);
    }
    EXPECT_TRUE(boxes.texts.empty()) << "the error is raised, not shown";
    EXPECT_EQ(old.get(), kept) << "a failed change keeps the old root object";
    EXPECT_TRUE(SameText(old->FolderPath(), "C:\\"));
  }
}

TEST(MakeRootFolder, LeaksNothing) {
  testing_files::TempFolder tree;
  std::string missing = tree.Path() + "gone";
  std::unique_ptr<TacShellFolder> old;
  EXPECT_EQ(test::LeakedBlocks(4,
                               [&] {
                                 for (const char* name : {"c", "rfMyComputer", "rfDesktop"}) {
                                   TacRoot root = name;
                                   old = MakeRootFolder(old, "", root);
                                 }
                               }),
            0);
  EXPECT_EQ(test::LeakedBlocks(4,
                               [&] {
                                 TacRoot root = missing;
                                 try {
                                   MakeRootFolder(old, "", root);
                                 } catch (const fw::Exception&) {
                                 }
                               }),
            0);
  old.reset();
}

}  // namespace
}  // namespace translit
