#pragma once

// Small text rules shared by the subsystems.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// Text without the blanks (spaces and tabs) at both ends.
std::string_view TrimBlanks(std::string_view text);

// Equal when the texts differ at most in the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Whether the character is one of the ASCII digits 0 to 9.
constexpr bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// The text with its ASCII letters in upper case; other characters as they are.
std::string AsciiUpper(std::string_view text);

// The text's lines, whichever of CR LF, LF or CR ends them; a line end at the very end starts no
// further line.
std::vector<std::string_view> SplitLines(std::string_view text);

struct Placeholder {
  std::string_view code;  // begins with "{", as "{ChequeNum}"
  std::string_view value;
};

// The template with every occurrence of each code replaced by its value (exactly and
// case-sensitively), in one pass from the left: a value is never searched again, so a value that
// looks like a placeholder stays as it is.
std::string ReplacePlaceholders(std::string_view text, std::initializer_list<Placeholder> placeholders);

}  // namespace orvex
