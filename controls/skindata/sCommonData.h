// The link between one skinned control (or a form's frame component) and the
// skin: the section it is drawn with and the indexes resolved from it, its
// state flags, its 32-bit cache bitmap and its own colour adjustments. It
// answers the owner's part of the skin message; the owner's window procedure
// runs CommonMessage first and goes on with its own handling unless that
// reports the message handled.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "controls/protocol/sMessages.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/core/Persistent.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

class TsSkinManager;
struct TsGeneralData;

// StateFlags bits.
enum : std::uint16_t {
  sfPlainBackground = 0x0001,  // the background is a flat colour
  sfPainterSet = 0x0200,       // an external painter draws the control
  sfUpdating = 0x0800,         // an update is under way
};

// BgKind bits: the section's background has a texture share; the low bits
// name the first gradient step's mode (vertical 2, horizontal 1, mesh 3).
enum : std::int16_t { bgTexture = 4, bgGradientMask = 3 };

// Kind codes of the controls built here.
constexpr int kKindButton = 94;
constexpr int kKindTreeView = 96;
constexpr int kKindStatusBar = 151;
constexpr int kKindFormFrame = 224;

// The default section of a kind code; empty for kinds that take the owner's
// class name.
const char* DefaultSectionOfKind(int kind);
// Kinds drawn like edits: colours from the skin, frame repainted on focus
// and mouse changes.
bool IsEditKind(int kind);
// Kinds of push buttons (they run their own glow).
bool IsButtonKind(int kind);
// Kinds the mouse never makes hot.
bool IsContainerKind(int kind);
// Kinds that show no hover glow (buttons run their own).
bool IsNoGlowKind(int kind);
// Kinds whose controls have a window but draw their caption straight on the
// parent's background (check boxes, radio buttons, group boxes): with a
// transparent look their text takes the parent section's colours, as the
// text of a control without a window does.
bool DrawsOnParentKind(int kind);

class TsCommonData : public fw::TPersistent {
 public:
  TsCommonData(fw::TComponent* owner, bool createCache, int controlKind = 0);
  ~TsCommonData() override;
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;
  const char* ClassName() const override { return "TsCommonData"; }

  // Published.
  const std::string& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const std::string& value);
  bool CustomFont() const { return FCustomFont; }
  void SetCustomFont(bool v);
  bool CustomColor() const { return FCustomColor; }
  void SetCustomColor(bool v);
  int HUEOffset() const { return FHUEOffset; }
  void SetHUEOffset(int v);
  int Saturation() const { return FSaturation; }
  void SetSaturation(int v);
  // The stored manager, or the default manager when none is stored.
  TsSkinManager* SkinManager() const;
  TsSkinManager* StoredSkinManager() const { return FSkinManager; }
  void SetSkinManager(TsSkinManager* manager);

  int UpdateCount = 0;
  int GlowId = -1;
  bool Updating = false;
  int BorderIndex = -1;
  int SkinIndex = -1;
  int Texture = -1;
  int HotTexture = -1;
  bool ParentBgForced = false;
  bool BGChanged = true;
  bool PartlyOutside = true;
  fw::TControl* OwnerControl = nullptr;
  fw::TComponent* OwnerObject = nullptr;
  std::unique_ptr<fw::TBitmap> CacheBmp;
  int ControlKind = 0;
  bool Focused = false;
  bool MouseAbove = false;
  std::uint16_t StateFlags = 0;
  std::int16_t BgKind = 0;
  void* Painter = nullptr;

  // A section is set, the manager is there and not going away, SkinIndex is
  // valid and the owner is not being destroyed; with needLoaded also the
  // manager's skin is loaded.
  bool Skinned(bool needLoaded = false) const;
  // The section record of SkinIndex, or none.
  const TsGeneralData* Section() const;

  void UpdateIndexes();
  void ChooseSection();
  void SkinChanged();
  void UpdateColors(bool repaint);
  void RequestRepaint();
  void StartUpdate();
  void FinishUpdate(bool repaint);
  bool IsUpdating() const;
  bool NeedsOwnCache() const;
  bool IsHot() const;
  bool NeedsParentBg() const;
  bool HasGraphicBackground() const;
  void UpdatePlainFlag(bool propagate);
  // Whether where the owner lies asks for its cache to be repainted:
  // BGChanged, it lay partly outside its parent at the last look, or the
  // parent answers that it lies partly outside its own. PartlyOutside then
  // takes what holds now, by the owner's rule for its far edges.
  bool PlaceNeedsRepaint(TFarEdges farEdges);
  void SizeCache();
  int MaxBorderMargin() const;
  // As RGB. window stands for the owner where it has no control.
  std::uint32_t BackgroundColor(int state, HWND window = nullptr) const;
  ParentCache ParentCacheOf(HWND window = nullptr) const;
  void AnswerBackgroundRequest(BackgroundRequest& request, int state, HWND window = nullptr);
  // The owner's colour as RGB: the control's, a form frame component's
  // form's, else the button face.
  std::uint32_t OwnColor() const;
  // The colour this object offers children asking with SKINCMD_GET_COLOR.
  std::uint32_t ColorForChildren(HWND window = nullptr) const;

  // Opens the hover glow around the owner when the skin and the settings
  // allow one and the mouse is above; force closes an open glow first.
  void ShowHoverGlow(bool force, HWND window = nullptr);
  // Closes this control's glow when one is open.
  void CloseGlow();

  // Copies rect of the cache into dc at the same place. With clip, visible
  // child windows are left out (they paint themselves); of a skinned group
  // box only its frame strips are.
  void CopyCacheToDC(HDC dc, const RECT& rect, bool clip, HWND window = nullptr) const;

  // True when the message is answered and the owner must not process it.
  bool HandleSkinMessage(fw::TMessage& m, HWND window = nullptr);
  bool CommonMessage(fw::TMessage& m, HWND window = nullptr);

 private:
  bool OwnerGone() const;
  fw::TWinControl* OwnerWindowed() const;
  HWND OwnerHandle(HWND window) const;
  HWND ParentWindow(HWND window) const;
  // The control or window this object's owner should be told about changes.
  void TellOwner(std::uint16_t command, LPARAM lParam);
  void AfterManagerOrSectionChange(bool sectionSetter);
  std::uint32_t ParentColor(HWND window, bool unconvertedOnKey) const;
  void RecomputeBgKind();

  // Hears of the stored manager's end through the framework's free
  // notification.
  class ManagerWatch;

  std::string FSkinSection;
  bool FCustomFont = false;
  bool FCustomColor = false;
  int FHUEOffset = 0;
  int FSaturation = 0;
  TsSkinManager* FSkinManager = nullptr;
  std::unique_ptr<ManagerWatch> FManagerWatch;
};

// The published form on controls (property SkinData); it also publishes
// HUEOffset and Saturation.
class TsCtrlSkinData : public TsCommonData {
 public:
  using TsCommonData::TsCommonData;
  const char* ClassName() const override { return "TsCtrlSkinData"; }
};

// Registers both classes with the layout reader.
void RegisterCommonDataClasses();

}  // namespace translit
