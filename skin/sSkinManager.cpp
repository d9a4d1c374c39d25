// The skin manager.
#include "skin/sSkinManager.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "controls/protocol/sMessages.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "framework/Dialogs.h"
#include "framework/Handles.h"
#include "render/bitmaps/acPNG.h"
#include "skin/sEffectHooks.h"
#include "skin/sLayeredSupport.h"
#include "skin/sPreviewRecord.h"
#include "skin/sProgramIcons.h"
#include "skin/sSkinDirs.h"
#include "controls/protocol/sSkinState.h"
#include "framework/core/FlagScope.h"

namespace translit {

TsSkinManager* DefaultManager = nullptr;

namespace {

bool PlatformIsNT() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  return ::GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

bool IsNTPlatform = PlatformIsNT();

std::vector<fw::TCustomForm*>& SkinnedForms() {
  static std::vector<fw::TCustomForm*> forms;
  return forms;
}

namespace {

const char* const kNewerSkin =
    "This version of the skin have not complete support by used skin engine package release.\r\n"
    "Components must be updated up to latest version for using this skin.";

std::string OlderSkinText(const std::string& name) {
  return "You are using an old version of the \"" + name +
         "\" skin. Please, update a skins to latest or link with the skin engine support for upgrading of existing "
         "skin.\r\n\r\nThis notification occurs in design-time only for your information and will not occur in "
         "real-time.";
}

// One of the program's arguments, lower-cased, equals what.
bool HasArgument(const char* what) {
  for (int i = 1; i < __argc; ++i) {
    std::string a = __argv[i];
    for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (a == what) return true;
  }
  return false;
}

bool FileExists(const std::string& path) {
  DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The application's forms, last to first, as the broadcast visits them.
template <typename Visit>
void ForEachApplicationForm(Visit visit) {
  if (!fw::Application) return;
  for (int i = fw::Application->ComponentCount() - 1; i >= 0; --i) {
    if (i >= fw::Application->ComponentCount()) break;
    if (auto* form = dynamic_cast<fw::TCustomForm*>(fw::Application->Components(i))) visit(form);
  }
}

bool Contains(const std::vector<fw::TCustomForm*>& forms, const fw::TCustomForm* form) {
  return std::find(forms.begin(), forms.end(), form) != forms.end();
}

// The forms the skin-change animation runs on: those with a skinning
// component of their own, while they are shown.
std::vector<fw::TCustomForm*> AnimatedForms() {
  std::vector<fw::TCustomForm*> forms;
  for (fw::TCustomForm* form : SkinnedForms())
    if (!form->Destroying() && form->HandleAllocated() && form->Visible()) forms.push_back(form);
  return forms;
}

// A form drawn translucent is a layered window with a constant alpha.
int FormBlendValue(fw::TCustomForm* form) {
  HWND wnd = form->Handle();
  BYTE alpha = 255;
  DWORD flags = 0;
  if ((::GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) &&
      ::GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
    return alpha;
  return 255;
}

// A string of a fixed-size field, up to its first zero byte.
// A text field of a fixed size: up to its first zero byte, or all of it.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  const auto* end = static_cast<const char*>(std::memchr(field, 0, N));
  return std::string(field, end ? static_cast<std::size_t>(end - field) : N);
}

}  // namespace

std::function<void(const std::string&)> TsSkinManager::ShowLoadError = [](const std::string& message) {
  ::MessageBoxA(fw::Application ? fw::Application->Handle() : nullptr, message.c_str(), "Error", MB_ICONERROR | MB_OK);
};

std::function<void(const std::string&)> TsSkinManager::ShowPlainMessage = [](const std::string& message) {
  fw::ShowMessage(message);
};

TsSkinManager::TsSkinManager(fw::TComponent* owner) : fw::TComponent(owner), TsSkinTables(WindowsSystemValues()) {
  // Once per run, when the engine first comes into use.
  static const bool started = [] {
    IsNTPlatform = PlatformIsNT();
    // Skin images and the program's pictures come as PNG.
    RegisterPngGraphic();
    LoadDefaultShadows(::GetModuleHandleA(nullptr));
    // For the form frames, which show them in their title bars.
    LoadProgramIcons();
    if (HasArgument("/acver")) ShowPlainMessage(std::string("Skin engine v") + Version());
    return true;
  }();
  (void)started;
  if (!DefaultManager) {
    DefaultManager = this;
    HookMainWindow();
  }
  SetUpThirdPartyLists();
  FSkinDirectory = "c:\\Skins";
  if (MenuHooks().Create) FSkinableMenus = MenuHooks().Create(*this);
}

TsSkinManager::~TsSkinManager() {
  SetActive(false);
  FSkinableMenus.reset();
  FExtendedBorders = false;
  FShadowTemplates.Clear();
  if (DefaultManager == this) {
    UnhookMainWindow();
    DefaultManager = nullptr;
  }
  for (int k = 0; k < kThirdPartyKinds; ++k) {
    std::string text;
    for (const std::string& line : FThirdLists[static_cast<std::size_t>(k)])
      text += (text.empty() ? "" : "\r\n") + line;
    FThirdParty.Texts[static_cast<std::size_t>(k)] = text;
  }
}

void ShutdownSkinEngine() {
  FreeDefaultShadows();
  FreeProgramIcons();
  SkinnedForms().clear();
}

void TsSkinManager::SetSkinnedPopups(bool v) {
  if (v == FSkinnedPopups) return;
  FSkinnedPopups = v;
  if (FSkinableMenus && IsDefault() && FActive && GlobalInfo->Loaded) FSkinableMenus->SetActive(true);
}

bool TsSkinManager::IsDefault() const { return DefaultManager == this; }

void TsSkinManager::SetIsDefault(bool v) {
  if (!v && DefaultManager) return;
  if (DefaultManager != this) {
    if (DefaultManager) DefaultManager->UnhookMainWindow();
    DefaultManager = this;
    HookMainWindow();
  }
  if (FActive) {
    ApplySkin(true);
  } else {
    RemoveSkinFromAll();
  }
}

void TsSkinManager::SetActive(bool v) {
  if (v == FActive) return;
  FActive = v;
  if (!v) FShadowTemplates.Clear();
  if (v) {
    SetSkinName(FSkinName);
  } else if (!Loading()) {
    RemoveSkinFromAll();
    UpdateConstIndexes();
  }
}

void TsSkinManager::SetSkinDirectory(const std::string& v) {
  FSkinDirectory = v;
  GlobalInfo->SkinFolder = ResolveSkinDirectory(v, ProgramFolder());
}

std::string TsSkinManager::SkinInfo() const {
  if (Sections.empty()) return "N/A";
  char text[32];
  std::snprintf(text, sizeof(text), "%g", GlobalInfo->Version);
  // The version reads with a point whatever the user's decimal separator.
  for (char* c = text; *c; ++c)
    if (*c == ',') *c = '.';
  return text;
}

TsSkinLoadSettings TsSkinManager::LoadSettings() {
  TsSkinLoadSettings s;
  s.SkinDirectory = FSkinDirectory;
  s.SkinName = FSkinName;
  s.HueOffset = FHueOffset;
  s.Saturation = FSaturation;
  for (const std::string& line : FCommonSections) s.CommonSections += line + "\r\n";
  s.StoredSkins = &FInternalSkins;
  s.PreviewText = FHasPreviewText ? &FPreviewText : nullptr;
  s.OnVersionCheck = [this](const TsSkinData& data) { CheckVersion(data); };
  return s;
}

bool TsSkinManager::PackedFileExists(const TsSkinLoadSettings& settings) const {
  const bool file = FileExists(PackedSkinFileName(settings));
  if (FPreviewMode) return file && !FolderExists(SkinFolderName(settings));
  return file;
}

bool TsSkinManager::LoadCurrent() {
  TsSkinLoadSettings settings = LoadSettings();
  if (PackedFileExists(settings)) {
    LoadSkinFromPacked(*this, settings);
    FLoadedFromPacked = true;
  } else {
    bool fromPacked = false;
    if (LoadSkinFromFolder(*this, settings, fromPacked) == TsLoadOutcome::NotFound) return false;
    FLoadedFromPacked = fromPacked;
  }
  // A stored skin may stand in for a name found nowhere.
  FSkinName = settings.SkinName;
  return true;
}

void TsSkinManager::CheckVersion(const TsSkinData& data) {
  if (data.Version > 7.99) {
    ShowPlainMessage(kNewerSkin);
  } else if (data.Version < 7 && HasArgument("/actest")) {
    ShowPlainMessage(OlderSkinText(FSkinName));
  }
}

void TsSkinManager::SetSkinName(const std::string& name) {
  const std::string old = FSkinName;
  FSkinName = name;
  if (!FActive) return;
  if (OnBeforeChange) OnBeforeChange(this);
  if (FExtendedBorders && LayeredWindowsAvailable() && !FNoAutoUpdate) PrepareSkinChange();
  {
    // Only the reading: the announcement after it repaints everything,
    // which painting that stands still for the load would not do.
    fw::FlagScope loading(SkinLoadInProgress);
    GlobalInfo->Loaded = false;
    try {
      if (!LoadCurrent()) FActive = false;
    } catch (const std::exception& e) {
      // The change goes on with whatever the failed load left.
      FSkinName = old;
      ShowLoadError(e.what());
    }
  }
  if (!FActive) {
    RemoveSkinFromAll();
    // Nothing of the old skin may still be pointed at.
    UpdateConstIndexes();
  } else if (!FNoAutoUpdate) {
    ApplySkin(true);
  }
  // Forms frozen for an animation that the change did not reach (the skin
  // went away, or updates are suspended) are let go here.
  if (!FPreparedForms.empty()) FinishSkinChange(false);
  if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::ReloadAndRefresh() {
  {
    fw::FlagScope loading(SkinLoadInProgress);
    try {
      LoadCurrent();
    } catch (const std::exception& e) {
      ShowLoadError(e.what());
    }
  }
  if (!FNoAutoUpdate) RefreshAll(true);
}

void TsSkinManager::SetHueOffset(int v) {
  if (v == FHueOffset) return;
  FHueOffset = v;
  if (FActive && !Loading()) ReloadAndRefresh();
}

void TsSkinManager::SetSaturation(int v) {
  if (v == FSaturation) return;
  FSaturation = v;
  if (FActive && !Loading()) ReloadAndRefresh();
}

void TsSkinManager::SetExtendedBorders(bool v) {
  if (v == FExtendedBorders) return;
  FExtendedBorders = v;
  ConstIndexesUpdated();
  if (GlobalInfo->Loaded && !Loading()) ReloadAndRefresh();
}

bool TsSkinManager::ExtendedBordersEffective() const { return FExtendedBorders && LayeredWindowsAvailable(); }

void TsSkinManager::ConstIndexesUpdated() {
  FShadowTemplates.Rebuild(*this, FActive && ExtendedBordersEffective(), DwmCompositionEnabled());
}

void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) {
  FCommonSections.clear();
  for (std::string line : lines) {
    if (line.empty() || line[0] != ';') line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
    FCommonSections.push_back(std::move(line));
  }
  // While the layout is read the name may not be there yet (it is stored
  // after this list); its own setter loads the skin with these sections.
  if (FActive && !Loading()) SetSkinName(FSkinName);
}

void TsSkinManager::ApplySkin(bool repaint) {
  if (Loading()) return;
  ClearGlowsThroughHook(true);
  if (repaint) PrepareSkinChange();
  if (FSkinableMenus) FSkinableMenus->SkinChanged();
  GlobalInfo->Loaded = false;
  UpdateConstIndexes();
  Broadcast(SKINCMD_NEW_SKIN);
  GlobalInfo->Loaded = true;
  if (FSkinableMenus && IsDefault()) FSkinableMenus->SetActive(true);
  if (repaint) Refresh(true, false);
}

void TsSkinManager::RemoveSkinFromAll() {
  {
    fw::FlagScope removing(FRemovingSkin);
    ClearGlowsThroughHook(true);
    GlobalInfo->Loaded = false;
    if (FSkinableMenus && IsDefault()) FSkinableMenus->SetActive(false);
    Broadcast(SKINCMD_REMOVE_SKIN);
    ClearSkin();
  }
}

void TsSkinManager::RefreshAll(bool animate) { Refresh(animate, true); }

void TsSkinManager::Refresh(bool animate, bool prepare) {
  Broadcast(SKINCMD_STOP_ANIMATION);
  const bool animated = animate && !Loading();
  if (animated && prepare) PrepareSkinChange();
  Broadcast(SKINCMD_REFRESH);
  if (!animated) return;
  FinishSkinChange(true);
  // The other forms are redrawn whole once everything has heard the refresh.
  ForEachApplicationForm([](fw::TCustomForm* form) {
    if (!Contains(SkinnedForms(), form) && form->HandleAllocated() && ::IsWindowVisible(form->Handle()))
      ::RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
}

bool TsSkinManager::SkinChangeAnimated() const {
  return FAnimEffects.SkinChanging.Active && EffectHooks().PrepareSkinChange && EffectHooks().AnimateSkinChange &&
         !(ComponentState() & fw::csDesigning);
}

void TsSkinManager::PrepareSkinChange() {
  if (!SkinChangeAnimated()) return;
  for (fw::TCustomForm* form : AnimatedForms()) {
    if (Contains(FPreparedForms, form)) continue;
    FPreparedForms.push_back(form);
    EffectHooks().PrepareSkinChange(form);
  }
}

void TsSkinManager::FinishSkinChange(bool animate) {
  std::vector<fw::TCustomForm*> forms = std::exchange(FPreparedForms, {});
  const bool animated = animate && SkinChangeAnimated();
  if (animated)
    for (fw::TCustomForm* form : AnimatedForms())
      if (!Contains(forms, form)) forms.push_back(form);
  const auto& animateForm = EffectHooks().AnimateSkinChange;
  if (!animateForm) return;
  for (fw::TCustomForm* form : forms) {
    // A form freed meanwhile has left the list of skinned forms.
    if (!Contains(SkinnedForms(), form) || form->Destroying() || !form->HandleAllocated()) continue;
    if (form->Visible()) ::SendMessageA(form->Handle(), WM_SETREDRAW, TRUE, 0);
    // A form prepared for an animation that is now off is only let go.
    const TacFormAnimation& settings = FAnimEffects.SkinChanging;
    if (animated)
      animateForm(form, settings.Time, FormBlendValue(form), settings.Mode);
    else
      animateForm(form, 0, 255, settings.Mode);
  }
}

void TsSkinManager::ResumeUpdates(bool repaint, bool animate) {
  FNoAutoUpdate = false;
  if (animate) {
    Reapply(repaint);
    return;
  }
  const bool was = FAnimEffects.SkinChanging.Active;
  FAnimEffects.SkinChanging.Active = false;
  Reapply(repaint);
  FAnimEffects.SkinChanging.Active = was;
}

void TsSkinManager::Broadcast(std::uint16_t command, std::int16_t argument) {
  fw::TMessage m{SM_ALPHACMD, SkinWParam(command, argument), reinterpret_cast<LPARAM>(this), 0};
  auto tell = [&m](fw::TCustomForm* form) {
    if (form->HandleAllocated()) ::SendMessageA(form->Handle(), m.Msg, m.WParam, m.LParam);
    SendToChildControls(form, m);
  };
  ForEachApplicationForm([&](fw::TCustomForm* form) {
    if (form->Destroying() || form->Loading()) return;
    // Forms with a skinning component of their own hear it below.
    if (form->HandleAllocated() && AnswersSkinMessages(form->Handle())) return;
    tell(form);
  });
  for (fw::TCustomForm* form : std::vector<fw::TCustomForm*>(SkinnedForms()))
    if (!form->Destroying()) tell(form);
}

void TsSkinManager::SetHotControl(HWND window) {
  if (window == FHotControl) return;
  HWND old = FHotControl;
  FHotControl = window;
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  if (old && ::IsWindow(old)) SendSkinCommand(old, SKINCMD_MOUSE_LEAVE, self);
  if (window && ::IsWindow(window)) SendSkinCommand(window, SKINCMD_MOUSE_ENTER, self);
}

std::string TsSkinManager::ListSkins(fw::TStrings& list, TacSkinListKind kind) const {
  list.Clear();
  std::vector<std::string> names;
  std::string first;
  for (int i = 0; i < FInternalSkins.Count(); ++i) {
    names.push_back(FInternalSkins.Items(i).Name);
    if (first.empty() && i == 0) first = FInternalSkins.Items(i).Name;
  }
  std::string dir = ResolveSkinDirectory(FSkinDirectory, ProgramFolder());
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  WIN32_FIND_DATAA entry;
  fw::FindHandle find(::FindFirstFileA((dir + "*").c_str(), &entry));
  if (find.Valid()) {
    do {
      const std::string name = entry.cFileName;
      if (name.empty() || name[0] == '.') continue;
      std::string listed;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (kind != slPacked && FileExists(dir + name + "\\Options.dat")) listed = name;
      } else if (kind != slFolders) {
        const std::size_t dot = name.rfind('.');
        if (dot != std::string::npos && name.compare(dot, std::string::npos, ".asz") == 0)
          listed = name.substr(0, name.find('.'));
      }
      if (listed.empty()) continue;
      names.push_back(listed);
      if (first.empty()) first = listed;
    } while (::FindNextFileA(find.Get(), &entry));
  }
  std::sort(names.begin(), names.end());
  for (std::string& n : names) list.Add(std::move(n));
  return first;
}

TacExtraLineData TsSkinManager::MenuExtraLineData(fw::TComponent* firstItem) const {
  TacExtraLineData data;
  if (OnGetMenuExtraLineData)
    OnGetMenuExtraLineData(firstItem, data.SkinSection, data.Caption, data.Glyph, data.LineVisible);
  data.Caption.erase(std::remove(data.Caption.begin(), data.Caption.end(), '&'), data.Caption.end());
  if (!data.LineVisible) data.Glyph = nullptr;
  return data;
}

LRESULT TsSkinManager::HandlePreviewMessage(const COPYDATASTRUCT& data) {
  // A record shorter than its layout is not read at all.
  if (data.dwData != TacPreviewRecord::kKind || !data.lpData || data.cbData < sizeof(TacPreviewRecord)) return 0;
  const auto& record = *static_cast<const TacPreviewRecord*>(data.lpData);
  const std::uint32_t marker = record.Marker[0] | record.Marker[1] << 8 | record.Marker[2] << 16 |
                               static_cast<std::uint32_t>(record.Marker[3]) << 24;
  if (marker != TacPreviewRecord::kMarker) return 0;
  FPreviewMode = true;
  SuspendUpdates();
  FPreviewText = FieldText(record.Options);
  FHasPreviewText = true;
  SetSkinDirectory(FieldText(record.SkinDirectory));
  SetSkinName(FieldText(record.SkinName));
  ResumeUpdates(true, false);
  FHasPreviewText = false;
  FPreviewText.clear();
  return 1;
}

void TsSkinManager::SetUpThirdPartyLists() {
  for (int k = 0; k < kThirdPartyKinds; ++k) {
    std::string& text = FThirdParty.Texts[static_cast<std::size_t>(k)];
    if (text.empty()) text = TacThirdPartyList::DefaultText(k);
    fw::TStrings lines;
    lines.SetText(text);
    auto& list = FThirdLists[static_cast<std::size_t>(k)];
    list.clear();
    for (int i = 0; i < lines.Count(); ++i) list.push_back(lines[i]);
  }
}

void TsSkinManager::Loaded() {
  fw::TComponent::Loaded();
  if (FSkinDirectory.empty()) FSkinDirectory = "c:\\Skins";
  if (FMenuSupport.IcoLineSkin.empty()) FMenuSupport.IcoLineSkin = "ICOLINE";
  SetUpThirdPartyLists();
  if (FActive && !FSkinName.empty()) ApplySkin(false);
}

void TsSkinManager::HookMainWindow() {
  if (FMainWindowHook >= 0 || !fw::Application || !IsNTPlatform) return;
  FMainWindowHook = fw::Application->HookMainWindow([this](fw::TMessage& m) { return MainWindowHook(m); });
}

void TsSkinManager::UnhookMainWindow() {
  if (FMainWindowHook < 0 || !fw::Application) return;
  fw::Application->UnhookMainWindow(FMainWindowHook);
  FMainWindowHook = -1;
}

bool TsSkinManager::MainWindowHook(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_DRAWMENUBORDER:
    case WM_DRAWMENUBORDER2:
      return FSkinnedPopups && FSkinableMenus && FSkinableMenus->ManagerMessage(m);
    case WM_THEMECHANGED:
      m.Result = 1;
      return true;
    case WM_SYSCOMMAND:
      if (GlobalInfo->Loaded) {
        const WPARAM command = m.WParam & 0xFFF0;
        FShowState = command == SC_MINIMIZE ? ssMinimizing : command == SC_RESTORE ? ssRestoring : ssNone;
      }
      return false;
    case fw::CM_ACTIVATE:
      ForEachApplicationForm([](fw::TCustomForm* form) {
        if (form->HandleAllocated()) SendSkinCommand(form->Handle(), SKINCMD_UPDATE_FRAME);
      });
      return false;
    default:
      return false;
  }
}

}  // namespace translit
