// Per-control skin data and its part of the skin message.
#include "controls/skindata/sCommonData.h"  // first: the platform headers rename RegisterClass for all that follows

#include <algorithm>
#include <cctype>

#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/Colors.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/StdCtrls.h"
#include "render/pixels/AlphaKernels.h"
#include "render/paint/sGraphUtils.h"
#include "skin/sEffectHooks.h"
#include "skin/sSkinManager.h"
#include "controls/protocol/sSkinState.h"

namespace translit {

namespace {

constexpr std::uint32_t kKeyColor = 0xFF00FF;

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

std::uint32_t Rgb(fw::TColor c) { return static_cast<std::uint32_t>(fw::ColorToRGB(c)); }

std::string UpperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// SKINCMD_PARENT_CHANGED with argument 1 (redraw now), to a control or, for
// an owner without one, to its window.
void SendParentChanged(fw::TControl* control, HWND window) {
  const WPARAM wParam = SkinWParam(SKINCMD_PARENT_CHANGED, 1);
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(control)) {
    if (!windowed->Destroying() && windowed->HandleAllocated()) ::SendMessageA(windowed->Handle(), SM_ALPHACMD, wParam, 0);
  } else if (control) {
    control->Perform(SM_ALPHACMD, wParam, 0);
  } else if (window) {
    ::SendMessageA(window, SM_ALPHACMD, wParam, 0);
  }
}

}  // namespace

const char* DefaultSectionOfKind(int k) {
  if (InRange(k, 2, 8) || k == 10 || k == 41 || k == 76 || k == 78 || InRange(k, 83, 85) || k == 96 || k == 131 ||
      k == 140 || k == 227)
    return "EDIT";
  if (InRange(k, 11, 18) || k == 81 || k == 82) return "COMBOBOX";
  switch (k) {
    case 19: return "BAR";
    case 20: return "BARTITLE";
    case 32: case 152: return "CHECKBOX";
    case 33: return "RADIOBUTTON";
    case 51: case 59: case 68: case 73: return "PANEL";
    case 52: case 58: return "PANEL_LOW";
    case 53: case 54: case 60: return "TOOLBAR";
    case 56: return "DRAGBAR";
    case 57: return "TABSHEET";
    case 74: case 226: return "GROUPBOX";
    case 75: return "SPLITTER";
    case 92: case 95: return "SPEEDBUTTON";
    case 93: case 94: return "BUTTON";
    case 98: return "TOOLBUTTON";
    case 141: case 143: return "PAGECONTROL";
    case 151: return "STATUSBAR";
    case 161: return "GAUGE";
    case 165: return "TRACKBAR";
    default: return "";
  }
}

bool IsEditKind(int k) {
  return InRange(k, 2, 18) || k == 41 || InRange(k, 76, 84) || k == 96 || InRange(k, 131, 140);
}

// Buttons run their own glow.
bool IsButtonKind(int k) { return InRange(k, 92, 94); }

bool IsContainerKind(int k) { return k == 19 || InRange(k, 51, 74) || k == 110 || InRange(k, 141, 161); }

bool IsNoGlowKind(int k) {
  switch (k) {
    case 51: case 52: case 54: case 56: case 57: case 58: case 59: case 60: case 68: case 73: case 74:
    case 110: case 141: case 143: case 151: case 161: case 226:
      return true;
    default:
      return false;
  }
}

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

std::uint32_t TsCommonData::OwnColor() const {
  if (OwnerControl) return Rgb(OwnerControl->Color());
  if (fw::TCustomForm* form = FindOwnerForm(OwnerObject)) return Rgb(form->Color());
  return Rgb(fw::clBtnFace);
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
      case 0: BgKind |= 2; break;
      case 1: BgKind |= 1; break;
      case 2: BgKind |= 3; break;
      default: break;
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
  if (OwnerControl && OwnerControl->Parent()) return SendSkinCommandTo(OwnerControl->Parent(), SKINCMD_IS_UPDATING) != 0;
  return false;
}

// ---- Looks ----

