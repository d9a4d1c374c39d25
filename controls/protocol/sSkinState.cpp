// Process-wide skin state.
#include "controls/protocol/sSkinState.h"

namespace translit {

bool SkinLoadInProgress = false;
bool SkinChangeFreeze = false;

}  // namespace translit
