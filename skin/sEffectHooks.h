// The slots through which the skin manager and the per-control skin data
// reach the animation effects, a layer above them: hover glows and the
// skin-change animation of forms. The effects fill the slots in when the
// program starts them (InstallEffects); an empty slot means no effect, and
// the callers go on as if the effect had nothing to do.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "skin/sSkinManagerOptions.h"

namespace fw {
class TCustomForm;
}

namespace translit {

class TsSkinManager;

struct TacEffectHooks {
  // A glow around a control: control and visible rectangles in screen
  // coordinates, the section and the mask name's base ("GLOW"), the top-level
  // window it belongs to and the glow margin. Answers a glow index or -1.
  std::function<int(const RECT& controlRect, const RECT& visibleRect, const std::string& section,
                    TsSkinManager* manager, HWND parentWindow, int margin, const std::string& propertyBase)>
      ShowGlow;
  // Frees one glow; ignores indexes that are not open.
  std::function<void(int index)> HideGlow;
  // Frees every glow.
  std::function<void(bool restoreWindows)> ClearGlows;
  // Before a skin change: the form keeps its old look on screen (frozen,
  // covered where needed) until its animation.
  std::function<void(fw::TCustomForm* form)> PrepareSkinChange;
  // After the new skin has been announced: the form's re-skinning animation,
  // which also ends its preparation.
  std::function<void(fw::TCustomForm* form, int timeMs, int blendValue, TacAnimType mode)> AnimateSkinChange;
};

TacEffectHooks& EffectHooks();

// The hooks' calls, doing nothing (or answering -1) while a slot is empty.
int ShowGlowThroughHook(const RECT& controlRect, const RECT& visibleRect, const std::string& section,
                        TsSkinManager* manager, HWND parentWindow, int margin, const std::string& propertyBase);
void HideGlowThroughHook(int index);
void ClearGlowsThroughHook(bool restoreWindows);

}  // namespace translit
