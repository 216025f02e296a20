// OrvexExcella.exe /CHECKINI, and the trace file, through the real program in a program folder of
// its own: the check's report beside the configuration and its exit status; Hebrew in the trace
// file, in UTF-8 whatever the system's code page.

#include <windows.h>

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "base/handle_win32.h"
#include "base/text_codec.h"
#include "base/wide_win32.h"
#include "support/program_folder_win32.h"

namespace orvex {
namespace {

constexpr DWORD kRunLimitMs = 20000;

// Runs the program with the arguments to its end; its exit status, or nothing when it did not end.
std::optional<DWORD> RunToTheEnd(const test_support::ProgramFolder& folder, const std::wstring& arguments) {
  const UniqueHandle process = folder.Start(arguments);
  if (!process || WaitForSingleObject(process.Get(), kRunLimitMs) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD status = 0;
  GetExitCodeProcess(process.Get(), &status);
  return status;
}

std::string FileText(const test_support::ProgramFolder& folder, std::string_view name) {
  return ReadFileBytes(FromWide(folder.Path(name).wstring())).value_or("<none>");
}

TEST(ConfigurationCheckRun, WritesTheReportBesideTheConfigurationAndSaysInItsStatusWhetherThereAreNotes) {
  const struct {
    const char* what;
    std::string ini;  // UTF-8, written as Windows-1255
    DWORD status;
    std::string report;
  } cases[] = {
      {"a clean file", "[Config]\r\nExcellaDeviceName=STX_USB\r\n[Main]\r\nRed=10\r\n", 0, "no notes\r\n"},
      {"a faulty file", "[Config]\r\nDefaultProfileName=ראשי\r\n[Main]\r\nChequeNumStrat=3\r\n", 1,
       "[Config] DefaultProfileName=ראשי names no profile section (letter case counts); the first profile, "
       "[Main], is loaded at start-up\r\n"
       "[Main] ChequeNumStrat is not a key the program knows; perhaps ChequeNumStart\r\n"},
  };
  for (const auto& c : cases) {
    const test_support::ProgramFolder folder("..", test_support::Reader::kNone);
    folder.Write("OrvexExcella.ini", Utf8ToWindows1255(c.ini));
    EXPECT_EQ(RunToTheEnd(folder, L"/CHECKINI"), c.status) << c.what;
    EXPECT_EQ(FileText(folder, "OrvexExcella.ini.check.txt"), c.report) << c.what;
    EXPECT_EQ(FileText(folder, "OrvexExcella.ini"), Utf8ToWindows1255(c.ini)) << "the check writes nothing back";
  }
}

TEST(TraceFileRun, HoldsEveryTraceLineInUtf8HebrewIncluded) {
  const test_support::ProgramFolder folder("..", test_support::Reader::kNone);
  folder.Write("OrvexExcella.ini", Utf8ToWindows1255("[Config]\r\nTraceFile=trace\\run.txt\r\n[פרופיל]\r\nRed=x\r\n"));
  CreateDirectoryW(folder.Path("trace").c_str(), nullptr);
  ASSERT_EQ(RunToTheEnd(folder, L"/CHECKINI"), 1u);
  const std::string trace = FileText(folder, "trace\\run.txt");
  EXPECT_NE(trace.find(" Starting OrvexExcella ver. "), std::string::npos) << trace;
  EXPECT_NE(trace.find("Configuration note: LoadProfile: [פרופיל] Red=x does not convert; the previous value "
                       "stays\r\n"),
            std::string::npos)
      << trace;
}

}  // namespace
}  // namespace orvex
