#include "base/vb_convert.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "base/text.h"

namespace orvex {
namespace {

// 0 to 15, or 16 for a character that is no hexadecimal digit.
int HexDigitValue(char c) {
  if (IsAsciiDigit(c)) {
    return c - '0';
  }
  const int upper = std::toupper(static_cast<unsigned char>(c));
  return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : 16;
}

// "&H1F" / "&O17": a whole number in base 16 or 8, at most 32 bits.
std::optional<double> ParseRadixLiteral(std::string_view text) {
  if (text.size() < 3 || text[0] != '&') {
    return std::nullopt;
  }
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
  const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
  if (base == 0) {
    return std::nullopt;
  }
  uint64_t value = 0;
  for (const char c : text.substr(2)) {
    const int digit = HexDigitValue(c);
    if (digit >= base) {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) {
      return std::nullopt;
    }
  }
  // Like the platform's literals, a full 32-bit pattern reads as a negative 32-bit number.
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// [sign] digits [. digits] [E [sign] digits], with at least one digit in the mantissa.
bool IsDecimalNumber(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  size_t digits = 0;
  while (i < text.size() && IsAsciiDigit(text[i])) {
    ++i, ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsAsciiDigit(text[i])) {
      ++i, ++digits;
    }
  }
  if (digits == 0) {
    return false;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      ++i;
    }
    size_t exponentDigits = 0;
    while (i < text.size() && IsAsciiDigit(text[i])) {
      ++i, ++exponentDigits;
    }
    if (exponentDigits == 0) {
      return false;
    }
  }
  return i == text.size();
}

template <typename T>
std::optional<T> ToWholeNumber(std::string_view text) {
  const std::optional<double> value = ToDouble(text);
  if (!value) {
    return std::nullopt;
  }
  const double rounded = std::nearbyint(*value);  // the default rounding mode takes halves to even
  if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<T>::max())) {
    return std::nullopt;
  }
  return static_cast<T>(rounded);
}

}  // namespace

std::optional<double> ToDouble(std::string_view text) {
  text = TrimBlanks(text);
  if (auto radix = ParseRadixLiteral(text)) {
    return radix;
  }
  if (!IsDecimalNumber(text)) {
    return std::nullopt;
  }
  const double value = std::strtod(std::string(text).c_str(), nullptr);
  if (!std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int32_t> ToInt32(std::string_view text) {
  return ToWholeNumber<int32_t>(text);
}
std::optional<int16_t> ToInt16(std::string_view text) {
  return ToWholeNumber<int16_t>(text);
}
std::optional<uint8_t> ToByte(std::string_view text) {
  return ToWholeNumber<uint8_t>(text);
}

std::optional<bool> ToBoolean(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  if (EqualsIgnoringAsciiCase(trimmed, "TRUE")) {
    return true;
  }
  if (EqualsIgnoringAsciiCase(trimmed, "FALSE")) {
    return false;
  }
  if (const auto number = ToDouble(trimmed)) {
    return *number != 0.0;
  }
  return std::nullopt;
}

}  // namespace orvex
