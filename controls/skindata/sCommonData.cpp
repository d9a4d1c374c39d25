// Per-control skin data: its lifetime and owner, the published properties,
// the section and indexes resolved from the skin manager, and the nesting of
// updates. The looks, colours, backgrounds, the skin message and the layout
// registration each have a file of their own (sCommonData*.cpp).
#include "controls/skindata/sCommonData.h"  // first: the platform headers rename RegisterClass for all that follows

#include <cctype>

#include "controls/protocol/sVclUtils.h"
#include "framework/Forms.h"
#include "render/pixels/AlphaKernels.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

std::string UpperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

// The stored manager's removal broadcast comes before the manager counts as
// being destroyed, and a manager without a skin broadcasts nothing; only the
// free notification tells for certain that the pointer is about to dangle.
class TsCommonData::ManagerWatch : public fw::TComponent {
 public:
  explicit ManagerWatch(TsCommonData& data) : fw::TComponent(nullptr), FData(data) {}
  void Notification(fw::TComponent* component, bool removing) override {
    if (removing && component == FData.FSkinManager) FData.FSkinManager = nullptr;
  }

 private:
  TsCommonData& FData;
};

TsCommonData::TsCommonData(fw::TComponent* owner, bool createCache, int controlKind)
    : OwnerControl(dynamic_cast<fw::TControl*>(owner)), OwnerObject(owner), ControlKind(controlKind) {
  if (createCache) CacheBmp = NewBitmap32(0, 0);
}

TsCommonData::~TsCommonData() {
  CloseGlow();
  BorderIndex = SkinIndex = Texture = HotTexture = -1;
  OwnerControl = nullptr;
  OwnerObject = nullptr;
  CacheBmp.reset();
}

// ---- Owner helpers ----

bool TsCommonData::OwnerGone() const { return !OwnerObject || OwnerObject->Destroying(); }

fw::TWinControl* TsCommonData::OwnerWindowed() const { return dynamic_cast<fw::TWinControl*>(OwnerControl); }

HWND TsCommonData::OwnerHandle(HWND window) const {
  if (window) return window;
  fw::TWinControl* w = OwnerWindowed();
  return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

HWND TsCommonData::ParentWindow(HWND window) const {
  if (OwnerControl) {
    fw::TWinControl* parent = OwnerControl->Parent();
    return parent && parent->HandleAllocated() ? parent->Handle() : nullptr;
  }
  return window ? ::GetParent(window) : nullptr;
}

void TsCommonData::TellOwner(std::uint16_t command, LPARAM lParam) {
  if (OwnerControl) {
    SendSkinCommandTo(OwnerControl, command, lParam);
  } else if (fw::TCustomForm* form = FindOwnerForm(OwnerObject)) {
    if (form->HandleAllocated()) SendSkinCommand(form->Handle(), command, lParam);
  }
}

// ---- Published properties ----

TsSkinManager* TsCommonData::SkinManager() const { return FSkinManager ? FSkinManager : DefaultManager; }

void TsCommonData::SetSkinSection(const std::string& value) {
  if (value == FSkinSection) return;
  FSkinSection = value.empty() ? "UNKNOWN" : UpperAscii(value);
  TsSkinManager* manager = SkinManager();
  if (!manager || manager->Sections.empty())
    SkinIndex = -1;
  else
    UpdateIndexes();
  AfterManagerOrSectionChange(true);
}

void TsCommonData::SetSkinManager(TsSkinManager* manager) {
  if (manager == DefaultManager) manager = nullptr;
  if (manager == FSkinManager) return;
  FSkinManager = manager;
  if (manager) {
    if (!FManagerWatch) FManagerWatch = std::make_unique<ManagerWatch>(*this);
    FManagerWatch->FreeNotification(manager);
  }
  if (OwnerObject && OwnerObject->Loading()) return;
  TsSkinManager* current = SkinManager();
  if (current && !current->Sections.empty())
    UpdateIndexes();
  else
    SkinIndex = -1;
  AfterManagerOrSectionChange(false);
}

void TsCommonData::AfterManagerOrSectionChange(bool sectionSetter) {
  if (!OwnerControl) {
    if (sectionSetter) BGChanged = true;
    return;
  }
  const fw::TComponentState state = OwnerControl->ComponentState();
  if ((state & (fw::csLoading | fw::csReading | fw::csDestroying)) || !OwnerControl->Parent()) return;
  const LPARAM manager = reinterpret_cast<LPARAM>(SkinManager());
  SendSkinCommandTo(OwnerControl, SkinIndex >= 0 ? SKINCMD_REFRESH : SKINCMD_REMOVE_SKIN, manager);
  CloseGlow();
}

void TsCommonData::SetCustomColor(bool v) {
  if (v == FCustomColor) return;
  FCustomColor = v;
  if (!OwnerObject || !OwnerObject->Loading()) UpdateColors(true);
}

void TsCommonData::SetCustomFont(bool v) {
  if (v == FCustomFont) return;
  FCustomFont = v;
  if (!OwnerObject || !OwnerObject->Loading()) UpdateColors(true);
}

void TsCommonData::SetHUEOffset(int v) {
  if (v == FHUEOffset) return;
  FHUEOffset = v;
  SkinChanged();
  RequestRepaint();
}

void TsCommonData::SetSaturation(int v) {
  if (v == FSaturation) return;
  FSaturation = v;
  SkinChanged();
  RequestRepaint();
}

// ---- Resolution ----

bool TsCommonData::Skinned(bool needLoaded) const {
  if (FSkinSection.empty() || OwnerGone()) return false;
  TsSkinManager* manager = SkinManager();
  if (!manager || manager->Destroying() || !manager->IsValidSection(SkinIndex)) return false;
  return !needLoaded || (manager->GlobalInfo && manager->GlobalInfo->Loaded);
}

const TsGeneralData* TsCommonData::Section() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->IsValidSection(SkinIndex)) return nullptr;
  return &manager->Sections[static_cast<std::size_t>(SkinIndex)];
}