bool TsCommonData::NeedsOwnCache() const {
  return SkinChangeFreeze || !(StateFlags & sfPlainBackground) || IsHot();
}

bool TsCommonData::IsHot() const {
  if (!OwnerControl || OwnerControl->Destroying() || !OwnerControl->Enabled()) return false;
  if (Focused) return true;
  if (fw::TWinControl* w = OwnerWindowed())
    if (w->HandleAllocated() && ::GetFocus() == w->Handle()) return true;
  return MouseAbove && !IsContainerKind(ControlKind);
}

bool TsCommonData::NeedsParentBg() const {
  if (ParentBgForced || !Skinned() || !OwnerControl || !OwnerControl->Enabled()) return true;
  if (Section()->States[0].Transparency <= 0) return false;
  fw::TWinControl* parent = OwnerControl->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  return SendSkinCommand(parent->Handle(), SKINCMD_HAS_GRAPHIC_BG) != 0;
}

bool TsCommonData::HasGraphicBackground() const {
  const TsGeneralData* s = Section();
  if (!s) return false;
  TsSkinManager* manager = SkinManager();
  if (manager->IsValidMask(BorderIndex)) {
    if (manager->MaskMarginLeft(BorderIndex) + manager->MaskMarginRight(BorderIndex) > 20 ||
        manager->MaskMarginTop(BorderIndex) + manager->MaskMarginBottom(BorderIndex) > 20)
      return true;
  }
  const int t = s->States[0].Transparency;
  if (t == 100) {
    fw::TWinControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
    const bool parentPlain = parent && parent->HandleAllocated() &&
                             (SendSkinCommand(parent->Handle(), SKINCMD_GET_FLAGS) & sfPlainBackground);
    if (!parentPlain) return true;
  } else if (t != 0) {
    return true;
  }
  return s->States[0].ImagePercent != 0 || s->States[0].GradientPercent != 0;
}

void TsCommonData::UpdatePlainFlag(bool propagate) {
  if (OwnerControl) {
    if (HasGraphicBackground())
      StateFlags &= static_cast<std::uint16_t>(~sfPlainBackground);
    else
      StateFlags |= sfPlainBackground;
    if (propagate)
      if (fw::TWinControl* w = OwnerWindowed()) {
        fw::TMessage m{SM_ALPHACMD, SkinWParam(SKINCMD_GET_FLAGS), 1, 0};
        SendToChildControls(w, m);
      }
    return;
  }
  // A form frame component: the form's own background decides.
  fw::TCustomForm* form = FindOwnerForm(OwnerObject);
  if (form && form->FormStyle() != fw::fsMDIForm && !HasGraphicBackground())
    StateFlags |= sfPlainBackground;
  else
    StateFlags &= static_cast<std::uint16_t>(~sfPlainBackground);
}

void TsCommonData::SizeCache() {
  if (!CacheBmp) CacheBmp = NewBitmap32(0, 0);
  int w = 0, h = 0;
  if (OwnerControl) {
    w = OwnerControl->Width();
    h = OwnerControl->Height();
  } else if (fw::TCustomForm* form = FindOwnerForm(OwnerObject)) {
    w = form->Width();
    h = form->Height();
  }
  CacheBmp->SetSize(std::max(w, 0), std::max(h, 0));
}

int TsCommonData::MaxBorderMargin() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->IsValidMask(BorderIndex)) return 0;
  if (manager->Masks[static_cast<std::size_t>(BorderIndex)].FillMode & 2) return 0;
  return std::max({manager->MaskMarginLeft(BorderIndex), manager->MaskMarginTop(BorderIndex),
                   manager->MaskMarginRight(BorderIndex), manager->MaskMarginBottom(BorderIndex)});
}

// ---- Colours and backgrounds ----

std::uint32_t TsCommonData::ParentColor(HWND window, bool unconvertedOnKey) const {
  if (OwnerControl && OwnerControl->Parent()) {
    fw::TWinControl* parent = OwnerControl->Parent();
    std::uint32_t c = ControlColor(parent);
    if (c == kKeyColor && unconvertedOnKey) return static_cast<std::uint32_t>(parent->Color());
    return c;
  }
  if (!OwnerControl && window && ::GetParent(window)) return WindowColor(::GetParent(window));
  return Rgb(fw::clBtnFace);
}

