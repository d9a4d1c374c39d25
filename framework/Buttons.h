// The bitmap button: a push button that may carry a glyph beside its caption
// and wraps a caption that does not fit on one line.
#pragma once

#include <memory>

#include "framework/StdCtrls.h"

namespace fw {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* owner);
  const char* ClassName() const override { return "TBitBtn"; }

  TBitmap& Glyph() { return FGlyph; }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout l) { FLayout = l; Invalidate(); }
  int Margin() const { return FMargin; }
  void SetMargin(int m) { FMargin = m; Invalidate(); }
  int Spacing() const { return FSpacing; }
  void SetSpacing(int s) { FSpacing = s; Invalidate(); }
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int n) { FNumGlyphs = n < 1 ? 1 : n; Invalidate(); }

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  TBitmap FGlyph;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  int FNumGlyphs = 1;
};

}  // namespace fw
