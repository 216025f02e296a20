#include "base/text.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(ReplacePlaceholders, ReplacesEveryOccurrenceExactlyOnce) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"{ChequeNum}{TAB}{BankNum}{TAB}{ChequeNum}{ENTER}", "1234{TAB}12{TAB}1234{ENTER}"},
      {"{chequenum}{CHEQUENUM}{ChequeNum }", "{chequenum}{CHEQUENUM}{ChequeNum }"},
      {"{{BankNum}}", "{12}"},
      // A value is not searched again: the operator's "{BankNum}" stays as typed.
      {"{User}_{BankNum}", "{BankNum}_12"},
      {"{Amount}|{Amount}", "|"},
      {"", ""},
      {"{BankNum", "{BankNum"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplacePlaceholders(
                  c.text, {{"{ChequeNum}", "1234"}, {"{BankNum}", "12"}, {"{User}", "{BankNum}"}, {"{Amount}", ""}}),
              c.expected)
        << c.text;
  }
}

TEST(EqualsIgnoringAsciiCase, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Config", "cONFIG"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase("בנק", "בנק"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("Config", "Confi"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{"));  // 0x5B and 0x7B differ by the case bit only
}

TEST(SplitLines, AcceptsEveryLineEndAndKeepsEmptyLines) {
  const struct {
    const char* text;
    std::vector<std::string_view> expected;
  } cases[] = {
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n", {"a"}},
      {"a", {"a"}},
      {"", {}},
      {"\n\r", {"", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitLines(c.text), c.expected) << c.text;
  }
}

TEST(AsciiUpper, RaisesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper("acc12345.txt"), "ACC12345.TXT");
  EXPECT_EQ(AsciiUpper("חשבון a-z{}"), "חשבון A-Z{}");
}

TEST(TrimBlanks, RemovesSpacesAndTabsAtBothEnds) {
  EXPECT_EQ(TrimBlanks(" \t a b \t"), "a b");
  EXPECT_EQ(TrimBlanks(" \t "), "");
}

}  // namespace
}  // namespace orvex
