// Forms read from stored layouts, their windows and controls on the real
// platform, keyboard navigation, message dialogs and the exception handler.
#include <gtest/gtest.h>

#include <windows.h>
#include <memory>
#include <string>
#include <commctrl.h>

#include "framework/Buttons.h"
#include "framework/ClassRegistry.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/StatusBar.h"
#include "framework/SystemMetrics.h"
#include "framework/TreeView.h"

namespace {

class TTestForm : public fw::TForm {
 public:
  explicit TTestForm(fw::TComponent* owner) : fw::TForm(owner) {
    PublishField("Button1", Button1);
    PublishField("Tree1", Tree1);
    PublishField("Status1", Status1);
    PublishMethod("Button1Click", [this](fw::TComponent*) { ++clicks; });
  }
  const char* ClassName() const override { return "TTestForm"; }
  fw::TBitBtn* Button1 = nullptr;
  fw::TTreeView* Tree1 = nullptr;
  fw::TStatusBar* Status1 = nullptr;
  int clicks = 0;
};

const char* kLayout = R"(object Form1: TTestForm
  Left = 100
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Test ' + #1060#1086#1088#1084#1072
  ClientHeight = 328
  ClientWidth = 373
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  PixelsPerInch = 96
  object Tree1: TTreeView
    Left = 8
    Top = 16
    Width = 225
    Height = 281
    Color = clWhite
    Indent = 19
    TabOrder = 2
  end
  object Button1: TBitBtn
    Left = 248
    Top = 16
    Width = 113
    Height = 281
    Caption = 'Go'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Status1: TStatusBar
    Left = 0
    Top = 309
    Width = 373
    Height = 19
    Panels = <
      item
        Width = 50
      end>
  end
end)";

class Forms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication();
    fw::RegisterClass<TTestForm>("TTestForm", "TForm", false);
  }
  void SetUp() override {
    form = new TTestForm(fw::Application);
    form->LoadLayoutText(kLayout);
  }
  void TearDown() override { delete form; }
  TTestForm* form = nullptr;
};

std::string ClassOf(HWND w) {
  char name[64] = {};
  ::GetClassNameA(w, name, sizeof(name));
  return name;
}

TEST_F(Forms, LayoutCreatesComponentsWithTheirStoredProperties) {
  ASSERT_TRUE(form->Button1 && form->Tree1 && form->Status1);
  form->Show();
  HWND wnd = form->Handle();
  EXPECT_EQ(ClassOf(wnd), "TTestForm");
  EXPECT_EQ(ClassOf(form->Button1->Handle()), "TBitBtn");
  EXPECT_EQ(ClassOf(form->Tree1->Handle()), "TTreeView");
  EXPECT_EQ(ClassOf(form->Status1->Handle()), "TStatusBar");
  char caption[64] = {};
  ::GetWindowTextA(wnd, caption, sizeof(caption));
  EXPECT_STREQ(caption, "Test \xD4\xEE\xF0\xEC\xE0");  // "Форма" in code page 1251

  RECT client;
  ::GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 373);
  EXPECT_EQ(client.bottom, 328);
  RECT window;
  ::GetWindowRect(wnd, &window);
  EXPECT_EQ(window.left, 100);
  EXPECT_EQ(window.top, 120);
  LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) << "a dialog frame is fixed";
  EXPECT_TRUE(::GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

  // The superclassed controls behave as the platform's own.
  EXPECT_EQ(::SendMessageA(form->Tree1->Handle(), TVM_GETINDENT, 0, 0), 19);
  EXPECT_EQ(form->Tree1->Color(), fw::clWhite);
  // The status bar is docked at the bottom, across the whole client area.
  EXPECT_EQ(form->Status1->Top(), 328 - form->Status1->Height());
  EXPECT_EQ(form->Status1->Width(), 373);
  form->Status1->Panels()[0].SetText("file.txt");
  char text[64] = {};
  ::SendMessageA(form->Status1->Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "file.txt");
}

// A status bar that counts the panel paints and remembers what they drew.
class TCountingBar : public fw::TStatusBar {
 public:
  using fw::TStatusBar::TStatusBar;
  int paints = 0;
  std::string painted;