void TsCommonData::RecomputeBgKind() {
  BgKind = 0;
  const TsGeneralData* s = Section();
  if (!s) return;
  if (s->ImagePercent != 0) BgKind |= bgTexture;
  if (s->GradientPercent != 0 && !s->GradientArray.empty()) {
    switch (s->GradientArray.front().Mode) {
      case 0:
        BgKind |= 2;
        break;
      case 1:
        BgKind |= 1;
        break;
      case 2:
        BgKind |= 3;
        break;
      default:
        break;
    }
  }
}

void TsCommonData::UpdateIndexes() {
  BGChanged = true;
  TsSkinManager* manager = SkinManager();
  SkinIndex = manager && manager->Active() ? manager->SectionIndex(FSkinSection) : -1;
  RecomputeBgKind();
  StateFlags = 0;
  if (manager && manager->IsValidSection(SkinIndex)) {
    BorderIndex = manager->Sections[static_cast<std::size_t>(SkinIndex)].BorderIndex;
    Texture = manager->TextureIndex(SkinIndex, FSkinSection, "PATTERN");
    HotTexture = manager->TextureIndex(SkinIndex, FSkinSection, "HOTPATTERN");
    UpdatePlainFlag(false);
  } else {
    Texture = HotTexture = -1;
  }
}

void TsCommonData::ChooseSection() {
  if (!FSkinSection.empty()) {
    UpdateIndexes();
    return;
  }
  std::string section = DefaultSectionOfKind(ControlKind);
  if (section.empty() && OwnerObject) section = OwnerObject->ClassName();
  // Through the setter so that the owner hears of the new look.
  SetSkinSection(section);
}

void TsCommonData::SkinChanged() {
  ChooseSection();
  if (!Skinned() || !OwnerControl || !OwnerControl->Parent() || OwnerControl->Loading()) return;
  if (fw::TWinControl* windowed = OwnerWindowed()) {
    fw::TCustomForm* form = FindOwnerForm(windowed);
    if (form && form != windowed && form->HandleAllocated())
      SendSkinCommand(form->Handle(), SKINCMD_ADAPT_CONTROL, reinterpret_cast<LPARAM>(windowed));
  }
  UpdateColors(false);
}

void TsCommonData::UpdateColors(bool repaint) {
  if (!OwnerControl || !IsEditKind(ControlKind) || !Skinned()) return;
  const TsGeneralData* s = Section();
  TsSkinManager* manager = SkinManager();
  auto adjust = [&](TColorValue c) {
    std::uint32_t rgb = static_cast<std::uint32_t>(manager->ColorToRGB(c)) & 0xFFFFFF;
    if (FHUEOffset != 0) rgb = ShiftHueRGB(rgb, FHUEOffset);
    if (FSaturation != 0) rgb = ScaleSaturation(rgb, FSaturation);
    return static_cast<fw::TColor>(rgb & 0xFFFFFF);
  };
  if (!FCustomColor) {
    fw::TColor c = adjust(s->States[0].Color);
    if (OwnerControl->Color() != c) OwnerControl->SetColor(c);
  }
  if (!FCustomFont) {
    fw::TColor c = adjust(s->States[0].FontColor);
    if (OwnerControl->Font().Color() != c) OwnerControl->Font().SetColor(c);
  }
  if (repaint) RequestRepaint();
}

void TsCommonData::RequestRepaint() {
  BGChanged = true;
  if (!OwnerControl || OwnerControl->Loading() || OwnerControl->Destroying()) return;
  if (fw::TWinControl* w = OwnerWindowed()) {
    if (w->HandleAllocated())
      ::RedrawWindow(w->Handle(), nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  } else if (OwnerControl->Visible()) {
    OwnerControl->Invalidate();
  }
}

// ---- Updates ----

void TsCommonData::StartUpdate() {
  ++UpdateCount;
  Updating = true;
  StateFlags |= sfUpdating;
  TellOwner(SKINCMD_UPDATE_STARTED, 0);
}

void TsCommonData::FinishUpdate(bool repaint) {
  --UpdateCount;
  Updating = false;
  StateFlags &= static_cast<std::uint16_t>(~sfUpdating);
  if (UpdateCount > 0) return;
  TellOwner(SKINCMD_UPDATE_ENDED, 0);
  if (repaint) RequestRepaint();
}

bool TsCommonData::IsUpdating() const {
  if (!SkinManager() || (OwnerObject && (OwnerObject->ComponentState() & fw::csDesigning))) return false;
  if (!NeedsOwnCache()) return Updating;
  if (Updating) return true;
  if (OwnerControl && OwnerControl->Parent())
    return SendSkinCommandTo(OwnerControl->Parent(), SKINCMD_IS_UPDATING) != 0;
  return false;
}

}  // namespace translit
