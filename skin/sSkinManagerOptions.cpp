// The class lists of foreign controls: property names and defaults.
#include "skin/sSkinManagerOptions.h"

#include "skin/sLayeredSupport.h"

namespace translit {

namespace {

struct ThirdPartyEntry {
  const char* property;
  const char* defaultText;
};

// In the index order of the lists.
constexpr ThirdPartyEntry kThirdParty[kThirdPartyKinds] = {
    {"ThirdEdits", " "},        {"ThirdButtons", "TButton"}, {"ThirdBitBtns", " "},    {"ThirdCheckBoxes", " "},
    {"ThirdComboBoxes", " "},   {"ThirdGrids", " "},         {"ThirdGroupBoxes", " "}, {"ThirdListViews", " "},
    {"ThirdPanels", " "},       {"ThirdTreeViews", " "},     {"ThirdWWEdits", " "},    {"ThirdGridEh", " "},
    {"ThirdVirtualTrees", " "}, {"ThirdPageControl", " "},   {"ThirdTabControl", " "}, {"ThirdToolBar", " "},
    {"ThirdStatusBar", " "},    {"ThirdSpeedButton", " "},
};

}  // namespace

bool TacSkinEffects::AllowGlowing() const {
  const bool designing = FOwner && (FOwner->ComponentState() & fw::csDesigning);
  return FAllowGlowing && (LayeredWindowsAvailable() || designing) && !NoLayeredEffects();
}

TacThirdPartyList::TacThirdPartyList() = default;

const char* TacThirdPartyList::PropertyName(int kind) { return kThirdParty[kind].property; }
const char* TacThirdPartyList::DefaultText(int kind) { return kThirdParty[kind].defaultText; }

}  // namespace translit
