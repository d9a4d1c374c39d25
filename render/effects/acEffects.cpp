// The effects' part of the skin layer's slots.
#include "render/effects/acEffects.h"

#include "render/effects/acAnimProvider.h"
#include "render/effects/acFormHide.h"
#include "render/effects/acGlow.h"
#include "render/effects/acSkinChange.h"
#include "render/effects/acThdTimer.h"
#include "skin/sEffectHooks.h"

namespace translit {

void InstallEffects() {
  RegisterThreadedTimerClass();
  TacEffectHooks& hooks = EffectHooks();
  hooks.ShowGlow = [](const RECT& controlRect, const RECT& visibleRect, const std::string& section,
                      TsSkinManager* manager, HWND parentWindow, int margin, const std::string& propertyBase) {
    return ShowGlowEffect(controlRect, visibleRect, section, manager, parentWindow, margin, propertyBase);
  };
  hooks.HideGlow = [](int index) { HideGlowEffect(index); };
  hooks.ClearGlows = [](bool restoreWindows) { ClearGlowEffects(restoreWindows); };
  hooks.PrepareSkinChange = [](fw::TCustomForm* form) { PrepareSkinChange(form); };
  hooks.AnimateSkinChange = [](fw::TCustomForm* form, int timeMs, int blendValue, TacAnimType mode) {
    // A form whose frame its skinning component does not draw changes
    // without animation.
    TacAnimationProvider* provider = form && form->HandleAllocated() ? AnimationProviderOf(form->Handle()) : nullptr;
    if (!provider || !provider->DrawsFrame()) {
      timeMs = 0;
      blendValue = 255;
    }
    AnimateSkinChange(form, timeMs, blendValue, mode);
  };
}

void ShutdownEffects() {
  EffectHooks() = TacEffectHooks{};
  ClearGlowEffects(true);
  FreeHideAnimation();
  FreeCover();
}

}  // namespace translit
