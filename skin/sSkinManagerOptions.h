// The skin manager's groups of published settings: effects, animations, menu
// options and the class lists of foreign controls to skin.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/core/Persistent.h"

namespace translit {

class TacSkinEffects : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TacSkinEffects"; }
  bool AllowGlowing = true;
  void SetAllowGlowing(bool v) { AllowGlowing = v; }
};

enum TacAnimType { atFading, atAero };

class TacFormAnimation : public fw::TPersistent {
 public:
  TacFormAnimation(int time = 0, TacAnimType mode = atAero, bool active = true)
      : Active(active), Time(time), Mode(mode) {}
  const char* ClassName() const override { return "TacFormAnimation"; }
  bool Active;
  int Time;
  TacAnimType Mode;
  int BlendValue = 170;  // window opacity while moving (BlendOnMoving only)
  void SetActive(bool v) { Active = v; }
  void SetTime(int v) { Time = v; }
  void SetMode(TacAnimType v) { Mode = v; }
  void SetBlendValue(int v) { BlendValue = v; }
};

enum TacBtnEvent : unsigned { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };

class TacBtnEffects : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TacBtnEffects"; }
  unsigned Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
  void SetEvents(unsigned v) { Events = v; }
};

class TacAnimEffects : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TacAnimEffects"; }
  TacBtnEffects Buttons;
  TacFormAnimation DialogShow, FormShow, FormHide, DialogHide;
  TacFormAnimation Minimizing{200};
  TacFormAnimation PageChange;
  TacFormAnimation SkinChanging{100, atFading};
  TacFormAnimation BlendOnMoving{1000, atAero, false};
};

class TacMenuSupport : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TacMenuSupport"; }
  std::string IcoLineSkin;
  bool UseExtraLine = false;
  int ExtraLineWidth = 32;
  fw::TFont ExtraLineFont;
  void SetIcoLineSkin(const std::string& v) { IcoLineSkin = v; }
  void SetUseExtraLine(bool v) { UseExtraLine = v; }
  void SetExtraLineWidth(int v) { ExtraLineWidth = v; }
  fw::TFont& ExtraLineFontProperty() { return ExtraLineFont; }
};

// The foreign control kinds, in the index order of the class lists.
enum TacThirdPartyKind {
  tpEdit, tpButton, tpBitBtn, tpCheckBox, tpComboBox, tpGrid, tpGroupBox, tpListView, tpPanel, tpTreeView,
  tpWWEdit, tpGridEh, tpVirtualTree, tpPageControl, tpTabControl, tpToolBar, tpStatusBar, tpSpeedButton,
  kThirdPartyKinds
};

// Eighteen texts of class names, one per line. An empty text takes its kind's
// default when the manager sets its lists up; a single blank counts as set.
class TacThirdPartyList : public fw::TPersistent {
 public:
  TacThirdPartyList();
  const char* ClassName() const override { return "TacThirdPartyList"; }
  std::array<std::string, kThirdPartyKinds> Texts;
  static const char* PropertyName(int kind);
  static const char* DefaultText(int kind);
};

// A string-list property as layouts store it ("Name.Strings = ( ... )").
class TacStringsProperty : public fw::TPersistent {
 public:
  using Setter = std::function<void(const std::vector<std::string>&)>;
  explicit TacStringsProperty(Setter set) : Set(std::move(set)) {}
  const char* ClassName() const override { return "TacStringsProperty"; }
  Setter Set;
};

}  // namespace translit