std::uint32_t TsCommonData::BackgroundColor(int state, HWND window) const {
  if (!Skinned()) return OwnColor();
  const TsGeneralData* s = Section();
  const bool hot = state > 0 && s->StateCount > 1;
  const TsGenState& look = s->States[hot ? 1 : 0];
  const std::uint32_t k = static_cast<std::uint32_t>(SkinManager()->ColorToRGB(look.Color)) & 0xFFFFFF;
  const int t = look.Transparency;
  if (t <= 0) return FCustomColor ? OwnColor() : k;
  if (t >= 100) return ParentColor(window, false);
  if (!(OwnerControl && OwnerControl->Parent()) && !window) return Rgb(fw::clBtnFace);
  return BlendColor(ParentColor(window, false), k, t / 100.0) & 0xFFFFFF;
}

std::uint32_t TsCommonData::ColorForChildren(HWND window) const {
  if (!Skinned()) return OwnColor();
  const TsGeneralData* s = Section();
  const int t = s->States[0].Transparency;
  const std::uint32_t k = static_cast<std::uint32_t>(SkinManager()->ColorToRGB(s->States[0].Color)) & 0xFFFFFF;
  const bool hasParent = (OwnerControl && OwnerControl->Parent()) || (!OwnerControl && window && ::GetParent(window));
  if (t <= 0) return k;
  if (t >= 100) return hasParent ? ParentColor(window, true) : OwnColor();
  const std::uint32_t p = ParentWindow(window) ? ParentColor(window, false) : OwnColor();
  std::uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int pc = static_cast<int>((p >> shift) & 0xFF), kc = static_cast<int>((k >> shift) & 0xFF);
    const int c = (t * (pc - kc) + 100 * kc) / 100;
    result |= static_cast<std::uint32_t>(std::clamp(c, 0, 255)) << shift;
  }
  return result;
}

ParentCache TsCommonData::ParentCacheOf(HWND window) const {
  if (!Skinned() || (OwnerControl ? !OwnerControl->Parent() : !(window && ::GetParent(window)))) {
    ParentCache none = EmptyParentCache();
    none.FillColor = static_cast<fw::TColor>(BackgroundColor(0, window));
    return none;
  }
  BackgroundRequest request;
  if (OwnerControl) {
    request.Rect = RECT{0, 0, OwnerControl->Width(), OwnerControl->Height()};
    QueryParentBackground(request, static_cast<fw::TControl*>(OwnerControl->Parent()), false);
    ParentCache cache = RequestToParentCache(request);
    cache.X += OwnerControl->Left();
    cache.Y += OwnerControl->Top();
    return cache;
  }
  RECT r{};
  ::GetWindowRect(window, &r);
  HWND parent = ::GetParent(window);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  request.Rect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
  QueryParentBackground(request, parent, false);
  ParentCache cache = RequestToParentCache(request);
  cache.X += r.left;
  cache.Y += r.top;
  return cache;
}

