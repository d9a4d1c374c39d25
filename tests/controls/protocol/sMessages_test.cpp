// The skin message on real windows: its parts, who a broadcast reaches, the
// questions built on it, and commands a receiver does not know.
#include "controls/protocol/sMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "controls/protocol/sSkinState.h"

namespace translit {
namespace {

using Log = std::vector<std::string>;

// A windowed control that handles skin messages: it answers the skinned
// query, gives a colour, and logs every other command it gets.
class TSkinAware : public fw::TWinControl {
 public:
  TSkinAware(fw::TComponent* owner, Log& log, const char* name, LRESULT skinnedAnswer = 1)
      : fw::TWinControl(owner), FLog(log), FName(name), FAnswer(skinnedAnswer) {
    SetBounds(0, 0, 40, 30);
  }
  const char* ClassName() const override { return "TSkinAware"; }
  fw::TColor answerColor = fw::clBtnFace;
  // Skin commands that reached the window's normal processing.
  std::vector<int> normal;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (IsSkinMessage(m)) {
      TacSkinMessage s = ReadSkinMessage(m);
      if (s.Command == SKINCMD_IS_SKINNED) {
        m.Result = FAnswer;
        return;
      }
      if (s.Command == SKINCMD_GET_COLOR) {
        m.Result = static_cast<LRESULT>(answerColor);
        return;
      }
      if (s.Command == SKINCMD_NEW_SKIN || s.Command == SKINCMD_END_UPDATE_FRAME) {
        FLog.push_back(FName + ":" + std::to_string(s.Command) + ":" + std::to_string(s.Argument));
        return;
      }
    }
    fw::TWinControl::WndProc(m);  // anything else: normal processing
  }
  void DefaultHandler(fw::TMessage& m) override {
    if (IsSkinMessage(m)) normal.push_back(ReadSkinMessage(m).Command);
    fw::TWinControl::DefaultHandler(m);
  }

 private:
  Log& FLog;
  std::string FName;
  LRESULT FAnswer;
};

// A windowed control that knows nothing of skins.
class TPlainBox : public fw::TWinControl {
 public:
  explicit TPlainBox(fw::TComponent* owner) : fw::TWinControl(owner) { SetBounds(0, 0, 80, 60); }
  const char* ClassName() const override { return "TPlainBox"; }
  std::vector<int> normal;

 protected:
  void DefaultHandler(fw::TMessage& m) override {
    if (IsSkinMessage(m)) normal.push_back(ReadSkinMessage(m).Command);
    fw::TWinControl::DefaultHandler(m);
  }
};

// A control without a window that logs the skin messages it is called with.
class TGraphicSpy : public fw::TGraphicControl {
 public:
  TGraphicSpy(fw::TComponent* owner, Log& log, const char* name) : fw::TGraphicControl(owner), FLog(log), FName(name) {}

 protected:
  void WndProc(fw::TMessage& m) override {
    if (IsSkinMessage(m)) {
      FLog.push_back(FName + ":" + std::to_string(ReadSkinMessage(m).Command));
      m.Result = 5;
      return;
    }
    fw::TGraphicControl::WndProc(m);
  }

 private:
  Log& FLog;
  std::string FName;
};

class SkinMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    form = new fw::TForm(fw::Application);
    form->SetBounds(10, 10, 300, 200);
    // form: G1, S1 (G2 inside), P1 (S2 and G3 inside)
    g1 = Add(new TGraphicSpy(form, log, "G1"), form);
    s1 = Add(new TSkinAware(form, log, "S1"), form);
    g2 = Add(new TGraphicSpy(form, log, "G2"), s1);
    p1 = Add(new TPlainBox(form), form);
    s2 = Add(new TSkinAware(form, log, "S2"), p1);
    g3 = Add(new TGraphicSpy(form, log, "G3"), p1);
    form->Show();
  }
  void TearDown() override {
    SkinChangeFreeze = false;
    delete form;
  }
  template <typename T>
  T* Add(T* control, fw::TWinControl* parent) {
    control->SetParent(parent);
    return control;
  }

  Log log;
  fw::TForm* form = nullptr;
  TGraphicSpy *g1 = nullptr, *g2 = nullptr, *g3 = nullptr;
  TSkinAware *s1 = nullptr, *s2 = nullptr;
  TPlainBox* p1 = nullptr;
};