 protected:
  void DrawPanel(fw::TStatusPanel& panel, HDC dc, const RECT& rect) override {
    ++paints;
    painted = panel.Text();
    fw::TStatusBar::DrawPanel(panel, dc, rect);
  }
};

// Pixels of the bar's panel 0 in the button text colour, drawn the way the
// bar paints itself.
int TextPixelsOfFirstPanel(HWND bar) {
  RECT r;
  ::SendMessageA(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  RECT client;
  ::GetClientRect(bar, &client);
  fw::TBitmap picture;
  picture.SetSize(client.right, client.bottom);
  ::SendMessageA(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Canvas().Handle()), PRF_CLIENT);
  const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT);
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) count += ::GetPixel(picture.Canvas().Handle(), x, y) == ink;
  return count;
}

TEST_F(Forms, StatusTextsAreStoredAtOnceAndPaintedOnceMessagesRun) {
  auto* bar = new TCountingBar(form);
  bar->SetParent(form);
  bar->Panels().Add().SetWidth(50);
  form->Show();
  ::UpdateWindow(form->Handle());
  HWND wnd = bar->Handle();
  const int before = bar->paints;

  // A long loop that processes no messages: no paint at all until the end.
  for (int i = 0; i < 500; ++i) bar->Panels()[0].SetText("track " + std::to_string(i) + ".mp3");
  EXPECT_EQ(bar->paints, before);
  EXPECT_TRUE(::GetUpdateRect(wnd, nullptr, FALSE)) << "the bar waits for its repaint";
  ::UpdateWindow(wnd);
  EXPECT_EQ(bar->paints, before + 1);
  EXPECT_EQ(bar->painted, "track 499.mp3");

  // Another text after the paint is shown again.
  bar->Panels()[0].SetText("last.mp3");
  EXPECT_TRUE(::GetUpdateRect(wnd, nullptr, FALSE));
  ::UpdateWindow(wnd);
  EXPECT_EQ(bar->painted, "last.mp3");

  // The text is drawn, in the platform's text colour, and only when there is one.
  EXPECT_GT(TextPixelsOfFirstPanel(wnd), 10);
  bar->Panels()[0].SetText("");
  EXPECT_EQ(TextPixelsOfFirstPanel(wnd), 0);

  // The platform's text queries answer the panel's text in both encodings.
  bar->Panels()[0].SetText("\xCF\xE5\xF1\xED\xFF.mp3");  // "Песня.mp3" in code page 1251
  char text[64] = {};
  LRESULT answer = ::SendMessageA(wnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "\xCF\xE5\xF1\xED\xFF.mp3");
  EXPECT_EQ(LOWORD(answer), 9);
  EXPECT_EQ(LOWORD(::SendMessageA(wnd, SB_GETTEXTLENGTHA, 0, 0)), 9);
  wchar_t wide[64] = {};
  ::SendMessageW(wnd, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(wide));
  EXPECT_STREQ(wide, L"\u041F\u0435\u0441\u043D\u044F.mp3");
}

// The button as it paints itself into a bitmap: how many pixels have the
// colour, and the leftmost column that has it (-1 for none).
struct Painted {
  int count = 0;
  int left = -1;
};

Painted PaintedPixels(HWND wnd, COLORREF colour) {
  RECT client;
  ::GetClientRect(wnd, &client);
  fw::TBitmap picture;
  picture.SetSize(client.right, client.bottom);
  ::SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Canvas().Handle()), PRF_CLIENT);
  Painted p;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (::GetPixel(picture.Canvas().Handle(), x, y) == colour) {
        ++p.count;
        if (p.left < 0 || x < p.left) p.left = x;
      }
  return p;
}

