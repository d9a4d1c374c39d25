// The effect slots, empty until the effects fill them in.
#include "skin/sEffectHooks.h"

namespace translit {

TacEffectHooks& EffectHooks() {
  static TacEffectHooks hooks;
  return hooks;
}

int ShowGlowThroughHook(const RECT& controlRect, const RECT& visibleRect, const std::string& section,
                        TsSkinManager* manager, HWND parentWindow, int margin, const std::string& propertyBase) {
  const auto& show = EffectHooks().ShowGlow;
  return show ? show(controlRect, visibleRect, section, manager, parentWindow, margin, propertyBase) : -1;
}

void HideGlowThroughHook(int index) {
  if (index >= 0 && EffectHooks().HideGlow) EffectHooks().HideGlow(index);
}

void ClearGlowsThroughHook(bool restoreWindows) {
  if (EffectHooks().ClearGlows) EffectHooks().ClearGlows(restoreWindows);
}

}  // namespace translit
