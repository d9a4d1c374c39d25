// Attaching and detaching subclassing objects: the object in front of the
// window's handling and in its "ACSBSC" property, every message still
// reaching the previous procedure, the previous procedure back on detach,
// another subclasser chained after ours keeping a working chain (the thunk
// stays as a forwarder until the window's end, or until it is at the head
// again), framework controls chained through their WindowProc, the skin
// commands of the root, detaching that releases the window even when a step
// of it fails (and throws nothing from a destructor), and 200 attach/detach
// cycles leaving no GDI or USER object and no thunk behind.
#include "controls/acMainWnd.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "controls/acEditWnd.h"
#include "controls/acSBUtils.h"
#include "controls/acWndThunk.h"
#include "controls/protocol/sMessages.h"
#include "controls/sTreeView.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Forms.h"
#include "tests/controls/ScrollFixture.h"
#include "tests/support/GuiCounts.h"

namespace translit {
namespace {

using test::ProbeWindows;
using test::PumpFor;
using test::ScrollSkin;

constexpr UINT kPing = WM_APP + 7;

WNDPROC ProcOf(HWND wnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(wnd, GWLP_WNDPROC)); }

int Pings(const ProbeWindows& p) {
  int n = 0;
  for (UINT m : p.messages) n += m == kPing;
  return n;
}

// A subclasser of another library: it keeps whatever procedure it found.
struct Foreign {
  static inline WNDPROC saved = nullptr;
  static inline int seen = 0;
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == kPing) ++seen;
    return ::CallWindowProcA(saved, w, m, wp, lp);
  }
  static void Install(HWND w) {
    seen = 0;
    saved = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  }
  static void Remove(HWND w) { ::SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved)); }
};

class Subclassing : public ::testing::Test {
 protected:
  ScrollSkin skin;
  ProbeWindows probe;
};

TEST_F(Subclassing, TheObjectStandsInFrontAndDetachingPutsTheProcedureBack) {
  const WNDPROC original = ProcOf(probe.child);
  const int thunks = LiveProcThunks();
  auto object = TacMainWnd::Create<TacMainWnd>(probe.child, false, "EDIT");
  EXPECT_EQ(::GetPropA(probe.child, kSubclassProp), object.get());
  EXPECT_EQ(TacMainWnd::FromHandle(probe.child), object.get());
  EXPECT_EQ(ProcOf(probe.child), object->NewWndProc());
  EXPECT_EQ(object->OldWndProc(), original);
  EXPECT_FALSE(object->HasOldWndMethod());
  EXPECT_TRUE(object->OwnsSkinData);
  EXPECT_EQ(LiveProcThunks(), thunks + 1);

  ::SendMessageA(probe.child, kPing, 0, 0);
  EXPECT_EQ(Pings(probe), 1) << "a message the object does not consume reaches the window's own procedure";
  EXPECT_EQ(::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_IS_SKINNED), 0), 1);

  object->Detach();
  EXPECT_TRUE(object->Detached);
  EXPECT_EQ(ProcOf(probe.child), original);
  EXPECT_EQ(::GetPropA(probe.child, kSubclassProp), nullptr);
  EXPECT_EQ(LiveProcThunks(), thunks);
  object.reset();
  ::SendMessageA(probe.child, kPing, 0, 0);
  EXPECT_EQ(Pings(probe), 2);
}

TEST_F(Subclassing, AnotherSubclasserAfterOursKeepsAWorkingChainUntilTheWindowEnds) {
  const WNDPROC original = ProcOf(probe.child);
  const int thunks = LiveProcThunks();
  auto object = TacMainWnd::Create<TacMainWnd>(probe.child, false, "EDIT");
  const WNDPROC ours = object->NewWndProc();
  Foreign::Install(probe.child);
  ASSERT_EQ(Foreign::saved, ours);

  object.reset();  // detached and freed while the foreign procedure holds our thunk
  EXPECT_EQ(ProcOf(probe.child), &Foreign::Proc) << "the later subclasser stays in place";
  EXPECT_EQ(::GetPropA(probe.child, kSubclassProp), nullptr);
  EXPECT_EQ(LiveProcThunks(), thunks + 1) << "the thunk stays as a forwarder";
  ::SendMessageA(probe.child, kPing, 0, 0);
  EXPECT_EQ(Foreign::seen, 1);
  EXPECT_EQ(Pings(probe), 1) << "the forwarder passes the message on to the original procedure";
  EXPECT_EQ(::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_IS_SKINNED), 0), 0)
      << "the forwarder no longer answers for the object";

  ::DestroyWindow(probe.child);
  EXPECT_EQ(LiveProcThunks(), thunks) << "the window's last message freed the forwarder";
  (void)original;
}

