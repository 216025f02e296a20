#include "app/single_instance_win32.h"

#include "app/main_window_win32.h"
#include "base/trace.h"
#include "base/wait.h"

namespace orvex {

SessionMark::SessionMark(const wchar_t* name) : mutex_(CreateMutexW(nullptr, FALSE, name)) {
  heldElsewhere_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool SessionMarkHeld(const wchar_t* name) {
  return static_cast<bool>(UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, name)));
}

void ShowRunningProgramsDetails() {
  HWND other = nullptr;
  // The other run may still be starting: its main window comes with its first steps.
  if (!WaitUntil([&] { return (other = FindWindowW(kMainWindowClass, nullptr)) != nullptr; }, std::chrono::seconds(5),
                 std::chrono::milliseconds(50))) {
    WriteDebugLog("The running program shows no main window");
    return;
  }
  DWORD otherProcess = 0;
  GetWindowThreadProcessId(other, &otherProcess);
  AllowSetForegroundWindow(otherProcess);
  PostMessageW(other, RegisterWindowMessageW(kShowDetailsMessageName), 0, 0);
}

}  // namespace orvex
