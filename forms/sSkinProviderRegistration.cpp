// The layout reader's view of the skinned frame: the provider's published
// properties in the order of its property table, with their defaults, and
// those of its added title, title icon and title buttons.
#include "forms/sSkinProvider.h"  // first: the platform headers rename RegisterClass for all that follows

#include "framework/ClassRegistry.h"

namespace translit {

namespace {

// The collection as the layout stores it: one item of properties per button.
void ReadTitleButtons(TsTitleButtons& buttons, const fw::StoredValue& value, fw::TLoadContext& ctx) {
  if (value.kind != fw::StoredValue::kCollection) throw fw::EPropertyError("Invalid property value");
  buttons.Clear();
  for (const auto& item : value.items) {
    TsTitleButton& button = buttons.Add();
    for (const fw::StoredProperty& p : item) fw::ClassRegistry::Instance().SetProperty(button, p.name, p.value, ctx);
  }
}

}  // namespace

void RegisterSkinProviderClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterCommonDataClasses();
  fw::RegisterClass<TacAddedTitle>("TacAddedTitle", "", false)
      .Bool("ShowMainCaption", &TacAddedTitle::SetShowMainCaption, true)
      .String("Text", &TacAddedTitle::SetText)
      .Object("Font", &TacAddedTitle::Font);
  fw::RegisterClass<TsTitleButton>("TsTitleButton", "", false)
      .Bool("Enabled", &TsTitleButton::SetEnabled, true)
      .Ignored("Glyph")
      .String("Hint", &TsTitleButton::SetHint)
      .String("Name", &TsTitleButton::SetName)
      .Bool("UseSkinData", &TsTitleButton::SetUseSkinData, true)
      .Bool("Visible", &TsTitleButton::SetVisible, true)
      .Event("OnMouseDown", &TsTitleButton::SetOnMouseDown)
      .Event("OnMouseUp", &TsTitleButton::SetOnMouseUp);
  fw::RegisterClass<TsTitleIcon>("TsTitleIcon", "", false)
      .Integer("Height", &TsTitleIcon::SetHeight, 0)
      .Integer("Width", &TsTitleIcon::SetWidth, 0);
  const std::initializer_list<std::pair<const char*, int>> alignments = {
      {"taLeftJustify", fw::taLeftJustify}, {"taRightJustify", fw::taRightJustify}, {"taCenter", fw::taCenter}};
  fw::RegisterClass<TsSkinProvider>("TsSkinProvider", "TComponent")
      .Object("AddedTitle", &TsSkinProvider::AddedTitle)
      .Bool("AllowExtBorders", &TsSkinProvider::SetAllowExtBorders, true)
      .Bool("AllowBlendOnMoving", &TsSkinProvider::SetAllowBlendOnMoving, true)
      .Enum("CaptionAlignment", &TsSkinProvider::SetCaptionAlignment, alignments, "taLeftJustify")
      .Bool("DrawNonClientArea", &TsSkinProvider::SetDrawNonClientArea, true)
      .Object("SkinData", &TsSkinProvider::SkinData)
      .Enum("GripMode", &TsSkinProvider::SetGripMode, {{"gmNone", gmNone}, {"gmRightBottom", gmRightBottom}}, "gmNone")
      .Bool("MakeSkinMenu", &TsSkinProvider::SetMakeSkinMenu, false)
      .String("MenuLineSkin", &TsSkinProvider::SetMenuLineSkin)
      .Enum("ResizeMode", &TsSkinProvider::SetResizeMode, {{"rmStandard", rmStandard}, {"rmBorder", rmBorder}},
            "rmStandard")
      .Bool("ScreenSnap", &TsSkinProvider::SetScreenSnap, false)
      .Integer("SnapBuffer", &TsSkinProvider::SetSnapBuffer, 10)
      .Bool("ShowAppIcon", &TsSkinProvider::SetShowAppIcon, true)
      .Custom("TitleButtons", [](TsSkinProvider& p, const fw::StoredValue& v,
                                 fw::TLoadContext& ctx) { ReadTitleButtons(p.TitleButtons(), v, ctx); })
      .Object("TitleIcon", &TsSkinProvider::TitleIcon)
      .String("TitleSkin", &TsSkinProvider::SetTitleSkin)
      .Bool("UseGlobalColor", &TsSkinProvider::SetUseGlobalColor, true)
      .Event("OnAfterAnimation", &TsSkinProvider::SetOnAfterAnimation)
      .Event("OnExtHitTest", &TsSkinProvider::SetOnExtHitTest)
      .Event("OnSkinItem", &TsSkinProvider::SetOnSkinItem);
}

}  // namespace translit
