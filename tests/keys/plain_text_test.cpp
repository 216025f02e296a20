#include "keys/plain_text.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace orvex {
namespace {

TEST(ClipboardText, KeyCodesBecomePlainText) {
  const std::pair<const char*, std::string> cases[] = {
      {"", ""},
      {"12{TAB}34{ENTER}", "12\t34\r\n"},
      {"{F5}{UP}{HOME}{SHIFT}", ""},
      {"{BACKSPACE 2}", "\b\b"},
      {"{BS}{BKSP}{ESC}{ESCAPE}", "\b\b\x1b\x1b"},
      {"+a^b%c", "abc"},
      {"{NUMPADENTER}~{SEPARATOR}", "\r\n\r\n\r\n"},
      {"{MULTIPLY}{ADD}{DECIMAL}{SUBTRACT}{DIVIDE}", "*+.-/"},
      {"{SPACE 3}", "   "},
      {"{ChequeNum}", "ChequeNum"},
      {"{x 3}{+}{{}}", "xxx+{}"},
      {"12.50", "12.50"},
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D{TAB}", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\t"},
  };
  for (const auto& [text, plain] : cases) {
    EXPECT_EQ(KeysToPlainText(text), plain) << text;
  }
}

TEST(ClipboardText, AnEmptyPairOfBracesFails) {
  for (const char* text : {"{}", "12{}34"}) {
    EXPECT_THROW(KeysToPlainText(text), Error) << text;
  }
}

TEST(SendInputPeriods, EveryPeriodIsTypedWithTheKeypadDecimalKey) {
  const struct {
    const char* text;
    bool numLockOn;
    const char* typed;
  } cases[] = {
      {"12.5", true, "12{DECIMAL}5"},
      {"12.5", false, "12{NUMLOCK}{DECIMAL}{NUMLOCK}5"},
      {"1..2", true, "1{DECIMAL}{DECIMAL}2"},
      {"{TAB}", false, "{TAB}"},
      {"", true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SubstitutePeriods(c.text, c.numLockOn), c.typed) << c.text << " " << c.numLockOn;
  }
}

}  // namespace
}  // namespace orvex
