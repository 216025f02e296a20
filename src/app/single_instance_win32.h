#pragma once

// One of each role per user session, marked by named mutexes of the session's "Local\" namespace.
// A second start of the program brings up the first run's details window and ends, so two programs
// never poll one reader (a Start-menu click beside the autostart entry); a second watchdog ends at
// once, so two never look after one program or delete the semaphore the other waits for.

#include <windows.h>

#include "base/handle_win32.h"

namespace orvex {

// Held by the normal run of the program.
inline constexpr wchar_t kProgramMarkName[] = L"Local\\OrvexExcella.Running";
// Held by the watchdog while it looks after the program.
inline constexpr wchar_t kWatchdogMarkName[] = L"Local\\OrvexExcella.Watchdog";

// A mark of the session, held from construction to destruction: a mutex that is created and never
// waited on. Whoever creates it first holds it; those who come later learn that it was there.
class SessionMark {
 public:
  explicit SessionMark(const wchar_t* name);

  // True when another process held the mark first.
  bool HeldElsewhere() const { return heldElsewhere_; }

 private:
  UniqueHandle mutex_;
  bool heldElsewhere_ = false;
};

// Whether a process of the session holds the mark; asks without taking part in it.
bool SessionMarkHeld(const wchar_t* name);

// Asks the running program to bring up its details window (it may take the foreground).
void ShowRunningProgramsDetails();

}  // namespace orvex
