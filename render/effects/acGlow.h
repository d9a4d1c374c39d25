// Hover glows: a translucent picture around a control (or a title button)
// while the mouse is over it, drawn from the skin's glow mask into a layered
// window of its own. The window never activates and lets the mouse through
// to whatever lies under it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"

namespace translit {

class TsSkinManager;

// The borderless window of a glow.
class TacGlowForm : public fw::TForm {
 public:
  explicit TacGlowForm(fw::TComponent* owner);
  const char* ClassName() const override { return "TacGlowForm"; }

 protected:
  void CreateParams(fw::TCreateParams& params) override;
};

class TacGlowEffect {
 public:
  TacGlowEffect(TsSkinManager* manager, int maskIndex, int margin);
  ~TacGlowEffect();
  TacGlowEffect(const TacGlowEffect&) = delete;
  TacGlowEffect& operator=(const TacGlowEffect&) = delete;

  // Shows the glow around controlRect (screen coordinates), cut to the part
  // around visibleRect, in front of parentWindow.
  void Show(const RECT& controlRect, const RECT& visibleRect, HWND parentWindow);
  // The window freed at once or released (freed once the waiting messages
  // are handled); with restoreProc it first gets its window procedure back.
  void Free(bool atOnce, bool restoreProc = true);

  TsSkinManager* Manager;
  int MaskIndex;
  int Margin;
  HWND Window() const { return FForm ? FForm->Handle() : nullptr; }

 private:
  std::unique_ptr<TacGlowForm> FForm;
  std::function<void(fw::TMessage&)> FOldWindowProc;
};

// Opens a glow from the mask named propertyBase + "0" of the section;
// answers its index, or -1 when there is no such mask or no layered
// windows. manager none: the default manager.
int ShowGlowEffect(const RECT& controlRect, const RECT& visibleRect, const std::string& sectionName,
                   TsSkinManager* manager, HWND parentWindow, int margin, const std::string& propertyBase = "GLOW");
// Frees one glow; an index that is not open is ignored.
void HideGlowEffect(int index);
// Frees every glow; with restoreWindows each window is freed at once.
void ClearGlowEffects(bool restoreWindows);

// The glows open now (for tests and diagnostics).
int OpenGlowCount();
HWND GlowWindow(int index);

}  // namespace translit
