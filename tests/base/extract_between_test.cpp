#include "base/extract_between.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace orvex {
namespace {

TEST(ExtractBetween, TakesTheTextBetweenTheFirstMarkers) {
  const struct {
    int32_t start;
    const char* text;
    const char* startMarker;
    const char* endMarker;
    CompareMode mode;
    const char* expected;
  } cases[] = {
      {1, "a<ResponseType>ID</ResponseType>", "ResponseType>", "</ResponseType", CompareMode::kExact, "ID"},
      {1, "a<ResponseType>ID", "ResponseType>", "</ResponseType", CompareMode::kExact, ""},
      {1, "no markers", "ResponseType>", "</ResponseType", CompareMode::kExact, ""},
      {1, "%B123^SMITH/J^2512", "^", "^", CompareMode::kExact, "SMITH/J"},
      {1, "%B123^SMITH", "^", "^", CompareMode::kExact, ""},
      {1, "<title>x</title><title>y</title>", "title>", "</title", CompareMode::kExact, "x"},
      {2, "<title>x</title><title>y</title>", "title>", "</title", CompareMode::kExact, "x"},
      {3, "<title>x</title><title>y</title>", "title>", "</title", CompareMode::kExact, "<title>y"},
      {1, "[]", "[", "]", CompareMode::kExact, ""},
      {1, "abcd", "", "c", CompareMode::kExact, "ab"},
      {9, "abc", "a", "c", CompareMode::kExact, ""},
      // The end marker is searched after the start marker, not inside it.
      {1, "xAx", "xA", "Ax", CompareMode::kExact, ""},
      {1, "<TITLE>Name</Title>", "title>", "</title", CompareMode::kExact, ""},
      {1, "<TITLE>Name</Title>", "title>", "</title", CompareMode::kIgnoreCase, "Name"},
      {1, "<כותרת>חשבון מוגבל</כותרת>", "כותרת>", "</כותרת", CompareMode::kIgnoreCase, "חשבון מוגבל"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractBetween(c.start, c.text, c.startMarker, c.endMarker, c.mode), c.expected)
        << c.text << " from " << c.start;
  }
}

TEST(ExtractBetween, StartBeforeTheFirstCharacterOrUnknownModeIsAnInvalidArgument) {
  for (const int32_t start : {0, -1, INT32_MIN}) {
    try {
      ExtractBetween(start, "abc", "a", "c");
      ADD_FAILURE() << start;
    } catch (const Error& error) {
      EXPECT_EQ(error.Number(), kErrInvalidArgument);
    }
  }
  EXPECT_THROW(ExtractBetween(1, "abc", "a", "c", static_cast<CompareMode>(2)), Error);
}

}  // namespace
}  // namespace orvex
