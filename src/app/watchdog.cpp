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

}  // namespace

void RunWatchdog(std::string_view programPath, WatchdogHost& host, Clock& clock) {
  const std::string commandLine = WatchedProgramCommandLine(programPath);
  host.DeleteSemaphore();
  for (;;) {
    if (!host.StartProgram(commandLine)) {
      // A program that cannot be started now will not start a second later either.
      WriteDebugLog("Watchdog cannot start " + commandLine);
      break;
    }
    const uint32_t exitCode = WaitForEnd(host, clock);
    if (host.SemaphoreExists() || exitCode == kAlreadyRunningExitCode) {
      break;
    }
    WriteDebugLog("Watchdog restarts " + commandLine + " after exit code " + std::to_string(exitCode));
  }
  host.DeleteSemaphore();
}

void LeaveShutdownSemaphore(std::string_view semaphorePath) {
  std::error_code error;
  if (std::filesystem::exists(ToFsPath(semaphorePath), error)) {
    return;
  }
  if (!WriteFileBytes(semaphorePath, "")) {
    WriteDebugLog("Cannot write " + std::string(semaphorePath));
  }
}

}  // namespace orvex