void TsCommonData::AnswerBackgroundRequest(BackgroundRequest& request, int state, HWND window) {
  if (!Skinned() || FCustomColor) {
    request.Kind = bkColor;
    request.Color = static_cast<std::int32_t>(OwnColor());
    return;
  }
  const TsGenState& look = Section()->States[state == 0 ? 0 : 1];
  const int t = look.Transparency, g = look.GradientPercent, i = look.ImagePercent;
  TsSkinManager* manager = SkinManager();
  if (t == 100) {
    if ((StateFlags & sfPlainBackground) || !CacheBmp || BGChanged) {
      // The parent's background shows through: ask it, in its coordinates.
      POINT position{0, 0};
      bool answeredBitmap = false;
      if (OwnerControl && OwnerControl->Parent()) {
        position = POINT{OwnerControl->Left(), OwnerControl->Top()};
        request.OffsetX += position.x;
        request.OffsetY += position.y;
        QueryParentBackground(request, static_cast<fw::TControl*>(OwnerControl->Parent()), request.DrawNow != 0);
        answeredBitmap = request.Kind == bkBitmap;
      } else if (!OwnerControl && window && ::GetParent(window)) {
        RECT r{};
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&r), 1);
        position = POINT{r.left, r.top};
        request.OffsetX += position.x;
        request.OffsetY += position.y;
        QueryParentBackground(request, ::GetParent(window), request.DrawNow != 0);
        answeredBitmap = request.Kind == bkBitmap;
      } else {
        request.Kind = bkColor;
        request.Color = DefaultManager ? static_cast<std::int32_t>(DefaultManager->GlobalColor())
                                       : static_cast<std::int32_t>(Rgb(fw::clBtnFace));
      }
      if (answeredBitmap) {
        request.OffsetX += position.x;
        request.OffsetY += position.y;
      }
      return;
    }
  } else if (t > 0 && t < 100) {
    if (!CacheBmp) {
      request.Kind = bkColor;
      request.Color = static_cast<std::int32_t>(kKeyColor);
      return;
    }
  } else if (t == 0) {
    if (g <= 0 && i < 1) {
      request.Kind = bkColor;
      request.Bitmap = CacheBmp.get();
      request.Color = static_cast<std::int32_t>(BackgroundColor(state, window));
      if (request.DrawNow && request.DC) FillSolid(request.DC, request.Rect, request.Color);
      return;
    }
    request.Color = static_cast<std::int32_t>(manager->GlobalColor());
    if (!CacheBmp) {
      request.Kind = bkColor;
      request.Color = static_cast<std::int32_t>(kKeyColor);
      return;
    }
  }
  request.Kind = bkBitmap;
  if (request.DrawNow && request.DC) {
    const RECT& r = request.Rect;
    ::BitBlt(request.DC, r.left, r.top, r.right - r.left, r.bottom - r.top, CacheBmp->Canvas().Handle(),
             r.left + request.OffsetX, r.top + request.OffsetY, SRCCOPY);
    return;
  }
  request.Bitmap = CacheBmp.get();
  request.OffsetX = 0;
  request.OffsetY = 0;
}

