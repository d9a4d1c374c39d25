// The skin manager's groups of published settings: effects, animations, menu
// options and the class lists of foreign controls to skin.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/Components.h"
#include "framework/Graphics.h"
#include "framework/core/Persistent.h"

namespace translit {

// Whether hover glows may show. Reading AllowGlowing answers the stored value
// only where glows can work: layered windows are available (or the owner is
// being designed) and the process does not run without composition under
// WOW64.
class TacSkinEffects : public fw::TPersistent {
 public:
  TacSkinEffects() = default;
  explicit TacSkinEffects(const fw::TComponent& owner) : FOwner(&owner) {}
  const char* ClassName() const override { return "TacSkinEffects"; }
  bool AllowGlowing() const;
  bool StoredAllowGlowing() const { return FAllowGlowing; }
  void SetAllowGlowing(bool v) { FAllowGlowing = v; }

 private:
  const fw::TComponent* FOwner = nullptr;
  bool FAllowGlowing = true;
};

enum TacAnimType { atFading, atAero };

// One animation's settings. Time is in milliseconds and 0 means no
// animation; the number of 12 ms frames is Time div 12.
class TacFormAnimation : public fw::TPersistent {
 public:
  explicit TacFormAnimation(std::uint16_t time = 0, TacAnimType mode = atAero, bool active = true)
      : Active(active), Time(time), Mode(mode) {}
  const char* ClassName() const override { return "TacFormAnimation"; }
  bool Active;
  std::uint16_t Time;
  TacAnimType Mode;
  void SetActive(bool v) { Active = v; }
  void SetTime(std::uint16_t v) { Time = v; }
  void SetMode(TacAnimType v) { Mode = v; }
};

// The groups as the manager publishes them; the stored layout names them by
// these classes, which differ in the properties they store and defaults.
class TacDialogShow : public TacFormAnimation {
 public:
  const char* ClassName() const override { return "TacDialogShow"; }
};

class TacFormShow : public TacFormAnimation {
 public:
  const char* ClassName() const override { return "TacFormShow"; }
};

// Used for hiding forms and dialogs alike.
class TacFormHide : public TacFormAnimation {
 public:
  const char* ClassName() const override { return "TacFormHide"; }
};

class TacMinimizing : public TacFormAnimation {
 public:
  TacMinimizing() : TacFormAnimation(200) {}
  const char* ClassName() const override { return "TacMinimizing"; }
};

class TacPageChange : public TacFormAnimation {
 public:
  const char* ClassName() const override { return "TacPageChange"; }
};

class TacSkinChanging : public TacFormAnimation {
 public:
  TacSkinChanging() : TacFormAnimation(100, atFading) {}
  const char* ClassName() const override { return "TacSkinChanging"; }
};

// The form's opacity while it is dragged.
class TacBlendOnMoving : public TacFormAnimation {
 public:
  TacBlendOnMoving() : TacFormAnimation(1000, atAero, false) {}
  const char* ClassName() const override { return "TacBlendOnMoving"; }
  int BlendValue = 170;
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
  TacDialogShow DialogShow;
  TacFormShow FormShow;
  TacFormHide FormHide;
  TacFormHide DialogHide;
  TacMinimizing Minimizing;
  TacPageChange PageChange;
  TacSkinChanging SkinChanging;
  TacBlendOnMoving BlendOnMoving;
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
  tpEdit,
  tpButton,
  tpBitBtn,
  tpCheckBox,
  tpComboBox,
  tpGrid,
  tpGroupBox,
  tpListView,
  tpPanel,
  tpTreeView,
  tpWWEdit,
  tpGridEh,
  tpVirtualTree,
  tpPageControl,
  tpTabControl,
  tpToolBar,
  tpStatusBar,
  tpSpeedButton,
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
