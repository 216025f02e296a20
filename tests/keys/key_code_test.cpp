#include "keys/key_code.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace orvex {
namespace {

KeyToken Key(uint8_t code, int32_t count = 1, Modifiers modifiers = {}) {
  return KeyToken{modifiers, count, code, U""};
}

KeyToken Text(std::u32string text, int32_t count = 1, Modifiers modifiers = {}) {
  return KeyToken{modifiers, count, std::nullopt, std::move(text)};
}

constexpr Modifiers kShift{true, false, false};
constexpr Modifiers kCtrl{false, true, false};
constexpr Modifiers kAlt{false, false, true};
constexpr Modifiers kAll{true, true, true};

struct ParseCase {
  const char* text;
  std::vector<KeyToken> tokens;
};

TEST(KeyCodeLanguage, TextsBecomeTheirTokens) {
  const ParseCase cases[] = {
      {"", {}},
      {"ab", {Text(U"a"), Text(U"b")}},
      {"{TAB}", {Key(9)}},
      {"{tab}", {Key(9)}},
      {"{Enter}~", {Key(13), Key(13)}},
      {"{~}", {Key(13)}},
      {"{TAB 2}{ENTER}", {Key(9, 2), Key(13)}},
      {"{TAB 3}", {Key(9, 3)}},
      {"{x 10}", {Text(U"x", 10)}},
      {"{ 5}", {Text(U" 5")}},
      {"{TAB 0}", {Key(9, 0)}},
      {"{TAB 99999999999}", {Key(9)}},  // not a 32-bit number: the count stays 1
      {"{TAB  3}", {Text(U"TAB ", 3)}},
      {"{AB12}", {Text(U"AB12")}},
      {"{A 12}", {Text(U"A", 12)}},
      {"{ChequeNum}", {Text(U"ChequeNum")}},
      {"{CTRL}", {Text(U"CTRL")}},
      {"{CONTROL}", {Key(17)}},
      {"+a", {Text(U"a", 1, kShift)}},
      {"^a", {Text(U"a", 1, kCtrl)}},
      {"%{F4}", {Key(115, 1, kAlt)}},
      {"+{TAB}", {Key(9, 1, kShift)}},
      {"%^+x", {Text(U"x", 1, kAll)}},
      {"++a", {Text(U"a", 1, kShift)}},
      {"+ a", {Text(U" ", 1, kShift), Text(U"a")}},
      {"x+", {Text(U"x"), Text(U"", 1, kShift)}},
      {"{+}{^}{%}{{}", {Text(U"+"), Text(U"^"), Text(U"%"), Text(U"{")}},
      {"a}b", {Text(U"a"), Text(U"}"), Text(U"b")}},
      {"{a", {Text(U"{"), Text(U"a")}},
      {"(ab)", {Text(U"("), Text(U"a"), Text(U"b"), Text(U")")}},
      {"12.5", {Text(U"1"), Text(U"2"), Text(U"."), Text(U"5")}},
      {"{NUMPADENTER}{SEPARATOR}", {Key(108), Key(108)}},
      {"\xD7\xA9\xD7\x9C", {Text(U"\u05E9"), Text(U"\u05DC")}},
      {"{\xD7\xA9 3}", {Text(U"\u05E9", 3)}},
  };
  for (const ParseCase& c : cases) {
    const ParsedKeyCodes parsed = ParseKeyCodes(c.text);
    EXPECT_FALSE(parsed.malformed) << c.text;
    EXPECT_EQ(parsed.tokens, c.tokens) << c.text;
  }
}

TEST(KeyCodeLanguage, AnEmptyPairOfBracesEndsTheParseAsMalformed) {
  const ParseCase cases[] = {
      {"{}", {}},
      {"{}}", {}},
      {"ab{}cd", {Text(U"a"), Text(U"b")}},
      {"{TAB}+{}x", {Key(9)}},
  };
  for (const ParseCase& c : cases) {
    const ParsedKeyCodes parsed = ParseKeyCodes(c.text);
    EXPECT_TRUE(parsed.malformed) << c.text;
    EXPECT_EQ(parsed.tokens, c.tokens) << c.text;
    EXPECT_THROW(ThrowIfMalformed(parsed), Error) << c.text;
  }
  EXPECT_NO_THROW(ThrowIfMalformed(ParseKeyCodes("{{}")));
}

TEST(KeyCodeLanguage, ARepeatCountAboveOneThousandIsMalformedLikeEmptyBraces) {
  const struct {
    const char* text;
    bool malformed;
    std::vector<KeyToken> tokens;
  } cases[] = {
      {"{TAB 1000}", false, {Key(9, 1000)}},
      {"{x 1000}", false, {Text(U"x", 1000)}},
      {"{TAB 1001}", true, {}},
      {"{x 1001}", true, {}},
      {"ab{TAB 5000}cd", true, {Text(U"a"), Text(U"b")}},
      {"{TAB 2000000000}", true, {}},
      {"+{F4 2147483647}", true, {}},
  };
  for (const auto& c : cases) {
    const ParsedKeyCodes parsed = ParseKeyCodes(c.text);
    EXPECT_EQ(parsed.malformed, c.malformed) << c.text;
    EXPECT_EQ(parsed.tokens, c.tokens) << c.text;
  }
  EXPECT_THROW(ThrowIfMalformed(ParseKeyCodes("{TAB 5000}")), Error);
}

TEST(KeyCodeLanguage, KeyNamesAndTheirCodes) {
  const std::pair<std::u32string_view, std::optional<uint8_t>> names[] = {
      {U"LBUTTON", 1},
      {U"BREAK", 3},
      {U"CANCEL", 3},
      {U"BKSP", 8},
      {U"bs", 8},
      {U"CLEAR", 12},
      {U"ESC", 27},
      {U"SPACE", 32},
      {U"PGUP", 33},
      {U"DOWN", 40},
      {U"PRTSC", 42},
      {U"INS", 45},
      {U"DEL", 46},
      {U"HELP", 47},
      {U"NUMPAD0", 96},
      {U"numpad9", 105},
      {U"MULTIPLY", 106},
      {U"DECIMAL", 110},
      {U"F1", 112},
      {U"f16", 127},
      {U"NUMLOCK", 144},
      {U"SCROLLLOCK", 145},
      {U"NUMPADENTER", 108},
      {U"ALT", 18},
      {U"MENU", 18},
      {U"CTRL", std::nullopt},
      {U"F17", std::nullopt},
      {U"F0", std::nullopt},
      {U"F01", std::nullopt},
      {U"NUMPAD10", std::nullopt},
      {U"NUMPAD", std::nullopt},
      {U"ENTER ", std::nullopt},
      {U"", std::nullopt},
  };
  for (const auto& [name, code] : names) {
    EXPECT_EQ(KeyNameCode(name), code) << EncodeUtf8(name);
  }
}

TEST(KeyCodeLanguage, Utf8RoundTripKeepsEveryCharacter) {
  const std::string texts[] = {"", "abc", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "\xF0\x9F\x98\x80x"};
  for (const std::string& text : texts) {
    EXPECT_EQ(EncodeUtf8(DecodeUtf8(text)), text);
  }
  EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80"), U"\U0001F600");
  EXPECT_EQ(EncodeUtf16(U"\U0001F600"), u"\xD83D\xDE00");
}

}  // namespace
}  // namespace orvex
