// Number conversions of the skin reader.
#include "skin/sSkinNumbers.h"

#include <cmath>
#include <string>

#include "framework/core/SysUtils.h"

namespace translit {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    // Hexadecimal text names the 32 bits themselves: $FFFFFFFF is -1.
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  if (negative) {
    if (value > 0x80000000ull) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
  }
  if (value > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view text) {
  if (auto v = ParseInt(text)) return *v;
  throw fw::EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t def) {
  auto v = ParseInt(text);
  return v ? *v : def;
}

double StrToFloatDotDef(std::string_view text, double def) {
  std::size_t i = 0;
  auto digits = [&](double& acc) {
    std::size_t n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      acc = acc * 10 + (text[i] - '0');
      ++i;
      ++n;
    }
    return n;
  };
  while (i < text.size() && text[i] == ' ') ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
  double whole = 0;
  std::size_t n = digits(whole);
  double frac = 0, scale = 1;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      frac = frac * 10 + (text[i] - '0');
      scale *= 10;
      ++i;
      ++n;
    }
  }
  if (n == 0) return def;
  double value = whole + frac / scale;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    int expSign = 1;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) expSign = text[i++] == '-' ? -1 : 1;
    double e = 0;
    if (digits(e) == 0 || e > 4000) return def;
    value *= std::pow(10.0, expSign * e);
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size() || !std::isfinite(value)) return def;
  return sign * value;
}

}  // namespace translit
