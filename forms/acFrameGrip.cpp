// The size grip of a skinned frame.
#include "forms/acFrameGrip.h"

#include "forms/sSkinProvider.h"
#include "skin/sSkinManager.h"

namespace translit {

int FrameGripMask(TsSkinProvider& p, const TacFrameMetrics& m) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(p.OwnerForm->Handle(), GWL_STYLE));
  if (!manager || p.GripMode() != gmRightBottom || m.Maximised || !(style & WS_THICKFRAME)) return -1;
  const int grip = manager->MaskIndex(manager->ConstIndexes.GlobalInfoIndex, "GLOBALINFO", "GRIPIMAGE");
  return manager->IsValidMask(grip) ? grip : -1;
}

RECT FrameGripRect(TsSkinProvider& p, const TacFrameMetrics& m) {
  const int grip = FrameGripMask(p, m);
  if (grip < 0) return RECT{};
  TsSkinManager& manager = *p.SkinData().SkinManager();
  const int w = manager.MaskStateWidth(grip), h = manager.MaskStateHeight(grip);
  const int left = m.FrameWidth - w - m.FrameBorder - 1, top = m.CacheHeight - h - m.FrameBorder - 1;
  return RECT{left, top, left + w, top + h};
}

}  // namespace translit
