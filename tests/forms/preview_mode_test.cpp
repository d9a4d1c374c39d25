// Preview mode: the command line that asks for it; the main form's
// registration with a skin editor when shown (answered at the third
// message; never answered, given up after 101; no editor at all), kept for
// the form's window; the editor's skin taken from the registered form only;
// and the preview message answering and closing the form.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "forms/acPreviewMode.h"
#include "framework/Handles.h"
#include "skin/sPreviewRecord.h"
#include "tests/forms/FrameFixture.h"

namespace translit {
namespace {

using namespace test;

TEST(PreviewCommandLine, OnlyTheFirstArgumentCounts) {
  struct Case {
    const wchar_t* line;
    bool preview;
  };
  const Case cases[] = {
      {L"prog.exe /acpreview", true},
      {L"\"C:\\Program Files\\prog.exe\" /ACPREVIEW skin", true},
      {L"prog.exe", false},
      {L"prog.exe x /acpreview", false},
      {L"prog.exe /acpreviewx", false},
      {L"prog.exe \"/acpreview x\"", false},
      {L"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPreviewCommandLine(c.line), c.preview) << std::string(c.line, c.line + std::wcslen(c.line));
  }
}

// A stand-in for the skin editor: a top-level window titled "Skin Editor"
// that answers the registration with 1 from a given message on (never
// when 0).
struct FakeEditor {
  static inline int answerFrom = 0;
  static inline std::vector<HWND> registered;

  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kPreviewMessage && wp == kPreviewRegister) {
      registered.push_back(reinterpret_cast<HWND>(lp));
      return answerFrom > 0 && static_cast<int>(registered.size()) >= answerFrom ? 1 : 0;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
  }

  explicit FakeEditor(int from) {
    answerFrom = from;
    registered.clear();
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.lpszClassName = "FakeSkinEditor";
      return ::RegisterClassA(&wc);
    }();
    (void)atom;
    window.Reset(::CreateWindowExA(0, "FakeSkinEditor", "Skin Editor", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr));
  }
  fw::UniqueWindow window;
};

class PreviewMode : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = &FrameManager();
    savedMain = fw::Application->MainForm();
    SetPreviewRequested(true);
    ForgetPreviewTarget();
  }
  void TearDown() override {
    fw::Application->SetMainForm(savedMain);
    SetPreviewRequested(false);
    ForgetPreviewTarget();
  }
  // A skinned main form.
  std::unique_ptr<fw::TForm> MainForm(const std::string& caption) {
    auto form = MakeDialog(caption);
    new TsSkinProvider(form.get());
    form->HandleNeeded();
    fw::Application->SetMainForm(form.get());
    return form;
  }
  TsSkinManager* manager = nullptr;
  fw::TCustomForm* savedMain = nullptr;
};

TEST_F(PreviewMode, TheMainFormRegistersWithTheEditorWhenShown) {
  FakeEditor editor(3);
  auto form = MainForm("Registered");
  form->Show();
  PumpFor(50);
  ASSERT_EQ(FakeEditor::registered.size(), 3u) << "asked until the editor answered 1";
  for (HWND w : FakeEditor::registered) EXPECT_EQ(w, form->Handle());
  EXPECT_EQ(PreviewTarget(), form->Handle());
  // Shown again, the same window does not register again.
  form->Hide();
  form->Show();
  PumpFor(50);
  EXPECT_EQ(FakeEditor::registered.size(), 3u);
}

TEST_F(PreviewMode, RegistrationGivesUpAndLeavesOthersAlone) {
  {
    FakeEditor silent(0);
    auto form = MainForm("Never answered");
    form->Show();
    PumpFor(50);
    EXPECT_EQ(FakeEditor::registered.size(), static_cast<std::size_t>(kPreviewRegisterTries));
    EXPECT_EQ(PreviewTarget(), nullptr);
  }
  {
    FakeEditor editor(1);
    auto main = MainForm("The main form");
    auto other = MakeDialog("Not the main form", 300, 300);
    new TsSkinProvider(other.get());
    other->Show();
    PumpFor(50);
    EXPECT_TRUE(FakeEditor::registered.empty()) << "only the main form registers";
    SetPreviewRequested(false);
    main->Show();
    PumpFor(50);
    EXPECT_TRUE(FakeEditor::registered.empty()) << "only in preview mode";
  }
  auto form = MainForm("No editor");
  form->Show();
  PumpFor(50);
  EXPECT_EQ(PreviewTarget(), nullptr);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(PreviewMode, TheEditorsSkinIsTakenFromTheRegisteredFormOnly) {
  FakeEditor editor(1);
  auto form = MainForm("Previewing");
  auto stranger = MakeDialog("Not registered", 300, 300);
  new TsSkinProvider(stranger.get());
  form->Show();
  stranger->Show();
  PumpFor(100);
  ASSERT_EQ(PreviewTarget(), form->Handle());
  ASSERT_EQ(manager->SkinName(), "BlueIce");
  auto record = std::make_unique<TacPreviewRecord>();
  std::memset(record.get(), 0, sizeof(TacPreviewRecord));
  record->Marker[0] = 0x00;
  record->Marker[1] = 0xA4;
  const std::string options = ReadFile(SkinsFolder() + "Slate\\Options.dat");
  ASSERT_FALSE(options.empty());
  ASSERT_LT(options.size(), sizeof(record->Options));
  std::memcpy(record->SkinName, "Slate", 5);
  std::memcpy(record->SkinDirectory, SkinsFolder().data(), SkinsFolder().size());
  std::memcpy(record->Options, options.data(), options.size());
  COPYDATASTRUCT data{TacPreviewRecord::kKind, sizeof(TacPreviewRecord), record.get()};
  EXPECT_EQ(::SendMessageA(stranger->Handle(), WM_COPYDATA, reinterpret_cast<WPARAM>(editor.window.Get()),
                           reinterpret_cast<LPARAM>(&data)),
            0);
  EXPECT_EQ(manager->SkinName(), "BlueIce") << "a skin sent to a form not registered";
  EXPECT_EQ(::SendMessageA(form->Handle(), WM_COPYDATA, reinterpret_cast<WPARAM>(stranger->Handle()),
                           reinterpret_cast<LPARAM>(&data)),
            0);
  EXPECT_EQ(manager->SkinName(), "BlueIce") << "a skin sent by a window other than the editor";
  EXPECT_EQ(::SendMessageA(form->Handle(), WM_COPYDATA, reinterpret_cast<WPARAM>(editor.window.Get()),
                           reinterpret_cast<LPARAM>(&data)),
            1);
  EXPECT_EQ(manager->SkinName(), "Slate");
  EXPECT_GE(manager->SectionIndex("FORM"), 0);
}

TEST_F(PreviewMode, ThePreviewMessageAnswersAndClosesTheForm) {
  auto form = MainForm("Closed by the editor");
  bool closed = false;
  form->OnClose = [&](fw::TComponent*, fw::TCloseAction&) { closed = true; };
  form->Show();
  PumpFor(50);
  EXPECT_EQ(::SendMessageA(form->Handle(), kPreviewMessage, kPreviewPing, 0), 1);
  EXPECT_FALSE(closed);
  ::SendMessageA(form->Handle(), kPreviewMessage, kPreviewClose, 0);
  EXPECT_TRUE(closed);
}

}  // namespace
}  // namespace translit
