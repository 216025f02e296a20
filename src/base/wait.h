#pragma once

// Waiting for a condition with a limit, for the few places that must wait on another program.

#include <chrono>
#include <thread>

namespace orvex {

// Asks the condition again every `interval` until it holds or `limit` has passed; true when it held.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds interval = std::chrono::milliseconds(1)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(interval);
  }
  return true;
}

}  // namespace orvex
