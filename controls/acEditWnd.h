// The subclassing chain for edit-like and tree-like controls: TacBaseWnd
// keeps the bars in step with the control's own scrolling and frame
// changes; TacEditWnd paints the whole non-client frame from the control's
// section (the frame ring from the frame picture, then the bars) and puts
// the section's colours into the control while it is skinned.
#pragma once

#include "controls/acScrollWnd.h"

namespace translit {

class TacBaseWnd : public TacScrollWnd {
 public:
  ~TacBaseWnd() override;
  const char* ClassName() const override { return "TacBaseWnd"; }
  void WndProc(fw::TMessage& m) override;

 protected:
  // The bars are painted again with every paint of the client.
  virtual bool BarsFollowClientPaint() const { return false; }
};

class TacEditWnd : public TacBaseWnd {
 public:
  ~TacEditWnd() override;
  const char* ClassName() const override { return "TacEditWnd"; }
  void WndProc(fw::TMessage& m) override;
  void SaveColors() override;
  void RestoreColors() override;
  void ApplyColors() override;
  void PrepareCache() override;

  // The colours this object put into the control.
  fw::TColor AppliedColor = fw::clNone;
  fw::TColor AppliedFontColor = fw::clNone;

 protected:
  const char* DefaultSection() const override { return "EDIT"; }
  bool BarsFollowClientPaint() const override { return true; }
  // The section's look for the control's current state: hot when the
  // section has several states and the control is focused or under the mouse.
  bool HotLook() const;
  // Copies the frame ring from the frame picture into dc.
  void PaintFrameRing(HDC dc);
  void OnNcPaint(fw::TMessage& m);
  void OnPrint(fw::TMessage& m);
};

}  // namespace translit
