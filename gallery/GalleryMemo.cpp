// The gallery's multi-line edit.
#include "gallery/GalleryMemo.h"

#include "controls/acSBUtils.h"
#include "controls/protocol/sMessages.h"

namespace translit::gallery {

TGalleryMemo::TGalleryMemo(fw::TComponent* owner) : fw::TWinControl(owner), FSkinData(this, true) {
  SetTabStop(true);
  FSkinData.SetSkinSection("EDIT");
}

TGalleryMemo::~TGalleryMemo() {
  FEditWnd.reset();
  // The window goes in the framework's destruction; until then its messages
  // must not reach the skin data freed with this object.
  MarkDestroying();
}

void TGalleryMemo::CreateParams(fw::TCreateParams& p) {
  fw::TWinControl::CreateParams(p);
  p.BaseClassName = "EDIT";
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL;
  p.ExStyle |= WS_EX_CLIENTEDGE;
  p.WindowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
}

void TGalleryMemo::CreateHandleDone() {
  fw::TWinControl::CreateHandleDone();
  FollowSkin();
}

void TGalleryMemo::FollowSkin() {
  if (!HandleAllocated()) return;
  RefreshScrollObject(FEditWnd, FSkinData.Skinned(true) && !Destroying(), Handle(), &FSkinData);
}

void TGalleryMemo::WndProc(fw::TMessage& m) {
  if (Destroying() || !IsSkinMessage(m)) {
    fw::TWinControl::WndProc(m);
    return;
  }
  const TacSkinMessage s = ReadSkinMessage(m);
  switch (s.Command) {
    case SKINCMD_REMOVE_SKIN:
      // The platform's look comes back whole: colours, frame and bars.
      FEditWnd.reset();
      FSkinData.CommonMessage(m);
      return;
    case SKINCMD_NEW_SKIN:
    case SKINCMD_REFRESH:
      FSkinData.CommonMessage(m);
      FollowSkin();
      return;
    default:
      if (!FSkinData.CommonMessage(m)) fw::TWinControl::WndProc(m);
      return;
  }
}

}  // namespace translit::gallery
