// The still cover laid over a form while it changes skin without layered
// windows: a window that paints nothing, so that whatever is drawn into its
// DC stays until it is hidden.
#pragma once

#include <windows.h>

#include "framework/Controls.h"

namespace translit {

class TOutputWindow : public fw::TCustomControl {
 public:
  // The window the cover is for (a topmost one gets a topmost cover) is
  // coverFor, else the owner when that is a windowed control.
  explicit TOutputWindow(fw::TComponent* owner, HWND coverFor = nullptr);
  const char* ClassName() const override { return "TOutputWindow"; }

 protected:
  void CreateParams(fw::TCreateParams& params) override;
  void WndProc(fw::TMessage& m) override;

 private:
  HWND FCoverFor;
};

}  // namespace translit
