// What a control's skin data says about its looks: whether it is hot, whether
// its background is a plain colour or needs its parent's, whether it needs a
// cache of its own, the cache's size and the widest border margin.
#include "controls/skindata/sCommonData.h"

#include <algorithm>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Forms.h"
#include "skin/sSkinManager.h"

namespace translit {

bool TsCommonData::NeedsOwnCache() const { return SkinChangeFreeze || !(StateFlags & sfPlainBackground) || IsHot(); }

bool TsCommonData::IsHot() const {
  if (!OwnerControl || OwnerControl->Destroying() || !OwnerControl->Enabled()) return false;
  if (Focused) return true;
  if (fw::TWinControl* w = OwnerWindowed())
    if (w->HandleAllocated() && ::GetFocus() == w->Handle()) return true;
  return MouseAbove && !IsContainerKind(ControlKind);
}

bool TsCommonData::NeedsParentBg() const {
  if (ParentBgForced || !Skinned() || !OwnerControl || !OwnerControl->Enabled()) return true;
  if (Section()->States[0].Transparency <= 0) return false;
  fw::TWinControl* parent = OwnerControl->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  return SendSkinCommand(parent->Handle(), SKINCMD_HAS_GRAPHIC_BG) != 0;
}

bool TsCommonData::HasGraphicBackground() const {
  const TsGeneralData* s = Section();
  if (!s) return false;
  TsSkinManager* manager = SkinManager();
  if (manager->IsValidMask(BorderIndex)) {
    if (manager->MaskMarginLeft(BorderIndex) + manager->MaskMarginRight(BorderIndex) > 20 ||
        manager->MaskMarginTop(BorderIndex) + manager->MaskMarginBottom(BorderIndex) > 20)
      return true;
  }
  const int t = s->States[0].Transparency;
  if (t == 100) {
    fw::TWinControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
    const bool parentPlain = parent && parent->HandleAllocated() &&
                             (SendSkinCommand(parent->Handle(), SKINCMD_GET_FLAGS) & sfPlainBackground);
    if (!parentPlain) return true;
  } else if (t != 0) {
    return true;
  }
  return s->States[0].ImagePercent != 0 || s->States[0].GradientPercent != 0;
}

void TsCommonData::UpdatePlainFlag(bool propagate) {
  if (OwnerControl) {
    if (HasGraphicBackground())
      StateFlags &= static_cast<std::uint16_t>(~sfPlainBackground);
    else
      StateFlags |= sfPlainBackground;
    if (propagate)
      if (fw::TWinControl* w = OwnerWindowed()) {
        fw::TMessage m{SM_ALPHACMD, SkinWParam(SKINCMD_GET_FLAGS), 1, 0};
        SendToChildControls(w, m);
      }
    return;
  }
  // A form frame component: the form's own background decides.
  fw::TCustomForm* form = FindOwnerForm(OwnerObject);
  if (form && form->FormStyle() != fw::fsMDIForm && !HasGraphicBackground())
    StateFlags |= sfPlainBackground;
  else
    StateFlags &= static_cast<std::uint16_t>(~sfPlainBackground);
}

bool TsCommonData::PlaceNeedsRepaint(TFarEdges farEdges) {
  if (!OwnerControl) return BGChanged;
  fw::TWinControl* parent = OwnerControl->Parent();
  const bool parentOutside =
      parent && parent->HandleAllocated() && SendSkinCommand(parent->Handle(), SKINCMD_IS_PARTLY_OUTSIDE) == 1;
  const bool need = BGChanged || PartlyOutside || parentOutside;
  PartlyOutside = !LiesInsideParent(*OwnerControl, farEdges);
  return need;
}

void TsCommonData::SizeCache() {
  if (!CacheBmp) CacheBmp = NewBitmap32(0, 0);
  int w = 0, h = 0;
  if (OwnerControl) {
    w = OwnerControl->Width();
    h = OwnerControl->Height();
  } else if (fw::TCustomForm* form = FindOwnerForm(OwnerObject)) {
    w = form->Width();
    h = form->Height();
  }
  CacheBmp->SetSize(std::max(w, 0), std::max(h, 0));
}

int TsCommonData::MaxBorderMargin() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->IsValidMask(BorderIndex)) return 0;
  if (manager->Masks[static_cast<std::size_t>(BorderIndex)].FillMode & 2) return 0;
  return std::max({manager->MaskMarginLeft(BorderIndex), manager->MaskMarginTop(BorderIndex),
                   manager->MaskMarginRight(BorderIndex), manager->MaskMarginBottom(BorderIndex)});
}

}  // namespace translit
