#include "dialogs/cheque_entry.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(MarkMissingData, SelectsFromTheFirstToTheLastOccurrenceOfTheFirstMarkerPresent) {
  const struct {
    const char* field;
    std::optional<TextSelection> expected;
  } cases[] = {
      {"00012?4", TextSelection{5, 1}},
      {"1??4", TextSelection{1, 2}},
      {"1?2?3", TextSelection{1, 3}},  // ?2? between the first and the last
      {"@1?2@", TextSelection{2, 1}},  // "?" is looked for before "@"
      {"12@4@", TextSelection{2, 3}},  // no "?": "@"
      {";1;", TextSelection{0, 3}},    // only ";"
      {"?", TextSelection{0, 1}},
      {"000123456", std::nullopt},  // nothing unread: the selection stays
      {"", std::nullopt},
      {"מס?3", TextSelection{2, 1}},  // counted in characters, not bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MarkMissingData(c.field), c.expected) << c.field;
  }
}

TEST(RebuildMicr, PutsTheFieldsAsTypedIntoTheChequeLineLayout) {
  const struct {
    ChequeFields fields;
    const char* expected;
  } cases[] = {
      {{"00012?4", "12", "345", "000123456"}, "A00012?4 C12A345E 000123456C"},
      {{"1234", "1 ", "345 ", "9"}, "A1234 C1 A345 E 9C"},  // spaces typed with TabChar stay
      {{"", "", "", ""}, "A CAE C"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RebuildMicr(c.fields), c.expected);
  }
}

TEST(FixAmount, TheLetterOnThePeriodKeyBecomesAPeriod) {
  const struct {
    const char* typed;
    const char* expected;
  } cases[] = {
      {"ץ", "."}, {"12ץ50", "12.50"}, {"1ץץ2", "1..2"}, {"100", "100"}, {"צ12", "צ12"},  // only the final letter
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FixAmount(c.typed), c.expected) << c.typed;
  }
}

TEST(DateBoxText, ShowsTheDayAsDayMonthTwoDigitYear) {
  EXPECT_EQ(DateBoxText({2026, 3, 6, 14, 7, 9}), "06/03/26");
  EXPECT_EQ(DateBoxText({2031, 12, 25, 0, 0, 0}), "25/12/31");
}

TEST(ChequeDateFromBox, AcceptsRealDaysReadDayFirstInTheTwoThousands) {
  const struct {
    const char* box;
    std::optional<std::string> expected;
  } cases[] =
      {
          {"06/03/26", "06/03/2026"}, {"15/03/26", "15/03/2026"},  // a day above 12: never read month first
          {"03/04/26", "03/04/2026"}, {"31/12/99", "31/12/2099"}, {"29/02/28", "29/02/2028"},  // leap year
          {"29/02/00", "29/02/2000"}, {"29/02/26", std::nullopt}, {"31/04/26", std::nullopt},
          {"00/03/26", std::nullopt}, {"15/13/26", std::nullopt}, {"15/00/26", std::nullopt},
          {"06/0_/26", std::nullopt},  // a position left at its prompt character
          {"__/__/__", std::nullopt}, {"6/3/26", std::nullopt},   {"06-03-26", std::nullopt},
          {"", std::nullopt},
      };
  for (const auto& c : cases) {
    EXPECT_EQ(ChequeDateFromBox(c.box), c.expected) << c.box;
  }
}

TEST(ConfirmCheque, OkHandsBackTheRebuiltLineAmountAndDateOrNothingForAnInvalidDate) {
  const ChequeFields fields{"0001234", "12", "34567", "000123456"};
  EXPECT_EQ(ConfirmChequeFull(fields, "12.50", "06/03/26", true),
            (ChequeCompletion{"A0001234 C12A34567E 000123456C", "12.50", "06/03/2026", true}));
  EXPECT_EQ(ConfirmChequeFull(fields, "12.50", "06/0_/26", false), std::nullopt);
  EXPECT_EQ(ConfirmChequeData(fields, false), (ChequeCompletion{"A0001234 C12A34567E 000123456C", "", "", false}));
}

TEST(ChequeFieldRows, TheFullDialogLimitsTheBankToTwoAndTheBranchToFiveCharacters) {
  const struct {
    std::string_view name;
    size_t limit;
  } expected[] = {{"ChequeNum", 13}, {"BankNum", 2}, {"BranchNum", 5}, {"AccountNum", 13}};
  ASSERT_EQ(ChequeFieldRows().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(ChequeFieldRows()[i].name, expected[i].name);
    EXPECT_EQ(ChequeFieldRows()[i].fullDialogLimit, expected[i].limit);
  }
}

}  // namespace
}  // namespace orvex
