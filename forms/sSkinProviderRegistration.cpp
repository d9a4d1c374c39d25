// The layout reader's view of the skinned frame: the provider's published
// properties in the order of its property table, with their defaults, and
// those of its added title and title icon.
#include "forms/sSkinProvider.h"  // first: the platform headers rename RegisterClass for all that follows

#include "framework/ClassRegistry.h"

namespace translit {

void RegisterSkinProviderClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterCommonDataClasses();
  fw::RegisterClass<TacAddedTitle>("TacAddedTitle", "", false)
      .Bool("ShowMainCaption", &TacAddedTitle::SetShowMainCaption, true)
      .String("Text", &TacAddedTitle::SetText)
      .Object("Font", &TacAddedTitle::Font);
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
      .Ignored("TitleButtons")
      .Object("TitleIcon", &TsSkinProvider::TitleIcon)
      .String("TitleSkin", &TsSkinProvider::SetTitleSkin)
      .Bool("UseGlobalColor", &TsSkinProvider::SetUseGlobalColor, true)
      .Event("OnAfterAnimation", &TsSkinProvider::SetOnAfterAnimation)
      .Event("OnExtHitTest", &TsSkinProvider::SetOnExtHitTest)
      .Event("OnSkinItem", &TsSkinProvider::SetOnSkinItem);
}

}  // namespace translit
