#pragma once

// The local date and time, elapsed time and waiting, read through an interface so that everything
// that stamps a name with the time, measures a read or waits before a retry can be driven by a
// fixed clock in tests.

#include <chrono>
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
  // A monotonic count that only measures intervals: unaffected by changes of the date or time.
  virtual std::chrono::milliseconds Monotonic() const = 0;
  // Blocks the calling thread for the interval.
  virtual void Sleep(std::chrono::milliseconds interval) = 0;
};

// The system's local time, its monotonic clock and the thread's sleep.
class SystemClock final : public Clock {
 public:
  LocalDateTime Now() const override;
  std::chrono::milliseconds Monotonic() const override;
  void Sleep(std::chrono::milliseconds interval) override;
};

}  // namespace orvex
