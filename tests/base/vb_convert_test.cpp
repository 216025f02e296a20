#include "base/vb_convert.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(ToInt32, ConvertsWholeNumbersFractionsAndLiterals) {
  const struct {
    const char* text;
    std::optional<int32_t> expected;
  } cases[] = {
      {"12", 12},
      {"  12\t", 12},
      {"-7", -7},
      {"+7", 7},
      {"0", 0},
      {"2.5", 2},  // halves go to the even neighbour
      {"3.5", 4},
      {"-2.5", -2},
      {"-3.5", -4},
      {"2.4999", 2},
      {"2.51", 3},
      {".5", 0},
      {"1.5", 2},
      {"5.", 5},
      {"1E3", 1000},
      {"2.5e1", 25},
      {"&H10", 16},
      {"&hFF", 255},
      {"&O17", 15},
      {"&HFFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483647.5", std::nullopt},  // rounds out of range
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"x", std::nullopt},
      {"12x", std::nullopt},
      {"1 2", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"1e", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"&H", std::nullopt},
      {"&HG", std::nullopt},
      {"&H100000000", std::nullopt},
      {"1e400", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToInt32(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(ToInt16AndToByte, CheckTheirRanges) {
  EXPECT_EQ(ToInt16("32767"), int16_t{32767});
  EXPECT_EQ(ToInt16("-32768"), int16_t{-32768});
  EXPECT_EQ(ToInt16("32768"), std::nullopt);
  EXPECT_EQ(ToInt16("32767.4"), int16_t{32767});
  EXPECT_EQ(ToInt16("32767.5"), std::nullopt);
  EXPECT_EQ(ToByte("0"), uint8_t{0});
  EXPECT_EQ(ToByte("255"), uint8_t{255});
  EXPECT_EQ(ToByte("256"), std::nullopt);
  EXPECT_EQ(ToByte("-1"), std::nullopt);
  EXPECT_EQ(ToByte("-0.4"), uint8_t{0});
  EXPECT_EQ(ToByte("300"), std::nullopt);
}

TEST(ToBoolean, AcceptsWordsInAnyCaseAndNumbers) {
  const struct {
    const char* text;
    std::optional<bool> expected;
  } cases[] = {
      {"TRUE", true},   {"true", true},     {"True", true},        {" tRuE ", true},    {"FALSE", false},
      {"false", false}, {"0", false},       {"1", true},           {"-1", true},        {"0.0", false},
      {"2.5", true},    {"", std::nullopt}, {"yes", std::nullopt}, {"T", std::nullopt}, {"TRUEX", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToBoolean(c.text), c.expected) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace orvex
