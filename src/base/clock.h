#pragma once

// The local date and time, read through an interface so that everything that stamps a name or a
// line with the time can be driven by a fixed clock.

#include <compare>

namespace orvex {

// A calendar date with a time of day, local time.
struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;   // 0 to 23
  int minute = 0;
  int second = 0;

  auto operator<=>(const LocalDateTime&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
};

// The system's local time.
class SystemClock final : public Clock {
 public:
  LocalDateTime Now() const override;
};

}  // namespace orvex
