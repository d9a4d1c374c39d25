// The change watcher: the filter bits, a thread only once a handler is set,
// changes reported on the user-interface thread, a new folder watched from
// the moment it is set (and the old one no longer), a folder that cannot be
// watched yet, a watcher freed while changes pour in, and the tree that
// re-reads its selected folder when it changes on disk.
#include "shell/tree/acShellChangeNotifier.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "framework/Application.h"
#include "shell/tree/acShellTreeView.h"
#include "tests/shell/ShellFixture.h"
#include "tests/shell/tree/ShellTreeFixture.h"

namespace translit {
namespace {

using namespace test;
using testing_files::TempFolder;

TEST(ChangeFilters, BecomeTheFileNotifyBits) {
  struct Case {
    TacNotifyFilters filters;
    DWORD bits;
  } cases[] = {
      {{}, 0},
      {{nfFileNameChange}, FILE_NOTIFY_CHANGE_FILE_NAME},
      {{nfDirNameChange}, FILE_NOTIFY_CHANGE_DIR_NAME},
      {{nfAttributeChange}, FILE_NOTIFY_CHANGE_ATTRIBUTES},
      {{nfSizeChange}, FILE_NOTIFY_CHANGE_SIZE},
      {{nfWriteChange}, FILE_NOTIFY_CHANGE_LAST_WRITE},
      {{nfSecurityChange}, FILE_NOTIFY_CHANGE_SECURITY},
      {{nfFileNameChange, nfDirNameChange}, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME},
      {{nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange}, 0x11F},
  };
  for (const Case& c : cases) EXPECT_EQ(NotifyFilterFlags(c.filters), c.bits) << "filters " << c.filters.Bits();
}

class ChangeWatcher : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { fw::EnsureApplication().Initialize(); }

  // Counts the calls and checks where they run.
  void Watch(TacShellChangeNotifier& notifier) {
    notifier.SetOnChange([this] {
      ++calls;
      if (GetCurrentThreadId() != mainThread) ++offThread;
    });
  }
  // Waits until the thread has taken up its settings.
  static bool Settled(TacShellChangeNotifier& n) {
    return PumpUntil([&] { return n.Thread() && n.Thread()->Active() && !n.Thread()->SettingsChanged(); }, 3000);
  }
  // Makes changes in folder until one is reported; false when none is.
  bool ChangeUntilReported(const TempFolder& tmp, const std::string& folder) {
    const int before = calls;
    for (int i = 0; i < 10 && calls == before; ++i) {
      tmp.Folder(folder + "\\made" + std::to_string(serial++));
      PumpUntil([&] { return calls > before; }, 500);
    }
    return calls > before;
  }

