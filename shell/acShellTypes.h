// The shell browser's plain types: root names and their special-folder
// numbers, object-type and attribute sets, and the string rules of names and
// root paths. Portable: the Windows layer maps these to the shell's calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace translit {

// A small set over an enumeration of at most 32 values, bit n for value n.
template <typename E>
class TacSet {
 public:
  constexpr TacSet() = default;
  constexpr TacSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  static constexpr TacSet FromBits(std::uint32_t bits) {
    TacSet s;
    s.FBits = bits;
    return s;
  }
  constexpr bool Contains(E v) const { return (FBits >> static_cast<unsigned>(v)) & 1u; }
  constexpr void Include(E v) { FBits |= 1u << static_cast<unsigned>(v); }
  constexpr void Exclude(E v) { FBits &= ~(1u << static_cast<unsigned>(v)); }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr std::uint32_t Bits() const { return FBits; }
  friend constexpr bool operator==(TacSet a, TacSet b) { return a.FBits == b.FBits; }

 private:
  std::uint32_t FBits = 0;
};

enum TacRootFolder {
  rfDesktop,
  rfMyComputer,
  rfNetwork,
  rfRecycleBin,
  rfAppData,
  rfCommonDesktopDirectory,
  rfCommonPrograms,
  rfCommonStartMenu,
  rfCommonStartup,
  rfControlPanel,
  rfDesktopDirectory,
  rfFavorites,
  rfFonts,
  rfInternet,
  rfPersonal,
  rfPrinters,
  rfPrintHood,
  rfPrograms,
  rfRecent,
  rfSendTo,
  rfStartMenu,
  rfStartup,
  rfTemplates,
};
constexpr int RootFolderCount = rfTemplates + 1;

// A root is a root folder's name or a folder path.
using TacRoot = std::string;

enum TacShellObjectType { otFolders, otNonFolders, otHidden };
using TacShellObjectTypes = TacSet<TacShellObjectType>;

enum TacShowExtension { seSystem, seShow, seHide };

// What may be done with an item, bit n answering the shell attribute
// ItemCapabilityAttributes[n].
enum TacItemCapability { icCanCopy, icCanDelete, icCanLink, icCanMove, icCanRename, icDropTarget, icHasPropSheet };
using TacItemCapabilities = TacSet<TacItemCapability>;

// What an item is; the first four come from one attribute query, the last
// four from a second one (ItemPropertyAttributes).
enum TacItemProperty {
  ipGhosted,
  ipLink,
  ipReadOnly,
  ipShared,
  ipFileSystem,
  ipFileSystemAncestor,
  ipRemovable,
  ipValidate,
};
using TacItemProperties = TacSet<TacItemProperty>;

// Special-folder numbers (CSIDL) of the root folders, by position.
constexpr int RootFolderCsidl[RootFolderCount] = {0,  17, 18, 10, 26, 25, 23, 22, 24, 3, 16, 6,
                                                  20, 1,  5,  4,  27, 2,  8,  9,  11, 7, 21};

// The shell attribute bits behind the capability and property sets, with the
// request masks they are asked for with.
constexpr std::uint32_t ItemCapabilityMask = 0x177;
constexpr std::uint32_t ItemCapabilityAttributes[7] = {0x1, 0x20, 0x4, 0x2, 0x10, 0x100, 0x40};
constexpr std::uint32_t ItemPropertyMask = 0xF0000;
constexpr std::uint32_t ItemPropertyAttributes[8] = {0x80000,    0x10000,    0x40000,   0x20000,
                                                     0x40000000, 0x10000000, 0x2000000, 0x1000000};

// The shell's enumeration flags of an object-type set (folders 32, non-folders
// 64, hidden 128).
constexpr std::uint32_t ShellEnumFlags(TacShellObjectTypes types) { return (types.Bits() & 7u) * 32u; }

// The set whose bit n is set when attributes hold table[n].
template <typename Set, std::size_t N>
constexpr Set AttributesToSet(std::uint32_t attributes, const std::uint32_t (&table)[N], std::size_t first = 0,
                              std::size_t count = N) {
  std::uint32_t bits = 0;
  for (std::size_t i = first; i < first + count && i < N; ++i)
    if (attributes & table[i]) bits |= 1u << i;
  return Set::FromBits(bits);
}

const char* RootFolderName(TacRootFolder root);
// The root folder of exactly that name ("rfMyComputer"), if any.
std::optional<TacRootFolder> RootFolderByName(std::string_view name);

// A root path made to end in "\": a final "/" becomes "\", a drive letter
// alone gets ":\", anything else gets "\" unless it has one ("." becomes
// ".\", not a drive). Empty stays empty.
std::string NormalizeRootPath(std::string path);

// The extension of a name, from its last "." after the last "\" or ":"
// (".txt"), or empty.
std::string ExtractFileExt(std::string_view name);

// Shell names of the form "?1?2..." carry "?" markers that are not part of
// the name: they are all removed when the text starts with "?" and a digit.
std::string StripNameMarkers(std::string text);

}  // namespace translit
