#pragma once

// A clock that stands still until a test moves it: sleeps are recorded and move it forward.

#include <chrono>
#include <vector>

#include "base/clock.h"

namespace orvex::test_support {

class FakeClock : public Clock {
 public:
  LocalDateTime Now() const override { return now; }
  std::chrono::milliseconds Monotonic() const override { return monotonic; }
  void Sleep(std::chrono::milliseconds interval) override {
    sleeps.push_back(interval);
    monotonic += interval;
  }

  LocalDateTime now{2026, 3, 5, 14, 7, 9};
  std::chrono::milliseconds monotonic{0};
  std::vector<std::chrono::milliseconds> sleeps;
};

}  // namespace orvex::test_support
