// Packed skin files (".asz"): the options text and every image of a skin in
// one file, each entry compressed with zlib. Layout, integers 32-bit
// little-endian signed:
//   "ASzf", N, then N entries of { L, L bytes of name, S, zlib stream that
//   inflates to S bytes }; the next entry starts right after each stream.
// The entry named "Options.dat" (compared upper-case) is the options text;
// the others are images. Files are untrusted: every count, length and size is
// checked against the bytes that are really there before anything is
// allocated, and a damaged file fails with a load error, never more.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Classes.h"

namespace translit {

// One image entry of a packed skin.
struct TacImageItem {
  std::string FileName;                     // as stored in the file
  bool IsBitmap = false;                    // upper-cased extension is ".BMP"
  std::shared_ptr<fw::TMemoryStream> Data;  // decompressed bytes
};
using TacImageItems = std::vector<TacImageItem>;

// A packed skin in memory.
class TacSkinConvertor {
 public:
  // Parses a whole packed file. Throws fw::Exception "Loaded data is not a
  // packed skin file" without the magic, with a negative count or length,
  // an entry larger than 256 MB or entries larger than MaxTotalSize
  // together; fw::EReadError "Stream read error" for data that ends early;
  // and EZDecompressionError with zlib's message for a damaged stream.
  void LoadFromBytes(const std::uint8_t* data, std::size_t size);
  void LoadFromStream(fw::TStream& source);
  void LoadFromFile(const std::string& fileName);

  // The most bytes all entries of one file may inflate to together; a file
  // asking for more is not a packed skin file (checked before inflating).
  static constexpr std::int64_t kMaxTotalSize = 256ll * 1024 * 1024;
  std::int64_t MaxTotalSize = kMaxTotalSize;

  // Number of image entries the loader searches: N - 1 (the options entry is
  // counted in N).
  int ImageCount = 0;
  TacImageItems Files;
  std::shared_ptr<fw::TMemoryStream> Options;  // none when the file has no options entry

  // The image entry whose upper-cased name equals name (compared as given),
  // searching the first ImageCount entries; nullptr when there is none.
  const TacImageItem* FindImage(std::string_view name) const;
  std::string OptionsText() const;
};

// zlib reported an error for an entry; the message is zlib's for the code.
class EZDecompressionError : public fw::Exception {
 public:
  using fw::Exception::Exception;
};

// One entry to write.
struct TacPackEntry {
  std::string Name;
  std::vector<std::uint8_t> Data;
};

// Writes a packed skin: the entries in the given order, each compressed at
// the best level. The caller includes exactly one "Options.dat" entry.
std::vector<std::uint8_t> WritePackedSkin(const std::vector<TacPackEntry>& entries);

// The upper-case form of ASCII letters, other bytes unchanged (names in the
// skin are compared this way).
std::string UpperCase(std::string_view s);

}  // namespace translit
