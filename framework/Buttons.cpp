// The bitmap button.
#include "framework/Buttons.h"

namespace fw {

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style |= BS_MULTILINE;
}

}  // namespace fw
