#include "interpret/cheque_line.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

TEST(CaptureChequeFields, PatternTakesTheFourFieldsFromTheLineWithoutSpaces) {
  const struct {
    const char* line;
    ChequeFields expected;
  } cases[] = {
      {"A0001234 C12A34567E 000123456A", {"0001234", "12", "34567", "000123456"}},
      {"A0001234 C12A34567E 000123456C", {"0001234", "12", "34567", "000123456"}},
      {"A00012?4 C12A34567E 000123456A", {"00012?4", "12", "34567", "000123456"}},
      {"?0001234 C12A34567E 000123456?", {"0001234", "12", "34567", "000123456"}},
      {"A0001234    C1?A34567E    000123456A", {"0001234", "1?", "34567", "000123456"}},
      {"A0001234 C12?34567? 000123456A", {"0001234", "12", "34567", "000123456"}},
      {"AC12AEA", {"", "12", "", ""}},
      // Whatever follows the closing symbol is matched too and so is dropped from the fields.
      {"A0001234 C12A34567E 000123456A 99", {"0001234", "12", "34567", "000123456"}},
  };
  for (const auto& c : cases) {
    test_support::TraceCapture trace;
    EXPECT_EQ(CaptureChequeFields(c.line), c.expected) << c.line;
    EXPECT_TRUE(trace.Lines().empty()) << c.line;
  }
}

TEST(CaptureChequeFields, UnmatchedLineIsTracedAndCutByItsMarkers) {
  const struct {
    const char* line;
    ChequeFields expected;
  } cases[] = {
      // A bank of one digit fails the pattern.
      {"A0001234 C1A34567E 000123456A", {"0001234", "1", "34567", "000123456"}},
      {"A0001234  C1A34567E   000123456 A", {"0001234", "1", "34567", "000123456"}},
      // Without the leading "A" the start symbol alone is dropped.
      {"X0001234 C1A345E 9C", {"0001234", "1", "345", "9"}},
      {"XA0001234 C1A345E 9C", {"0001234", "1", "345", "9"}},
      // Four blanks become two, so the cheque number ends at the first of them.
      {"A12    C1A3E 4C", {"12", "1", "3", "4"}},
  };
  for (const auto& c : cases) {
    test_support::TraceCapture trace;
    EXPECT_EQ(CaptureChequeFields(c.line), c.expected) << c.line;
    EXPECT_EQ(trace.Messages(), std::vector<std::string>{std::string("Regexp failed for ") + c.line});
  }
}

TEST(CaptureChequeFields, MissingMarkerRaisesAnErrorAfterTheTraceLine) {
  for (const char* line : {
           "A0001234C1A34567E000123456A",    // no blank at all
           "A0001234 1A34567E 000123456A",   // no "C"
           "A0001234 C134567E 000123456A",   // no "A" after the bank
           "A0001234 A1C34567E 000123456A",  // "A" before "C"
           "A0001234 C1A34567 000123456A",   // no "E"
           "A0001234 C1A34567E000123456A",   // no "E" with a blank after it
           "Z",
           "hello world",
       }) {
    test_support::TraceCapture trace;
    try {
      CaptureChequeFields(line);
      ADD_FAILURE() << line;
    } catch (const Error& error) {
      EXPECT_EQ(error.Number(), kErrInvalidArgument) << line;
    }
    EXPECT_TRUE(trace.Contains(std::string("Regexp failed for ") + line)) << line;
  }
}

TEST(CaptureChequeFields, EmptyLineGivesEmptyFieldsWithoutTrace) {
  test_support::TraceCapture trace;
  EXPECT_EQ(CaptureChequeFields(""), ChequeFields{});
  EXPECT_TRUE(trace.Lines().empty());
}

}  // namespace
}  // namespace orvex
