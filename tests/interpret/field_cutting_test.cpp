#include "interpret/field_cutting.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"

namespace orvex {
namespace {

TEST(CutField, TakesCharactersByStartAndLength) {
  const std::string sixteen = "1234567890123456";
  const struct {
    std::string text;
    int32_t start;
    int32_t length;
    const char* expected;
  } cases[] = {
      // Forward from a position.
      {sixteen, 1, 99, "1234567890123456"},
      {"123456789", 3, 4, "3456"},
      {"123456789", 9, 5, "9"},
      {"123456789", 10, 5, ""},
      {"123456789", 3, 0, ""},
      {"", 1, 5, ""},
      {"123456789", INT32_MAX, INT32_MAX, ""},
      // From the end.
      {"123456789", -3, 2, "78"},
      {"123456789", -1, 1, "9"},
      {"123456789", -13, 13, "123456789"},
      {"0001234", -13, 13, "0001234"},
      {"123456789", INT32_MIN, 3, "123"},
      // Backwards from a position.
      {"123456789", 5, -2, "45"},
      {"123456789", 5, -5, "12345"},
      {"123456789", 12, -4, "9"},
      {"123456789", -1, -3, "789"},
      {"123456789", -4, -2, "56"},
      {"123456789", -1, -9, "123456789"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CutField(c.text, c.start, c.length), c.expected) << c.text << " " << c.start << "/" << c.length;
  }
}

TEST(CutField, InvalidPositionsRaiseAnError) {
  const struct {
    const char* text;
    int32_t start;
    int32_t length;
  } cases[] = {
      {"123456789", 0, 5},  {"123456789", 0, 0},         {"", 0, 1},
      {"123456789", 0, -1}, {"123456789", 5, -6},        {"123456789", -1, -10},
      {"123", -5, -1},      {"123456789", 1, INT32_MIN}, {"123456789", INT32_MIN, INT32_MIN},
      {"", -1, -1},
  };
  for (const auto& c : cases) {
    try {
      CutField(c.text, c.start, c.length);
      ADD_FAILURE() << c.text << " " << c.start << "/" << c.length;
    } catch (const Error& error) {
      EXPECT_EQ(error.Number(), kErrInvalidArgument);
    }
  }
}

TEST(TrimLeadingZeros, KeepsAtMostTheGivenZerosOrPads) {
  const struct {
    const char* text;
    int32_t leadingZeros;
    int32_t length;
    const char* expected;
  } cases[] = {
      {"000123", 0, 0, "123"},
      {"000123", 2, 0, "00123"},
      {"000123", 3, 0, "000123"},
      {"000123", 5, 0, "000123"},
      {"0000", 0, 0, "0"},
      {"0000", 2, 0, "00"},
      {"0", 0, 0, "0"},
      {"", 0, 0, ""},
      {"120", 0, 0, "120"},
      {"0?12", 0, 0, "?12"},
      {"000123", INT32_MAX, 0, "000123"},
      {"000123", -1, 9, "000123"},
      {"000123", INT32_MIN, 9, "000123"},
      {"123", -2, 6, "000123"},
      {"123", -2, 2, "123"},
      {"123", -2, 3, "123"},
      {"", -2, 2, "00"},
      {"123", -2, -6, "123"},
      {"123", -3, 6, "123"},
      {"123", -2, 4096, nullptr},
  };
  for (const auto& c : cases) {
    const std::string result = TrimLeadingZeros(c.text, c.leadingZeros, c.length);
    if (c.expected == nullptr) {
      EXPECT_EQ(result, std::string(4093, '0') + c.text);
    } else {
      EXPECT_EQ(result, c.expected) << c.text << " " << c.leadingZeros << "/" << c.length;
    }
  }
}

TEST(TrimLeadingZeros, PaddingBeyondAnyFieldFailsInsteadOfTakingTheMemory) {
  try {
    TrimLeadingZeros("123", -2, INT32_MAX);
    ADD_FAILURE();
  } catch (const Error& error) {
    EXPECT_EQ(error.Number(), kErrOutOfMemory);
  }
}

TEST(FlipField, ReversesOnlyWhenAsked) {
  EXPECT_EQ(FlipField("12345", true), "54321");
  EXPECT_EQ(FlipField("12345", false), "12345");
  EXPECT_EQ(FlipField("", true), "");
}

TEST(TrimAccountToBankLength, KeepsTheDigitsTheBankUses) {
  const struct {
    int16_t bank;
    const char* expected;
  } cases[] = {
      {4, "456789"},     {9, "3456789"},      {10, "23456789"},    {11, "456789"},    {12, "456789"},
      {13, "23456789"},  {14, "456789"},      {17, "456789"},      {20, "456789"},    {31, "123456789"},
      {34, "23456789"},  {46, "456789"},      {52, "123456789"},   {54, "123456789"}, {99, "0123456789"},
      {0, "0123456789"}, {101, "0123456789"}, {-12, "0123456789"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrimAccountToBankLength("0123456789", c.bank), c.expected) << c.bank;
  }
  EXPECT_EQ(TrimAccountToBankLength("1234", 12), "1234");
  EXPECT_EQ(TrimAccountToBankLength("", 12), "");
}

}  // namespace
}  // namespace orvex
