// The application object: one per process, owner of the forms, the message
// loop of the user-interface thread and the handler of every exception that
// leaves a message handler.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/Components.h"
#include "framework/Handles.h"
#include "framework/Messages.h"

namespace fw {

class TCustomForm;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;
  const char* ClassName() const override { return "TApplication"; }

  void Initialize();
  // Creates a form owned by the application; the first becomes the main form.
  template <typename T>
  T* CreateForm() {
    T* form = new T(this);
    if (!FMainForm) FMainForm = form;
    return form;
  }
  // Shows the main form and runs the message loop until it closes.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles the waiting messages, then returns.
  void ProcessMessages();
  // Waits for a message, handles it.
  void HandleMessage();

  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form) { FMainForm = form; }
  // The hidden window that carries the program's task bar button and owns
  // its forms.
  HWND Handle();
  bool HandleAllocated() const { return static_cast<bool>(FHandle); }

  // The executable's name without folder, cut at the first ".", letters
  // after the first in lower case; or what was set.
  std::string Title() const;
  void SetTitle(const std::string& title) { FTitle = title; }

  // Shows the error box for an exception and returns to the caller.
  void HandleException(const std::exception_ptr& e);
  void ShowException(const std::string& message);
  int MessageBox(const std::string& text, const std::string& caption, UINT flags);

  // Functions that see every message of the application window first;
  // one that returns true has handled it.
  using TWindowHook = std::function<bool(TMessage&)>;
  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int id);

  // Whether the program shows hints; on by default. Held mouse presses
  // switch it off for a while (HintsOff).
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }

  std::function<void(std::exception_ptr)> OnException;

 private:
  bool ProcessMessage(MSG& msg);
  // Keys and characters go to their control first (CN_KEYDOWN, ...); true
  // when it handled one.
  bool IsKeyMsg(MSG& msg);
  bool IsDialogKey(MSG& msg);
  static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  std::string FTitle;
  bool FShowHint = true;
  UniqueWindow FHandle;
  std::vector<std::pair<int, TWindowHook>> FHooks;
  int FNextHookId = 1;
};

// Switches the application's hints off for its lifetime, then gives back
// the setting it found.
class HintsOff {
 public:
  explicit HintsOff(TApplication& app) : FApp(app), FWas(app.ShowHint()) { app.SetShowHint(false); }
  ~HintsOff() { FApp.SetShowHint(FWas); }
  HintsOff(const HintsOff&) = delete;
  HintsOff& operator=(const HintsOff&) = delete;

 private:
  TApplication& FApp;
  bool FWas;
};

// The process's application object (created on first use).
extern TApplication* Application;
TApplication& EnsureApplication();

// Hands the exception being handled to the application.
void HandleCurrentException();

// A program's default title: its file name without folder, cut at the first
// ".", every letter after the first in lower case (in the ANSI code page).
std::string TitleFromProgramPath(const std::string& path);

// The message text of an exception.
std::string ExceptionMessage(const std::exception_ptr& e);
// The text of the error box for a message: a full stop is appended when the
// last character sorts after "." (letters, digits, "?"; not ")" or "!").
std::string ErrorBoxText(const std::string& message);

}  // namespace fw
