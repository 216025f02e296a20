#include "reader/image_join_win32.h"

#include <windows.h>

#include <string>

#include "base/system_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {

bool CombinePicsJoin::Start() {
  const std::wstring interpreter = EnvironmentVariable(L"COMSPEC");
  // "/s /c" and the quotes around the whole command: the interpreter drops just those, so the
  // script's path may hold blanks. The target is a plain name: nothing in it is syntax.
  std::wstring commandLine = L"\"" + interpreter + L"\" /s /c \"\"" + script_ + L"\" " +
                             ToWide(std::string(kTemporaryJoined)) + L"\"";
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

ImageJoin::Outcome CombinePicsJoin::Wait(std::chrono::milliseconds bound) {
  if (!process_) {
    return Outcome::kNone;
  }
  if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(bound.count())) == WAIT_TIMEOUT) {
    return Outcome::kRunning;
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process_.Get(), &exitCode);
  process_.Reset();
  if (exitCode != 0) {
    WriteDebugLog("netpbm\\CombinePics.bat ended with exit status " + std::to_string(exitCode));
    return Outcome::kFailed;
  }
  return Outcome::kSucceeded;
}

}  // namespace orvex
