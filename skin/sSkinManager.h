// The skin manager: the non-visual component that owns the current skin. It
// picks the skin by directory and name, loads it into its tables and tells
// every form and control of the program about a new skin, a removed skin or
// a needed repaint through the skin message. The first manager made is the
// default manager, which skinned controls use unless they name another.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Classes.h"
#include "framework/Components.h"
#include "framework/Forms.h"
#include "skin/sMenuHooks.h"
#include "skin/sSkinLoader.h"
#include "skin/sSkinManagerOptions.h"
#include "skin/sShadowTemplates.h"
#include "skin/sSkinTables.h"
#include "skin/sStoredSkins.h"

namespace translit {

enum TacSkinningRule : unsigned { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = unsigned;

enum TacShowState { ssNone, ssMinimizing, ssRestoring };

// What a popup menu's extra line shows; asked of the manager once per popup.
struct TacExtraLineData {
  std::string SkinSection = "EXTRALINE";
  std::string Caption = "Use OnGetExtraLineData event";
  fw::TBitmap* Glyph = nullptr;  // not owned
  bool LineVisible = true;
};
// Asked with the popup's first item; changes what it wants of the rest.
using TacGetExtraLineData = std::function<void(fw::TComponent* firstItem, std::string& skinSection,
                                               std::string& caption, fw::TBitmap*& glyph, bool& lineVisible)>;

// ListSkins kinds.
enum TacSkinListKind { slFolders = 0, slPacked = 1, slAll = 2 };

class TsSkinManager : public fw::TComponent, public TsSkinTables {
 public:
  explicit TsSkinManager(fw::TComponent* owner);
  ~TsSkinManager() override;
  const char* ClassName() const override { return "TsSkinManager"; }

  // Published settings.
  TacSkinEffects& Effects() { return FEffects; }
  bool ExtendedBorders() const { return FExtendedBorders; }
  void SetExtendedBorders(bool v);
  bool SkinnedPopups() const { return FSkinnedPopups; }
  // Switching it while a skin is loaded re-applies the menus' drawing.
  void SetSkinnedPopups(bool v);
  TacAnimEffects& AnimEffects() { return FAnimEffects; }
  bool IsDefault() const;
  void SetIsDefault(bool v);
  bool Active() const { return FActive; }
  void SetActive(bool v);
  const std::vector<std::string>& CommonSections() const { return FCommonSections; }
  // Lines not beginning with ";" lose their blanks; the skin is reloaded.
  void SetCommonSections(const std::vector<std::string>& lines);
  TacStringsProperty& CommonSectionsProperty() { return FCommonSectionsProperty; }
  int Saturation() const { return FSaturation; }
  void SetSaturation(int v);
  int HueOffset() const { return FHueOffset; }
  void SetHueOffset(int v);
  TsStoredSkins& InternalSkins() { return FInternalSkins; }
  TacMenuSupport& MenuSupport() { return FMenuSupport; }
  // The menu skinning object, or none when the forms did not fill its slot
  // before the manager was made.
  TacMenuSkinning* SkinableMenus() const { return FSkinableMenus.get(); }
  const std::string& SkinDirectory() const { return FSkinDirectory; }
  void SetSkinDirectory(const std::string& v);
  const std::string& SkinName() const { return FSkinName; }
  // Loads the named skin at once (also used to reload).
  void SetSkinName(const std::string& name);
  // The loaded skin's version ("7.2"), "N/A" without a skin; writing it
  // does nothing.
  std::string SkinInfo() const;
  void SetSkinInfo(const std::string&) {}
  TacSkinningRules SkinningRules() const { return FSkinningRules; }
  void SetSkinningRules(TacSkinningRules v) { FSkinningRules = v; }
  TacThirdPartyList& ThirdParty() { return FThirdParty; }
  static const char* Version() { return "7.33"; }

  fw::TNotifyEvent OnAfterChange;
  fw::TNotifyEvent OnBeforeChange;
  TacGetExtraLineData OnGetMenuExtraLineData;
  void SetOnAfterChange(fw::TNotifyEvent e) { OnAfterChange = std::move(e); }
  void SetOnBeforeChange(fw::TNotifyEvent e) { OnBeforeChange = std::move(e); }
  void SetOnGetMenuExtraLineData(TacGetExtraLineData e) { OnGetMenuExtraLineData = std::move(e); }

  // The extra line of the popup whose first item is given: the defaults,
  // changed by OnGetMenuExtraLineData when set; "&" is taken out of the
  // caption, and an invisible line keeps no glyph.
  TacExtraLineData MenuExtraLineData(fw::TComponent* firstItem) const;

  // The class names of one foreign control kind, as set up from ThirdParty.
  const std::vector<std::string>& ThirdPartyClasses(TacThirdPartyKind kind) const {
    return FThirdLists[static_cast<std::size_t>(kind)];
  }

