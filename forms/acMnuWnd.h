// The subclass of a system popup menu window: while skinned popups are
// shown it paints the window's background and frame from the popup's
// picture, and when the window goes it empties the popup pictures and has
// the other open popups redraw their frames.
#pragma once

#include <windows.h>

#include <functional>

#include "controls/acMainWnd.h"

namespace translit {

class TsSkinableMenus;

class TacMnuWnd : public TacMainWnd {
 public:
  const char* ClassName() const override { return "TacMnuWnd"; }
  void WndProc(fw::TMessage& m) override;

  TsSkinableMenus* Menus = nullptr;
  // Told once the window is being destroyed and the object has let go.
  std::function<void(HWND)> OnGone;
  // The skin's outline has been given to the window (marked by the menus
  // once they cut it, asked by whoever needs to know).
  bool RegionSet = false;

 protected:
  const char* DefaultSection() const override { return "MAINMENU"; }

 private:
  void PaintFrame();
};

// Redraws the frame and items of every open popup menu window of the
// thread.
void RedrawOpenPopups(HWND except = nullptr);

}  // namespace translit
