// The shell's own commands on the tree's nodes, driven with the mouse and
// the keyboard as a user drives them: the context menu of a right-clicked
// node, renaming through it and by clicking a selected label, names the
// shell refuses, and deleting a folder or keeping it after all.
#include "shell/tree/acShellTreeView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "shell/acShellUnit.h"
#include "tests/shell/ShellFixture.h"
#include "tests/shell/tree/ShellTreeFixture.h"

namespace translit {
namespace {

using namespace test;
using testing_files::TempFolder;

class ShellCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication().Initialize();
    RegisterShellTreeClasses();
  }
  void SetUp() override {
    tmp.Folder("alpha");
    tmp.Folder("beta");
    root = tmp.Path();
    root.pop_back();
    f = std::make_unique<TreeForm>(root);
    alpha = TreeForm::Child(f->Root(), "alpha");
    ASSERT_NE(alpha, nullptr);
  }
  void TearDown() override { f.reset(); }

  bool Exists(const std::string& name) const {
    return GetFileAttributesA((tmp.Path() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Types a name into the label being edited and ends the edit with Enter.
  void TypeLabel(const std::string& name) {
    ASSERT_TRUE(PumpUntil([&] { return f->EditControl() != nullptr; }, 5000)) << "no label edit";
    HWND edit = f->EditControl();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }, 2000)) << "the edit has no focus";
    TypeText(name);
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return f->EditControl() == nullptr; }, 5000)) << "the edit stayed";
  }

  TempFolder tmp;
  std::string root;
  std::unique_ptr<TreeForm> f;
  fw::TTreeNode* alpha = nullptr;
};

TEST_F(ShellCommands, ARightClickSelectsTheNodeAndOpensTheShellsMenu) {
  ASSERT_NE(f->tree->Selected(), alpha);
  // The shell's own commands for the folder, as a menu of the same folder
  // numbers them.
  const auto verbs = ContextMenuVerbs(*TacCustomShellTreeView::FolderOf(alpha));
  ASSERT_NE(CommandOfVerb(*TacCustomShellTreeView::FolderOf(alpha), "delete"), 0u);
  MenuDriver menu(0);
  ClickAt(f->TextPoint(alpha), true);
  ASSERT_TRUE(PumpUntil([&] { return menu.seen; }, 5000)) << "no menu";
  PumpFor(200);
  EXPECT_EQ(f->tree->Selected(), alpha) << "the right click selected the node first";
  for (const auto& [verb, id] : verbs)
    EXPECT_NE(std::find(menu.commands.begin(), menu.commands.end(), id), menu.commands.end()) << verb;
  EXPECT_TRUE(menu.slotFilled) << "the menu's extension was at hand while it was open";
  EXPECT_EQ(CurrentContextMenu(), nullptr) << "and is let go afterwards";
  EXPECT_EQ(f->EditControl(), nullptr) << "Escape ran nothing";
  EXPECT_TRUE(Exists("alpha"));

  // Without automatic menus a right click only selects.
  f->tree->SetAutoContextMenus(false);
  MenuDriver none(0);
  fw::TTreeNode* beta = TreeForm::Child(f->Root(), "beta");
  ClickAt(f->TextPoint(beta), true);
  ASSERT_TRUE(PumpUntil([&] { return f->tree->Selected() == beta; }, 3000));
  PumpFor(400);
  EXPECT_FALSE(none.seen);
}

// The shell's "rename" (Wine's menu has none; Windows' has) is taken over
// by the tree: it edits the label in place, and the name typed renames the
// folder.
TEST_F(ShellCommands, TheRenameCommandEditsTheLabelInPlace) {
  f->tree->SetSelected(alpha);
  bool handled = false;
  f->tree->BeforeShellCommand("rename", handled);
  EXPECT_TRUE(handled) << "the shell does not run it";
  TypeLabel("omega");
  ASSERT_TRUE(PumpUntil([&] { return TreeForm::Child(f->Root(), "omega") != nullptr; }, 3000));
  PumpFor(100);
  EXPECT_FALSE(Exists("alpha"));
  EXPECT_TRUE(Exists("omega"));
  EXPECT_EQ(TreeForm::ChildTexts(f->Root()), (std::vector<std::string>{"beta", "omega"})) << "read again, in order";
  ASSERT_NE(f->tree->Selected(), nullptr);
  EXPECT_EQ(f->tree->Selected()->Text(), "omega");
  EXPECT_EQ(f->tree->CurrentPath(), tmp.Path() + "omega");
}