TEST(SkinMessageParts, CommandAndSignedArgumentTravelInWParam) {
  EXPECT_EQ(SM_ALPHACMD, 0xA100u);
  const WPARAM w = SkinWParam(SKINCMD_PARENT_CHANGED, 1);
  EXPECT_EQ(w, 1u + 20u * 65536u);
  TacSkinMessage s = ReadSkinMessage({SM_ALPHACMD, SkinWParam(SKINCMD_SET_UPDATING, -2), 77, 0});
  EXPECT_EQ(s.Command, SKINCMD_SET_UPDATING);
  EXPECT_EQ(s.Argument, -2);
  EXPECT_EQ(s.LParam, 77);
}

TEST_F(SkinMessages, BroadcastReachesSkinnedWindowsAndChildrenOfPlainOnes) {
  fw::TMessage m{SM_ALPHACMD, SkinWParam(SKINCMD_NEW_SKIN, 3), 0, 0};
  SendToChildControls(form, m);
  // G2 sits in S1, which answers for its own children; P1 is not sent the
  // message but its children are.
  EXPECT_EQ(log, (Log{"G1:1", "S1:1:3", "S2:1:3", "G3:1"}));
}

TEST_F(SkinMessages, WindowBroadcastGoesToDirectChildrenOnly) {
  fw::TMessage m{SM_ALPHACMD, SkinWParam(SKINCMD_NEW_SKIN), 0, 0};
  SendToChildWindows(form->Handle(), m);
  EXPECT_EQ(log, (Log{"S1:1:0"})) << "S2 is a grandchild; P1 ignores it";
}

TEST_F(SkinMessages, SkinnedQueryAndColours) {
  EXPECT_TRUE(AnswersSkinMessages(s1->Handle()));
  EXPECT_FALSE(AnswersSkinMessages(p1->Handle()));
  EXPECT_FALSE(AnswersSkinMessages(nullptr));
  // An answer other than 1 does not count.
  auto* two = Add(new TSkinAware(form, log, "T", 2), form);
  two->SetColor(fw::clRed);
  EXPECT_FALSE(AnswersSkinMessages(two->Handle()));
  EXPECT_EQ(ControlColor(two), 0x0000FFu) << "its own colour";

  s1->answerColor = fw::clBtnFace;
  EXPECT_EQ(ControlColor(s1), ::GetSysColor(COLOR_BTNFACE)) << "the answer, system colour to RGB";
  EXPECT_EQ(WindowColor(s1->Handle()), ::GetSysColor(COLOR_BTNFACE));
  p1->SetColor(fw::clLime);
  EXPECT_EQ(ControlColor(p1), 0x00FF00u);
  EXPECT_EQ(ControlColor(nullptr), 0xFF00FFu);
  EXPECT_EQ(WindowColor(nullptr), 0xFF00FFu);
}

