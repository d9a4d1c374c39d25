// The skins the gallery offers, in the order its menus and skin buttons show
// them, and the folder it looks for them in.
#pragma once

#include <array>

namespace translit::gallery {

// The folder the renaming dialog's stored settings name (its Cyrillic
// names in code page 1251), so that the skins installed for the dialog serve
// the gallery too.
inline constexpr const char* kStoredSkinDirectory =
    "c:\\documents\\\xF0\xE0\xE7\xED\xEE\xE5\\kodlab\\\xEA\xEE\xEC\xEF\xEE\xED\xE5\xED\xF2\xFB"
    "\\SkinEngine.7.33.stable.full.source\\Skins\\";

struct TSkinChoice {
  const char* SkinName;  // empty: the platform's own look
  const char* Caption;   // with its menu accelerator
};

inline constexpr std::array<TSkinChoice, 3> kSkinChoices{{
    {"BlueIce", "&BlueIce"},
    {"Slate", "&Slate"},
    {"", "&No skin"},
}};

}  // namespace translit::gallery
