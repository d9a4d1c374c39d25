// A recursive-descent reader of stored layouts in their text form.
#include "framework/core/LayoutParser.h"

#include <cctype>
#include <cstdlib>

namespace fw {
namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

class Parser {
 public:
  explicit Parser(std::string_view text) : FText(text) {}

  StoredObject Root() {
    SkipSpace();
    StoredObject o = Object();
    SkipSpace();
    if (!AtEnd()) Fail("text after the last \"end\"");
    return o;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw ELayoutError("Stored layout, line " + std::to_string(FLine) + ": " + what);
  }
  bool AtEnd() const { return FPos >= FText.size(); }
  char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }

  void SkipSpace() {
    while (!AtEnd()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPos;
      } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (!AtEnd() && FText[FPos] != '\n') ++FPos;
      } else {
        break;
      }
    }
  }

  std::string Ident() {
    SkipSpace();
    if (!IsIdentStart(Peek())) Fail("identifier expected");
    std::size_t start = FPos;
    while (!AtEnd() && IsIdentChar(FText[FPos])) ++FPos;
    return std::string(FText.substr(start, FPos - start));
  }

  bool TryKeyword(std::string_view word) {
    SkipSpace();
    if (FText.substr(FPos, word.size()).size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(FText[FPos + i])) != word[i]) return false;
    std::size_t after = FPos + word.size();
    if (after < FText.size() && IsIdentChar(FText[after])) return false;
    FPos = after;
    return true;
  }

  void Expect(char c) {
    SkipSpace();
    if (Peek() != c) Fail(std::string("\"") + c + "\" expected");
    ++FPos;
  }

  // Nesting is capped so that damaged text cannot exhaust the stack.
  struct DepthGuard {
    Parser& p;
    explicit DepthGuard(Parser& parser) : p(parser) {
      if (++p.FDepth > 64) p.Fail("nesting too deep");
    }
    ~DepthGuard() { --p.FDepth; }
  };

  StoredObject Object() {
    DepthGuard depth(*this);
    StoredObject o;
    if (TryKeyword("inherited"))
      o.inherited = true;
    else if (!TryKeyword("object"))
      Fail("\"object\" expected");
    std::string first = Ident();
    SkipSpace();
    if (Peek() == ':') {
      ++FPos;
      o.name = first;
      o.className = Ident();
    } else {
      o.className = first;
    }
    for (;;) {
      SkipSpace();
      if (AtEnd()) Fail("\"end\" expected");
      if (TryKeyword("end")) return o;
      std::size_t save = FPos;
      int saveLine = FLine;
      if (TryKeyword("object") || TryKeyword("inherited")) {
        FPos = save;
        FLine = saveLine;
        if (o.children.size() > 100000) Fail("too many objects");
        o.children.push_back(Object());
        continue;
      }
      o.properties.push_back(Property());
    }
  }

  StoredProperty Property() {
    StoredProperty p;
    p.line = FLine;
    p.name = Ident();
    Expect('=');
    p.value = Value();
    return p;
  }

  // Quoted runs and #nnn characters: adjacent ones form one string, and "+"
  // joins strings across lines.
  std::string StringValue() {
    std::string out;
    for (;;) {
      SkipSpace();
      char c = Peek();
      if (c == '\'') {
        ++FPos;
        for (;;) {
          if (AtEnd() || FText[FPos] == '\n') Fail("unterminated string");
          if (FText[FPos] == '\'') {
            if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
              out += '\'';
              FPos += 2;
              continue;
            }
            ++FPos;
            break;
          }
          out += FText[FPos++];
        }
      } else if (c == '#') {
        ++FPos;
        std::size_t start = FPos;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
        if (start == FPos || FPos - start > 7) Fail("character code expected after \"#\"");
        unsigned long cp = std::strtoul(std::string(FText.substr(start, FPos - start)).c_str(), nullptr, 10);
        if (cp > 0x10FFFF) Fail("character code out of range");
        AppendUtf8(out, static_cast<std::uint32_t>(cp));
      } else {
        Fail("string expected");
      }
      if (Peek() == '\'' || Peek() == '#') continue;
      std::size_t save = FPos;
      int saveLine = FLine;
      SkipSpace();
      if (Peek() == '+') {
        ++FPos;
        continue;
      }
      FPos = save;
      FLine = saveLine;
      return out;
    }
  }

  StoredValue Value() {
    DepthGuard depth(*this);
    SkipSpace();
    StoredValue v;
    char c = Peek();
    if (c == '\'' || c == '#') {
      v.kind = StoredValue::kString;
      v.text = StringValue();
    } else if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c)) || c == '$') {
      Number(v);
    } else if (c == '[') {
      ++FPos;
      v.kind = StoredValue::kSet;
      SkipSpace();
      if (Peek() != ']') {
        for (;;) {
          v.names.push_back(Ident());
          SkipSpace();
          if (Peek() == ',') {
            ++FPos;
            continue;
          }
          break;
        }
      }
      Expect(']');
    } else if (c == '{') {
      ++FPos;
      v.kind = StoredValue::kBinary;
      int high = -1;
      for (;;) {
        SkipSpace();
        if (AtEnd()) Fail("\"}\" expected");
        char h = FText[FPos++];
        if (h == '}') break;
        int d = std::isdigit(static_cast<unsigned char>(h)) ? h - '0'
                : (h >= 'A' && h <= 'F')                    ? h - 'A' + 10
                : (h >= 'a' && h <= 'f')                    ? h - 'a' + 10
                                                            : -1;
        if (d < 0) Fail("hexadecimal digit expected");
        if (high < 0) {
          high = d;
        } else {
          v.bytes.push_back(static_cast<std::uint8_t>(high * 16 + d));
          high = -1;
        }
      }
      if (high >= 0) Fail("odd number of hexadecimal digits");
    } else if (c == '<') {
      ++FPos;
      v.kind = StoredValue::kCollection;
      for (;;) {
        SkipSpace();
        if (Peek() == '>') {
          ++FPos;
          break;
        }
        if (!TryKeyword("item")) Fail("\"item\" expected");
        std::vector<StoredProperty> props;
        for (;;) {
          SkipSpace();
          if (AtEnd()) Fail("\"end\" expected");
          if (TryKeyword("end")) break;
          props.push_back(Property());
        }
        v.items.push_back(std::move(props));
      }
    } else if (c == '(') {
      ++FPos;
      v.kind = StoredValue::kList;
      for (;;) {
        SkipSpace();
        if (AtEnd()) Fail("\")\" expected");
        if (Peek() == ')') {
          ++FPos;
          break;
        }
        v.list.push_back(Value());
      }
    } else if (IsIdentStart(c)) {
      v.kind = StoredValue::kIdent;
      v.text = Ident();
    } else {
      Fail("value expected");
    }
    return v;
  }

  void Number(StoredValue& v) {
    std::size_t start = FPos;
    if (Peek() == '-' || Peek() == '+') ++FPos;
    bool hex = Peek() == '$';
    if (hex) ++FPos;
    bool isFloat = false;
    while (!AtEnd()) {
      char c = FText[FPos];
      if (std::isdigit(static_cast<unsigned char>(c)) || (hex && std::isxdigit(static_cast<unsigned char>(c)))) {
        ++FPos;
      } else if (!hex && (c == '.' || c == 'e' || c == 'E')) {
        isFloat = true;
        ++FPos;
        if ((c == 'e' || c == 'E') && (Peek() == '-' || Peek() == '+')) ++FPos;
      } else {
        break;
      }
    }
    std::string s(FText.substr(start, FPos - start));
    if (s.empty() || s == "-" || s == "+" || s.back() == '$') Fail("number expected");
    if (isFloat) {
      v.kind = StoredValue::kFloat;
      v.number = std::strtod(s.c_str(), nullptr);
    } else {
      v.kind = StoredValue::kInteger;
      bool negative = s[0] == '-';
      std::string digits = s.substr((s[0] == '-' || s[0] == '+') ? 1 : 0);
      if (hex) digits = digits.substr(1);
      if (digits.size() > 16) Fail("number too large");
      long long n = std::strtoll(digits.c_str(), nullptr, hex ? 16 : 10);
      v.integer = negative ? -n : n;
    }
  }

  std::string_view FText;
  std::size_t FPos = 0;
  int FLine = 1;
  int FDepth = 0;
};

}  // namespace

StoredObject ParseLayout(std::string_view text) { return Parser(text).Root(); }

}  // namespace fw
