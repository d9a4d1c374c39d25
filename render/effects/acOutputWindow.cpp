// The cover window.
#include "render/effects/acOutputWindow.h"

#include "framework/Application.h"
#include "framework/Handles.h"
#include "render/effects/acAnimWindow.h"

namespace translit {

TOutputWindow::TOutputWindow(fw::TComponent* owner, HWND coverFor) : fw::TCustomControl(owner), FCoverFor(coverFor) {
  SetVisible(false);
  SetCaption("acOutputWindow");
  SetColor(static_cast<fw::TColor>(0x00FF00FF));
  SetTag(kEngineWindowTag);
}

void TOutputWindow::CreateParams(fw::TCreateParams& params) {
  fw::TCustomControl::CreateParams(params);
  if (Parent() || params.WndParent) return;
  params.Style = WS_POPUP;
  params.ExStyle = 0;
  HWND coverFor = FCoverFor;
  auto* ownerControl = dynamic_cast<fw::TWinControl*>(Owner());
  if (!coverFor && ownerControl && ownerControl->HandleAllocated()) coverFor = ownerControl->Handle();
  if (coverFor && IsTopmost(coverFor)) params.ExStyle |= WS_EX_TOPMOST;
  params.WndParent = fw::EnsureApplication().Handle();
}

void TOutputWindow::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_NCPAINT:
      m.Result = 0;
      return;
    case WM_PAINT:
      if (!m.WParam) fw::PaintScope validate(Handle());
      m.Result = 0;
      return;
    default:
      fw::TCustomControl::WndProc(m);
  }
}

}  // namespace translit
