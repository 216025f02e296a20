#include "app/command_line.h"

#include <algorithm>

namespace orvex {
namespace {

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return upper;
}

}  // namespace

CommandLineSwitches ParseSwitches(std::string_view commandLine) {
  const std::string upper = AsciiUpper(commandLine);
  const auto holds = [&](std::string_view name) { return upper.find(name) != std::string::npos; };
  CommandLineSwitches switches;
  if (holds(kWatchdogSwitch)) {
    switches.kind = RunKind::kWatchdog;
  } else if (holds(kCheckIniSwitch)) {
    switches.kind = RunKind::kCheckIni;
  } else if (holds(kAntiCrashSwitch)) {
    switches.kind = RunKind::kLauncher;
  }
  switches.noSplash = holds(kNoSplashSwitch);
  switches.noCheck = holds(kNoCheckSwitch);
  return switches;
}

std::string Quoted(std::string_view path) {
  return "\"" + std::string(path) + "\"";
}

std::string WatchdogCommandLine(std::string_view programPath, std::string_view semaphorePath) {
  return Quoted(programPath) + " " + std::string(kWatchdogSwitch) + " " + Quoted(programPath) + " " +
         Quoted(semaphorePath);
}

std::string WatchedProgramCommandLine(std::string_view programPath) {
  return Quoted(programPath) + " " + std::string(kNoSplashSwitch);
}

}  // namespace orvex