TEST_F(SkinMessages, UnknownCommandsGetTheNormalProcessing) {
  // S1 passes SKINCMD_GET_CAPTION_HEIGHT on; its window's normal processing
  // answers 0, and so does the plain box.
  EXPECT_EQ(SendSkinCommand(s1->Handle(), SKINCMD_GET_CAPTION_HEIGHT), 0);
  EXPECT_EQ(s1->normal, (std::vector<int>{SKINCMD_GET_CAPTION_HEIGHT})) << "passed on, not dropped";
  EXPECT_EQ(SendSkinCommandTo(p1, SKINCMD_REFRESH), 0);
  EXPECT_EQ(p1->normal, (std::vector<int>{SKINCMD_REFRESH}));
  // A control without a window is called directly and its answer returned.
  EXPECT_EQ(SendSkinCommandTo(g1, SKINCMD_REFRESH), 5);
  EXPECT_EQ(log, (Log{"G1:3"}));
  // A windowed control without a window gets nothing.
  TSkinAware unplaced(nullptr, log, "U");
  EXPECT_EQ(SendSkinCommandTo(&unplaced, SKINCMD_NEW_SKIN), 0);
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(SkinMessages, EndingChildUpdatesWaitsWhileFormsAreFrozen) {
  SkinChangeFreeze = true;
  EndChildUpdates(static_cast<fw::TWinControl*>(form));
  EndChildUpdates(form->Handle());
  EXPECT_TRUE(log.empty());
  SkinChangeFreeze = false;
  EndChildUpdates(static_cast<fw::TWinControl*>(form));
  // Shown windowed children with windows get it; graphic ones do not.
  EXPECT_EQ(log, (Log{"S1:6:0"}));
  log.clear();
  s1->SetVisible(false);
  EndChildUpdates(form->Handle());
  EXPECT_FALSE(::IsWindowVisible(s1->Handle())) << "a hidden control hides its window";
  EXPECT_TRUE(log.empty()) << "hidden windows are passed over";
}

TEST_F(SkinMessages, FormsWindowsAndPaintability) {
  EXPECT_EQ(FindOwnerForm(g3), form);
  EXPECT_EQ(FindOwnerForm(nullptr), nullptr);
  EXPECT_EQ(RootWindow(s2->Handle()), form->Handle());

  HWND framed =
      ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_BORDER, 0, 0, 50, 40, form->Handle(), nullptr, nullptr, nullptr);
  RECT inside = ClientRectInWindow(framed);
  EXPECT_EQ(inside.left, 1);
  EXPECT_EQ(inside.top, 1);
  EXPECT_EQ(inside.right, 49);
  EXPECT_EQ(inside.bottom, 39);
  ::DestroyWindow(framed);

  EXPECT_TRUE(CanPaint(s1));
  EXPECT_TRUE(CanPaint(g1));
  TSkinAware orphan(nullptr, log, "O");
  EXPECT_FALSE(CanPaint(&orphan)) << "no parent, no window";
  g1->SetLoadingState(true);
  EXPECT_FALSE(CanPaint(g1)) << "being loaded";
  g1->SetLoadingState(false);
}

TEST_F(SkinMessages, LyingInsideTheParentWithTheFarEdgesCountedEitherWay) {
  // G3 lies on P1, whose client area is 80 x 60.
  struct Case {
    RECT bounds;
    bool insideWhenEdgesInside, insideWhenEdgesOutside;
  };
  const Case cases[] = {
      {{10, 10, 70, 50}, true, true},    // clear of every edge
      {{0, 0, 80, 60}, true, false},     // the whole client, touching the right and bottom edges
      {{10, 10, 80, 50}, true, false},   // touching the right edge
      {{10, 10, 70, 60}, true, false},   // touching the bottom edge
      {{10, 10, 81, 50}, false, false},  // past the right edge
      {{-1, 10, 50, 50}, false, false},  // past the left edge
      {{10, -1, 50, 50}, false, false},  // past the top edge
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bounds.left << "," << c.bounds.top << " " << c.bounds.right << ","
                                    << c.bounds.bottom);
    g3->SetBounds(c.bounds.left, c.bounds.top, c.bounds.right - c.bounds.left, c.bounds.bottom - c.bounds.top);
    EXPECT_EQ(LiesInsideParent(*g3, TFarEdges::Inside), c.insideWhenEdgesInside);
    EXPECT_EQ(LiesInsideParent(*g3, TFarEdges::Outside), c.insideWhenEdgesOutside);
  }
  TSkinAware orphan(nullptr, log, "O");
  EXPECT_FALSE(LiesInsideParent(orphan, TFarEdges::Inside)) << "no parent";
}

}  // namespace
}  // namespace translit
