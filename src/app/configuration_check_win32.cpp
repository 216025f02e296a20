#include "app/configuration_check_win32.h"

#include <windows.h>

#include "base/file_io.h"
#include "base/handle_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"
#include "config/configuration_check.h"

namespace orvex {
namespace {

// A file or pipe the parent handed over as standard output takes the UTF-8 bytes.
bool WriteToRedirectedOutput(const std::string& text) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!output || output == INVALID_HANDLE_VALUE || GetFileType(output) == FILE_TYPE_CHAR) {
    return false;
  }
  DWORD written = 0;
  return WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
}

// The text to the standard output the parent handed over, or else to the parent's console (a
// command prompt) as UTF-16, so that Hebrew shows whatever its code page.
void WriteToParentOutput(const std::string& text) {
  if (WriteToRedirectedOutput(text) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
    return;
  }
  const UniqueHandle console(
      CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (console) {
    const std::wstring wide = ToWide(text);
    DWORD written = 0;
    WriteConsoleW(console.Get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  }
  FreeConsole();
}

}  // namespace

int RunConfigurationCheck(const std::string& iniPath) {
  const ConfigurationNotes notes = CheckConfiguration(iniPath);
  std::string report = CheckReport(notes);
  const std::string reportPath = CheckReportPath(iniPath);
  const bool written = WriteFileBytes(reportPath, report);
  if (!written) {
    const std::string failure = "The check's report cannot be written to " + reportPath;
    WriteDebugLog(failure);
    report += failure + "\r\n";
  }
  WriteToParentOutput(report);
  return written ? CheckExitStatus(notes) : 1;
}

}  // namespace orvex
