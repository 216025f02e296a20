#include "app/watchdog_win32.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include "app/command_line.h"
#include "app/message_box_win32.h"
#include "app/single_instance_win32.h"
#include "app/watchdog.h"
#include "base/clock.h"
#include "base/handle_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

// Starts a command line without a console window; the process handle, empty when it cannot start.
// Shown normally, the watchdog too: it has no window, but a process's first ShowWindow takes the
// show state it was started with, and a hidden start would keep the watchdog's box hidden.
UniqueHandle StartCommandLine(const std::string& commandLine) {
  std::wstring line = ToWide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &info)) {
    return UniqueHandle();
  }
  CloseHandle(info.hThread);
  return UniqueHandle(info.hProcess);
}

class Win32WatchdogHost : public WatchdogHost {
 public:
  explicit Win32WatchdogHost(std::wstring semaphorePath) : semaphorePath_(std::move(semaphorePath)) {}

  bool StartProgram(const std::string& commandLine) override {
    program_ = StartCommandLine(commandLine);
    return static_cast<bool>(program_);
  }
  std::optional<uint32_t> ProgramExitCode() override {
    DWORD code = 0;
    if (WaitForSingleObject(program_.Get(), 0) == WAIT_TIMEOUT || !GetExitCodeProcess(program_.Get(), &code)) {
      return std::nullopt;
    }
    return code;
  }
  bool SemaphoreExists() override { return GetFileAttributesW(semaphorePath_.c_str()) != INVALID_FILE_ATTRIBUTES; }
  void DeleteSemaphore() override { DeleteFileW(semaphorePath_.c_str()); }

 private:
  std::wstring semaphorePath_;
  UniqueHandle program_;
};

// Looks after the program while this watchdog holds the session's watchdog mark; nothing when
// another watchdog holds it. The mark goes before the operator reads a box, so that a start from
// the Start menu meanwhile finds no watchdog in its way.
std::optional<WatchdogEnd> WatchUnderMark(const std::string& programPath, const std::wstring& semaphorePath) {
  const SessionMark mark(kWatchdogMarkName);
  if (mark.HeldElsewhere()) {
    return std::nullopt;
  }
  Win32WatchdogHost host(semaphorePath);
  SystemClock clock;
  return RunWatchdog(programPath, host, clock);
}

}  // namespace

void StartWatchdog(const std::string& programPath, const std::string& semaphorePath) {
  if (!StartCommandLine(WatchdogCommandLine(programPath, semaphorePath))) {
    WriteDebugLog("The watchdog cannot be started: error " + std::to_string(GetLastError()));
  }
}

int RunWatchdogRole(const wchar_t* commandLine) {
  int count = 0;
  const UniqueResource<LPWSTR*, LocalFree> arguments(CommandLineToArgvW(commandLine, &count));
  // The program, "/WATCHDOG", the program path and the semaphore path.
  if (!arguments || count < 4) {
    return 0;
  }
  const std::optional<WatchdogEnd> end = WatchUnderMark(FromWide(arguments.Get()[2]), arguments.Get()[3]);
  if (!end) {
    WriteDebugLog("Another watchdog looks after the program: this one ends");
    return static_cast<int>(kAlreadyRunningExitCode);
  }
  if (*end == WatchdogEnd::kKeepsFailing) {
    Win32MessageBoxes().Show(KeepsFailingMessage());
  }
  return 0;
}

bool WatchdogRuns() {
  return SessionMarkHeld(kWatchdogMarkName);
}

}  // namespace orvex