TEST_F(Subclassing, TheForwarderTakesItselfOutWhenItIsAtTheHeadAgain) {
  const WNDPROC original = ProcOf(probe.child);
  const int thunks = LiveProcThunks();
  auto object = TacMainWnd::Create<TacMainWnd>(probe.child, false, "EDIT");
  Foreign::Install(probe.child);
  object.reset();
  Foreign::Remove(probe.child);  // the other library leaves: our thunk is the procedure again
  ASSERT_NE(ProcOf(probe.child), original);
  ::SendMessageA(probe.child, kPing, 0, 0);
  EXPECT_EQ(Pings(probe), 1);
  EXPECT_EQ(ProcOf(probe.child), original);
  EXPECT_EQ(LiveProcThunks(), thunks);
}

TEST_F(Subclassing, TheObjectDetachesWhenItsWindowIsDestroyed) {
  const int thunks = LiveProcThunks();
  auto object = TacMainWnd::Create<TacEditWnd>(probe.child, true, "EDIT");
  ::DestroyWindow(probe.child);
  EXPECT_TRUE(object->Detached);
  EXPECT_EQ(LiveProcThunks(), thunks);
}

// An object whose colours cannot be put back.
class TFailingEditWnd : public TacEditWnd {
 public:
  void RestoreColors() override { throw std::runtime_error("colours lost"); }
};

TEST_F(Subclassing, AFailingStepOfDetachingStillReleasesTheWindow) {
  const WNDPROC original = ProcOf(probe.child);
  auto object = TacMainWnd::Create<TFailingEditWnd>(probe.child, true, "EDIT");
  ASSERT_NE(ProcOf(probe.child), original);
  EXPECT_THROW(object->Detach(), std::runtime_error) << "the failure is told";
  EXPECT_TRUE(object->Detached);
  EXPECT_EQ(object->HorzBar, nullptr) << "the bars are let go all the same";
  EXPECT_EQ(::GetPropA(probe.child, kSubclassProp), nullptr);
  EXPECT_EQ(ProcOf(probe.child), original);

  // Freed, by its owner or by its own destructor, it throws nothing.
  auto again = TacMainWnd::Create<TFailingEditWnd>(probe.child, true, "EDIT");
  again.reset();
  EXPECT_EQ(::GetPropA(probe.child, kSubclassProp), nullptr);
  EXPECT_EQ(ProcOf(probe.child), original);
  {
    TacEditWnd* raw = TacMainWnd::Create<TFailingEditWnd>(probe.child, true, "EDIT").release();
    delete raw;
  }
  EXPECT_EQ(ProcOf(probe.child), original);
  ::SendMessageA(probe.child, kPing, 0, 0);
  EXPECT_EQ(Pings(probe), 1);
}

// A framework control with skin data of its own.
class TSkinnedControl : public fw::TWinControl {
 public:
  explicit TSkinnedControl(fw::TComponent* owner) : fw::TWinControl(owner), Data(this, true, 3) {
    SetBounds(10, 10, 120, 80);
  }
  const char* ClassName() const override { return "TSkinnedControl"; }
  TsCtrlSkinData Data;
  int pings = 0;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (m.Msg == kPing) ++pings;
    if (Data.CommonMessage(m)) return;
    fw::TWinControl::WndProc(m);
  }
};

TEST_F(Subclassing, AFrameworkControlIsChainedThroughItsMessageHandler) {
  fw::TForm form(nullptr);
  form.SetBounds(50, 50, 300, 200);
  auto* control = new TSkinnedControl(&form);
  control->SetParent(&form);
  form.Show();
  const WNDPROC classProc = ProcOf(control->Handle());

  auto object = TacMainWnd::Create<TacEditWnd>(control->Handle(), true, "EDIT", nullptr, &control->Data);
  EXPECT_TRUE(object->HasOldWndMethod());
  EXPECT_EQ(object->Control(), control);
  EXPECT_EQ(ProcOf(control->Handle()), classProc) << "a framework control keeps its window procedure";
  EXPECT_NE(control->WindowProc.target<TacMethodHook>(), nullptr);

  // Another handler chained after ours.
  int later = 0;
  control->WindowProc = [&, previous = control->WindowProc](fw::TMessage& m) {
    if (m.Msg == kPing) ++later;
    previous(m);
  };
  object.reset();
  ::SendMessageA(control->Handle(), kPing, 0, 0);
  EXPECT_EQ(later, 1);
  EXPECT_EQ(control->pings, 1) << "the released link forwards to the control";

  // Without anybody after it, the control gets its own handler back.
  auto again = TacMainWnd::Create<TacEditWnd>(control->Handle(), true, "EDIT", nullptr, &control->Data);
  auto* head = control->WindowProc.target<TacMethodHook>();
  ASSERT_NE(head, nullptr);
  again.reset();
  EXPECT_EQ(control->WindowProc.target<TacMethodHook>(), nullptr);
  ::SendMessageA(control->Handle(), kPing, 0, 0);
  EXPECT_EQ(control->pings, 2);
  EXPECT_EQ(later, 2);
}

