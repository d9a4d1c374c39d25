// The title button and system menu slots of the skinned frame.
#include "forms/acFrameButtonHooks.h"

namespace translit {

TacFrameButtonHooks& FrameButtonHooks() {
  static TacFrameButtonHooks hooks;
  return hooks;
}

void SetHotTitleButton(TsSkinProvider& provider, int hitCode) {
  if (FrameButtonHooks().SetHotButton) FrameButtonHooks().SetHotButton(provider, hitCode);
}

void OpenSystemMenu(TsSkinProvider& provider, POINT screen) {
  if (FrameButtonHooks().ShowSystemMenuAt) FrameButtonHooks().ShowSystemMenuAt(provider, screen);
}

void UpdateSystemMenuItems(TsSkinProvider& provider) {
  if (FrameButtonHooks().UpdateSystemMenu) FrameButtonHooks().UpdateSystemMenu(provider);
}

}  // namespace translit
