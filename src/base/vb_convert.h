#pragma once

// The text-to-number rules of the configuration: a number may stand between blanks, may carry a
// sign, a fraction and an exponent ("&H" and "&O" give hexadecimal and octal whole numbers); a
// fraction is rounded to the nearest whole number, halves to the even neighbour. A conversion fails
// (empty optional) on empty text, letters, or a result outside the target's range.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvex {

std::optional<double> ToDouble(std::string_view text);
std::optional<int32_t> ToInt32(std::string_view text);
std::optional<int16_t> ToInt16(std::string_view text);
std::optional<uint8_t> ToByte(std::string_view text);

// "TRUE" or "FALSE" in any case, or a number (non-zero is true).
std::optional<bool> ToBoolean(std::string_view text);

}  // namespace orvex
