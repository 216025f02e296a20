#include "keys/key_code.h"

#include <array>
#include <charconv>
#include <string>
#include <utility>

#include "base/error.h"
#include "base/text.h"
#include "base/text_codec.h"

namespace orvex {
namespace {

struct KeyName {
  std::u32string_view name;
  uint8_t code;
};

constexpr std::array kKeyNames = {
    KeyName{U"LBUTTON", 1},
    KeyName{U"RBUTTON", 2},
    KeyName{U"BREAK", 3},
    KeyName{U"CANCEL", 3},
    KeyName{U"MBUTTON", 4},
    KeyName{U"BACKSPACE", 8},
    KeyName{U"BS", 8},
    KeyName{U"BKSP", 8},
    KeyName{U"TAB", 9},
    KeyName{U"CLEAR", 12},
    KeyName{U"ENTER", 13},
    KeyName{U"~", 13},
    KeyName{U"SHIFT", 16},
    KeyName{U"CONTROL", 17},
    KeyName{U"MENU", 18},
    KeyName{U"ALT", 18},
    KeyName{U"PAUSE", 19},
    KeyName{U"CAPSLOCK", 20},
    KeyName{U"ESCAPE", 27},
    KeyName{U"ESC", 27},
    KeyName{U"SPACE", 32},
    KeyName{U"PGUP", 33},
    KeyName{U"PGDN", 34},
    KeyName{U"END", 35},
    KeyName{U"HOME", 36},
    KeyName{U"LEFT", 37},
    KeyName{U"UP", 38},
    KeyName{U"RIGHT", 39},
    KeyName{U"DOWN", 40},
    KeyName{U"SELECT", 41},
    KeyName{U"PRTSC", 42},
    KeyName{U"EXECUTE", 43},
    KeyName{U"SNAPSHOT", 44},
    KeyName{U"INSERT", 45},
    KeyName{U"INS", 45},
    KeyName{U"DELETE", 46},
    KeyName{U"DEL", 46},
    KeyName{U"HELP", 47},
    KeyName{U"MULTIPLY", 106},
    KeyName{U"ADD", 107},
    KeyName{U"SEPARATOR", 108},
    KeyName{U"SUBTRACT", 109},
    KeyName{U"DECIMAL", 110},
    KeyName{U"DIVIDE", 111},
    KeyName{U"NUMLOCK", 144},
    KeyName{U"SCROLLLOCK", 145},
    // The Enter key of the numeric keypad: the separator's code, not ENTER's.
    KeyName{U"NUMPADENTER", 108},
};

std::u32string NumberText(int number) {
  std::u32string text;
  for (char c : std::to_string(number)) {
    text.push_back(static_cast<char32_t>(c));
  }
  return text;
}

// "NUMPAD0".."NUMPAD9" are the codes 96 to 105, "F1".."F16" the codes 112 to 127.
std::optional<uint8_t> NumberedKeyCode(std::u32string_view name) {
  for (int number = 0; number <= 9; ++number) {
    if (name == U"NUMPAD" + NumberText(number)) {
      return static_cast<uint8_t>(96 + number);
    }
  }
  for (int number = 1; number <= 16; ++number) {
    if (name == U"F" + NumberText(number)) {
      return static_cast<uint8_t>(111 + number);
    }
  }
  return std::nullopt;
}

bool IsDigit(char32_t c) {
  return c >= U'0' && c <= U'9';
}

// Splits a trailing " <count>" off a braced token: {TAB 3} is TAB three times, {x 10} the
// character x ten times. The scan runs back over digits while the position (counted from 1) is
// greater than 2; it stops at p, and p must be a blank strictly inside the token.
void SplitRepeatCount(KeyToken& token, std::u32string& body) {
  size_t p = body.size();
  while (p > 2 && IsDigit(body[p - 1])) {
    --p;
  }
  if (p <= 1 || p >= body.size() || body[p - 1] != U' ') {
    return;
  }
  std::string digits;
  for (char32_t c : body.substr(p)) {
    digits.push_back(static_cast<char>(c));
  }
  int32_t count = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
  if (error == std::errc() && end == digits.data() + digits.size()) {
    token.repeatCount = count;
  }
  body.resize(p - 1);
}

void NoteModifier(char32_t c, Modifiers& modifiers) {
  if (c == U'+') {
    modifiers.shift = true;
  } else if (c == U'^') {
    modifiers.ctrl = true;
  } else {
    modifiers.alt = true;
  }
}

bool IsModifierPrefix(char32_t c) {
  return c == U'+' || c == U'^' || c == U'%';
}

std::u32string UpperAscii(std::u32string_view name) {
  std::u32string upper(name);
  for (char32_t& c : upper) {
    if (c >= U'a' && c <= U'z') {
      c = c - U'a' + U'A';
    }
  }
  return upper;
}

// "{TILDE}" types the character "~", which neither "~" nor "{~}" can (both are ENTER).
bool NamesTilde(std::u32string_view name) {
  return UpperAscii(name) == U"TILDE";
}

// How a value writes each character that the language reads as syntax.
std::string_view LiteralFormOf(char c) {
  switch (c) {
    case '+':
      return "{+}";
    case '^':
      return "{^}";
    case '%':
      return "{%}";
    case '{':
      return "{{}";
    case '~':
      return "{TILDE}";
    default:
      return {};
  }
}

}  // namespace

std::optional<uint8_t> KeyNameCode(std::u32string_view name) {
  const std::u32string upper = UpperAscii(name);
  for (const KeyName& key : kKeyNames) {
    if (key.name == upper) {
      return key.code;
    }
  }
  return NumberedKeyCode(upper);
}

ParsedKeyCodes ParseKeyCodes(std::string_view utf8Text) {
  const std::u32string text = DecodeUtf8(utf8Text);
  ParsedKeyCodes parsed;
  size_t next = 0;
  while (next < text.size()) {
    KeyToken token;
    while (next < text.size() && IsModifierPrefix(text[next])) {
      NoteModifier(text[next++], token.modifiers);
    }
    std::u32string body;
    if (next < text.size()) {
      const size_t close = text[next] == U'{' ? text.find(U'}', next + 1) : std::u32string::npos;
      if (close != std::u32string::npos) {
        body = text.substr(next + 1, close - next - 1);
        next = close + 1;
        if (body.empty()) {
          parsed.malformed = true;
          return parsed;
        }
        SplitRepeatCount(token, body);
        if (token.repeatCount > kMaxRepeatCount) {
          parsed.malformed = true;
          return parsed;
        }
        if (NamesTilde(body)) {
          token.text = U"~";
          parsed.tokens.push_back(std::move(token));
          continue;
        }
      } else {
        body = text.substr(next++, 1);
      }
    }
    token.keyCode = body.empty() ? std::nullopt : KeyNameCode(body);
    if (!token.keyCode) {
      token.text = std::move(body);
    }
    parsed.tokens.push_back(std::move(token));
  }
  return parsed;
}

std::string KeyCodeLiteral(std::string_view value) {
  std::string literal;
  literal.reserve(value.size());
  for (const char c : value) {
    const std::string_view form = LiteralFormOf(c);
    if (form.empty()) {
      literal.push_back(c);
    } else {
      literal.append(form);
    }
  }
  return literal;
}

std::string ReadableKeyCodes(std::string_view text) {
  return ReplacePlaceholders(text, {{"{+}", "+"}, {"{^}", "^"}, {"{%}", "%"}, {"{{}", "{"}, {"{TILDE}", "~"}});
}

void ThrowIfMalformed(const ParsedKeyCodes& parsed) {
  if (parsed.malformed) {
    throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
  }
}

std::u32string DecodeUtf8(std::string_view text) {
  const std::u16string utf16 = Utf8ToUtf16(text);
  std::u32string decoded;
  decoded.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    const bool pair =
        unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF;
    if (pair) {
      decoded.push_back(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (utf16[++i] - 0xDC00));
    } else {
      decoded.push_back(unit);
    }
  }
  return decoded;
}

std::u16string EncodeUtf16(std::u32string_view text) {
  std::u16string utf16;
  utf16.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000) {
      utf16.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      utf16.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      utf16.push_back(static_cast<char16_t>(c));
    }
  }
  return utf16;
}

std::string EncodeUtf8(std::u32string_view text) {
  return Utf16ToUtf8(EncodeUtf16(text));
}

}  // namespace orvex