TEST_F(Forms, BitmapButtonDrawsItsGlyphWithTheKeyColourLeftOut) {
  const COLORREF red = RGB(255, 0, 0), key = RGB(255, 0, 255);
  fw::TBitmap& glyph = form->Button1->Glyph();
  glyph.SetSize(16, 16);
  RECT all{0, 0, 16, 16};
  glyph.Canvas().Brush().SetColor(fw::clRed);
  glyph.Canvas().FillRect(all);
  ::SetPixel(glyph.Canvas().Handle(), 0, 15, key);  // bottom-left: the transparent colour
  form->Show();
  HWND wnd = form->Button1->Handle();
  EXPECT_EQ(::GetWindowLongA(wnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

  Painted up = PaintedPixels(wnd, red);
  EXPECT_EQ(up.count, 16 * 16 - 1);
  EXPECT_EQ(PaintedPixels(wnd, key).count, 0);
  // Glyph left of the caption, the pair centred: the glyph starts further left
  // than a glyph centred alone would (how much further depends on the font).
  EXPECT_GT(up.left, 0);
  EXPECT_LT(up.left, form->Button1->Width() / 2 - 8);

  // Pressed, the content moves one pixel right and down.
  ::SendMessageA(wnd, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(PaintedPixels(wnd, red).left, up.left + 1);
  ::SendMessageA(wnd, BM_SETSTATE, FALSE, 0);

  // Disabled with one cell: no colour of the glyph is left.
  form->Button1->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(wnd)) << "a disabled control disables its window";
  EXPECT_EQ(PaintedPixels(wnd, red).count, 0);
  EXPECT_GT(PaintedPixels(wnd, ::GetSysColor(COLOR_BTNSHADOW)).count, 0);
}

TEST_F(Forms, SettersActAtOnceOnTheControlsWindow) {
  form->Show();
  fw::TBitBtn* button = form->Button1;
  HWND wnd = button->Handle();
  button->SetCaption("Again");
  char text[32] = {};
  ::GetWindowTextA(wnd, text, sizeof(text));
  EXPECT_STREQ(text, "Again");

  button->SetBounds(20, 30, 90, 40);
  RECT r;
  ::GetWindowRect(wnd, &r);
  ::MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 90);
  EXPECT_EQ(r.bottom - r.top, 40);

  button->SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(wnd));
  button->SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(wnd));
  button->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(wnd));
  button->SetEnabled(true);
  EXPECT_TRUE(::IsWindowEnabled(wnd));
  button->SetTabStop(false);
  EXPECT_FALSE(::GetWindowLongA(wnd, GWL_STYLE) & WS_TABSTOP);

  button->Font().SetHeight(-20);
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(wnd, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -20);
}

TEST_F(Forms, ButtonClickReachesThePublishedHandler) {
  form->Show();
  ::SendMessageA(form->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->clicks, 1);
}

