#pragma once

// The restart watchdog: a hidden run of the program that starts the program again whenever it ends
// without its orderly exit. The orderly exit (DoEnd) leaves the shutdown semaphore file, which ends
// the loop. A program that keeps ending is started again more and more slowly, and then no more.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/message_box.h"

namespace orvex {

// The semaphore beside the program: present once a run has ended through DoEnd.
inline constexpr std::string_view kShutdownSemaphoreName = "OrvexExcella.shutdown";
// How often the watchdog looks whether the program still runs.
inline constexpr std::chrono::milliseconds kWatchdogPoll{1000};
// The exit code of a run that ended because another run of the program was already there. The
// watchdog does not start such a run again: the first run is watched by its own watchdog.
inline constexpr uint32_t kAlreadyRunningExitCode = 3;
// The watchdog gives up on a program that ends kQuickExitBound times within kQuickExitWindow.
inline constexpr size_t kQuickExitBound = 5;
inline constexpr std::chrono::minutes kQuickExitWindow{1};

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

// The wait before the program is started again after an exit that was not orderly. The first exit
// within kQuickExitWindow is followed by a start at once (the look that found it came at most one
// poll after it); each further one doubles the wait, from one poll up; the kQuickExitBound-th ends
// the restarts. A program that ran for longer than the window between two exits is always started
// again at once.
class RestartBackOff {
 public:
  explicit RestartBackOff(const Clock& clock) : clock_(clock) {}
  // Counts an exit the watchdog has just found; the wait before the next start, or nothing when the
  // program is not to be started again.
  std::optional<std::chrono::milliseconds> AfterExit();

 private:
  const Clock& clock_;
  std::vector<std::chrono::milliseconds> exits_;  // on the clock's monotonic count, within the window
};

// Why the watchdog's loop ended.
enum class WatchdogEnd {
  kOrderlyExit,   // a run ended through DoEnd
  kAnotherRun,    // a run found another run of the program in its place
  kCannotStart,   // the program could not be started
  kKeepsFailing,  // the program ended kQuickExitBound times within kQuickExitWindow
};

// Runs the loop until one of the ends above, looking once every kWatchdogPoll whether the started
// run still runs. The semaphore is deleted before the first start, so one left by an earlier run
// does not end the new loop, and again at the end.
WatchdogEnd RunWatchdog(std::string_view programPath, WatchdogHost& host, Clock& clock);

// What the watchdog shows when it gives up on a program that keeps ending.
Message KeepsFailingMessage();

// DoEnd's mark for the watchdog: creates the empty semaphore file unless it exists. A semaphore
// that cannot be written is traced and, when a watchdog would start the program again
// (`restartFollows`), shown to the operator, whose exit would otherwise be undone unexplained.
void LeaveShutdownSemaphore(std::string_view semaphorePath, bool restartFollows, MessageBoxes& boxes);

// Why the program will come back after the operator's exit: its semaphore could not be written.
Message SemaphoreNotWrittenMessage(std::string_view semaphorePath);

}  // namespace orvex