TEST_F(ShellCommands, OpenPasteAndDeleteFollowUps) {
  char before[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, before);
  f->tree->SetSelected(alpha);
  bool handled = false;
  f->tree->BeforeShellCommand("open", handled);
  EXPECT_FALSE(handled) << "the shell opens it";
  char during[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, during);
  EXPECT_TRUE(lstrcmpiA(during, tmp.Path().c_str()) == 0 || lstrcmpiA(during, root.c_str()) == 0) << during;
  // Whatever the shell made of it, the program's current folder comes back.
  f->tree->AfterShellCommand("open", false);
  char after[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(after, before);

  // A paste puts new things into the selected folder: it is read again.
  f->tree->SetSelected(f->Root());
  tmp.Folder("pasted");
  f->tree->AfterShellCommand("paste", true);
  EXPECT_NE(TreeForm::Child(f->Root(), "pasted"), nullptr);

  // A delete that left the folder there keeps the node; one that removed it
  // takes the node away.
  alpha = TreeForm::Child(f->Root(), "alpha");
  f->tree->SetSelected(alpha);
  f->tree->AfterShellCommand("delete", true);
  EXPECT_EQ(TreeForm::Child(f->Root(), "alpha"), alpha);
  RemoveDirectoryA((tmp.Path() + "alpha").c_str());
  f->tree->AfterShellCommand("delete", false);
  EXPECT_EQ(TreeForm::Child(f->Root(), "alpha"), alpha) << "a failed command changes nothing";
  f->tree->AfterShellCommand("delete", true);
  EXPECT_EQ(TreeForm::Child(f->Root(), "alpha"), nullptr);
}

// A virtual item has no path on disk: a delete the shell reports done on it
// is no reason to drop its node, whatever the current folder holds.
TEST_F(ShellCommands, ADeleteFollowUpLeavesVirtualItemsAlone) {
  f.reset();
  TreeForm computer("rfMyComputer");
  fw::TTreeNode* top = computer.Root();
  ASSERT_NE(top, nullptr);
  TacShellFolder* folder = TacCustomShellTreeView::FolderOf(top);
  ASSERT_NE(folder, nullptr);
  ASSERT_FALSE(folder->Attributes(SFGAO_FILESYSTEM) & SFGAO_FILESYSTEM) << "the computer folder is virtual";
  const int children = top->Count();
  ASSERT_GT(children, 0);
  computer.tree->SetSelected(top);
  computer.tree->AfterShellCommand("delete", true);
  ASSERT_EQ(computer.Root(), top) << "the computer node was taken away";
  EXPECT_EQ(top->Count(), children);
}

TEST_F(ShellCommands, ClickingTheSelectedLabelEditsItInPlace) {
  f->tree->SetSelected(alpha);
  f->tree->SetFocus();
  // Well apart from any click before, so that this one is no double click.
  PumpFor(GetDoubleClickTime() + 100);
  ClickAt(f->TextPoint(alpha));
  TypeLabel("gamma");
  PumpUntil([&] { return TreeForm::Child(f->Root(), "gamma") != nullptr; }, 3000);
  EXPECT_TRUE(Exists("gamma"));
  EXPECT_FALSE(Exists("alpha"));
  EXPECT_EQ(TreeForm::ChildTexts(f->Root()), (std::vector<std::string>{"beta", "gamma"}));
}

TEST_F(ShellCommands, ANameTheShellRefusesKeepsTheOldLabel) {
  f->tree->SetSelected(alpha);
  {
    BoxAnswerer answerer;
    ASSERT_NE(alpha->EditText(), nullptr);
    TypeLabel("beta");
    PumpUntil([&] { return !answerer.texts.empty(); }, 5000);
    EXPECT_EQ(answerer.texts, std::vector<std::string>{"Rename to beta failed."});
  }
  EXPECT_EQ(alpha->Text(), "alpha");
  EXPECT_TRUE(Exists("alpha"));
  EXPECT_TRUE(Exists("beta"));

  // A drive offers no renaming here: its label stays, without a word.
  BoxAnswerer answerer;
  TreeForm computer("rfMyComputer");
  fw::TTreeNode* drive = nullptr;
  for (fw::TTreeNode* n = computer.Root()->GetFirstChild(); n; n = n->GetNextSibling())
    if (TacCustomShellTreeView::FolderOf(n)->FolderPath() == "T:\\") drive = n;
  ASSERT_NE(drive, nullptr);
  ASSERT_FALSE(TacCustomShellTreeView::FolderOf(drive)->ItemCapabilities().Contains(icCanRename));
  const std::string name = drive->Text();
  ASSERT_NE(drive->EditText(), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return computer.EditControl() != nullptr; }, 5000));
  TypeText("Elsewhere");
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return computer.EditControl() == nullptr; }, 5000));
  PumpFor(300);
  EXPECT_EQ(drive->Text(), name);
  EXPECT_TRUE(answerer.texts.empty());
}

TEST_F(ShellCommands, DeletingAFolderOrKeepingItAfterAll) {
  const UINT remove = CommandOfVerb(*TacCustomShellTreeView::FolderOf(alpha), "delete");
  {
    BoxAnswerer no(IDNO);
    MenuDriver menu(remove);
    ClickAt(f->TextPoint(alpha), true);
    ASSERT_TRUE(PumpUntil([&] { return menu.seen; }, 5000)) << "no menu";
    ASSERT_TRUE(PumpUntil([&] { return !no.texts.empty(); }, 5000)) << "the shell asked nothing";
    PumpFor(300);
  }
  EXPECT_TRUE(Exists("alpha"));
  EXPECT_EQ(TreeForm::Child(f->Root(), "alpha"), alpha) << "kept: the node stays";

  BoxAnswerer yes(IDYES);
  MenuDriver menu(remove);
  ClickAt(f->TextPoint(alpha), true);
  ASSERT_TRUE(PumpUntil([&] { return menu.seen; }, 5000)) << "no menu";
  ASSERT_TRUE(PumpUntil([&] { return !Exists("alpha"); }, 5000)) << "not deleted";
  PumpFor(200);
  EXPECT_EQ(TreeForm::ChildTexts(f->Root()), std::vector<std::string>{"beta"}) << "deleted: the node goes";
}

}  // namespace
}  // namespace translit
