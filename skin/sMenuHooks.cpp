// The menu skinning slot, empty until the forms fill it in.
#include "skin/sMenuHooks.h"

namespace translit {

TacMenuHooks& MenuHooks() {
  static TacMenuHooks hooks;
  return hooks;
}

}  // namespace translit
