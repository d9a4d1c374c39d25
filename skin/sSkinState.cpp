// Process-wide skin state.
#include "skin/sSkinState.h"

namespace translit {

bool SkinLoadInProgress = false;
bool SkinChangeFreeze = false;

}  // namespace translit
