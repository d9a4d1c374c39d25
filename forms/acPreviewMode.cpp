// Preview mode of a program shown to a skin editor.
#include "forms/acPreviewMode.h"

#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "forms/sSkinProvider.h"
#include "framework/core/FlagScope.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

struct PreviewState {
  std::optional<bool> requested;
  HWND target = nullptr;
  HWND editor = nullptr;  // the editor the target registered with
  bool applying = false;
};

PreviewState& State() {
  static PreviewState state;
  return state;
}

struct LocalFreer {
  void operator()(LPWSTR* p) const { ::LocalFree(p); }
};

}  // namespace

bool IsPreviewCommandLine(const wchar_t* commandLine) {
  if (!commandLine || !*commandLine) return false;
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreer> args(::CommandLineToArgvW(commandLine, &count));
  return args && count > 1 && ::lstrcmpiW(args.get()[1], L"/acpreview") == 0;
}

bool PreviewRequested() {
  PreviewState& s = State();
  if (!s.requested) s.requested = IsPreviewCommandLine(::GetCommandLineW());
  return *s.requested;
}

void SetPreviewRequested(bool requested) { State().requested = requested; }

HWND PreviewTarget() { return State().target; }

void ForgetPreviewTarget() { State().target = State().editor = nullptr; }

void RegisterForPreview(TsSkinProvider& p) {
  fw::TCustomForm& form = *p.OwnerForm;
  PreviewState& s = State();
  if (!PreviewRequested() || !fw::Application || fw::Application->MainForm() != &form || !form.HandleAllocated() ||
      s.target == form.Handle())
    return;
  HWND window = form.Handle();
  for (int i = 0; i < kPreviewRegisterTries; ++i) {
    HWND editor = ::FindWindowA(nullptr, "Skin Editor");
    if (!editor) return;
    if (::SendMessageA(editor, kPreviewMessage, kPreviewRegister, reinterpret_cast<LPARAM>(window)) == 1) {
      s.target = window;
      s.editor = editor;
      return;
    }
  }
}

bool PreviewMessage(TsSkinProvider& p, fw::TMessage& m) {
  if (m.Msg == kPreviewMessage) {
    if (m.WParam == kPreviewClose) {
      p.OwnerForm->Close();
      m.Result = 0;
      return true;
    }
    if (m.WParam == kPreviewPing) {
      m.Result = 1;
      return true;
    }
    return false;
  }
  if (m.Msg != WM_COPYDATA) return false;
  // Skins come to the registered form from the editor it registered with
  // (the window the data names as its sender), from no other window.
  PreviewState& s = State();
  TsSkinManager* manager = p.SkinData().SkinManager();
  if (!m.LParam || !manager || !p.OwnerForm->HandleAllocated() || s.target != p.OwnerForm->Handle() ||
      reinterpret_cast<HWND>(m.WParam) != s.editor)
    return false;
  m.Result = 0;
  if (s.applying) return true;
  fw::FlagScope applying(s.applying);
  m.Result = manager->HandlePreviewMessage(*reinterpret_cast<const COPYDATASTRUCT*>(m.LParam));
  return true;
}

}  // namespace translit
