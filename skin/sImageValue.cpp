// Parsing of image values.
#include "skin/sImageValue.h"

#include <algorithm>

#include "skin/acSkinPack.h"
#include "skin/sSkinNumbers.h"

namespace translit {

namespace {

// The substring of length len at the 1-based position pos, cut at the end of
// the text as the framework's Copy does.
std::string_view Copy(std::string_view s, std::size_t pos, std::size_t len) {
  if (pos < 1 || pos > s.size()) return {};
  return s.substr(pos - 1, len);
}

std::int32_t Fixed(std::string_view value, std::size_t pos, std::size_t len) { return StrToInt(Copy(value, pos, len)); }

std::int32_t Lenient(std::string_view word) { return StrToIntDef(word, 0); }

void ReadFixedRect(std::string_view value, TsMaskData& m) {
  m.SrcLeft = Fixed(value, 2, 4);
  m.SrcTop = Fixed(value, 7, 4);
  m.SrcRight = Fixed(value, 12, 4);
  m.SrcBottom = Fixed(value, 17, 4);
}

std::int16_t Low16(std::int32_t v) { return static_cast<std::int16_t>(v); }

// Whether the upper-case form of text holds word (given upper-case).
bool ContainsUpper(std::string_view text, std::string_view word) {
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < word.size()) {
      const char c = text[i + k];
      if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != word[k]) break;
      ++k;
    }
    if (k == word.size()) return true;
  }
  return false;
}

bool AllMarginsZero(const TsMaskData& m) {
  return m.MarginLeft == 0 && m.MarginTop == 0 && m.MarginRight == 0 && m.MarginBottom == 0;
}

}  // namespace

namespace {

// A plain loop: the sets are a character or three, and a search of the set
// for every character of every value cost more than the parsing.
bool IsDelimiter(char c, std::string_view delimiters) {
  for (char d : delimiters)
    if (c == d) return true;
  return false;
}

}  // namespace

std::string_view ExtractWord(std::size_t n, std::string_view text, std::string_view delimiters) {
  std::size_t i = 0, count = 0;
  while (i < text.size()) {
    while (i < text.size() && IsDelimiter(text[i], delimiters)) ++i;
    if (i >= text.size()) break;
    std::size_t start = i;
    while (i < text.size() && !IsDelimiter(text[i], delimiters)) ++i;
    if (++count == n) return text.substr(start, i - start);
  }
  return {};
}

std::size_t WordCount(std::string_view text, std::string_view delimiters) {
  std::size_t i = 0, count = 0;
  while (i < text.size()) {
    while (i < text.size() && IsDelimiter(text[i], delimiters)) ++i;
    if (i >= text.size()) break;
    ++count;
    while (i < text.size() && !IsDelimiter(text[i], delimiters)) ++i;
  }
  return count;
}

