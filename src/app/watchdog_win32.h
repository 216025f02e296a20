#pragma once

// The restart watchdog on Windows: the program itself in a hidden role, started by the launcher
// run ("/ANTICRASH") after the splash. It holds the session's watchdog mark while it looks after
// the program, so a second launcher or watchdog leaves it and its semaphore alone.

#include <string>

namespace orvex {

// The launcher run: starts the watchdog role for this program and returns without waiting.
// Failures are traced.
void StartWatchdog(const std::string& programPath, const std::string& semaphorePath);

// The watchdog role: looks after the program until a run ends through DoEnd, and tells the
// operator when it gives up on a program that keeps ending. The command line is the one
// WatchdogCommandLine builds. The process's exit code: kAlreadyRunningExitCode when another
// watchdog of the session looks after the program already, else 0.
int RunWatchdogRole(const wchar_t* commandLine);

// Whether a watchdog of this session looks after the program.
bool WatchdogRuns();

}  // namespace orvex
