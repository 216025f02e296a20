#pragma once

// The restart watchdog: a hidden run of the program that starts the program again whenever it ends
// without its orderly exit. The orderly exit (DoEnd) leaves the shutdown semaphore file, which ends
// the loop.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/clock.h"

namespace orvex {

// The semaphore beside the program: present once a run has ended through DoEnd.
inline constexpr std::string_view kShutdownSemaphoreName = "OrvexExcella.shutdown";
// How often the watchdog looks whether the program still runs.
inline constexpr std::chrono::milliseconds kWatchdogPoll{1000};
// The exit code of a run that ended because another run of the program was already there. The
// watchdog does not start such a run again: the first run is watched by its own watchdog.
inline constexpr uint32_t kAlreadyRunningExitCode = 3;

// The program the watchdog looks after, and the semaphore file. Win32: watchdog_win32.cpp.
class WatchdogHost {
 public:
  virtual ~WatchdogHost() = default;
  // Starts the command line without waiting; false when it cannot be started.
  virtual bool StartProgram(const std::string& commandLine) = 0;
  // The started run's exit code once it has ended; nothing while it runs.
  virtual std::optional<uint32_t> ProgramExitCode() = 0;
  virtual bool SemaphoreExists() = 0;
  virtual void DeleteSemaphore() = 0;
};

// Runs the loop until a run ends through DoEnd (or finds another run in its place, or cannot be
// started at all), polling once every kWatchdogPoll. The semaphore is deleted before the first
// start, so one left by an earlier run does not end the new loop, and again at the end.
void RunWatchdog(std::string_view programPath, WatchdogHost& host, Clock& clock);

// DoEnd's mark for the watchdog: creates the empty semaphore file unless it exists. Failures are
// traced, not raised.
void LeaveShutdownSemaphore(std::string_view semaphorePath);

}  // namespace orvex
