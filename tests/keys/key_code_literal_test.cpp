#include <gtest/gtest.h>

#include "keys/feed.h"
#include "keys/key_code.h"
#include "keys/plain_text.h"

namespace orvex {
namespace {

// The characters the tokens type, or "" when a token is a key or carries a modifier.
std::string TypedCharacters(std::string_view text) {
  std::u32string typed;
  for (const KeyToken& token : ParseKeyCodes(text).tokens) {
    if (token.keyCode || token.modifiers != Modifiers{}) {
      return "";
    }
    for (int32_t i = 0; i < token.repeatCount; ++i) {
      typed += token.text;
    }
  }
  return EncodeUtf8(typed);
}

TEST(KeyCodeLiteral, AValueTypesExactlyItsCharactersAmidTheTemplatesOwnSyntax) {
  const char* const values[] = {
      "%B4580123456789012",
      "1,500.00",
      "a+b^c%d{e}~f",
      "{TAB}",
      "{TAB 3}",
      "{}",
      "}{",
      "~",
      "{~}",
      "x 5}",
      "דוד+כהן",
      "50%",
      "^",
      "",
  };
  for (const std::string value : values) {
    const std::string literal = KeyCodeLiteral(value);
    EXPECT_EQ(TypedCharacters(literal), value) << value;
    EXPECT_EQ(KeysToPlainText("{TAB}" + literal + "~"), "\t" + value + "\r\n") << value;
    EXPECT_EQ(ReadableKeyCodes(literal), value) << value;
  }
}

TEST(KeyCodeLiteral, TildeNameTypesTheCharacterWithARepeatCountLikeAnyName) {
  EXPECT_EQ(KeysToPlainText("{TILDE}{tilde 2}~{~}"), "~~~\r\n\r\n");
}

TEST(KeyCodeLiteral, TheLastDataTextShowsValuesAsTheyAre) {
  EXPECT_EQ(FormatLastFedText("t", "{TAB}" + KeyCodeLiteral("{ENTER}+~") + "{ENTER}"), "t:\r\n\r\n\t{ENTER}+~\r\n");
}

}  // namespace
}  // namespace orvex
