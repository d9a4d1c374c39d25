// The options reader: an INI text held in memory (the "Options.dat" of a skin,
// the options entry of a packed skin, a preview text or the manager's common
// sections). Nothing is ever written back to a file.
//
// Rules: every line is trimmed of blanks; empty lines and lines beginning with
// ';' are ignored; "[name]" starts a section (name trimmed); other lines split
// at the first '=' into key and value, both trimmed; a line without '=' is a
// key with no value; lines before the first section are ignored. Section and
// key names match case-sensitively; the first section or key of a name wins.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace translit {

class TacIniFile {
 public:
  struct Key {
    std::string Name;
    std::string Value;
  };
  struct Section {
    std::string Name;
    std::vector<Key> Keys;  // in file order
  };

  TacIniFile() = default;
  // The name the object answers to; never opened or written.
  explicit TacIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

  const std::string& FileName() const { return FFileName; }
  // Replaces the whole content by the given text.
  void SetText(std::string_view text);
  // Replaces the content by the file's bytes (fw::EFOpenError when the file
  // cannot be opened).
  void LoadFromFile(const std::string& fileName);
  void Clear() {
    FSections.clear();
    FIndex.clear();
  }

  // Sections in file order, duplicates included.
  const std::vector<Section>& Sections() const { return FSections; }
  const Section* FindSection(std::string_view name) const;
  bool SectionExists(std::string_view name) const { return FindSection(name) != nullptr; }
  bool ValueExists(std::string_view section, std::string_view key) const;

  // The value, or def when the section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // The integer reader: "0x"/"0X" hexadecimal allowed; def for a missing key
  // and for a value that is not an integer.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;

 private:
  const std::string* FindValue(std::string_view section, std::string_view key) const;

  std::string FFileName;
  std::vector<Section> FSections;
  // The first section of each name, for the inherited reads that look up
  // sections many times per key.
  std::map<std::string, std::size_t, std::less<>> FIndex;
};

}  // namespace translit