TEST_F(Forms, TabMovesBetweenTheButtonAndTheTree) {
  form->Show();
  // Tab order 0 is the button: it has the focus when the form is shown.
  EXPECT_EQ(::GetFocus(), form->Button1->Handle());
  EXPECT_EQ(form->Button1->TabOrder(), 0);
  auto pressTab = [&](bool shift) {
    MSG msg{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    if (shift) {
      BYTE keys[256];
      ::GetKeyboardState(keys);
      keys[VK_SHIFT] = 0x80;
      ::SetKeyboardState(keys);
    }
    bool used = form->DialogKey(msg);
    if (shift) {
      BYTE keys[256];
      ::GetKeyboardState(keys);
      keys[VK_SHIFT] = 0;
      ::SetKeyboardState(keys);
    }
    return used;
  };
  EXPECT_TRUE(pressTab(false));
  EXPECT_EQ(::GetFocus(), form->Tree1->Handle());
  EXPECT_TRUE(pressTab(false));
  EXPECT_EQ(::GetFocus(), form->Button1->Handle()) << "the status bar is no tab stop";
  EXPECT_TRUE(pressTab(true));
  EXPECT_EQ(::GetFocus(), form->Tree1->Handle());
}

// Enter presses the button that has the focus, as in the platform's own
// dialogs; with the focus elsewhere, the default button.
TEST_F(Forms, EnterPressesTheFocusedButtonOrElseTheDefaultOne) {
  auto* other = new fw::TButton(form);
  other->SetParent(form);
  other->SetBounds(248, 300, 75, 8);
  other->SetDefault(true);
  int otherClicks = 0;
  other->OnClick = [&](fw::TComponent*) { ++otherClicks; };
  form->Show();
  struct Case {
    fw::TWinControl* focus;
    int buttonClicks, defaultClicks;
  } cases[] = {
      {form->Button1, 1, 0},  // the focused button, not the default one
      {other, 0, 1},          // the default button with the focus
      {form->Tree1, 0, 1},    // no button focused: the default one
  };
  for (const Case& c : cases) {
    form->clicks = otherClicks = 0;
    c.focus->SetFocus();
    ASSERT_EQ(::GetFocus(), c.focus->Handle());
    MSG msg{::GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(form->DialogKey(msg)) << c.focus->ClassName();
    EXPECT_EQ(form->clicks, c.buttonClicks) << c.focus->ClassName();
    EXPECT_EQ(otherClicks, c.defaultClicks) << c.focus->ClassName();
  }
}

// Counts the message boxes the application tries to open on this thread
// and lets none of them appear, so that nothing waits for an answer.
class MessageBoxCatcher {
 public:
  MessageBoxCatcher() {
    Count() = 0;
    FHook = ::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
  }
  ~MessageBoxCatcher() { ::UnhookWindowsHookEx(FHook); }
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
  static int& Count() {
    static int count = 0;
    return count;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      char name[16] = {};
      ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
      if (std::string(name) == "#32770") {
        ++Count();
        return 1;
      }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK FHook;
};

TEST_F(Forms, TheSilentAbortShowsNoErrorBox) {
  MessageBoxCatcher boxes;
  fw::Application->HandleException(std::make_exception_ptr(fw::EAbort("not shown")));
  EXPECT_EQ(MessageBoxCatcher::Count(), 0);
  fw::Application->HandleException(std::make_exception_ptr(fw::Exception("shown")));
  EXPECT_EQ(MessageBoxCatcher::Count(), 1) << "the catcher sees the boxes of other exceptions";
}

TEST_F(Forms, ExceptionsInHandlersGoToTheApplication) {
  std::string seen;
  fw::Application->OnException = [&](const std::exception_ptr& e) { seen = fw::ExceptionMessage(e); };
  form->Button1->OnClick = [](fw::TComponent*) { throw fw::EInOutError(fw::InOutErrorMessage(5), 5); };
  form->Show();
  ::SendMessageA(form->Button1->Handle(), BM_CLICK, 0, 0);
  fw::Application->OnException = nullptr;
  EXPECT_EQ(seen, "File access denied");
}

TEST_F(Forms, ExceptionsOfTheApplicationWindowGoToTheApplication) {
  // The application window's close runs the main form's close handlers:
  // what they raise is reported, not thrown through the platform.
  std::string seen;
  fw::Application->OnException = [&](const std::exception_ptr& e) { seen = fw::ExceptionMessage(e); };
  fw::TCustomForm* savedMain = fw::Application->MainForm();
  fw::Application->SetMainForm(form);
  form->OnClose = [](fw::TComponent*, fw::TCloseAction&) { throw fw::EInOutError(fw::InOutErrorMessage(5), 5); };
  LRESULT result = -1;
  EXPECT_NO_THROW(result = ::SendMessageA(fw::Application->Handle(), WM_CLOSE, 0, 0));
  fw::Application->SetMainForm(savedMain);
  fw::Application->OnException = nullptr;
  EXPECT_EQ(seen, "File access denied");
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fw::Application->Terminated()) << "the close did not go through";
}

TEST(Labels, ALabelFromALayoutFitsItsText) {
  fw::EnsureApplication();
  std::unique_ptr<fw::TForm> form(new fw::TForm(fw::Application));
  form->LoadLayoutText(R"(object F: TForm
  object Label1: TLabel
    Left = 4
    Top = 4
    Width = 500
    Height = 3
    Caption = 'A caption of some length'
    Font.Height = -16
  end
end)");
  auto* label = dynamic_cast<fw::TLabel*>(form->FindComponent("Label1"));
  ASSERT_TRUE(label);
  fw::TBitmap measure(1, 1);
  measure.Canvas().Font().Assign(label->Font());
  SIZE text = measure.Canvas().TextExtent("A caption of some length");
  EXPECT_EQ(label->Width(), text.cx) << "the stored width is replaced by the text's";
  EXPECT_EQ(label->Height(), text.cy);
}

TEST(ErrorBox, FullStopRule) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"File not found", "File not found."},
      {"I/O error 183", "I/O error 183."},
      {"Done.", "Done."},
      {"Failed (x)", "Failed (x)"},
      {"Stop!", "Stop!"},
      {"Why?", "Why?."},
      {"\xC3\xEE\xF2\xEE\xE2\xEE", "\xC3\xEE\xF2\xEE\xE2\xEE."},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(fw::ErrorBoxText(c.in), c.out) << c.in;
}

