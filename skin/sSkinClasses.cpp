// The skin manager and its setting groups as a stored layout names them.
#include "skin/sSkinManager.h"  // first: the platform headers rename RegisterClass for all that follows

#include "framework/ClassRegistry.h"

namespace translit {

namespace {

using fw::StoredValue;
using fw::TLoadContext;

void RegisterSettingGroups() {
  fw::RegisterClass<TacSkinEffects>("TacSkinEffects", "", false)
      .Bool("AllowGlowing", &TacSkinEffects::SetAllowGlowing, true);
  fw::RegisterClass<TacFormAnimation>("TacFormAnimation", "", false)
      .Bool("Active", &TacFormAnimation::SetActive, true)
      .Integer("Time", &TacFormAnimation::SetTime, 0);
  // Only the show, hide and skin-change groups store a mode.
  const std::initializer_list<std::pair<const char*, int>> modes{{"atFading", atFading}, {"atAero", atAero}};
  fw::RegisterClass<TacDialogShow>("TacDialogShow", "TacFormAnimation", false)
      .Enum<TacAnimType>("Mode", &TacFormAnimation::SetMode, modes, "atAero");
  fw::RegisterClass<TacFormShow>("TacFormShow", "TacFormAnimation", false)
      .Enum<TacAnimType>("Mode", &TacFormAnimation::SetMode, modes, "atAero");
  fw::RegisterClass<TacFormHide>("TacFormHide", "TacFormAnimation", false)
      .Enum<TacAnimType>("Mode", &TacFormAnimation::SetMode, modes, "atAero");
  fw::RegisterClass<TacSkinChanging>("TacSkinChanging", "TacFormAnimation", false)
      .Integer<std::uint16_t>("Time", &TacFormAnimation::SetTime, 100)
      .Enum<TacAnimType>("Mode", &TacFormAnimation::SetMode, modes, "atFading");
  fw::RegisterClass<TacMinimizing>("TacMinimizing", "TacFormAnimation", false)
      .Integer<std::uint16_t>("Time", &TacFormAnimation::SetTime, 200);
  fw::RegisterClass<TacPageChange>("TacPageChange", "TacFormAnimation", false);
  fw::RegisterClass<TacBlendOnMoving>("TacBlendOnMoving", "TacFormAnimation", false)
      .Bool("Active", &TacFormAnimation::SetActive, false)
      .Integer<std::uint16_t>("Time", &TacFormAnimation::SetTime, 1000)
      .Integer("BlendValue", &TacBlendOnMoving::SetBlendValue, 170);
  fw::RegisterClass<TacBtnEffects>("TacBtnEffects", "", false)
      .Set("Events", &TacBtnEffects::SetEvents,
           {{"beMouseEnter", beMouseEnter},
            {"beMouseLeave", beMouseLeave},
            {"beMouseDown", beMouseDown},
            {"beMouseUp", beMouseUp}},
           "[beMouseEnter, beMouseLeave, beMouseDown, beMouseUp]");
  fw::RegisterClass<TacAnimEffects>("TacAnimEffects", "", false)
      .Object("Buttons", &TacAnimEffects::Buttons)
      .Object("DialogShow", &TacAnimEffects::DialogShow)
      .Object("FormShow", &TacAnimEffects::FormShow)
      .Object("FormHide", &TacAnimEffects::FormHide)
      .Object("DialogHide", &TacAnimEffects::DialogHide)
      .Object("Minimizing", &TacAnimEffects::Minimizing)
      .Object("PageChange", &TacAnimEffects::PageChange)
      .Object("SkinChanging", &TacAnimEffects::SkinChanging)
      .Object("BlendOnMoving", &TacAnimEffects::BlendOnMoving);
  fw::RegisterClass<TacMenuSupport>("TacMenuSupport", "", false)
      .String("IcoLineSkin", &TacMenuSupport::SetIcoLineSkin)
      .Bool("UseExtraLine", &TacMenuSupport::SetUseExtraLine, false)
      .Integer("ExtraLineWidth", &TacMenuSupport::SetExtraLineWidth, 32)
      .Object("ExtraLineFont", &TacMenuSupport::ExtraLineFontProperty);
  auto third = fw::RegisterClass<TacThirdPartyList>("TacThirdPartyList", "", false);
  for (int k = 0; k < kThirdPartyKinds; ++k)
    third.Custom(
        TacThirdPartyList::PropertyName(k),
        [k](TacThirdPartyList& list, const StoredValue& v, TLoadContext&) {
          list.Texts[static_cast<std::size_t>(k)] = fw::StoredAnsiString(v);
        },
        TacThirdPartyList::DefaultText(k));
  fw::RegisterClass<TacStringsProperty>("TacStringsProperty", "", false)
      .Custom("Strings", [](TacStringsProperty& p, const StoredValue& v, TLoadContext&) {
        if (v.kind != StoredValue::kList) throw fw::EPropertyError("Invalid property value");
        std::vector<std::string> lines;
        for (const StoredValue& item : v.list) lines.push_back(fw::StoredAnsiString(item));
        p.Set(lines);
      });
}

}  // namespace

void RegisterSkinManagerClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStoredSkinClasses();
  RegisterSettingGroups();
  fw::RegisterClass<TsSkinManager>("TsSkinManager", "TComponent")
      .Object("Effects", &TsSkinManager::Effects)
      .Bool("ExtendedBorders", &TsSkinManager::SetExtendedBorders, false)
      .Bool("SkinnedPopups", &TsSkinManager::SetSkinnedPopups, true)
      .Object("AnimEffects", &TsSkinManager::AnimEffects)
      .Bool("IsDefault", &TsSkinManager::SetIsDefault, true)
      .Bool("Active", &TsSkinManager::SetActive, true)
      .Object("CommonSections", &TsSkinManager::CommonSectionsProperty)
      .Integer("Saturation", &TsSkinManager::SetSaturation, 0)
      .Integer("HueOffset", &TsSkinManager::SetHueOffset, 0)
      .Custom("InternalSkins", [](TsSkinManager& m, const StoredValue& v,
                                  TLoadContext& ctx) { ReadStoredSkins(m.InternalSkins(), v, ctx); })
      .Object("MenuSupport", &TsSkinManager::MenuSupport)
      .String("SkinDirectory", &TsSkinManager::SetSkinDirectory)
      .String("SkinName", &TsSkinManager::SetSkinName)
      .String("SkinInfo", &TsSkinManager::SetSkinInfo)
      .Set("SkinningRules", &TsSkinManager::SetSkinningRules,
           {{"srStdForms", srStdForms}, {"srStdDialogs", srStdDialogs}, {"srThirdParty", srThirdParty}},
           "[srStdForms, srStdDialogs, srThirdParty]")
      .Object("ThirdParty", &TsSkinManager::ThirdParty)
      .Event("OnAfterChange", &TsSkinManager::SetOnAfterChange)
      .Event("OnBeforeChange", &TsSkinManager::SetOnBeforeChange)
      .Event("OnGetMenuExtraLineData", &TsSkinManager::SetOnGetMenuExtraLineData);
}

}  // namespace translit
