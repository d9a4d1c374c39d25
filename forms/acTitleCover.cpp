// The system caption kept off the screen of a skinned form.
#include "forms/acTitleCover.h"

#include "forms/sSkinProvider.h"

namespace translit {

namespace {

// Takes WS_VISIBLE away for as long as it lives. WM_SETREDRAW would do the
// same, but Wine's handling of it also validates the window and its
// children, and a paint pending since the window was shown would be lost.
class HiddenFromDrawing {
 public:
  explicit HiddenFromDrawing(HWND window) : FWindow(window) {
    ::SetWindowLongPtrA(window, GWL_STYLE, ::GetWindowLongPtrA(window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
  }
  ~HiddenFromDrawing() {
    ::SetWindowLongPtrA(FWindow, GWL_STYLE, ::GetWindowLongPtrA(FWindow, GWL_STYLE) | WS_VISIBLE);
  }
  HiddenFromDrawing(const HiddenFromDrawing&) = delete;
  HiddenFromDrawing& operator=(const HiddenFromDrawing&) = delete;

 private:
  HWND FWindow;
};

// Runs the form's default handling of m where nothing it draws is seen.
void DefaultUnseen(TsSkinProvider& p, fw::TMessage& m) {
  HWND window = p.OwnerForm->Handle();
  if (!::IsWindowVisible(window)) {
    p.CallDefault(m);
    return;
  }
  HiddenFromDrawing hidden(window);
  p.CallDefault(m);
}

bool Covered(TsSkinProvider& p) { return p.DrawNonClientArea() && p.RedrawLockCount == 0; }

// The frame is marked for repainting; the system's default handling runs
// unseen and the skinned frame is painted over what it changed.
void DefaultUnderCover(TsSkinProvider& p, fw::TMessage& m) {
  p.MarkFrameDirty();
  if (!Covered(p)) {
    p.CallDefault(m);
    return;
  }
  DefaultUnseen(p, m);
  p.RepaintNonClient();
}

}  // namespace

void NcActivateCovered(TsSkinProvider& p, fw::TMessage& m) {
  p.FormIsActive = m.WParam != 0;
  DefaultUnderCover(p, m);
}

void SetTextCovered(TsSkinProvider& p, fw::TMessage& m) {
  p.FreeGlowCaches();
  DefaultUnderCover(p, m);
}

void SetIconCovered(TsSkinProvider& p, fw::TMessage& m) { DefaultUnderCover(p, m); }

}  // namespace translit
