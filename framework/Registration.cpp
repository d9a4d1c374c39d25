// The published properties of the framework's own classes.
#include "framework/Buttons.h"
#include "framework/ClassRegistry.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/StatusBar.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"
#include "framework/TreeView.h"

namespace fw {
namespace {

void RegisterFont() {
  RegisterClass<TFont>("TFont", "", false)
      .Integer("Charset", &TFont::SetCharset, DEFAULT_CHARSET)
      .Color("Color", &TFont::SetColor, "clWindowText")
      .Integer("Height", &TFont::SetHeight, -11)
      .Integer("Size", &TFont::SetSize, 8)
      .String("Name", &TFont::SetName)
      .Set("Style", &TFont::SetStyle,
           {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}},
           "[]");
}

void RegisterControls() {
  RegisterClass<TComponent>("TComponent", "", false).Integer("Tag", &TComponent::SetTag, 0);
  RegisterClass<TControl>("TControl", "TComponent", false)
      .Integer("Left", &TControl::SetLeft)
      .Integer("Top", &TControl::SetTop)
      .Integer("Width", &TControl::SetWidth)
      .Integer("Height", &TControl::SetHeight)
      .Integer("ClientWidth", &TControl::SetClientWidth)
      .Integer("ClientHeight", &TControl::SetClientHeight)
      .Enum("Align", &TControl::SetAlign,
            {{"alNone", alNone},
             {"alTop", alTop},
             {"alBottom", alBottom},
             {"alLeft", alLeft},
             {"alRight", alRight},
             {"alClient", alClient}},
            "alNone")
      .Bool("Visible", &TControl::SetVisible, true)
      .Bool("Enabled", &TControl::SetEnabled, true)
      .String("Caption", &TControl::SetCaption)
      .String("Text", &TControl::SetText)
      .String("Hint", &TControl::SetHint)
      .Bool("ShowHint", &TControl::SetShowHint, false)
      .Color("Color", &TControl::SetColor, "clWindow")
      .Bool("ParentColor", &TControl::SetParentColor, false)
      .Bool("ParentFont", &TControl::SetParentFont, true)
      .Object("Font", &TControl::Font)
      .Enum("BiDiMode", &TControl::SetBiDiMode,
            {{"bdLeftToRight", bdLeftToRight},
             {"bdRightToLeft", bdRightToLeft},
             {"bdRightToLeftNoAlign", bdRightToLeftNoAlign},
             {"bdRightToLeftReadingOnly", bdRightToLeftReadingOnly}},
            "bdLeftToRight")
      .Event("OnClick", &TControl::SetOnClick);
  RegisterClass<TWinControl>("TWinControl", "TControl", false)
      .Integer("BorderWidth", &TWinControl::SetBorderWidth, 0)
      .Integer("TabOrder", &TWinControl::SetTabOrder, -1)
      .Bool("TabStop", &TWinControl::SetTabStop, false);
  RegisterClass<TGraphicControl>("TGraphicControl", "TControl", false);
  RegisterClass<TCustomControl>("TCustomControl", "TWinControl", false);
}

void RegisterForms() {
  RegisterClass<TCustomForm>("TCustomForm", "TWinControl", false)
      .Enum("BorderStyle", &TCustomForm::SetBorderStyle,
            {{"bsNone", bsNone},
             {"bsSingle", bsSingle},
             {"bsSizeable", bsSizeable},
             {"bsDialog", bsDialog},
             {"bsToolWindow", bsToolWindow},
             {"bsSizeToolWin", bsSizeToolWin}},
            "bsSizeable")
      .Set("BorderIcons", &TCustomForm::SetBorderIcons,
           {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}},
           "[biSystemMenu, biMinimize, biMaximize]")
      .Enum("Position", &TCustomForm::SetPosition,
            {{"poDesigned", poDesigned},
             {"poDefault", poDefault},
             {"poDefaultPosOnly", poDefaultPosOnly},
             {"poDefaultSizeOnly", poDefaultSizeOnly},
             {"poScreenCenter", poScreenCenter},
             {"poDesktopCenter", poDesktopCenter},
             {"poMainFormCenter", poMainFormCenter},
             {"poOwnerFormCenter", poOwnerFormCenter}},
            "poDesigned")
      .Enum(
          "FormStyle", &TCustomForm::SetFormStyle,
          {{"fsNormal", fsNormal}, {"fsMDIChild", fsMDIChild}, {"fsMDIForm", fsMDIForm}, {"fsStayOnTop", fsStayOnTop}},
          "fsNormal")
      .Bool("KeyPreview", &TCustomForm::SetKeyPreview, false)
      // Kept by the designer; the program runs at the screen's own density.
      .Ignored("PixelsPerInch")
      .Ignored("TextHeight")
      .Ignored("OldCreateOrder");
  RegisterClass<TForm>("TForm", "TCustomForm", false);
  RegisterClass<TMessageForm>("TMessageForm", "TForm", false);
}

