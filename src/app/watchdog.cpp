#include "app/watchdog.h"

#include <filesystem>

#include "app/command_line.h"
#include "base/file_io.h"
#include "base/trace.h"

namespace orvex {
namespace {

// Waits for the started run to end; its exit code.
uint32_t WaitForEnd(WatchdogHost& host, Clock& clock) {
  std::optional<uint32_t> exitCode;
  while (!(exitCode = host.ProgramExitCode())) {
    clock.Sleep(kWatchdogPoll);
  }
  return *exitCode;
}

// Starts the program again and again until a run ends in a way that ends the loop.
WatchdogEnd WatchRuns(const std::string& commandLine, WatchdogHost& host, Clock& clock) {
  RestartBackOff backOff(clock);
  for (;;) {
    if (!host.StartProgram(commandLine)) {
      // A program that cannot be started now will not start a second later either.
      WriteDebugLog("Watchdog cannot start " + commandLine);
      return WatchdogEnd::kCannotStart;
    }
    const uint32_t exitCode = WaitForEnd(host, clock);
    if (host.SemaphoreExists()) {
      return WatchdogEnd::kOrderlyExit;
    }
    if (exitCode == kAlreadyRunningExitCode) {
      return WatchdogEnd::kAnotherRun;
    }
    const std::optional<std::chrono::milliseconds> wait = backOff.AfterExit();
    if (!wait) {
      WriteDebugLog("Watchdog stops: " + commandLine + " ended " + std::to_string(kQuickExitBound) +
                    " times within a minute, the last time with exit code " + std::to_string(exitCode));
      return WatchdogEnd::kKeepsFailing;
    }
    WriteDebugLog("Watchdog restarts " + commandLine + " after exit code " + std::to_string(exitCode) + " in " +
                  std::to_string(wait->count()) + " ms");
    if (*wait > std::chrono::milliseconds(0)) {
      clock.Sleep(*wait);
    }
  }
}

}  // namespace

std::optional<std::chrono::milliseconds> RestartBackOff::AfterExit() {
  const std::chrono::milliseconds now = clock_.Monotonic();
  std::erase_if(exits_, [&](std::chrono::milliseconds exit) { return now - exit >= kQuickExitWindow; });
  exits_.push_back(now);
  if (exits_.size() >= kQuickExitBound) {
    return std::nullopt;
  }
  return exits_.size() == 1 ? std::chrono::milliseconds(0) : kWatchdogPoll * (1 << (exits_.size() - 2));
}

WatchdogEnd RunWatchdog(std::string_view programPath, WatchdogHost& host, Clock& clock) {
  host.DeleteSemaphore();
  const WatchdogEnd end = WatchRuns(WatchedProgramCommandLine(programPath), host, clock);
  host.DeleteSemaphore();
  return end;
}

Message KeepsFailingMessage() {
  static_assert(kQuickExitWindow == std::chrono::minutes(1), "the text names a minute");
  return {.title = std::string(kTitleProgramError),
          .text = WithSupportLine(ErrorText("התוכנה אינה מצליחה לפעול: היא נסגרה " + std::to_string(kQuickExitBound) +
                                            " פעמים בתוך דקה, ולכן לא תופעל שוב מעצמה. ניתן להפעיל אותה שוב "
                                            "מתפריט התחל.")),
          .icon = MessageIcon::Critical,
          .buttons = MessageButtons::Ok,
          .foreground = true};
}

void LeaveShutdownSemaphore(std::string_view semaphorePath, bool restartFollows, MessageBoxes& boxes) {
  std::error_code error;
  if (std::filesystem::exists(ToFsPath(semaphorePath), error) || WriteFileBytes(semaphorePath, "")) {
    return;
  }
  WriteDebugLog("Cannot write " + std::string(semaphorePath));
  if (restartFollows) {
    boxes.Show(SemaphoreNotWrittenMessage(semaphorePath));
  }
}

Message SemaphoreNotWrittenMessage(std::string_view semaphorePath) {
  return {.title = std::string(kTitleProgramError),
          .text = WithSupportLine(ErrorText("לא ניתן היה לכתוב את הקובץ " + std::string(semaphorePath) +
                                            " (ייתכן שאין הרשאת כתיבה לתיקיית התוכנה), ולכן התוכנה תופעל שוב "
                                            "מעצמה בתוך שנייה לאחר היציאה.")),
          .icon = MessageIcon::Critical,
          .buttons = MessageButtons::Ok};
}

}  // namespace orvex
