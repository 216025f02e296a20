#include "interpret/classification.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "interpret/pattern.h"

namespace orvex {
namespace {

TEST(ClassifyDocument, AppliesTheRulesInOrder) {
  const std::string q28(28, '?');
  const struct {
    std::string text;
    int32_t minUnread;
    DocumentType expected;
  } cases[] = {
      // Magnetic stripes.
      {"%B1234^X^99?", 0, dtMagneticCard},
      {";1234=5678?", 0, dtMagneticCard},
      {";1234=5678", 0, dtUnidentified},
      {"?", 0, dtUnidentified},
      // Cheques and postal bank cheques by their symbols, however many "?" they hold.
      {"A0001234 C12A34567E 000123456C", 0, dtCheque},
      {"A??????????????????????????C", 5, dtCheque},
      {"AC", 0, dtCheque},
      {"A1234B", 0, dtPostalBankCheque},
      {"A" + q28 + "B", 1, dtPostalBankCheque},
      // No MICR.
      {"NO MICR", 0, dtNoMICR},
      {"no micr", 0, dtUnidentified},
      {q28, 0, dtNoMICR},
      {std::string("???? ???") + "-????????????? -????", 0, dtNoMICR},
      // 27 or 29 unread symbols are no "no MICR" mask; the cheque pattern, where every symbol may
      // be unread, takes them.
      {std::string(27, '?'), 0, dtCheque},
      {std::string(29, '?'), 0, dtCheque},
      {std::string(29, '?'), 29, dtNoMICR},
      {std::string(28, ' '), 0, dtNoMICR},
      // Unread characters among the first 34.
      {"?1?2?3?4 C12A345E 1234A", 5, dtCheque},
      {"?1?2?3?4? C12A345E 1234A", 5, dtNoMICR},
      {"?1?2?3?4" + std::string(26, '5') + "?????", 5, dtUSCheque},
      {"?1?2?3?4" + std::string(25, '5') + "?", 5, dtNoMICR},
      {"?1?2?3?4? C12A345E 1234A", 0, dtCheque},
      {"?1?2?3?4? C12A345E 1234A", -3, dtCheque},
      // The cheque pattern, for lines whose first or last symbol was unread.
      {"?12345 C12A345E 123456789C", 0, dtCheque},
      {"A12345 C12A345E 123456789?", 0, dtCheque},
      {"?0001234 C12A34567E 000123456A", 0, dtCheque},
      {"?0001234    C12A34567E 000123456A", 0, dtCheque},
      {"?12345 C1A345E 123456789C", 0, dtUnidentified},
      {"x?12345 C12A345E 123456789C", 0, dtUnidentified},
      // US cheques: 15 or more digits, "-", "T", "U" and "?" once the spaces are gone.
      {"T123456789T 1234567U 0123", 0, dtUSCheque},
      {"T12345678T-U?", 0, dtUnidentified},
      {"T12345678T-U?1", 0, dtUnidentified},
      {"T12345678T-U?12", 0, dtUSCheque},
      {"T123456789T 1234567U 0123X", 0, dtUnidentified},
      {"", 0, dtUnidentified},
      {"hello", 0, dtUnidentified},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyDocument(c.text, c.minUnread), c.expected) << '"' << c.text << "\" min " << c.minUnread;
  }
}

TEST(ClassifyDocument, TextsTooLongForTheMatcherAreUnidentifiedWithoutCrashing) {
  // Far beyond what the matcher could follow on the stack, were it not cut off.
  const std::string longCheque = "?" + std::string(200000, '1') + "C12A345E123C";
  const std::string longUs(200000, '1');
  EXPECT_EQ(ClassifyDocument(longCheque, 0), dtUnidentified);
  EXPECT_EQ(ClassifyDocument(longUs, 0), dtUnidentified);
  // The symbol rules need no matcher and still hold.
  EXPECT_EQ(ClassifyDocument("A" + longUs + "C", 0), dtCheque);
  const std::string atLimit = "T" + std::string(kMaxPatternTextLength - 1, '1');
  EXPECT_EQ(ClassifyDocument(atLimit, 0), dtUSCheque);
}

TEST(DocumentTypeName, NamesEveryKindTheDetailsWindowShows) {
  const struct {
    DocumentType type;
    const char* name;
  } cases[] = {
      {dtUnidentified, "לא מזוהה"},
      {dtCheque, "צ'ק רגיל"},
      {dtMagneticCard, "כרטיס מגנטי"},
      {dtNoMICR, "מסמך ללא דיו מגנטית"},
      {dtPostalBankCheque, "צ'ק של בנק הדואר"},
      {dtUSCheque, ""},
      {dtNonusCheque, "צ'ק של נונוס"},
      {static_cast<DocumentType>(7), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DocumentTypeName(c.type), c.name) << c.type;
  }
}

TEST(MatchesPattern, FindsAMatchAnywhereCaseSensitively) {
  const struct {
    const char* text;
    const char* pattern;
    bool expected;
  } cases[] = {
      {"abcdef", "cd", true},   {"abcdef", "^cd", false}, {"abcdef", "CD", false},
      {"ab\ncd", "^cd", false}, {"ab\ncd", "b$", false},  {"a1b22", "[0-9]{2}", true},
      {"", "^$", true},         {"x", "^$", false},       {"T123", "^[-0-9TU ?]{4}$", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesPattern(c.text, c.pattern), c.expected) << c.text << " ~ " << c.pattern;
  }
}

TEST(MatchesPattern, InvalidExpressionIsAnInvalidArgument) {
  for (const char* pattern : {"(", "[a-", "a{2,1}", "*"}) {
    try {
      MatchesPattern("a", pattern);
      ADD_FAILURE() << pattern;
    } catch (const Error& error) {
      EXPECT_EQ(error.Number(), kErrInvalidArgument) << pattern;
    }
  }
}

}  // namespace
}  // namespace orvex
