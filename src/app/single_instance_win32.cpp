#include "app/single_instance_win32.h"

#include "app/main_window_win32.h"
#include "base/trace.h"
#include "base/wait.h"

namespace orvex {

SingleInstance::SingleInstance() {
  mutex_ = CreateMutexW(nullptr, FALSE, L"Local\\OrvexExcella.Running");
  anotherRun_ = mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (mutex_) {
    CloseHandle(mutex_);
  }
}

void SingleInstance::ShowOtherRunsDetails() const {
  HWND other = nullptr;
  // The other run may still be starting: its main window comes with its first steps.
  if (!WaitUntil([&] { return (other = FindWindowW(kMainWindowClass, nullptr)) != nullptr; }, std::chrono::seconds(5),
                 std::chrono::milliseconds(50))) {
    WriteDebugLog("Another run holds the program's mark but shows no main window");
    return;
  }
  DWORD otherProcess = 0;
  GetWindowThreadProcessId(other, &otherProcess);
  AllowSetForegroundWindow(otherProcess);
  PostMessageW(other, RegisterWindowMessageW(kShowDetailsMessageName), 0, 0);
}

}  // namespace orvex
