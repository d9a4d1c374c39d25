// Actions: linked controls take the action's enabled state at once and with
// every change, hear each change, run the action when clicked without a
// handler of their own, and outlive the action (or it them) safely.
#include "framework/ActnList.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace {

// A button that records the action changes it hears.
class TListeningButton : public fw::TButton {
 public:
  using fw::TButton::TButton;
  std::vector<LPARAM> heard;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (m.Msg == fw::CM_ACTIONUPDATE) heard.push_back(m.LParam);
    fw::TButton::WndProc(m);
  }
};

class Actions : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication().Initialize();
    form = new fw::TForm(fw::Application);
    action = new fw::TCustomAction(form);
    button = new TListeningButton(form);
    button->SetParent(form);
  }
  void TearDown() override { delete form; }
  fw::TForm* form = nullptr;
  fw::TCustomAction* action = nullptr;
  TListeningButton* button = nullptr;
};

TEST_F(Actions, ALinkedControlFollowsTheEnabledStateAndHearsEveryChange) {
  const auto self = reinterpret_cast<LPARAM>(action);
  action->SetEnabled(false);
  button->SetAction(action);
  EXPECT_FALSE(button->Enabled()) << "taken when linked";
  action->SetEnabled(true);
  EXPECT_TRUE(button->Enabled());
  action->SetImageIndex(3);
  action->SetImageIndex(3);  // no change, nothing heard
  EXPECT_EQ(button->heard, (std::vector<LPARAM>{self, self, self}));

  // Unlinked, it hears and follows no more.
  button->SetAction(nullptr);
  action->SetEnabled(false);
  EXPECT_TRUE(button->Enabled());
  EXPECT_EQ(button->heard.size(), 3u);
}

TEST_F(Actions, AClickWithoutAHandlerRunsAnEnabledAction) {
  int runs = 0, clicks = 0;
  action->OnExecute = [&](fw::TComponent*) { ++runs; };
  button->SetAction(action);
  button->Click();
  EXPECT_EQ(runs, 1);
  action->SetEnabled(false);
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(runs, 1);
  action->SetEnabled(true);
  button->OnClick = [&](fw::TComponent*) { ++clicks; };
  button->Click();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Actions, EitherSideMayGoFirst) {
  button->SetAction(action);
  delete action;
  EXPECT_EQ(button->Action(), nullptr);

  // A freed control is no longer told: the change reaches only the other.
  action = new fw::TCustomAction(form);
  auto* other = new TListeningButton(form);
  other->SetParent(form);
  button->SetAction(action);
  other->SetAction(action);
  delete button;
  action->SetEnabled(false);
  EXPECT_FALSE(other->Enabled());
  EXPECT_EQ(other->heard.size(), 2u);
}

}  // namespace