  DWORD mainThread = GetCurrentThreadId();
  int calls = 0;
  int offThread = 0;
  int serial = 0;
};

TEST_F(ChangeWatcher, RunsOnlyWithAHandlerAndReportsOnTheMainThread) {
  TempFolder tmp;
  tmp.Folder("w");
  TacShellChangeNotifier notifier(nullptr);
  EXPECT_EQ(notifier.Root(), "C:\\");
  EXPECT_TRUE(notifier.WatchSubTree());
  EXPECT_EQ(notifier.NotifyFilters(), (TacNotifyFilters{nfFileNameChange, nfDirNameChange}));
  notifier.SetRoot(tmp.Path() + "w");
  notifier.SetWatchSubTree(false);
  EXPECT_EQ(notifier.Thread(), nullptr) << "no handler, no thread";

  Watch(notifier);
  ASSERT_NE(notifier.Thread(), nullptr);
  ASSERT_TRUE(Settled(notifier));
  EXPECT_TRUE(notifier.Thread()->Watching());
  EXPECT_TRUE(ChangeUntilReported(tmp, "w"));
  EXPECT_EQ(offThread, 0) << "the handler ran on another thread";

  // Without a handler the thread goes on, calling nothing.
  notifier.SetOnChange(nullptr);
  const int before = calls;
  tmp.Folder("w\\silent");
  PumpFor(500);
  EXPECT_EQ(calls, before);
}

TEST_F(ChangeWatcher, ANewFolderIsWatchedFromWhenItIsSet) {
  TempFolder tmp;
  tmp.Folder("first");
  tmp.Folder("second");
  TacShellChangeNotifier notifier(nullptr);
  notifier.SetWatchSubTree(false);
  notifier.SetRoot(tmp.Path() + "first");
  Watch(notifier);
  ASSERT_TRUE(Settled(notifier));
  ASSERT_TRUE(ChangeUntilReported(tmp, "first"));

  notifier.SetRoot(tmp.Path() + "second");
  ASSERT_TRUE(Settled(notifier));
  EXPECT_EQ(notifier.Thread()->Directory(), tmp.Path() + "second");
  EXPECT_TRUE(ChangeUntilReported(tmp, "second")) << "the new folder is watched";
  PumpFor(300);
  const int before = calls;
  tmp.Folder("first\\unwatched");
  PumpFor(800);
  EXPECT_EQ(calls, before) << "the old folder is not";

  // The same folder in other letters is no change at all.
  std::string upper = tmp.Path() + "SECOND";
  notifier.SetRoot(upper);
  EXPECT_EQ(notifier.Root(), tmp.Path() + "second");
}

TEST_F(ChangeWatcher, AFolderThatCannotBeWatchedYetIsWatchedOnceSetAgain) {
  TempFolder tmp;
  tmp.Folder("later");
  TacShellChangeNotifier notifier(nullptr);
  notifier.SetWatchSubTree(false);
  notifier.SetRoot(tmp.Path() + "not there");
  Watch(notifier);
  ASSERT_TRUE(Settled(notifier));
  EXPECT_FALSE(notifier.Thread()->Watching());
  EXPECT_TRUE(notifier.Thread()->Active()) << "the thread waits for other settings";

  notifier.SetRoot(tmp.Path() + "later");
  ASSERT_TRUE(Settled(notifier));
  EXPECT_TRUE(notifier.Thread()->Watching());
  EXPECT_TRUE(ChangeUntilReported(tmp, "later"));
}

TEST_F(ChangeWatcher, FreedWhileChangesPourInItStopsAndCallsNothingMore) {
  TempFolder tmp;
  tmp.Folder("busy");
  for (int round = 0; round < 5; ++round) {
    auto notifier = std::make_unique<TacShellChangeNotifier>(nullptr);
    notifier->SetRoot(tmp.Path() + "busy");
    Watch(*notifier);
    ASSERT_TRUE(Settled(*notifier));
    // Changes are made on another thread while this one frees the watcher.
    std::atomic<bool> stop{false};
    std::thread maker([&] {
      for (int i = 0; !stop; ++i) {
        const std::string path = tmp.Path() + "busy\\f" + std::to_string(round) + "_" + std::to_string(i);
        CreateDirectoryA(path.c_str(), nullptr);
        RemoveDirectoryA(path.c_str());
      }
    });
    PumpFor(100);
    notifier.reset();
    const int after = calls;
    PumpFor(200);
    stop = true;
    maker.join();
    EXPECT_EQ(calls, after) << "a call after the watcher was freed, round " << round;
  }
  EXPECT_GT(calls, 0);
}

class ShellTreeRefresh : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication().Initialize();
    RegisterShellTreeClasses();
  }
};

TEST_F(ShellTreeRefresh, TheSelectedFolderIsReadAgainWhenItChanges) {
  TempFolder tmp;
  tmp.Folder("watched");
  tmp.Folder("watched\\old");
  tmp.Folder("other");
  std::string root = tmp.Path();
  root.pop_back();
  TreeForm f(root);
  EXPECT_EQ(f.tree->Notifier(), nullptr) << "no watching while AutoRefresh is off";

  f.tree->SetAutoRefresh(true);
  fw::TTreeNode* watched = TreeForm::Child(f.Root(), "watched");
  ASSERT_NE(watched, nullptr);
  f.tree->SetSelected(watched);
  watched->Expand(false);
  ASSERT_NE(f.tree->Notifier(), nullptr);
  EXPECT_EQ(f.tree->Notifier()->Root(), tmp.Path() + "watched") << "the selected folder is watched";
  EXPECT_FALSE(f.tree->Notifier()->WatchSubTree());
  ASSERT_TRUE(
      PumpUntil([&] { return f.tree->Notifier()->Thread() && f.tree->Notifier()->Thread()->Watching(); }, 3000));

  tmp.Folder("watched\\new");
  ASSERT_TRUE(PumpUntil(
      [&] {
        fw::TTreeNode* w = TreeForm::Child(f.Root(), "watched");
        return w && TreeForm::Child(w, "new");
      },
      5000))
      << "the new folder did not show";
  fw::TTreeNode* again = TreeForm::Child(f.Root(), "watched");
  EXPECT_EQ(TreeForm::ChildTexts(again), (std::vector<std::string>{"new", "old"}));
  EXPECT_EQ(f.tree->Selected(), again) << "the selection stays on the folder read again";
  EXPECT_TRUE(again->Expanded());

  // Another selection moves the watching; switched off, nothing watches.
  fw::TTreeNode* other = TreeForm::Child(f.Root(), "other");
  f.tree->SetSelected(other);
  ASSERT_NE(f.tree->Notifier(), nullptr);
  EXPECT_EQ(f.tree->Notifier()->Root(), tmp.Path() + "other");
  f.tree->SetAutoRefresh(false);
  EXPECT_EQ(f.tree->Notifier(), nullptr);
  tmp.Folder("other\\unseen");
  PumpFor(1000);
  EXPECT_EQ(TreeForm::Child(f.Root(), "other"), other) << "nothing was read again";
  EXPECT_EQ(other->GetFirstChild(), nullptr);
}

}  // namespace
}  // namespace translit
