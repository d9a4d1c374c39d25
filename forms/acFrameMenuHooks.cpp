// The menu slots of the skinned frame.
#include "forms/acFrameMenuHooks.h"

namespace translit {

TacFrameMenuHooks& FrameMenuHooks() {
  static TacFrameMenuHooks hooks;
  return hooks;
}

}  // namespace translit
