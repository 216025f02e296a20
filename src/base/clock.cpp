#include "base/clock.h"

#include <thread>

namespace orvex {

std::chrono::milliseconds SystemClock::Monotonic() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::Sleep(std::chrono::milliseconds interval) {
  std::this_thread::sleep_for(interval);
}

}  // namespace orvex
