// Forms, dialogs and bitmaps made and freed many times leave the process's
// GDI and USER object counts where they were.
#include <gtest/gtest.h>

#include "framework/Buttons.h"
#include "framework/ClassRegistry.h"
#include "framework/Dialogs.h"
#include "framework/StatusBar.h"
#include "framework/TreeView.h"
#include "tests/support/GuiCounts.h"

namespace {

const char* kLayout = R"(object Form1: TForm
  BorderStyle = bsDialog
  Caption = 'Resources'
  ClientHeight = 200
  ClientWidth = 300
  Font.Name = 'MS Sans Serif'
  object Tree1: TTreeView
    Left = 8
    Top = 8
    Width = 120
    Height = 150
    Font.Height = -13
    ParentFont = False
  end
  object Button1: TBitBtn
    Left = 150
    Top = 8
    Width = 100
    Height = 150
    Caption = 'Go'
  end
  object Status1: TStatusBar
    Panels = <
      item
        Width = 50
      end>
  end
end)";

void FormCycle() {
  auto* form = new fw::TForm(fw::Application);
  form->LoadLayoutText(kLayout);
  form->Show();
  auto* tree = dynamic_cast<fw::TTreeView*>(form->FindComponent("Tree1"));
  fw::TTreeNode* root = tree->Items().AddChild(nullptr, "root");
  tree->Items().AddChild(root, "child");
  root->Expand(false);
  dynamic_cast<fw::TStatusBar*>(form->FindComponent("Status1"))->Panels()[0].SetText("text");
  auto* button = dynamic_cast<fw::TBitBtn*>(form->FindComponent("Button1"));
  button->Glyph().SetSize(16, 16);
  form->Font().SetHeight(-12);  // a new font handle for the form and its children
  ::UpdateWindow(form->Handle());
  fw::Application->ProcessMessages();
  // A disabled button draws its glyph through a copy of its own.
  button->SetEnabled(false);
  ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  fw::Application->ProcessMessages();
  delete form;
}

void DialogCycle() {
  fw::TMessageForm* box = fw::CreateMessageDialog("Message", fw::mtError, {fw::mbOK, fw::mbCancel});
  box->Show();
  ::UpdateWindow(box->Handle());
  fw::Application->ProcessMessages();
  delete box;
}

void BitmapCycle() {
  fw::TBitmap bmp(64, 24, fw::pf32bit);
  bmp.Canvas().Font().SetHeight(-14);
  bmp.Canvas().Brush().SetColor(fw::clBtnFace);
  bmp.Canvas().TextOut(1, 1, "text");
  bmp.SetPixelFormat(fw::pf24bit);
  bmp.SetSize(10, 10);
  fw::TBitmap copy;
  copy.Assign(bmp);
  fw::TMemoryStream s;
  copy.SaveToStream(s);
  s.SetPosition(0);
  fw::TBitmap back;
  back.LoadFromStream(s);
}

TEST(Resources, RepeatedWorkLeavesNoGdiOrUserObjects) {
  fw::EnsureApplication();
  struct Case {
    const char* what;
    void (*cycle)();
  } cases[] = {{"form", FormCycle}, {"message dialog", DialogCycle}, {"bitmap", BitmapCycle}};
  for (const Case& c : cases) {
    c.cycle();  // first use creates what lives for the whole process (classes, stock objects)
    int gdi = testing_gui::GdiObjectCount();
    int user = testing_gui::UserObjectCount();
    ASSERT_GT(gdi, 0) << "GDI objects cannot be counted here";
    for (int i = 0; i < 20; ++i) c.cycle();
    EXPECT_EQ(testing_gui::GdiObjectCount(), gdi) << c.what;
    EXPECT_EQ(testing_gui::UserObjectCount(), user) << c.what;
  }
}

TEST(Resources, TheCounterSeesWhatIsMadeAndFreed) {
  int before = testing_gui::GdiObjectCount();
  HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(testing_gui::GdiObjectCount(), before + 1);
  ::DeleteObject(brush);
  EXPECT_EQ(testing_gui::GdiObjectCount(), before);
  int windows = testing_gui::UserObjectCount();
  HWND w = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(testing_gui::UserObjectCount(), windows + 1);
  ::DestroyWindow(w);
  EXPECT_EQ(testing_gui::UserObjectCount(), windows);
}

}  // namespace
