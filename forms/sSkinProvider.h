// The skinned frame of one form: TsSkinProvider paints the form's border,
// title and menu bar band and its client background from the skin instead
// of the system's look. Everything is painted into one picture of the whole
// window, the frame cache held by the provider's skin data; the window's
// non-client strips and its client area are copied from there, and the
// picture is redrawn only when the skin data says the background changed.
// The provider sees every message of its form first (it takes the form's
// window procedure) and hands on what it does not answer.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/skindata/sCommonData.h"
#include "forms/acCaptionButtons.h"
#include "forms/acFrameGeometry.h"
#include "forms/sTitleButtons.h"
#include "forms/sTitleParts.h"
#include "framework/Components.h"
#include "framework/Forms.h"
#include "framework/core/ButtonLayout.h"

namespace translit {

class TsSystemMenu;

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };
enum TacAnimEvent { aeShowing, aeHiding, aeSkinChanging };

using TacAfterAnimation = std::function<void(fw::TComponent* sender, TacAnimEvent animType)>;
using TacNCHitTest = std::function<void(fw::TComponent* sender, fw::TMessage& msg)>;
using TAddItemEvent = std::function<void(fw::TComponent* item, bool& canBeAdded, std::string& skinSection)>;

// What the form's window procedure does with a message the provider passes on.
using TacWindowProc = std::function<void(fw::TMessage&)>;

class TsSkinProvider : public fw::TComponent {
 public:
  // owner must be a form; anything else raises the silent abort.
  explicit TsSkinProvider(fw::TComponent* owner) : TsSkinProvider(owner, false) {}
  ~TsSkinProvider() override;
  const char* ClassName() const override { return "TsSkinProvider"; }

  // The provider made by code for a form that has none yet: it stays
  // passive until the form's first non-client message or show.
  static TsSkinProvider* CreateAtRunTime(fw::TCustomForm* form);
  // Placed on a form by its layout: initialised once everything is read.
  void Loaded() override;

  // ---- Published
  TacAddedTitle& AddedTitle() { return FAddedTitle; }
  bool AllowExtBorders() const { return FAllowExtBorders; }
  void SetAllowExtBorders(bool v) { FAllowExtBorders = v; }
  bool AllowBlendOnMoving() const { return FAllowBlendOnMoving; }
  void SetAllowBlendOnMoving(bool v) { FAllowBlendOnMoving = v; }
  fw::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(fw::TAlignment v);
  bool DrawNonClientArea() const { return FDrawNonClientArea; }
  void SetDrawNonClientArea(bool v);
  TsCommonData& SkinData() { return FSkinData; }
  TsGripMode GripMode() const { return FGripMode; }
  void SetGripMode(TsGripMode v);
  bool MakeSkinMenu() const { return FMakeSkinMenu; }
  void SetMakeSkinMenu(bool v) { FMakeSkinMenu = v; }
  const std::string& MenuLineSkin() const { return FMenuLineSkin; }
  void SetMenuLineSkin(const std::string& v);
  TsResizeMode ResizeMode() const { return FResizeMode; }
  void SetResizeMode(TsResizeMode v) { FResizeMode = v; }
  bool ScreenSnap() const { return FScreenSnap; }
  void SetScreenSnap(bool v) { FScreenSnap = v; }
  int SnapBuffer() const { return FSnapBuffer; }
  void SetSnapBuffer(int v) { FSnapBuffer = v; }
  bool ShowAppIcon() const { return FShowAppIcon; }
  void SetShowAppIcon(bool v);
  TsTitleButtons& TitleButtons() { return FTitleButtons; }
  // The skinned window menu, made by the first initialisation.
  TsSystemMenu* SystemMenu() const { return FSystemMenu.get(); }
  TsTitleIcon& TitleIcon() { return FTitleIcon; }
  const std::string& TitleSkin() const { return FTitleSkin; }
  void SetTitleSkin(const std::string& v);
  bool UseGlobalColor() const { return FUseGlobalColor; }
  void SetUseGlobalColor(bool v);
  TacAfterAnimation OnAfterAnimation;
  TacNCHitTest OnExtHitTest;
  TAddItemEvent OnSkinItem;
  void SetOnAfterAnimation(TacAfterAnimation e) { OnAfterAnimation = std::move(e); }
  void SetOnExtHitTest(TacNCHitTest e) { OnExtHitTest = std::move(e); }
  void SetOnSkinItem(TAddItemEvent e) { OnSkinItem = std::move(e); }

