#pragma once

// Sets a file's last-write time to a local date and time, as a file written then would carry.

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "base/clock.h"

namespace orvex::test_support {

inline void SetModifiedLocalTime(const std::string& utf8Path, const LocalDateTime& time) {
  std::tm local{};
  local.tm_year = time.year - 1900;
  local.tm_mon = time.month - 1;
  local.tm_mday = time.day;
  local.tm_hour = time.hour;
  local.tm_min = time.minute;
  local.tm_sec = time.second;
  local.tm_isdst = -1;  // whatever daylight-saving time says for that date
  const auto written = std::chrono::system_clock::from_time_t(std::mktime(&local));
  std::filesystem::last_write_time(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())),
                                   std::chrono::file_clock::from_sys(written));
}

}  // namespace orvex::test_support