  // Tells everything about the loaded skin.
  void ApplySkin(bool repaint);
  // Tells everything that the skin is gone, then empties the tables.
  void RemoveSkinFromAll();
  // Repaints everything with the current skin.
  void RefreshAll(bool animate);
  void Reapply(bool repaint) {
    if (FActive) ApplySkin(repaint);
  }
  // While suspended, a load does not tell anybody.
  void SuspendUpdates() { FNoAutoUpdate = true; }
  void ResumeUpdates(bool repaint, bool animate);
  bool UpdatesSuspended() const { return FNoAutoUpdate; }

  // The control under the mouse: the old one hears SKINCMD_MOUSE_LEAVE, the
  // new one SKINCMD_MOUSE_ENTER.
  void SetHotControl(HWND window);
  HWND HotControl() const { return FHotControl; }

  // Fills list with the stored skins' names and the skins of the resolved
  // directory (sorted) and returns the first name met, or "".
  std::string ListSkins(fw::TStrings& list, TacSkinListKind kind) const;

  // WM_COPYDATA of a skin previewer: a record with a skin name, directory and
  // options text that is applied at once. Answers 1 when handled.
  LRESULT HandlePreviewMessage(const COPYDATASTRUCT& data);

  // The extended borders take effect: asked for, and the platform has
  // UpdateLayeredWindow.
  bool ExtendedBordersEffective() const;
  // The shadow of forms with extended borders (rebuilt after every load,
  // empty without an active manager or effective extended borders): its
  // extent on each side and its pictures for active and inactive forms
  // (null while empty).
  const RECT& FormShadowSize() const { return FShadowTemplates.FormShadowSize(); }
  fw::TBitmap* ShadowActiveTemplate() const { return FShadowTemplates.Active(); }
  fw::TBitmap* ShadowInactiveTemplate() const { return FShadowTemplates.Inactive(); }

  bool LoadedFromPacked() const { return FLoadedFromPacked; }
  bool RemovingSkin() const { return FRemovingSkin; }
  TacShowState ShowState() const { return FShowState; }

  // Sends the skin message with command and argument (and this manager) to
  // the application's forms and all their child controls.
  void Broadcast(std::uint16_t command, std::int16_t argument = 0);

  void Loaded() override;

  // The box a failed load shows ("Error", error icon, OK); tests replace it.
  static std::function<void(const std::string&)> ShowLoadError;
  // The framework's plain message box (version notes); tests replace it.
  static std::function<void(const std::string&)> ShowPlainMessage;

 protected:
  void ConstIndexesUpdated() override;

 private:
  TsSkinLoadSettings LoadSettings();
  bool PackedFileExists(const TsSkinLoadSettings& settings) const;
  // A load from the packed file when it exists, else from the folder;
  // false when the folder load found nothing.
  bool LoadCurrent();
  void ReloadAndRefresh();
  void SetUpThirdPartyLists();
  void CheckVersion(const TsSkinData& data);
  void HookMainWindow();
  void UnhookMainWindow();
  bool MainWindowHook(fw::TMessage& m);
  // The skin-change animation: forms are frozen in their old look before
  // the change is announced and animated into the new one after it.
  bool SkinChangeAnimated() const;
  void PrepareSkinChange();
  // Animates the prepared (and, with animate, all shown skinned) forms into
  // the new look; without animate the prepared forms are only let go.
  void FinishSkinChange(bool animate);
  void Refresh(bool animate, bool prepare);

  TacSkinEffects FEffects{*this};
  bool FExtendedBorders = false;
  bool FSkinnedPopups = true;
  TacAnimEffects FAnimEffects;
  bool FActive = true;
  std::vector<std::string> FCommonSections;
  TacStringsProperty FCommonSectionsProperty{[this](const std::vector<std::string>& l) { SetCommonSections(l); }};
  int FSaturation = 0;
  int FHueOffset = 0;
  TsStoredSkins FInternalSkins;
  TacMenuSupport FMenuSupport;
  std::string FSkinDirectory;
  std::string FSkinName;
  TacSkinningRules FSkinningRules = srStdForms | srStdDialogs | srThirdParty;
  TacThirdPartyList FThirdParty;
  std::array<std::vector<std::string>, kThirdPartyKinds> FThirdLists;

  bool FLoadedFromPacked = false;
  bool FNoAutoUpdate = false;
  bool FRemovingSkin = false;
  bool FPreviewMode = false;
  std::string FPreviewText;
  bool FHasPreviewText = false;
  HWND FHotControl = nullptr;
  TacShowState FShowState = ssNone;
  int FMainWindowHook = -1;
  std::vector<fw::TCustomForm*> FPreparedForms;
  TsShadowTemplates FShadowTemplates;
  std::unique_ptr<TacMenuSkinning> FSkinableMenus;
};

// The default manager, or none.
extern TsSkinManager* DefaultManager;
// The platform reports the NT family (recorded when the engine starts).
extern bool IsNTPlatform;
// Forms with a form skinning component of their own; they answer the skinned
// query and hear each broadcast once, after the other forms.
std::vector<fw::TCustomForm*>& SkinnedForms();

// The skin engine's shutdown, after the last form: the default shadows and
// the program's icons are given back and the list of skinned forms emptied.
void ShutdownSkinEngine();

// Registers the manager and its setting groups with the layout reader.
void RegisterSkinManagerClasses();

}  // namespace translit
