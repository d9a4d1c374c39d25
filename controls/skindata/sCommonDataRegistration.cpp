// The layout reader's view of the skin data: the stored properties of
// TsCommonData and TsCtrlSkinData, with the skin manager resolved by name
// once the whole layout exists.
#include "controls/skindata/sCommonData.h"  // first: the platform headers rename RegisterClass for all that follows

#include "framework/ClassRegistry.h"
#include "framework/Forms.h"
#include "skin/sSkinManager.h"

namespace translit {

void RegisterCommonDataClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::RegisterClass<TsCommonData>("TsCommonData", "", false)
      .String("SkinSection", &TsCommonData::SetSkinSection)
      .Bool("CustomFont", &TsCommonData::SetCustomFont, false)
      .Bool("CustomColor", &TsCommonData::SetCustomColor, false)
      .Custom("SkinManager", [](TsCommonData& data, const fw::StoredValue& v, fw::TLoadContext& ctx) {
        if (v.kind != fw::StoredValue::kIdent) throw fw::EPropertyError("Invalid property value");
        // The manager may be stored after the control: resolve once all exist.
        std::string name = v.text;
        fw::TCustomForm* root = ctx.root;
        ctx.fixups.emplace_back([&data, name, root] {
          auto* manager = root ? dynamic_cast<TsSkinManager*>(root->FindComponent(name)) : nullptr;
          if (manager) data.SetSkinManager(manager);
        });
      });
  fw::RegisterClass<TsCtrlSkinData>("TsCtrlSkinData", "TsCommonData", false)
      .Custom(
          "HUEOffset",
          [](TsCtrlSkinData& d, const fw::StoredValue& v, fw::TLoadContext&) {
            d.SetHUEOffset(static_cast<int>(fw::StoredInteger(v)));
          },
          "0")
      .Custom(
          "Saturation",
          [](TsCtrlSkinData& d, const fw::StoredValue& v, fw::TLoadContext&) {
            d.SetSaturation(static_cast<int>(fw::StoredInteger(v)));
          },
          "0");
}

}  // namespace translit
