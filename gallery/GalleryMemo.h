// The platform's own multi-line edit, taken over by the engine's edit
// subclass while a skin is loaded: the frame and both scroll bars are then
// drawn from the skin's "EDIT" and scroll sections and the text takes the
// section's colours; without a skin the platform draws all of it. It shows
// how the engine skins a control it did not make.
#pragma once

#include "controls/acEditWnd.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Controls.h"

namespace translit::gallery {

class TGalleryMemo : public fw::TWinControl {
 public:
  explicit TGalleryMemo(fw::TComponent* owner);
  ~TGalleryMemo() override;
  const char* ClassName() const override { return "TGalleryMemo"; }

  TsCtrlSkinData& SkinData() { return FSkinData; }
  // The subclassing object while a skin is loaded, else none.
  TacEditWnd* EditWnd() const { return FEditWnd.get(); }

 protected:
  void CreateParams(fw::TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(fw::TMessage& m) override;

 private:
  // Attaches the subclass when the skin draws the edit, drops it otherwise.
  void FollowSkin();

  TsCtrlSkinData FSkinData;
  TacWndPtr<TacEditWnd> FEditWnd;
};

}  // namespace translit::gallery
