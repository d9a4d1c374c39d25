// A caption bound to a control: a skinned label placed on the control's
// parent next to the control (left of it, vertically centred, or above it)
// that follows the control's place, visibility and reading direction.
// Published on skinned controls as BoundLabel; inactive, it holds no label.
#pragma once

#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "framework/core/Persistent.h"

namespace translit {

enum TsCaptionLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// The label itself: its text in the skin's colour for its parent's section
// while UseSkinColor is set and a skin is active, else in its font colour.
class TsBoundLabelControl : public fw::TLabel {
 public:
  explicit TsBoundLabelControl(fw::TComponent* owner) : fw::TLabel(owner) {}
  const char* ClassName() const override { return "TsBoundLabelControl"; }
  bool UseSkinColor = true;
  // The colour the text is drawn in now.
  fw::TColor TextColor();

 protected:
  void Paint() override;
};

class TsBoundLabel : public fw::TPersistent {
 public:
  explicit TsBoundLabel(fw::TControl* control);
  ~TsBoundLabel() override;
  TsBoundLabel(const TsBoundLabel&) = delete;
  TsBoundLabel& operator=(const TsBoundLabel&) = delete;
  const char* ClassName() const override { return "TsBoundLabel"; }

  bool Active() const { return static_cast<bool>(FLabel); }
  // True creates the label, false frees it.
  void SetActive(bool v);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  int Indent() const { return FIndent; }
  void SetIndent(int v);
  fw::TFont& Font() { return FFont; }
  TsCaptionLayout Layout() const { return FLayout; }
  void SetLayout(TsCaptionLayout v);
  // 0: no limit; otherwise the label wraps words at that width.
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int v);
  // True while no label exists.
  bool UseSkinColor() const { return FLabel ? FLabel->UseSkinColor : true; }
  void SetUseSkinColor(bool v);

  // The label, none while inactive.
  TsBoundLabelControl* Label() const { return FLabel.get(); }
  // Places the label next to the control again (and on its parent).
  void UpdatePosition();
  // The label takes the control's visibility, then its place.
  void UpdateVisibility();
  // The label takes the control's reading direction, then its place.
  void UpdateDirection();

 private:
  void ApplyFont();
  fw::TControl* FControl;
  std::unique_ptr<TsBoundLabelControl> FLabel;
  std::string FCaption;
  int FIndent = 0;
  fw::TFont FFont;
  TsCaptionLayout FLayout = sclLeft;
  int FMaxWidth = 0;
  bool FUseSkinColor = true;
};

// Registers TsBoundLabel with the layout reader.
void RegisterBoundLabelClasses();

}  // namespace translit
