#pragma once

// The key-code language of every keystroke template: plain characters, braced key names ("{TAB}",
// "{ENTER}", "{F4}"), "{TILDE}" for the character "~", repeat counts ("{TAB 3}", "{x 10}") and the
// modifier prefixes "+" (SHIFT), "^" (CTRL) and "%" (ALT). All three typing engines read a text through this one
// parser.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// Virtual-key codes the language itself refers to.
inline constexpr uint8_t kVkBackspace = 8;
inline constexpr uint8_t kVkTab = 9;
inline constexpr uint8_t kVkEnter = 13;
inline constexpr uint8_t kVkShift = 16;
inline constexpr uint8_t kVkControl = 17;
inline constexpr uint8_t kVkAlt = 18;
inline constexpr uint8_t kVkEscape = 27;
inline constexpr uint8_t kVkSpace = 32;
inline constexpr uint8_t kVkMultiply = 106;
inline constexpr uint8_t kVkAdd = 107;
inline constexpr uint8_t kVkSeparator = 108;
inline constexpr uint8_t kVkSubtract = 109;
inline constexpr uint8_t kVkDecimal = 110;
inline constexpr uint8_t kVkDivide = 111;
inline constexpr uint8_t kVkNumLock = 144;

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool operator==(const Modifiers&) const = default;
};

// One token: the modifiers noted before it, how often it repeats, and either a key name's
// virtual-key code or the characters to type.
struct KeyToken {
  Modifiers modifiers;
  int32_t repeatCount = 1;
  std::optional<uint8_t> keyCode;
  std::u32string text;
  bool operator==(const KeyToken&) const = default;
};

// The highest repeat count a braced token may carry; a higher one would build millions of events.
inline constexpr int32_t kMaxRepeatCount = 1000;

// The tokens of a text in order. An empty pair of braces or a repeat count above kMaxRepeatCount
// ends the parse: `malformed` is then set and `tokens` holds what came before it.
struct ParsedKeyCodes {
  std::vector<KeyToken> tokens;
  bool malformed = false;
};

ParsedKeyCodes ParseKeyCodes(std::string_view text);

// The virtual-key code of a key name, compared after upper-casing ("tab" is TAB); empty when the
// name is not a key.
std::optional<uint8_t> KeyNameCode(std::u32string_view name);

// A value (a captured field, an operator's answer, a file name) written so that the language
// types exactly its characters: "+", "^", "%" and "{" in their braced forms, "~" as "{TILDE}".
std::string KeyCodeLiteral(std::string_view value);

// The text as an operator reads it: the braced forms KeyCodeLiteral writes shown as their characters.
std::string ReadableKeyCodes(std::string_view text);

// Throws the error of a malformed text (an empty pair of braces, a repeat count above the bound)
// when the parse stopped at one.
void ThrowIfMalformed(const ParsedKeyCodes& parsed);

// UTF-8 <-> UTF-32 for the characters of text tokens, and their UTF-16 units.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);
std::u16string EncodeUtf16(std::u32string_view text);

}  // namespace orvex
