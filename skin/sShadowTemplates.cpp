// Form shadow templates and the engine's default shadows.
#include "skin/sShadowTemplates.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "render/bitmaps/acPNG.h"

namespace translit {

namespace {

std::unique_ptr<fw::TBitmap>& DefaultActive() {
  static std::unique_ptr<fw::TBitmap> bitmap;
  return bitmap;
}

std::unique_ptr<fw::TBitmap>& DefaultInactive() {
  static std::unique_ptr<fw::TBitmap> bitmap;
  return bitmap;
}

std::unique_ptr<fw::TBitmap> DecodeResource(HINSTANCE instance, const char* name) {
  // Looked up first: a program built without the generated pictures has no
  // such resource, which is no error.
  if (!::FindResourceA(instance, name, MAKEINTRESOURCEA(10))) return nullptr;
  auto picture = std::make_unique<TPNGGraphic>();
  try {
    picture->LoadFromResourceName(instance, name);
  } catch (const std::exception&) {
    // A shadow that does not decode is no reason to stop the program.
    return nullptr;
  }
  if (picture->Width() <= 0 || picture->Height() <= 0) return nullptr;
  auto bitmap = std::make_unique<fw::TBitmap>();
  bitmap->Assign(*picture);
  bitmap->SetPixelFormat(fw::pf32bit);
  return bitmap;
}

// A 32-bit copy of part of source, cut to the source; null when nothing of
// the part lies inside it.
std::unique_ptr<fw::TBitmap> CopyPart(fw::TBitmap& source, RECT part) {
  fw::TBitmap converted;
  fw::TBitmap* from = &source;
  if (source.PixelFormat() != fw::pf32bit) {
    converted.Assign(source);
    converted.SetPixelFormat(fw::pf32bit);
    from = &converted;
  }
  const PixelView src = from->View();
  part.left = std::max<LONG>(part.left, 0);
  part.top = std::max<LONG>(part.top, 0);
  part.right = std::min<LONG>(part.right, src.width);
  part.bottom = std::min<LONG>(part.bottom, src.height);
  if (src.Empty() || part.right <= part.left || part.bottom <= part.top) return nullptr;
  const int w = part.right - part.left, h = part.bottom - part.top;
  auto copy = std::make_unique<fw::TBitmap>(w, h, fw::pf32bit);
  const PixelView dst = copy->View();
  for (int y = 0; y < h; ++y)
    std::memcpy(dst.Row(y), src.Row(part.top + y) + part.left, static_cast<std::size_t>(w) * 4);
  ClearTransparentWhite(dst);
  return copy;
}

std::unique_ptr<fw::TBitmap> CopyWhole(fw::TBitmap* source) {
  if (!source) return nullptr;
  return CopyPart(*source, RECT{0, 0, source->Width(), source->Height()});
}

}  // namespace

void LoadDefaultShadows(HINSTANCE instance) {
  DefaultActive() = DecodeResource(instance, "ACSHDA");
  DefaultInactive() = DecodeResource(instance, "ACSHDI");
}

void FreeDefaultShadows() {
  DefaultActive().reset();
  DefaultInactive().reset();
}

fw::TBitmap* DefaultShadowActive() { return DefaultActive().get(); }
fw::TBitmap* DefaultShadowInactive() { return DefaultInactive().get(); }

void TsShadowTemplates::Clear() {
  FSize = RECT{};
  FActive.reset();
  FInactive.reset();
}

void TsShadowTemplates::Rebuild(TsSkinTables& skin, bool enabled, bool composition) {
  Clear();
  if (!enabled) return;
  const int exBorder = skin.ConstIndexes.ExBorder;
  if (skin.IsValidMask(exBorder) && FromSkinPiece(skin, exBorder)) return;
  FromDefaults(composition);
}

bool TsShadowTemplates::FromSkinPiece(TsSkinTables& skin, int maskIndex) {
  const TsMaskData& piece = skin.Masks[static_cast<std::size_t>(maskIndex)];
  fw::TBitmap* image = piece.OwnBitmap ? piece.OwnBitmap.get() : skin.MasterBitmap.get();
  const int stateWidth = skin.MaskStateWidth(maskIndex);
  const int stateHeight = skin.MaskStateHeight(maskIndex);
  if (!image || stateWidth <= 0 || stateHeight <= 0) return false;
  auto state = [&](int index) {
    const LONG left = piece.SrcLeft + index * stateWidth;
    return CopyPart(*image, RECT{left, piece.SrcTop, left + stateWidth, piece.SrcTop + stateHeight});
  };
  FInactive = state(0);
  if (!FInactive) return false;
  FActive = state(piece.StateCount > 1 ? 1 : 0);
  // A second state cut off by the image's edge shows the first one.
  if (!FActive) FActive = state(0);

  const TsSkinData& info = *skin.GlobalInfo;
  const LONG offset = info.FormOffset;
  if (info.BorderMode != 0) {
    FSize = RECT{offset, offset, offset, offset};
  } else {
    FSize = RECT{skin.MaskMarginLeft(maskIndex) - offset, skin.MaskMarginTop(maskIndex) - offset,
                 skin.MaskMarginRight(maskIndex) - offset, skin.MaskMarginBottom(maskIndex) - offset};
  }
  return true;
}

void TsShadowTemplates::FromDefaults(bool composition) {
  const LONG extra = composition ? 1 : 0;
  FSize = RECT{kDefaultShadowSides.left + extra, kDefaultShadowSides.top + extra, kDefaultShadowSides.right + extra,
               kDefaultShadowSides.bottom + extra};
  FActive = CopyWhole(DefaultShadowActive());
  FInactive = CopyWhole(DefaultShadowInactive());
}

}  // namespace translit
