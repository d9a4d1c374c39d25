// The caption bound to a control.
#include "controls/sBoundLabel.h"  // first: the platform headers rename RegisterClass for all that follows

#include <algorithm>

#include "controls/protocol/sVclUtils.h"
#include "framework/ClassRegistry.h"
#include "skin/sSkinManager.h"

namespace translit {

fw::TColor TsBoundLabelControl::TextColor() {
  TsSkinManager* manager = DefaultManager;
  if (!UseSkinColor || !manager || !manager->Active() || manager->Sections.empty()) return Font().Color();
  // The section of the parent, when it tells one; else the skin's text colour.
  std::int32_t index = -1;
  if (Parent() && Parent()->HandleAllocated())
    SendSkinCommand(Parent()->Handle(), SKINCMD_GET_SKIN_INDEX, reinterpret_cast<LPARAM>(&index));
  if (manager->IsValidSection(index))
    return static_cast<fw::TColor>(
        manager->ColorToRGB(manager->Sections[static_cast<std::size_t>(index)].States[0].FontColor));
  return static_cast<fw::TColor>(manager->GlobalFontColor());
}

void TsBoundLabelControl::Paint() {
  const fw::TColor own = Font().Color();
  const fw::TColor shown = TextColor();
  if (shown == own) {
    fw::TLabel::Paint();
    return;
  }
  // The font's colour is lent for this paint and given back without a change
  // notice reaching the label.
  auto keep = Font().OnChange;
  Font().OnChange = nullptr;
  Font().SetColor(shown);
  fw::TLabel::Paint();
  Font().SetColor(own);
  Font().OnChange = keep;
}

TsBoundLabel::TsBoundLabel(fw::TControl* control) : FControl(control) {
  FFont.OnChange = [this] { ApplyFont(); };
}

TsBoundLabel::~TsBoundLabel() = default;

void TsBoundLabel::ApplyFont() {
  if (!FLabel) return;
  FLabel->Font().Assign(FFont);
  UpdatePosition();
}

void TsBoundLabel::SetActive(bool v) {
  if (v == Active()) return;
  if (!v) {
    FLabel.reset();
    return;
  }
  FLabel = std::make_unique<TsBoundLabelControl>(nullptr);
  FLabel->UseSkinColor = FUseSkinColor;
  FLabel->Font().Assign(FFont);
  FLabel->SetCaption(FCaption);
  FLabel->SetWordWrap(FMaxWidth > 0);
  if (FControl) FLabel->SetBiDiMode(FControl->BiDiMode());
  UpdateVisibility();
}

void TsBoundLabel::SetCaption(const std::string& v) {
  FCaption = v;
  if (FLabel) {
    FLabel->SetCaption(v);
    UpdatePosition();
  }
}

void TsBoundLabel::SetIndent(int v) {
  FIndent = v;
  UpdatePosition();
}

void TsBoundLabel::SetLayout(TsCaptionLayout v) {
  FLayout = v;
  UpdatePosition();
}

void TsBoundLabel::SetMaxWidth(int v) {
  FMaxWidth = std::max(v, 0);
  if (FLabel) FLabel->SetWordWrap(FMaxWidth > 0);
  UpdatePosition();
}

void TsBoundLabel::SetUseSkinColor(bool v) {
  FUseSkinColor = v;
  if (FLabel) {
    FLabel->UseSkinColor = v;
    FLabel->Invalidate();
  }
}

void TsBoundLabel::UpdateVisibility() {
  if (!FLabel || !FControl) return;
  FLabel->SetVisible(FControl->Visible());
  UpdatePosition();
}

void TsBoundLabel::UpdateDirection() {
  if (!FLabel || !FControl) return;
  FLabel->SetBiDiMode(FControl->BiDiMode());
  UpdatePosition();
}

void TsBoundLabel::UpdatePosition() {
  if (!FLabel || !FControl) return;
  if (FLabel->Parent() != FControl->Parent()) FLabel->SetParent(FControl->Parent());
  if (!FControl->Parent()) return;
  fw::TLabel& label = *FLabel;
  if (FMaxWidth > 0) {
    // Wrapped at the width, and at least as high as the control.
    label.SetAutoSize(false);
    label.SetWidth(FMaxWidth);
    label.SetAutoSize(true);
    label.AdjustBounds();
    if (FLayout == sclLeft && label.Height() < FControl->Height()) {
      label.SetAutoSize(false);
      label.SetHeight(FControl->Height());
    }
  } else {
    label.SetAutoSize(true);
    label.AdjustBounds();
  }
  const int w = label.Width(), h = label.Height();
  int left = FControl->Left(), top = FControl->Top();
  switch (FLayout) {
    case sclLeft:
      left = FControl->Left() - w - (FIndent + 4);
      top = FControl->Top() + (FControl->Height() - h) / 2;
      break;
    case sclTopLeft:
      top = FControl->Top() - h - FIndent;
      break;
    case sclTopCenter:
      left = FControl->Left() + (FControl->Width() - w) / 2;
      top = FControl->Top() - h - FIndent;
      break;
    case sclTopRight:
      left = FControl->Left() + FControl->Width() - w;
      top = FControl->Top() - h - FIndent;
      break;
  }
  label.SetBounds(left, top, w, h);
}

void RegisterBoundLabelClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::RegisterClass<TsBoundLabel>("TsBoundLabel", "", false)
      .Bool("Active", &TsBoundLabel::SetActive, false)
      .String("Caption", &TsBoundLabel::SetCaption)
      .Integer("Indent", &TsBoundLabel::SetIndent, 0)
      .Object("Font", &TsBoundLabel::Font)
      .Enum("Layout", &TsBoundLabel::SetLayout,
            {{"sclLeft", sclLeft},
             {"sclTopLeft", sclTopLeft},
             {"sclTopCenter", sclTopCenter},
             {"sclTopRight", sclTopRight}},
            "sclLeft")
      .Integer("MaxWidth", &TsBoundLabel::SetMaxWidth, 0)
      .Bool("UseSkinColor", &TsBoundLabel::SetUseSkinColor, true);
}

}  // namespace translit
