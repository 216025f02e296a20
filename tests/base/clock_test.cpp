#include "base/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace orvex {
namespace {

// The calendar fields of the system clock, turned back into a time, are the current time.
TEST(SystemClock, ReadsTheLocalDateAndTime) {
  const std::time_t before = std::time(nullptr);
  const LocalDateTime now = SystemClock().Now();
  const std::time_t after = std::time(nullptr);

  std::tm fields{};
  fields.tm_year = now.year - 1900;
  fields.tm_mon = now.month - 1;
  fields.tm_mday = now.day;
  fields.tm_hour = now.hour;
  fields.tm_min = now.minute;
  fields.tm_sec = now.second;
  fields.tm_isdst = -1;
  const std::time_t read = std::mktime(&fields);

  EXPECT_GE(read, before - 1);
  EXPECT_LE(read, after + 1);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
}

}  // namespace
}  // namespace orvex