namespace {

struct ChildClip {
  HWND parent;
  HDC dc;
  TsSkinManager* manager;
};

// Leaves child out of dc's clip region: a skinned group box only by its
// caption and border strips, any other visible child whole.
void ExcludeChild(HDC dc, HWND child, POINT origin, TsSkinManager* manager) {
  if (!::IsWindowVisible(child)) return;
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  ::OffsetRect(&r, origin.x, origin.y);
  const int groupBox = manager ? manager->SectionIndex("GROUPBOX") : -1;
  std::int32_t childIndex = -1;
  if (groupBox >= 0 && AnswersSkinMessages(child) &&
      SendSkinCommand(child, SKINCMD_GET_SKIN_INDEX, reinterpret_cast<LPARAM>(&childIndex)) == 1 &&
      childIndex == groupBox) {
    const int mask = manager->MaskIndex(groupBox, "GROUPBOX", "BORDERSMASK");
    const int left = manager->IsValidMask(mask) ? manager->MaskMarginLeft(mask) : 0;
    const int right = manager->IsValidMask(mask) ? manager->MaskMarginRight(mask) : 0;
    const int bottom = manager->IsValidMask(mask) ? manager->MaskMarginBottom(mask) : 0;
    const int top = std::max(static_cast<int>(SendSkinCommand(child, SKINCMD_GET_CAPTION_HEIGHT)),
                             manager->IsValidMask(mask) ? manager->MaskMarginTop(mask) : 0);
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.top + top);
    ::ExcludeClipRect(dc, r.left, r.top + top, r.left + left, r.bottom);
    ::ExcludeClipRect(dc, r.right - right, r.top + top, r.right, r.bottom);
    ::ExcludeClipRect(dc, r.left + left, r.bottom - bottom, r.right - right, r.bottom);
    return;
  }
  ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

void TsCommonData::CopyCacheToDC(HDC dc, const RECT& rect, bool clip, HWND window) const {
  if (!dc || !CacheBmp || CacheBmp->Width() == 0 || CacheBmp->Height() == 0) return;
  fw::SaveDCGuard saved(dc);
  if (clip) {
    HWND self = OwnerHandle(window);
    if (self) {
      // Child windows in this window's coordinates; the client area may be
      // inset in the cache by a frame.
      POINT origin{0, 0};
      if (!OwnerControl || dynamic_cast<fw::TCustomForm*>(OwnerControl)) {
        RECT client = ClientRectInWindow(self);
        origin = POINT{client.left, client.top};
      }
      for (HWND child = ::GetWindow(self, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ExcludeChild(dc, child, origin, SkinManager());
    }
  }
  ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, CacheBmp->Canvas().Handle(),
           rect.left, rect.top, SRCCOPY);
}

// ---- Hover glow ----

namespace {

// The part of a window that its ancestors' client areas leave visible, in
// screen coordinates.
RECT VisibleScreenRect(HWND window) {
  RECT visible;
  ::GetWindowRect(window, &visible);
  for (HWND parent = ::GetParent(window); parent && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
       window = parent, parent = ::GetParent(parent)) {
    RECT client;
    ::GetClientRect(parent, &client);
    ::MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (!::IntersectRect(&visible, &visible, &client)) return RECT{};
  }
  return visible;
}

}  // namespace

void TsCommonData::ShowHoverGlow(bool force, HWND window) {
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* section = Section();
  if (!manager || !section || !MouseAbove || section->Glow < 1 || !manager->Effects().AllowGlowing()) return;
  if (OwnerControl && (OwnerControl->ComponentState() & fw::csDesigning) && !OwnerControl->Visible()) return;
  if (GlowId >= 0) {
    if (!force) return;
    CloseGlow();
  }
  HWND self = OwnerHandle(window);
  if (!self) return;
  RECT control;
  ::GetWindowRect(self, &control);
  GlowId = ShowGlowThroughHook(control, VisibleScreenRect(self), FSkinSection, manager, ::GetAncestor(self, GA_ROOT),
                               section->GlowMargin, "GLOW");
}

void TsCommonData::CloseGlow() {
  if (GlowId < 0) return;
  HideGlowThroughHook(GlowId);
  GlowId = -1;
}

// ---- Messages ----

bool TsCommonData::HandleSkinMessage(fw::TMessage& m, HWND window) {
  const TacSkinMessage s = ReadSkinMessage(m);
  const bool fromMyManager = s.LParam == reinterpret_cast<LPARAM>(SkinManager());
  switch (s.Command) {
    case SKINCMD_NEW_SKIN:
      if (fromMyManager) {
        UpdateIndexes();
        UpdatePlainFlag(false);
      }
      return true;
    case SKINCMD_REMOVE_SKIN: {
      if (!fromMyManager && s.LParam != 0) return true;
      if (FSkinManager && FSkinManager->Destroying()) FSkinManager = nullptr;
      BorderIndex = SkinIndex = Texture = HotTexture = -1;
      Updating = true;
      if (CacheBmp) CacheBmp->SetSize(0, 0);
      if (fw::TWinControl* w = OwnerWindowed()) {
        for (int n = 0; n < w->ControlCount(); ++n)
          if (auto* label = dynamic_cast<fw::TLabel*>(w->Controls(n))) label->Font().SetColor(fw::clWindowText);
      }
      RequestRepaint();
      return true;
    }
    case SKINCMD_REFRESH:
      if (fromMyManager) {
        BGChanged = true;
        Updating = false;
        UpdateColors(false);
        UpdatePlainFlag(false);
        RequestRepaint();
      }
      return true;
    case SKINCMD_END_UPDATE_FRAME: {
      const bool was = Updating;
      Updating = false;
      if (HWND h = OwnerHandle(window); was && h) ::RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return true;
    }
    case SKINCMD_IS_SKINNED:
      m.Result = 1;
      return true;
    case SKINCMD_SET_UPDATING:
      Updating = s.Argument == 1;
      return true;
    case SKINCMD_IS_UPDATING:
      m.Result = (BGChanged || Updating) ? 1 : 0;
      return true;
    case SKINCMD_IS_PARTLY_OUTSIDE:
      m.Result = PartlyOutside ? 1 : 0;
      return true;
    case SKINCMD_BG_CHANGED:
      BGChanged = true;
      return true;
    case SKINCMD_SET_PARTLY_OUTSIDE:
      PartlyOutside = true;
      return true;
    case SKINCMD_HAS_GRAPHIC_BG: {
      const TsGeneralData* section = Section();
      if (!section) return false;
      HWND parent = ParentWindow(window);
      if (section->States[0].Transparency == 100 && parent) {
        m.Result = SendSkinCommand(parent, SKINCMD_HAS_GRAPHIC_BG) & 0x7F;
      } else {
        m.Result = (section->States[0].GradientPercent + section->States[0].ImagePercent > 0 || NeedsParentBg()) ? 1 : 0;
      }
      return true;
    }
    case SKINCMD_PARENT_CHANGED:
      if (NeedsParentBg()) {
        BGChanged = true;
        if (HWND h = OwnerHandle(window); s.Argument == 1 && h)
          ::RedrawWindow(h, nullptr, nullptr, RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_INVALIDATE);
        if (fw::TWinControl* w = OwnerWindowed()) SendToChildControls(w, m);
      }
      return true;
    case SKINCMD_GET_COLOR:
      m.Result = static_cast<LRESULT>(ColorForChildren(window));
      return true;
    case SKINCMD_GET_SKIN_INDEX:
      if (s.LParam) *reinterpret_cast<std::int32_t*>(s.LParam) = SkinIndex;
      m.Result = 1;
      return true;
    case SKINCMD_GET_BACKGROUND:
      if (s.LParam) AnswerBackgroundRequest(*reinterpret_cast<BackgroundRequest*>(s.LParam), 0, window);
      m.Result = 1;
      return true;
    case SKINCMD_GET_FLAGS:
      if (s.LParam == 1) {
        UpdatePlainFlag(true);
      } else {
        m.Result = StateFlags;
      }
      return true;
    case SKINCMD_SET_PAINTER:
      Painter = reinterpret_cast<void*>(s.LParam);
      if (Painter)
        StateFlags |= sfPainterSet;
      else
        StateFlags &= static_cast<std::uint16_t>(~sfPainterSet);
      m.Result = 1;
      return true;
    case SKINCMD_GET_APPLICATION:
      m.Result = reinterpret_cast<LRESULT>(fw::Application);
      return true;
    default:
      return false;
  }
}

bool TsCommonData::CommonMessage(fw::TMessage& m, HWND window) {
  const bool designing = OwnerObject && (OwnerObject->ComponentState() & fw::csDesigning);
  switch (m.Msg) {
    case SM_ALPHACMD:
      return HandleSkinMessage(m, window);
    case WM_MOVE:
      CloseGlow();
      if (NeedsParentBg()) {
        BGChanged = true;
        SendParentChanged(OwnerControl, OwnerHandle(window));
      }
      return false;
    case WM_SIZE:
      CloseGlow();
      if (Skinned()) {
        BGChanged = true;
        if (Section()->States[0].GradientPercent > 0)
          if (fw::TWinControl* w = OwnerWindowed())
            for (int n = 0; n < w->ControlCount(); ++n) {
              fw::TControl* child = w->Controls(n);
              if (!child->Destroying()) SendParentChanged(child, nullptr);
            }
      }
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      fw::TWinControl* w = OwnerWindowed();
      if (!w || !w->CanFocus()) return false;
      BGChanged = true;
      Focused = m.Msg == WM_SETFOCUS;
      if (Skinned() && IsEditKind(ControlKind) && Section()->StateCount > 1 && w->HandleAllocated())
        ::RedrawWindow(w->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return false;
    }
    case WM_FONTCHANGE:
    case fw::CM_ENABLEDCHANGED:
      MouseAbove = false;
      Focused = false;
      if (OwnerControl && !OwnerControl->Enabled()) CloseGlow();
      return false;
    case WM_UPDATEUISTATE:
      if (!Skinned()) return false;
      m.Result = 1;
      return true;
    case WM_PARENTNOTIFY:
      if (LOWORD(m.WParam) == WM_CREATE && OwnerControl)
        if (fw::TCustomForm* form = FindOwnerForm(OwnerControl); form && form->HandleAllocated())
          SendSkinCommand(form->Handle(), SKINCMD_ADAPT_CONTROL, reinterpret_cast<LPARAM>(OwnerControl));
      return false;
    case fw::CM_VISIBLECHANGED:
      if (CacheBmp) {
        if (m.WParam != 0) {
          Updating = false;
          BGChanged = true;
        } else {
          CacheBmp->SetSize(0, 0);
        }
      }
      return false;
    case fw::CM_MOUSEENTER:
      if (designing) return false;
      if (Skinned()) {
        if (!IsContainerKind(ControlKind)) MouseAbove = true;
        if (DefaultManager) DefaultManager->SetHotControl(OwnerHandle(window));
        if (!IsNoGlowKind(ControlKind) && !IsButtonKind(ControlKind)) ShowHoverGlow(false, window);
        if (IsEditKind(ControlKind) && Section()->StateCount > 1) {
          BGChanged = true;
          if (HWND h = OwnerHandle(window)) ::SendMessageA(h, WM_NCPAINT, 0, 0);
        }
      } else {
        MouseAbove = true;
      }
      return false;
    case fw::CM_MOUSELEAVE:
      if (designing) return false;
      if (Skinned()) {
        MouseAbove = false;
        if (!IsNoGlowKind(ControlKind) && !IsButtonKind(ControlKind)) {
          ClearGlowsThroughHook(true);
          GlowId = -1;
        }
        if (IsEditKind(ControlKind) && OwnerControl && OwnerControl->Visible()) {
          BGChanged = true;
          if (HWND h = OwnerHandle(window)) ::SendMessageA(h, WM_NCPAINT, 0, 0);
        }
      }
      return false;
    case fw::CM_SHOWINGCHANGED:
      if (OwnerControl && OwnerControl->Visible()) SkinChanged();
      return false;
    default:
      return false;
  }
}

// ---- Registration ----

void RegisterCommonDataClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::RegisterClass<TsCommonData>("TsCommonData", "", false)
      .String("SkinSection", &TsCommonData::SetSkinSection)
      .Bool("CustomFont", &TsCommonData::SetCustomFont, false)
      .Bool("CustomColor", &TsCommonData::SetCustomColor, false)
      .Custom("SkinManager", [](TsCommonData& data, const fw::StoredValue& v, fw::TLoadContext& ctx) {
        if (v.kind != fw::StoredValue::kIdent) throw fw::EPropertyError("Invalid property value");
        // The manager may be stored after the control: resolve once all exist.
        std::string name = v.text;
        fw::TCustomForm* root = ctx.root;
        ctx.fixups.push_back([&data, name, root] {
          auto* manager = root ? dynamic_cast<TsSkinManager*>(root->FindComponent(name)) : nullptr;
          if (manager) data.SetSkinManager(manager);
        });
      });
  fw::RegisterClass<TsCtrlSkinData>("TsCtrlSkinData", "TsCommonData", false)
      .Custom("HUEOffset", [](TsCtrlSkinData& d, const fw::StoredValue& v,
                              fw::TLoadContext&) { d.SetHUEOffset(static_cast<int>(fw::StoredInteger(v))); }, "0")
      .Custom("Saturation", [](TsCtrlSkinData& d, const fw::StoredValue& v,
                               fw::TLoadContext&) { d.SetSaturation(static_cast<int>(fw::StoredInteger(v))); }, "0");
}

}  // namespace translit
