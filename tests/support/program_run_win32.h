#pragma once

// A run of OrvexExcella.exe from a program folder, for the measurements and the soak run: started
// with its arguments and, when the run goes, ended as the system's shutdown ends it.

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_window_win32.h"
#include "base/handle_win32.h"
#include "support/program_folder_win32.h"

namespace orvex::test_support {

inline constexpr DWORD kEndLimitMs = 10000;

// Ends the process as the system's shutdown does, by closing its main window; one that does not end
// in time is terminated.
inline void EndInOrder(HANDLE process) {
  if (const HWND main = FindWindowOf(kMainWindowClass, GetProcessId(process))) {
    PostMessageW(main, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process, kEndLimitMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "the program did not end when closed; terminated\n");
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kEndLimitMs);
  }
}

// A run of the program, ended in order when it goes.
class ProgramRun {
 public:
  ProgramRun(const ProgramFolder& folder, const std::wstring& arguments) : process_(folder.Start(arguments)) {}
  ~ProgramRun() {
    if (process_) {
      EndInOrder(process_.Get());
    }
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  HANDLE Process() const { return process_.Get(); }

 private:
  UniqueHandle process_;
};

}  // namespace orvex::test_support