TEST_F(Subclassing, TheAttachHelperFollowsWhetherTheControlIsSkinned) {
  const WNDPROC original = ProcOf(probe.child);
  TacWndPtr<TacScrollWnd> object;
  RefreshFormScrolls(object, true, probe.child, nullptr);
  ASSERT_NE(object, nullptr);
  TacScrollWnd* first = object.get();
  RefreshFormScrolls(object, true, probe.child, nullptr);
  EXPECT_EQ(object.get(), first) << "an attached object stays";
  object->Detach();
  RefreshFormScrolls(object, true, probe.child, nullptr);
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(object->Detached) << "a detached object is replaced";
  EXPECT_EQ(TacMainWnd::FromHandle(probe.child), object.get());
  RefreshFormScrolls(object, false, probe.child, nullptr);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(ProcOf(probe.child), original);
}

TEST_F(Subclassing, SkinCommandsOfTheRoot) {
  auto object = TacMainWnd::Create<TacMainWnd>(probe.child, false, "EDIT");
  const LPARAM manager = reinterpret_cast<LPARAM>(skin.manager);
  auto skinCommandsSeen = [&] {
    int n = 0;
    for (UINT m : probe.messages) n += m == SM_ALPHACMD;
    return n;
  };

  EXPECT_EQ(::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_IS_SKINNED), 0), 1);
  EXPECT_EQ(::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_GET_APPLICATION), 0),
            reinterpret_cast<LRESULT>(fw::Application));
  EXPECT_EQ(skinCommandsSeen(), 0) << "answered commands are not passed on";

  ::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_REFRESH), manager);
  EXPECT_EQ(skinCommandsSeen(), 0) << "a refresh is not passed on";
  ::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_NEW_SKIN), manager);
  EXPECT_EQ(skinCommandsSeen(), 1) << "a new skin is passed on";

  TacSectionInfo info;
  info.Name = "scrollbar1v";
  ::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_SET_SECTION), reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(object->SkinData->SkinSection(), "SCROLLBAR1V");
  EXPECT_EQ(object->SkinData->SkinIndex, skin.manager->SectionIndex("SCROLLBAR1V"));
  ::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_SET_SECTION), 0);
  EXPECT_EQ(object->SkinData->SkinSection(), "SCROLLBAR1V");

  object->SkinData->Updating = true;
  EXPECT_EQ(::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_IS_UPDATING), 0), 1);
  // The window's own processing answers 0 for the colour: the skin data's.
  EXPECT_EQ(::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_GET_COLOR), 0),
            static_cast<LRESULT>(test::kTrack1));
  BackgroundRequest request;
  EXPECT_EQ(
      ::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_GET_BACKGROUND), reinterpret_cast<LPARAM>(&request)),
      1);
  EXPECT_NE(request.Kind, bkNone);
}

TEST_F(Subclassing, WithoutAnActiveSkinEverythingIsPassedOn) {
  skin.manager->SetActive(false);
  auto object = TacMainWnd::Create<TacMainWnd>(probe.child, false, "EDIT");
  EXPECT_EQ(::SendMessageA(probe.child, SM_ALPHACMD, SkinWParam(SKINCMD_IS_SKINNED), 0), 0);
  int seen = 0;
  for (UINT m : probe.messages) seen += m == SM_ALPHACMD;
  EXPECT_EQ(seen, 1);
}

TEST_F(Subclassing, TwoHundredAttachAndDetachCyclesLeaveNothingBehind) {
  fw::TForm form(nullptr);
  form.SetBounds(450, 50, 300, 260);
  auto* tree = new TsTreeView(&form);
  tree->SetParent(&form);
  tree->SetBounds(10, 10, 200, 200);
  form.Show();
  for (int i = 0; i < 60; ++i) tree->Items().AddChild(nullptr, "node " + std::to_string(i));
  const WNDPROC original = ProcOf(probe.child);
  const WNDPROC treeProc = ProcOf(tree->Handle());
  ASSERT_NE(tree->ScrollWnd(), nullptr);

  auto cycle = [&] {
    {
      auto object = TacMainWnd::Create<TacEditWnd>(probe.child, true, "EDIT");
      ::RedrawWindow(probe.child, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
    EXPECT_EQ(ProcOf(probe.child), original);
    tree->SkinData().SetSkinSection("NOSUCHSECTION");  // the tree drops its object
    EXPECT_EQ(tree->ScrollWnd(), nullptr);
    EXPECT_EQ(tree->WindowProc.target<TacMethodHook>(), nullptr);
    tree->SkinData().SetSkinSection("EDIT");
    EXPECT_NE(tree->ScrollWnd(), nullptr);
    ::RedrawWindow(tree->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  };
  cycle();  // caches filled once
  PumpFor(50);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  const int thunks = LiveProcThunks();
  for (int i = 0; i < 200; ++i) cycle();
  PumpFor(50);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
  EXPECT_EQ(LiveProcThunks(), thunks);
  EXPECT_EQ(ProcOf(tree->Handle()), treeProc);
}

}  // namespace
}  // namespace translit