void RegisterStandardControls() {
  RegisterClass<TButton>("TButton", "TWinControl")
      .Integer("ModalResult", &TButton::SetModalResult, 0)
      .Bool("Default", &TButton::SetDefault, false)
      .Bool("Cancel", &TButton::SetCancel, false);
  RegisterClass<TBitBtn>("TBitBtn", "TButton")
      .Enum("Layout", &TBitBtn::SetLayout,
            {{"blGlyphLeft", blGlyphLeft},
             {"blGlyphRight", blGlyphRight},
             {"blGlyphTop", blGlyphTop},
             {"blGlyphBottom", blGlyphBottom}},
            "blGlyphLeft")
      .Integer("Margin", &TBitBtn::SetMargin, -1)
      .Integer("Spacing", &TBitBtn::SetSpacing, 4)
      .Integer("NumGlyphs", &TBitBtn::SetNumGlyphs, 1);
  RegisterClass<TLabel>("TLabel", "TGraphicControl")
      .Bool("AutoSize", &TLabel::SetAutoSize, true)
      .Bool("WordWrap", &TLabel::SetWordWrap, false)
      .Bool("Transparent", &TLabel::SetTransparent, false)
      .Enum("Alignment", &TLabel::SetAlignment,
            {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}},
            "taLeftJustify");
  RegisterClass<TStatusPanel>("TStatusPanel", "", false)
      .String("Text", &TStatusPanel::SetText)
      .Integer("Width", &TStatusPanel::SetWidth, 50)
      .Enum("Bevel", &TStatusPanel::SetBevel, {{"pbNone", pbNone}, {"pbLowered", pbLowered}, {"pbRaised", pbRaised}},
            "pbLowered")
      .Enum("Style", &TStatusPanel::SetStyle, {{"psText", psText}, {"psOwnerDraw", psOwnerDraw}}, "psText")
      .Enum("Alignment", &TStatusPanel::SetAlignment,
            {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}},
            "taLeftJustify");
  RegisterClass<TStatusBar>("TStatusBar", "TWinControl")
      .Custom("Panels",
              [](TStatusBar& bar, const StoredValue& v, TLoadContext& ctx) {
                if (v.kind != StoredValue::kCollection) throw EPropertyError("Invalid property value");
                bar.Panels().Clear();
                for (const auto& item : v.items) {
                  TStatusPanel& panel = bar.Panels().Add();
                  for (const StoredProperty& p : item)
                    ClassRegistry::Instance().SetProperty(panel, p.name, p.value, ctx);
                }
              })
      .Bool("SimplePanel", &TStatusBar::SetSimplePanel, false)
      .String("SimpleText", &TStatusBar::SetSimpleText)
      .Bool("SizeGrip", &TStatusBar::SetSizeGrip, true);
  RegisterClass<TCustomImageList>("TCustomImageList", "TComponent", false)
      .Integer("Width", &TCustomImageList::SetWidth, 16)
      .Integer("Height", &TCustomImageList::SetHeight, 16)
      .Color("BkColor", &TCustomImageList::SetBkColor, "clNone");
  RegisterClass<TImageList>("TImageList", "TCustomImageList");
  RegisterClass<TTimer>("TTimer", "TComponent")
      .Bool("Enabled", &TTimer::SetEnabled, true)
      .Integer("Interval", &TTimer::SetInterval, 1000)
      .Event("OnTimer", &TTimer::SetOnTimer);
  RegisterClass<TTreeView>("TTreeView", "TWinControl")
      .Integer("Indent", &TTreeView::SetIndent, 19)
      .Bool("ShowButtons", &TTreeView::SetShowButtons, true)
      .Bool("ShowLines", &TTreeView::SetShowLines, true)
      .Bool("ShowRoot", &TTreeView::SetShowRoot, true)
      .Bool("HideSelection", &TTreeView::SetHideSelection, true)
      .Bool("ReadOnly", &TTreeView::SetReadOnly, false)
      .Bool("RightClickSelect", &TTreeView::SetRightClickSelect, false);
}

}  // namespace

void RegisterFrameworkClasses() {
  RegisterFont();
  RegisterControls();
  RegisterForms();
  RegisterStandardControls();
}

}  // namespace fw
