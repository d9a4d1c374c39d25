// The lookup of a form's skinning component.
#include "render/effects/acAnimProvider.h"

#include <utility>

#include "controls/protocol/sVclUtils.h"

namespace translit {

namespace {

TacProviderLookup& Lookup() {
  static TacProviderLookup lookup;
  return lookup;
}

}  // namespace

void SetProviderLookup(TacProviderLookup lookup) { Lookup() = std::move(lookup); }

TacAnimationProvider* AnimationProviderOf(HWND window) {
  if (!window || !Lookup()) return nullptr;
  const LRESULT answer = SendSkinCommand(window, SKINCMD_GET_PROVIDER, 0);
  return answer ? Lookup()(window, answer) : nullptr;
}

}  // namespace translit
