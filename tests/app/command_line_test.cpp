#include "app/command_line.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(CommandLine, SwitchesCountInAnyCaseAndPosition) {
  const struct {
    std::string_view line;
    RunKind kind;
    bool noSplash, noCheck;
  } cases[] = {
      {"\"C:\\Orvex\\OrvexExcella.exe\"", RunKind::kNormal, false, false},
      {"\"C:\\Orvex\\OrvexExcella.exe\" /nosplash", RunKind::kNormal, true, false},
      {"OrvexExcella.exe /NoChk /NOSPLASH", RunKind::kNormal, true, true},
      {"OrvexExcella.exe/nochk", RunKind::kNormal, false, true},
      // The launcher does not look at "/NOSPLASH": it shows the splash all the same.
      {"OrvexExcella.exe /ANTICRASH /NOSPLASH", RunKind::kLauncher, true, false},
      {"OrvexExcella.exe /anticrash", RunKind::kLauncher, false, false},
      {"\"C:\\Orvex\\OrvexExcella.exe\" /WATCHDOG \"C:\\Orvex\\OrvexExcella.exe\" \"C:\\Orvex\\OrvexExcella.shutdown\"",
       RunKind::kWatchdog, false, false},
      {"OrvexExcella.exe NOSPLASH NOCHK ANTICRASH", RunKind::kNormal, false, false},
      {"OrvexExcella.exe /checkini", RunKind::kCheckIni, false, false},
      {"OrvexExcella.exe /ANTICRASH /CheckIni", RunKind::kCheckIni, false, false},
  };
  for (const auto& c : cases) {
    const CommandLineSwitches switches = ParseSwitches(c.line);
    EXPECT_EQ(switches.kind, c.kind) << c.line;
    EXPECT_EQ(switches.noSplash, c.noSplash) << c.line;
    EXPECT_EQ(switches.noCheck, c.noCheck) << c.line;
  }
}

TEST(CommandLine, TheWatchdogStartsTheProgramWithoutSplash) {
  EXPECT_EQ(WatchedProgramCommandLine("C:\\Program Files\\Orvex\\OrvexExcella.exe"),
            "\"C:\\Program Files\\Orvex\\OrvexExcella.exe\" /NOSPLASH");
  const std::string watchdog = WatchdogCommandLine("C:\\O x\\OrvexExcella.exe", "C:\\O x\\OrvexExcella.shutdown");
  EXPECT_EQ(watchdog,
            "\"C:\\O x\\OrvexExcella.exe\" /WATCHDOG \"C:\\O x\\OrvexExcella.exe\" \"C:\\O x\\OrvexExcella.shutdown\"");
  EXPECT_EQ(ParseSwitches(watchdog).kind, RunKind::kWatchdog);
}

}  // namespace
}  // namespace orvex
