// OrvexExcella.exe as the operator runs it: the real program in a program folder of its own,
// driven through its windows as a user and Windows would drive it.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_window_win32.h"
#include "app/tray_icon_win32.h"
#include "app/tray_menu.h"
#include "app/watchdog.h"
#include "app/window_win32.h"
#include "base/handle_win32.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

enum class Reader { kNone, kVirtual };

// A program folder holding the program and the bank-branch table, as installed, and the project's
// virtual reader library when asked (its documents folder is "virtual-reader" beside it).
class ProgramFolder {
 public:
  explicit ProgramFolder(Reader reader = Reader::kNone) {
    fs::copy_file("../OrvexExcella.exe", folder_.Path() / "OrvexExcella.exe");
    fs::copy_file("banks_branches.txt", folder_.Path() / "banks_branches.txt");
    if (reader == Reader::kVirtual) {
      fs::copy_file("../mtxmlmcr.dll", folder_.Path() / "mtxmlmcr.dll");
    }
  }
  fs::path Path(const char* name) const { return folder_.Path() / name; }
  void Write(const char* name, std::string_view bytes) const { std::ofstream(Path(name), std::ios::binary) << bytes; }

  // Starts the program with the arguments; the process handle.
  UniqueHandle Start(const std::string& arguments) const {
    std::wstring line = L"\"" + Path("OrvexExcella.exe").wstring() + L"\" " + ToWide(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.Path().c_str(), &startup,
                        &info)) {
      ADD_FAILURE() << "the program does not start";
      return UniqueHandle();
    }
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
  }

 private:
  testing::TempFolder folder_;
};

// The first top-level window of the class, of any process (0) or of the given one.
HWND FindWindowOf(const wchar_t* className, DWORD process = 0) {
  for (HWND window = FindWindowW(className, nullptr); window;
       window = FindWindowExW(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (process == 0 || owner == process) {
      return window;
    }
  }
  return nullptr;
}

HWND WaitForWindow(const wchar_t* className, DWORD process = 0, milliseconds limit = seconds(10)) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowOf(className, process)) != nullptr; }, limit, milliseconds(10));
  return window;
}

HWND WaitForBox(std::string_view title) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindWindowW(L"#32770", ToWide(title).c_str())) != nullptr; }, seconds(10),
            milliseconds(10));
  return box;
}

void Press(HWND box, int button) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

