// Push buttons and labels.
#pragma once

#include "framework/core/ButtonLayout.h"
#include "framework/Controls.h"
#include "framework/Forms.h"

namespace fw {

// A push button: a superclassed platform "BUTTON".
class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);
  const char* ClassName() const override { return "TButton"; }

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  void Click() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;
  // Default changed while the window exists.
  virtual void DefaultChanged();
  // Whether Enter presses this button: it has the focus, or it is the
  // default one and no other button has the focus.
  bool AnswersEnter() const;

 private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

// A text painted by its parent.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  const char* ClassName() const override { return "TLabel"; }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  // The flags the label draws its text with.
  UINT DrawFlags() const;
  // Resizes to the text when AutoSize is on.
  void AdjustBounds();
  // A label read from a layout fits its text once all its properties are set.
  void Loaded() override;

 protected:
  void Paint() override;
  void TextChanged() override {
    AdjustBounds();
    Invalidate();
  }
  void FontChanged() override;

 private:
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  TAlignment FAlignment = taLeftJustify;
};

}  // namespace fw
