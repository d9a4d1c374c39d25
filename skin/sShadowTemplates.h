// The shadow that forms with extended borders cast around them: how far it
// reaches on each side (FormShadowSize) and one picture of it for active and
// one for inactive forms. The skin manager rebuilds them after every load,
// from the skin's "EXBORDER" piece or, when the skin has none, from the
// engine's two default shadows, which the program carries as PNG resources
// ("acSHDA" for active forms, "acSHDI" for inactive ones, skin/acShadows.rc)
// and which are decoded once when the engine starts.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Graphics.h"
#include "skin/sSkinTables.h"

namespace translit {

// Decodes the resources "acSHDA" and "acSHDI" of the module. A module
// without them (or with pictures that do not decode) leaves that default
// empty: forms then get no shadow from it, and nothing else changes.
// Repeated calls decode again.
void LoadDefaultShadows(HINSTANCE instance);
// Frees both defaults (at the end of the program).
void FreeDefaultShadows();
// The decoded defaults; null when not loaded or missing.
fw::TBitmap* DefaultShadowActive();
fw::TBitmap* DefaultShadowInactive();

// How far the default shadows reach beyond a form, left, top, right and
// bottom, when desktop composition is off; one more on each side when on.
constexpr RECT kDefaultShadowSides{11, 10, 11, 12};

class TsShadowTemplates {
 public:
  // Empty unless enabled (an active manager whose extended borders take
  // effect). Else, from the "EXBORDER" piece of "GLOBALINFO" when the skin
  // has one: sides are the skin's FormOffset when its BorderMode is not 0,
  // else each of the piece's margins less FormOffset; the inactive picture
  // is the piece's first state, the active one its second (the first again
  // for a piece of one state). Without such a piece (or when its first
  // state lies outside its image), the default shadows with
  // kDefaultShadowSides, each one more with composition on. White pixels of
  // alpha 0 become 0 in both pictures.
  void Rebuild(TsSkinTables& skin, bool enabled, bool composition);
  void Clear();

  const RECT& FormShadowSize() const { return FSize; }
  // Null while empty.
  fw::TBitmap* Active() const { return FActive.get(); }
  fw::TBitmap* Inactive() const { return FInactive.get(); }

 private:
  bool FromSkinPiece(TsSkinTables& skin, int maskIndex);
  void FromDefaults(bool composition);

  RECT FSize{};
  std::unique_ptr<fw::TBitmap> FActive, FInactive;
};

}  // namespace translit
