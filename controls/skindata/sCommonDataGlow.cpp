// The hover glow of a skinned control: opened through the effects' slot when
// the mouse comes over a control whose section asks for one, closed when the
// control moves, changes size, is disabled or goes away.
#include "controls/skindata/sCommonData.h"
#include "skin/sEffectHooks.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// The part of a window that its ancestors' client areas leave visible, in
// screen coordinates.
RECT VisibleScreenRect(HWND window) {
  RECT visible;
  ::GetWindowRect(window, &visible);
  for (HWND parent = ::GetParent(window); parent && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
       window = parent, parent = ::GetParent(parent)) {
    RECT client;
    ::GetClientRect(parent, &client);
    ::MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (!::IntersectRect(&visible, &visible, &client)) return RECT{};
  }
  return visible;
}

}  // namespace

void TsCommonData::ShowHoverGlow(bool force, HWND window) {
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* section = Section();
  if (!manager || !section || !MouseAbove || section->Glow < 1 || !manager->Effects().AllowGlowing()) return;
  if (OwnerControl && (OwnerControl->ComponentState() & fw::csDesigning) && !OwnerControl->Visible()) return;
  if (GlowId >= 0) {
    if (!force) return;
    CloseGlow();
  }
  HWND self = OwnerHandle(window);
  if (!self) return;
  RECT control;
  ::GetWindowRect(self, &control);
  GlowId = ShowGlowThroughHook(control, VisibleScreenRect(self), FSkinSection, manager, ::GetAncestor(self, GA_ROOT),
                               section->GlowMargin, "GLOW");
}

void TsCommonData::CloseGlow() {
  if (GlowId < 0) return;
  HideGlowThroughHook(GlowId);
  GlowId = -1;
}

}  // namespace translit
