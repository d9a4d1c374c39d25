// The colours a control's skin data answers with: the owner's own colour, the
// colour its parent shows, the background colour of a state and the colour
// it offers its children, mixed by the section's transparency.
#include "controls/skindata/sCommonData.h"

#include <algorithm>

#include "controls/protocol/sVclUtils.h"
#include "framework/Colors.h"
#include "render/pixels/AlphaKernels.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

std::uint32_t Rgb(fw::TColor c) { return static_cast<std::uint32_t>(fw::ColorToRGB(c)); }

}  // namespace

std::uint32_t TsCommonData::OwnColor() const {
  if (OwnerControl) return Rgb(OwnerControl->Color());
  if (fw::TCustomForm* form = FindOwnerForm(OwnerObject)) return Rgb(form->Color());
  return Rgb(fw::clBtnFace);
}

std::uint32_t TsCommonData::ParentColor(HWND window, bool unconvertedOnKey) const {
  if (OwnerControl && OwnerControl->Parent()) {
    fw::TWinControl* parent = OwnerControl->Parent();
    std::uint32_t c = ControlColor(parent);
    if (c == static_cast<std::uint32_t>(clSkinTransparent) && unconvertedOnKey)
      return static_cast<std::uint32_t>(parent->Color());
    return c;
  }
  if (!OwnerControl && window && ::GetParent(window)) return WindowColor(::GetParent(window));
  return Rgb(fw::clBtnFace);
}

std::uint32_t TsCommonData::BackgroundColor(int state, HWND window) const {
  if (!Skinned()) return OwnColor();
  const TsGeneralData* s = Section();
  const bool hot = state > 0 && s->StateCount > 1;
  const TsGenState& look = s->States[hot ? 1 : 0];
  const std::uint32_t k = static_cast<std::uint32_t>(SkinManager()->ColorToRGB(look.Color)) & 0xFFFFFF;
  const int t = look.Transparency;
  if (t <= 0) return FCustomColor ? OwnColor() : k;
  if (t >= 100) return ParentColor(window, false);
  if (!(OwnerControl && OwnerControl->Parent()) && !window) return Rgb(fw::clBtnFace);
  return BlendColor(ParentColor(window, false), k, t / 100.0) & 0xFFFFFF;
}

std::uint32_t TsCommonData::ColorForChildren(HWND window) const {
  if (!Skinned()) return OwnColor();
  const TsGeneralData* s = Section();
  const int t = s->States[0].Transparency;
  const std::uint32_t k = static_cast<std::uint32_t>(SkinManager()->ColorToRGB(s->States[0].Color)) & 0xFFFFFF;
  const bool hasParent = (OwnerControl && OwnerControl->Parent()) || (!OwnerControl && window && ::GetParent(window));
  if (t <= 0) return k;
  if (t >= 100) return hasParent ? ParentColor(window, true) : OwnColor();
  const std::uint32_t p = ParentWindow(window) ? ParentColor(window, false) : OwnColor();
  std::uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int pc = static_cast<int>((p >> shift) & 0xFF), kc = static_cast<int>((k >> shift) & 0xFF);
    const int c = (t * (pc - kc) + 100 * kc) / 100;
    result |= static_cast<std::uint32_t>(std::clamp(c, 0, 255)) << shift;
  }
  return result;
}

}  // namespace translit
