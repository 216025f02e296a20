#pragma once

// The program's command-line switches. The whole command line, in upper case, is searched for each
// switch, so a switch may stand anywhere, in any case, and switches combine.

#include <string>
#include <string_view>

namespace orvex {

inline constexpr std::string_view kAntiCrashSwitch = "/ANTICRASH";
inline constexpr std::string_view kNoSplashSwitch = "/NOSPLASH";
inline constexpr std::string_view kNoCheckSwitch = "/NOCHK";
// Checks the configuration file, writes its notes beside it and ends: status 0 without notes, 1
// with some. No reader, no window.
inline constexpr std::string_view kCheckIniSwitch = "/CHECKINI";
// The program's own hidden role of restart watchdog, followed by the program path and the
// semaphore path, each in double quotes. Only the launcher run starts it.
inline constexpr std::string_view kWatchdogSwitch = "/WATCHDOG";

enum class RunKind {
  kNormal,
  kLauncher,  // "/ANTICRASH": starts the watchdog and ends; the other switches do not count
  kCheckIni,  // "/CHECKINI": before "/ANTICRASH", which it leaves out
  kWatchdog,
};

struct CommandLineSwitches {
  RunKind kind = RunKind::kNormal;
  bool noSplash = false;
  bool noCheck = false;
};

CommandLineSwitches ParseSwitches(std::string_view commandLine);

// The text in double quotes, as every path of the watchdog's command lines is written.
std::string Quoted(std::string_view path);

// What the launcher starts: the program in its watchdog role for the program and the semaphore.
std::string WatchdogCommandLine(std::string_view programPath, std::string_view semaphorePath);

// What the watchdog starts: the program path in double quotes, then " /NOSPLASH".
std::string WatchedProgramCommandLine(std::string_view programPath);

}  // namespace orvex
