#include "reader/image_join_win32.h"

#include <windows.h>

#include "base/system_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
bool CombinePicsJoin::Start(const std::string& targetName) {
  const std::wstring interpreter = EnvironmentVariable(L"COMSPEC");
  std::wstring commandLine = L"\"" + interpreter + L"\" /c netpbm\\CombinePics.bat \"" + ToWide(targetName) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started = {};
  if (interpreter.empty() || !CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                             CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started)) {
    WriteDebugLog("Cannot start netpbm\\CombinePics.bat: Windows error " + std::to_string(GetLastError()));
    return false;
  }
  CloseHandle(started.hThread);  // only the process is waited for
  process_ = UniqueHandle(started.hProcess);
  return true;
}

void CombinePicsJoin::WaitForPrevious() {
  if (!process_) {
    return;
  }
  if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(waitBound_.count())) == WAIT_TIMEOUT) {
    WriteDebugLog("netpbm\\CombinePics.bat still runs after " + std::to_string(waitBound_.count()) +
                  " ms; the next images are written anyway");
    return;
  }
  process_.Reset();
}

}  // namespace orvex