std::optional<TacImageValue> ParseImageValue(std::string_view section, std::string_view key, std::string_view value,
                                             bool commonOnly) {
  if (value.empty()) return std::nullopt;
  TacImageValue r{};
  TsMaskData& m = r.Mask;
  // The names are copied only for a value that is a piece: most values of
  // the options are not.
  auto name = [&] {
    m.Section = std::string(section);
    m.Prop = std::string(key);
  };
  const char first = value.front();

  if (!commonOnly && first == '!') {
    std::string_view file = ExtractWord(1, value, "!");
    if (file.find(".BMP") == std::string_view::npos && file.find(".PNG") == std::string_view::npos) return std::nullopt;
    r.Syntax = TacImageSyntax::OwnFile;
    name();
    r.FileName = std::string(file);
    std::size_t words = WordCount(value, "!");
    m.StateCount = Low16(Lenient(ExtractWord(2, value, "!")));
    m.ExtraLayers = Low16(Lenient(ExtractWord(3, value, "!")));
    // Formats run 0..4; a negative one has no meaning and reads as 0.
    m.Format = static_cast<std::uint8_t>(std::clamp(Lenient(ExtractWord(4, value, "!")), 0, 4));
    if (words < 5) {
      r.MarginsFromImage = true;
    } else {
      m.MarginLeft = Low16(Lenient(ExtractWord(5, value, "!")));
      m.MarginTop = Low16(Lenient(ExtractWord(6, value, "!")));
      m.MarginRight = Low16(Lenient(ExtractWord(7, value, "!")));
      m.MarginBottom = Low16(Lenient(ExtractWord(8, value, "!")));
    }
    m.FillMode = words < 9 ? 1 : Low16(Lenient(ExtractWord(9, value, "!")));
    return r;
  }
  if (!commonOnly && first == '@') {
    r.Syntax = TacImageSyntax::Master;
    name();
    ReadFixedRect(value, m);
    m.StateCount = Low16(Fixed(value, 22, 1));
    m.ExtraLayers = Low16(Fixed(value, 24, 1));
    m.Format = 2;
    return r;
  }
  if (!commonOnly && first == '^') {
    r.Syntax = TacImageSyntax::MasterMargins;
    name();
    ReadFixedRect(value, m);
    m.MarginLeft = Low16(Fixed(value, 22, 4));
    m.MarginTop = Low16(Fixed(value, 27, 4));
    m.MarginRight = Low16(Fixed(value, 32, 4));
    m.MarginBottom = Low16(Fixed(value, 37, 4));
    m.StateCount = Low16(Fixed(value, 42, 1));
    m.ExtraLayers = Low16(Fixed(value, 44, 1));
    m.FillMode = Low16(Fixed(value, 46, 1));
    m.UniformMargin = Low16(Fixed(value, 48, 1));
    m.Format = 0;
    if (AllMarginsZero(m)) ComputeMaskMargins(m);
    return r;
  }
  if (!commonOnly && first == '~') {
    r.Syntax = TacImageSyntax::MasterTexture;
    name();
    ReadFixedRect(value, m);
    m.FillMode = Low16(Fixed(value, 22, 2));
    m.ExtraLayers = value.size() >= 25 ? Low16(Fixed(value, 25, 1)) : 0;
    m.StateCount = 1;
    m.Format = 1;
    return r;
  }
  // The marker syntaxes are not read from common sections at all.
  if (first == '!' || first == '@' || first == '^' || first == '~') return std::nullopt;

  if (value.find('#') != std::string_view::npos) {
    if (value == "#") return std::nullopt;
    r.Syntax = TacImageSyntax::Rect;
    std::string_view rect = ExtractWord(2, value, " ()");
    std::string_view params = ExtractWord(3, value, " ()");
    m.SrcLeft = Lenient(ExtractWord(1, rect, " ,"));
    m.SrcTop = Lenient(ExtractWord(2, rect, " ,"));
    m.SrcRight = Lenient(ExtractWord(3, rect, " ,"));
    m.SrcBottom = Lenient(ExtractWord(4, rect, " ,"));
    std::size_t paramCount = WordCount(params, " ,");
    m.StateCount = Low16(std::max(Lenient(ExtractWord(1, params, " ,")), 1));
    m.ExtraLayers = Low16(std::max(Lenient(ExtractWord(2, params, " ,")), 0));
    m.UniformMargin = Low16(std::max(Lenient(ExtractWord(3, params, " ,")), 0));
    m.FillMode = paramCount < 4 ? 1 : Low16(Lenient(ExtractWord(4, params, " ,")));
    m.Format = 0;
    m.Section = UpperCase(section);
    m.Prop = UpperCase(key);
    ComputeMaskMargins(m);
    return r;
  }
  if (!ContainsUpper(value, ".BMP")) return std::nullopt;
  r.Syntax = TacImageSyntax::PlainFile;
  r.FileName = UpperCase(value);
  m.Section = UpperCase(section);
  m.Prop = UpperCase(key);
  m.StateCount = 3;
  m.ExtraLayers = 1;
  m.Format = 0;
  m.FillMode = 0;
  r.MarginsFromImage = true;
  return r;
}

void FinishOwnBitmapPiece(TacImageValue& piece, int imageWidth, int imageHeight) {
  TsMaskData& m = piece.Mask;
  m.SrcLeft = 0;
  m.SrcTop = 0;
  m.SrcRight = imageWidth;
  m.SrcBottom = imageHeight;
  if (piece.MarginsFromImage) ComputeMaskMargins(m);
}

}  // namespace translit
