// The options reader.
#include "skin/acIniFile.h"

#include "framework/core/Classes.h"
#include "skin/sSkinNumbers.h"

namespace translit {

namespace {

std::string_view Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

void TacIniFile::SetText(std::string_view text) {
  Clear();
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string_view line = Trim(text.substr(pos, end - pos));
    // CR LF, LF and CR all end a line.
    pos = end + 1;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      FSections.push_back(Section{std::string(Trim(line.substr(1, line.size() - 2))), {}});
      current = &FSections.back();
      FIndex.emplace(current->Name, FSections.size() - 1);
      continue;
    }
    if (!current) continue;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      current->Keys.push_back(Key{std::string(line), {}});
    } else {
      current->Keys.push_back(Key{std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
    }
  }
}

void TacIniFile::LoadFromFile(const std::string& fileName) {
  fw::TMemoryStream data;
  data.LoadFromFile(fileName);
  SetText(std::string_view(reinterpret_cast<const char*>(data.Memory()), static_cast<std::size_t>(data.Size())));
}

const TacIniFile::Section* TacIniFile::FindSection(std::string_view name) const {
  auto it = FIndex.find(name);
  return it == FIndex.end() ? nullptr : &FSections[it->second];
}

const std::string* TacIniFile::FindValue(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  for (const Key& k : s->Keys)
    if (k.Name == key) return &k.Value;
  return nullptr;
}

bool TacIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindValue(section, key) != nullptr;
}

std::string TacIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const std::string* v = FindValue(section, key);
  return v ? *v : std::string(def);
}

std::int32_t TacIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
  const std::string* v = FindValue(section, key);
  return v ? StrToIntDef(*v, def) : def;
}

}  // namespace translit