TEST(ApplicationTitle, IsTheProgramNameWithLowerCaseTail) {
  struct Case {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\Programs\\Translit.exe", "Translit"},
      {"C:\\Programs\\translit.exe", "translit"},
      {"Z:\\work\\MY.TOOL.v2.EXE", "My"},
      {"C:\\\xCF\xD0\xC8\xCC\xC5\xD0.exe", "\xCF\xF0\xE8\xEC\xE5\xF0"},  // "ПРИМЕР" -> "Пример" in 1251
      {"noext", "noext"},
  };
  for (const Case& c : cases) EXPECT_EQ(fw::TitleFromProgramPath(c.path), c.title) << c.path;
  // This test program is framework_forms_test.exe.
  EXPECT_EQ(fw::EnsureApplication().Title(), "framework_forms_test");
}

// Finds the message form the modal loop is showing, checks it, presses OK.
struct DialogProbe {
  std::string caption, text, button;
  bool found = false;
};
DialogProbe* gProbe = nullptr;

void CALLBACK ProbeTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = ::FindWindowA("TMessageForm", nullptr);
  if (!box || !::IsWindowVisible(box)) return;
  ::KillTimer(nullptr, id);
  auto* form = dynamic_cast<fw::TMessageForm*>(fw::TWinControl::FromHandle(box));
  gProbe->found = form != nullptr;
  char buf[256] = {};
  ::GetWindowTextA(box, buf, sizeof(buf));
  gProbe->caption = buf;
  if (form) gProbe->text = form->Message()->Caption();
  HWND ok = ::FindWindowExA(box, nullptr, "TButton", nullptr);
  ::GetWindowTextA(ok, buf, sizeof(buf));
  gProbe->button = buf;
  ::PostMessageA(ok, BM_CLICK, 0, 0);
}

TEST(MessageDialogs, ShowMessageIsAModalMessageFormWithOneOkButton) {
  fw::EnsureApplication();
  DialogProbe probe;
  gProbe = &probe;
  ::SetTimer(nullptr, 0, 50, ProbeTimer);
  fw::ShowMessage("\xC3\xEE\xF2\xEE\xE2\xEE!");
  EXPECT_TRUE(probe.found);
  EXPECT_EQ(probe.caption, fw::Application->Title());
  EXPECT_EQ(probe.text, "\xC3\xEE\xF2\xEE\xE2\xEE!");
  EXPECT_EQ(probe.button, "OK");

  DialogProbe error;
  gProbe = &error;
  ::SetTimer(nullptr, 0, 50, ProbeTimer);
  EXPECT_EQ(fw::MessageDlg("Error Setting Path : q:\\x", fw::mtError, {fw::mbOK}), fw::mrOk);
  EXPECT_EQ(error.text, "Error Setting Path : q:\\x");
  EXPECT_EQ(error.caption, "Error");
}

// Caption and menu heights are kept between calls; a settings change that
// reaches a form makes the next call see the new caption height.
TEST(SystemMetrics, KeptUntilTheSettingsChange) {
  for (int index : {SM_CYCAPTION, SM_CYSMCAPTION, SM_CYMENU, SM_CXFRAME, SM_CXSCREEN})
    EXPECT_EQ(fw::SystemMetric(index), ::GetSystemMetrics(index)) << index;
  NONCLIENTMETRICSA before{};
  before.cbSize = sizeof before;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof before, &before, 0));
  NONCLIENTMETRICSA taller = before;
  taller.iCaptionHeight += 6;
  const int old = fw::SystemMetric(SM_CYCAPTION);
  ASSERT_TRUE(::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof taller, &taller, 0));
  const int now = ::GetSystemMetrics(SM_CYCAPTION);
  EXPECT_NE(now, old) << "the platform did not take the new caption height";
  EXPECT_EQ(fw::SystemMetric(SM_CYCAPTION), old) << "kept until a form hears of the change";
  {
    fw::TForm form(nullptr);
    form.HandleNeeded();
    ::SendMessageA(form.Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_EQ(fw::SystemMetric(SM_CYCAPTION), now);
  }
  ASSERT_TRUE(::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof before, &before, 0));
  fw::ForgetSystemMetrics();
  EXPECT_EQ(fw::SystemMetric(SM_CYCAPTION), old);
}

}  // namespace