  // ---- Run-time state
  fw::TCustomForm* OwnerForm = nullptr;
  TacWindowProc SavedWindowProc;
  bool IsDuplicate = false;
  bool InitPending = false;
  bool FormIsActive = false;
  int HotHitCode = 0;
  static bool ButtonPressed;
  TacCaptionButtons CaptionButtons;
  int UserButtonMask = -1;
  int TitleSkinIndex = -1, CaptionSkinIndex = -1;
  int MenuLineCount = -1;
  std::vector<RECT> RegionRects;
  // The window size RegionRects were cut for and set as the window's
  // region; -1 when the window's region is not that.
  SIZE RegionSize{-1, -1};
  bool RegionDirty = true, RegionBusy = false;
  bool MenuChanged = false;
  bool FirstPaintDone = false;
  bool ControlsChanged = false;
  bool HadSysMenuStyle = false;
  int RedrawLockCount = 0;
  std::unique_ptr<fw::TBitmap> TitleBackBitmap, MenuLineBitmap;
  std::unique_ptr<fw::TBitmap> ActiveGlowCache, InactiveGlowCache;
  bool ShowAnimating = false, FreezePainting = false;
  // The full initialisation has run for the current skin (the skinned
  // system menu's existence stands for it until the title buttons come).
  bool Initialized = false;

  // ---- Operations
  // The frame is drawn from the skin now: a skin is there, the form is not
  // going away and a run-time provider has started.
  bool SkinnedNow();
  TacFrameMetrics Metrics();
  // Border and caption sizes as the frame sees them.
  int FrameBorder() { return Metrics().FrameBorder; }
  int TopFrame() { return Metrics().TopFrame; }
  int CaptionHeight() { return Metrics().Caption; }
  int ClientOffsetX() { return Metrics().ClientOffsetX(); }
  int ClientOffsetY() { return Metrics().ClientOffsetY(); }
  int FrameWidth() { return Metrics().FrameWidth; }
  // Width reserved at the title's right end for the title buttons.
  int ButtonsAreaWidth();
  // The state index of every frame item: the hot look while active.
  int FrameState() const;
  // The title section: TitleSkin when the skin has it, else "FORMTITLE".
  std::string TitleSection() const;
  // Marks the frame for redrawing (the cache is rebuilt by the next paint).
  void MarkFrameDirty();
  void FreeGlowCaches();
  // Repaints the cache when it is marked.
  void PaintFrame();
  // Paints the cache (rebuilt when marked) into the window's frame now.
  void RepaintNonClient();
  // The full initialisation; lazy adds what a run-time provider defers.
  void InitializeFrame(bool lazy);
  // Opens the skinned system menu at a screen point.
  void ShowSystemMenuAt(int x, int y);
  // The form's window procedure, for messages the provider leaves alone.
  void CallDefault(fw::TMessage& m);

 private:
  TsSkinProvider(fw::TComponent* owner, bool atRunTime);
  void WindowProc(fw::TMessage& m);
  bool SkinnedMessage(fw::TMessage& m);
  // The skin message; false when it goes on to the form.
  bool SkinCommand(fw::TMessage& m);
  void NewSkin(fw::TMessage& m);
  void RemoveSkin(fw::TMessage& m);
  void RefreshSkin(fw::TMessage& m);
  void AnswerBackground(BackgroundRequest& request);
  void OnNcPaint(fw::TMessage& m);
  void UpdateIndexes();
  // Everything the frame takes from the skin read anew, and the frame
  // marked for repainting; the form's colour too when asked.
  void TakeSkinParts(bool applyGlobalColor);
  void ApplyGlobalColor();
  void RestoreSystemLook();
  bool OwnManager(LPARAM manager);

  TacAddedTitle FAddedTitle;
  bool FAllowExtBorders = true;
  bool FAllowBlendOnMoving = true;
  fw::TAlignment FCaptionAlignment = fw::taLeftJustify;
  bool FDrawNonClientArea = true;
  TsCommonData FSkinData;
  TsGripMode FGripMode = gmNone;
  bool FMakeSkinMenu = false;
  std::string FMenuLineSkin;
  TsResizeMode FResizeMode = rmStandard;
  bool FScreenSnap = false;
  int FSnapBuffer = 10;
  bool FShowAppIcon = true;
  TsTitleButtons FTitleButtons;
  std::unique_ptr<TsSystemMenu> FSystemMenu;
  TsTitleIcon FTitleIcon;
  std::string FTitleSkin;
  bool FUseGlobalColor = true;
};

// The provider serving a form, or none. The forms with a provider are the
// skin manager's SkinnedForms().
TsSkinProvider* ProviderOf(fw::TCustomForm* form);

// Registers the provider and its published objects with the layout reader.
void RegisterSkinProviderClasses();

}  // namespace translit
