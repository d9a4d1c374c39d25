// The bitmap button: a push button that draws itself (owner-drawn at the
// platform level) with a glyph beside its caption, placed by Layout, Margin
// and Spacing; a caption that does not fit on one line is wrapped. The glyph
// holds NumGlyphs cells side by side: up, disabled, pressed; its bottom-left
// pixel's colour is transparent.
#pragma once

#include <memory>

#include "framework/core/ButtonLayout.h"
#include "framework/StdCtrls.h"

namespace fw {

class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* owner);
  const char* ClassName() const override { return "TBitBtn"; }

  TBitmap& Glyph() { return FGlyph; }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout l) {
    FLayout = l;
    Invalidate();
  }
  int Margin() const { return FMargin; }
  void SetMargin(int m) {
    FMargin = m;
    Invalidate();
  }
  int Spacing() const { return FSpacing; }
  void SetSpacing(int s) {
    FSpacing = s;
    Invalidate();
  }
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int n) {
    FNumGlyphs = n < 1 ? 1 : n;
    Invalidate();
  }

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;
  void DefaultChanged() override { Invalidate(); }
  // Paints the whole button for an owner-draw request.
  virtual void DrawItem(const DRAWITEMSTRUCT& item);

  // The platform's push button under the caption and glyph: the themed one
  // where visual themes are in effect for the window, else the classic
  // frame (a one-pixel frame first with the default look).
  struct TButtonFace {
    bool themed = false;
    RECT content{};  // where the themed button's content goes
  };
  TButtonFace DrawButtonFace(HDC dc, const RECT& client, bool pressed, bool enabled, bool hot, bool defaultLook);
  // The focus rectangle of a focused button with the default look: on the
  // themed content rectangle, or inset by 4 in the classic look.
  static void DrawButtonFocus(HDC dc, const TButtonFace& face, const RECT& client);
  // The mouse is above the button (drawn hot by the themed look).
  bool MouseAbove() const { return FMouseAbove; }

 private:
  // The default button shows the default look unless another button has the
  // focus; a focused button always does.
  bool HasDefaultLook(bool focused) const;
  void DrawGlyph(HDC dc, int x, int y, bool enabled, bool pressed);

  TBitmap FGlyph;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  int FNumGlyphs = 1;
  bool FMouseAbove = false;
};

}  // namespace fw
