// Number conversions of the skin reader: the strict integer conversion whose
// failure ends a skin load, the lenient integer reader of options values and
// the floating reader with '.' as its decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace translit {

// Parses an integer as the framework's string-to-integer conversion does:
// optional leading blanks, an optional sign, then decimal digits, or "$",
// "0x" or "0X" and hexadecimal digits (hexadecimal takes up to 32 bits and
// wraps into the signed range). Nothing may follow. Empty when the text is
// not such a number or is out of range.
std::optional<std::int32_t> ParseInt(std::string_view text);

// The framework's StrToInt: fw::EConvertError "'<text>' is not a valid
// integer value" on bad text.
std::int32_t StrToInt(std::string_view text);

// The options' integer reader: ParseInt, or the default.
std::int32_t StrToIntDef(std::string_view text, std::int32_t def);

// A decimal number with '.' as separator whatever the locale (optional sign,
// digits, fraction, exponent); the default when the text is not one.
double StrToFloatDotDef(std::string_view text, double def);

}  // namespace translit
