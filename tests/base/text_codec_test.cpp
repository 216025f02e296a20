#include "base/text_codec.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(Windows1255, EveryByteRoundTripsExceptTheUndefinedOnes) {
  const std::string undefined =
      "\x81\x8A\x8C\x8D\x8E\x8F\x90\x9A\x9C\x9D\x9E\x9F\xCA\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xFB\xFC\xFF";
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = Windows1255ToUtf8(byte);
    if (undefined.find(static_cast<char>(b)) != std::string::npos) {
      EXPECT_EQ(utf8, "\uFFFD") << "byte " << b;
      EXPECT_EQ(Utf8ToWindows1255(utf8), "?") << "byte " << b;
    } else {
      EXPECT_EQ(Utf8ToWindows1255(utf8), byte) << "byte " << b;
    }
  }
}

TEST(Windows1255, MapsKnownCharacters) {
  const struct {
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {"\xE0\xFA", "את"},            // alef, tav
      {"\x80", "€"},                 // euro sign
      {"\xA4", "₪"},                 // new shekel sign
      {"\xFD\xFE", "\u200E\u200F"},  // LRM, RLM
      {"\xC0", "\u05B0"},            // sheva
      {"\xD4", "\u05F0"},            // yiddish double vav
      {"ABC 123", "ABC 123"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Windows1255ToUtf8(c.bytes), c.utf8);
    EXPECT_EQ(Utf8ToWindows1255(c.utf8), c.bytes);
  }
}

TEST(Windows1255, CharactersItLacksBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1255("Ωж😀é"), "??\?\?");
  EXPECT_EQ(Utf8ToWindows1255("\xC3"), "?");            // cut sequence
  EXPECT_EQ(Utf8ToWindows1255("\xC0\xAF"), "??");       // overlong form
  EXPECT_EQ(Utf8ToWindows1255("\xED\xA0\x80"), "???");  // encoded surrogate
}

TEST(Utf16, RoundTripsAllPlanes) {
  const std::string text = "Orvex שלום € 😀";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"Orvex שלום € 😀");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf16, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800}) + u"x"), "\uFFFDx");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xDC00})), "\uFFFD");
}

}  // namespace
}  // namespace orvex

namespace orvex {
namespace {

TEST(Utf8Characters, PrefixAndLengthCountCharactersNotBytes) {
  const struct {
    std::string text;
    size_t count;
    std::string prefix;
  } cases[] = {
      {"abc", 2, "ab"}, {"abc", 5, "abc"}, {"שלום", 2, "של"}, {"א😀b", 2, "א😀"}, {"", 3, ""}, {"ab", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8Prefix(c.text, c.count), c.prefix) << c.text;
  }
  EXPECT_EQ(Utf8Length("שלום world"), 10u);
  EXPECT_EQ(Utf8Length(""), 0u);
}

TEST(Utf8Detection, WellFormedUtf8OutsideAsciiOnly) {
  const struct {
    const char* what;
    std::string bytes;
    bool utf8;
  } cases[] = {
      {"ASCII alone", "[Config]\r\nRed=10\r\n", false},
      {"Hebrew in UTF-8", "[\xD7\xA4\xD7\xA8\xD7\x95\xD7\xA4\xD7\x99\xD7\x9C]", true},
      {"Hebrew in Windows-1255", "[\xF4\xF8\xE5\xF4\xE9\xEC]", false},
      {"one Windows-1255 letter after ASCII", "A=\xE0", false},
      {"a sequence cut at the end", "A=\xD7", false},
      {"an overlong form of '/'", "A=\xC0\xAF", false},
      {"an encoded surrogate", "A=\xED\xA0\x80", false},
      {"the replacement character itself", "A=\xEF\xBF\xBD", true},
      {"a four-byte character", "A=\xF0\x9F\x98\x80", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUtf8WithMultiByteSequences(c.bytes), c.utf8) << c.what;
  }
}

}  // namespace
}  // namespace orvex
