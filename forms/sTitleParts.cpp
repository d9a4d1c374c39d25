// The title's published objects.
#include "forms/sTitleParts.h"

#include "framework/Colors.h"

namespace translit {

TacAddedTitle::TacAddedTitle(std::function<void()> changed) : FChanged(std::move(changed)) {
  FFont.SetColor(fw::clNone);  // the title's own colour
  FFont.OnChange = [this] {
    if (FChanged) FChanged();
  };
}

void TacAddedTitle::SetShowMainCaption(bool v) {
  if (v == FShowMainCaption) return;
  FShowMainCaption = v;
  if (FChanged) FChanged();
}

void TacAddedTitle::SetText(const std::string& v) {
  if (v == FText) return;
  FText = v;
  if (FChanged) FChanged();
}

}  // namespace translit