bool Ends(const UniqueHandle& process, milliseconds limit = seconds(10)) {
  return WaitForSingleObject(process.Get(), static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

DWORD ExitCode(const UniqueHandle& process) {
  DWORD code = 0;
  GetExitCodeProcess(process.Get(), &code);
  return code;
}

void ChooseFromTray(HWND mainWindow, TrayCommand command, int32_t number = 0) {
  PostMessageW(mainWindow, WM_COMMAND, MenuCommandId(command, number), 0);
}

// Exit from the tray menu, answered with Yes.
void ExitFromTray(HWND mainWindow) {
  ChooseFromTray(mainWindow, TrayCommand::kExit);
  Press(WaitForBox("קורא כרטיסים וצ'קים של Orvex"), IDYES);
}

TEST(ProgramRun, FirstStartWritesTheSampleConfigurationAndExitsOnlyOnYes) {
  ProgramFolder folder;
  const UniqueHandle program = folder.Start("/NOCHK /NOSPLASH");
  const HWND main = WaitForWindow(kMainWindowClass, GetProcessId(program.Get()));
  ASSERT_NE(main, nullptr);
  const std::string sample = FileBytes("data/OrvexExcella.ini");
  WaitUntil([&] { return FileBytes(folder.Path("OrvexExcella.ini")).size() >= sample.size(); }, seconds(10));
  EXPECT_EQ(FileBytes(folder.Path("OrvexExcella.ini")), sample);
  EXPECT_FALSE(IsWindowVisible(main)) << "the main window is hidden once the tray icon is there";

  ChooseFromTray(main, TrayCommand::kExit);
  const HWND question = WaitForBox("קורא כרטיסים וצ'קים של Orvex");
  ASSERT_NE(question, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(question, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  Press(question, IDNO);
  EXPECT_FALSE(Ends(program, milliseconds(300))) << "No leaves the program running";
  EXPECT_FALSE(fs::exists(folder.Path("OrvexExcella.shutdown")));

  ExitFromTray(main);
  EXPECT_TRUE(Ends(program));
  EXPECT_TRUE(fs::exists(folder.Path("OrvexExcella.shutdown")));
}

TEST(ProgramRun, AnExistingConfigurationStaysAndClosingTheMainWindowEndsInOrder) {
  ProgramFolder folder(Reader::kVirtual);
  folder.Write("OrvexExcella.ini", "");
  const UniqueHandle program = folder.Start("/nosplash");
  const HWND main = WaitForWindow(kMainWindowClass, GetProcessId(program.Get()));
  ASSERT_NE(main, nullptr);
  // As a system shutdown closes it.
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ends(program));
  EXPECT_EQ(fs::file_size(folder.Path("OrvexExcella.ini")), 0u);
  EXPECT_TRUE(fs::exists(folder.Path("OrvexExcella.shutdown")));
}

TEST(ProgramRun, WithoutAReaderAndWithoutNoChkTheProgramTellsAndEnds) {
  ProgramFolder folder;
  const UniqueHandle program = folder.Start("/NOSPLASH");
  const HWND box = WaitForBox("שגיאה בקורא צ'קים של Orvex");
  ASSERT_NE(box, nullptr);
  Press(box, IDOK);
  EXPECT_TRUE(Ends(program));
  EXPECT_TRUE(fs::exists(folder.Path("OrvexExcella.shutdown")));
}

TEST(ProgramRun, AnUnreachableWebSourceEndsTheProgramEvenInDebugMode) {
  ProgramFolder folder;
  folder.Write("OrvexExcella.ini",
               "[Config]\r\n[Web]\r\nLimitedAccountURL=http://127.0.0.1:9/\r\nURLConnectionTimeout=2\r\n");
  const UniqueHandle program = folder.Start("/NOCHK /NOSPLASH");
  const HWND box = WaitForBox("קורא צ'קים וכרטיסים של Orvex");
  ASSERT_NE(box, nullptr);
  Press(box, IDOK);
  EXPECT_TRUE(Ends(program));
  EXPECT_TRUE(fs::exists(folder.Path("OrvexExcella.shutdown")));
}

// A configuration whose reader is polled feeder by feeder, so the windows answer at once.
constexpr std::string_view kPolledReader = "[Config]\r\nExcellaDeviceName=STX_USB\r\n[One]\r\n[Two]\r\n";

TEST(ProgramRun, ASecondStartBringsUpTheFirstRunsDetailsAndEnds) {
  ProgramFolder folder(Reader::kVirtual);
  folder.Write("OrvexExcella.ini", kPolledReader);
  const UniqueHandle first = folder.Start("/NOSPLASH");
  const HWND main = WaitForWindow(kMainWindowClass, GetProcessId(first.Get()));
  ASSERT_NE(main, nullptr);
  const UniqueHandle second = folder.Start("");
  EXPECT_TRUE(Ends(second));
  EXPECT_EQ(ExitCode(second), kAlreadyRunningExitCode);
  EXPECT_NE(WaitForWindow(L"OrvexDetails", GetProcessId(first.Get())), nullptr);
  ExitFromTray(main);
  EXPECT_TRUE(Ends(first));
}

TEST(ProgramRun, TheTrayIconOpensTheMenuOnTheRightButtonAndTheDetailsOnTheLeft) {
  ProgramFolder folder(Reader::kVirtual);
  folder.Write("OrvexExcella.ini", kPolledReader);
  const UniqueHandle program = folder.Start("/NOSPLASH");
  const HWND main = WaitForWindow(kMainWindowClass, GetProcessId(program.Get()));
  ASSERT_NE(main, nullptr);
  PostMessageW(main, kTrayCallbackMessage, 1, WM_RBUTTONUP);
  const HWND menu = WaitForWindow(L"#32768", 0, seconds(5));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(menu) != FALSE; }, seconds(5))) << "the menu window shows";
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(main, WM_CANCELMODE, 0, 0);
  PostMessageW(main, kTrayCallbackMessage, 1, WM_LBUTTONUP);
  const HWND details = WaitForWindow(L"OrvexDetails", GetProcessId(program.Get()));
  ASSERT_NE(details, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(details) != FALSE; }, seconds(5)));
  ExitFromTray(main);
  EXPECT_TRUE(Ends(program));
}

TEST(Watchdog, RestartsAKilledProgramWithoutSplashAndNotOneThatExitedInOrder) {
  ProgramFolder folder(Reader::kVirtual);
  folder.Write("OrvexExcella.ini", kPolledReader);
  const UniqueHandle launcher = folder.Start("/ANTICRASH");
  EXPECT_NE(WaitForWindow(L"OrvexSplash"), nullptr) << "the launcher shows the splash";
  EXPECT_TRUE(Ends(launcher));
  const HWND first = WaitForWindow(kMainWindowClass);
  ASSERT_NE(first, nullptr);
  DWORD firstProcess = 0;
  GetWindowThreadProcessId(first, &firstProcess);
  const UniqueHandle killed(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, firstProcess));
  TerminateProcess(killed.Get(), 1);
  ASSERT_TRUE(Ends(killed));
  HWND second = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] {
        second = FindWindowOf(kMainWindowClass);
        DWORD process = 0;
        GetWindowThreadProcessId(second, &process);
        return second && process != firstProcess;
      },
      seconds(10), milliseconds(10)))
      << "a killed program is started again";
  ASSERT_NE(second, nullptr);
  ExitFromTray(second);
  // The watchdog deletes the semaphore when its loop ends.
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder.Path("OrvexExcella.shutdown")); }, seconds(10)));
  EXPECT_TRUE(WaitUntil([&] { return !fs::exists(folder.Path("OrvexExcella.shutdown")); }, seconds(5)))
      << "the watchdog ended after the orderly exit";
  EXPECT_EQ(FindWindowOf(kMainWindowClass), nullptr);
}

}  // namespace
}  // namespace orvex
