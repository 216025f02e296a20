// OrvexExcella.exe as the operator runs it: the real program in a program folder of its own,
// driven through its windows as a user and Windows would drive it.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "app/command_line.h"
#include "app/details.h"
#include "app/main_window_win32.h"
#include "app/tray_icon_win32.h"
#include "app/tray_menu.h"
#include "app/watchdog.h"
#include "app/watchdog_win32.h"
#include "app/window_win32.h"
#include "base/file_io.h"
#include "base/handle_win32.h"
#include "base/system_win32.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "interpret/file_names.h"
#include "keys_target_client.h"
#include "support/processing_harness.h"
#include "support/program_folder_win32.h"
#include "support/trace_monitor_win32.h"

namespace orvex {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
  return ReadFileBytes(FromWide(path.wstring())).value_or("");
}

using test_support::FindWindowOf;
using test_support::Reader;

// The build tree's top folder, above the tests' working folder.
constexpr char kBuildFolder[] = "..";

// A program folder as installed, with the virtual reader when asked.
class ProgramFolder : public test_support::ProgramFolder {
 public:
  explicit ProgramFolder(Reader reader = Reader::kNone) : test_support::ProgramFolder(kBuildFolder, reader) {}
  UniqueHandle Start(std::string_view arguments) const {
    UniqueHandle process = test_support::ProgramFolder::Start(ToWide(arguments));
    EXPECT_TRUE(process) << "the program does not start";
    return process;
  }
};

HWND WaitForWindow(const wchar_t* className, DWORD process = 0, milliseconds limit = seconds(10)) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowOf(className, process)) != nullptr; }, limit, milliseconds(10));
  return window;
}

HWND WaitForBox(std::string_view title, milliseconds limit = seconds(10)) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindWindowW(L"#32770", ToWide(title).c_str())) != nullptr; }, limit, milliseconds(10));
  return box;
}

// The text of a message box.
std::string BoxText(HWND box) {
  wchar_t text[4096] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 4096);
  return FromWide(text);
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

// Whether the first window lies above the second in the window order.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND below = GetWindow(upper, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
    if (below == lower) {
      return true;
    }
  }
  return false;
}

TEST(ProgramRun, AnInkWarningAtStartUpComesAboveTheSplash) {
  ProgramFolder folder{Reader::kVirtual};
  fs::create_directories(folder.Path("virtual-reader"));
  folder.Write("virtual-reader\\device.ini", "[Device]\r\nInk=LOW\r\n");
  folder.Write("OrvexExcella.ini", "[Config]\r\nSplashScreenTime=30000\r\n[Teller]\r\nEndorseBack=PAID\r\n");
  const UniqueHandle program = folder.Start("");
  const HWND box = WaitForBox("קורא הצ'קים של Orvex");
  ASSERT_NE(box, nullptr);
  const HWND splash = FindWindowOf(L"OrvexSplash", GetProcessId(program.Get()));
  ASSERT_NE(splash, nullptr) << "the splash is still up";
  EXPECT_TRUE(IsAbove(box, splash));
  Press(box, IDOK);
  ExitFromTray(WaitForWindow(kMainWindowClass, GetProcessId(program.Get())));
  EXPECT_TRUE(Ends(program));
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
  EXPECT_TRUE(WaitUntil([] { return !WatchdogRuns(); }, seconds(5))) << "the watchdog lets go of its mark";
  EXPECT_EQ(FindWindowOf(kMainWindowClass), nullptr);
}

// The watchdog role started directly, as the launcher starts it, for the program given.
UniqueHandle StartWatchdogFor(const ProgramFolder& folder, const fs::path& program) {
  return folder.Start("/WATCHDOG " + Quoted(FromWide(program.wstring())) + " " +
                      Quoted(FromWide(folder.Path(kShutdownSemaphoreName).wstring())));
}

TEST(Watchdog, GivesUpOnAProgramThatKeepsEndingAndTellsTheOperator) {
  const test_support::TraceMonitor trace;
  ASSERT_TRUE(trace.Ready());
  ProgramFolder folder;
  // The trace channel test's child, beside the tests, ends as soon as it has started.
  const UniqueHandle watchdog =
      StartWatchdogFor(folder, fs::path(ModulePath(nullptr)).parent_path() / L"trace_child.exe");
  // The starts at once, then after the back-off's waits of one, two and four seconds.
  const HWND box = WaitForBox(kTitleProgramError, seconds(40));
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(box) != FALSE; }, seconds(5))) << "the box shows";
  EXPECT_EQ(BoxText(box), KeepsFailingMessage().text);
  EXPECT_TRUE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  const std::vector<std::string> lines = trace.Lines(GetProcessId(watchdog.Get()));
  EXPECT_EQ(std::ranges::count_if(
                lines, [](const std::string& line) { return line.find("Watchdog restarts") != std::string::npos; }),
            static_cast<long>(kQuickExitBound - 1));
  EXPECT_FALSE(WatchdogRuns()) << "while the operator reads the box, a new launcher may start a watchdog";
  Press(box, IDOK);
  EXPECT_TRUE(Ends(watchdog));
}

TEST(Watchdog, ASecondLauncherOrWatchdogLeavesTheRunningOneAndItsSemaphoreAlone) {
  ProgramFolder folder(Reader::kVirtual);
  folder.Write("OrvexExcella.ini", kPolledReader);
  ASSERT_TRUE(Ends(folder.Start("/ANTICRASH")));
  const HWND main = WaitForWindow(kMainWindowClass);
  ASSERT_NE(main, nullptr);
  DWORD program = 0;
  GetWindowThreadProcessId(main, &program);
  // The program on its way out: its semaphore is there, as the installer leaves it before it closes
  // the program, and the watchdog has yet to find it.
  folder.Write("OrvexExcella.shutdown", "");

  const UniqueHandle launcher = folder.Start("/ANTICRASH");
  EXPECT_TRUE(Ends(launcher));
  EXPECT_EQ(ExitCode(launcher), kAlreadyRunningExitCode);
  EXPECT_NE(WaitForWindow(L"OrvexDetails", program), nullptr) << "the running program shows its details";
  const UniqueHandle watchdog = StartWatchdogFor(folder, folder.Path("OrvexExcella.exe"));
  EXPECT_TRUE(Ends(watchdog));
  EXPECT_EQ(ExitCode(watchdog), kAlreadyRunningExitCode);
  EXPECT_TRUE(fs::exists(folder.Path("OrvexExcella.shutdown")));

  const UniqueHandle ending(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, program));
  TerminateProcess(ending.Get(), 0);
  ASSERT_TRUE(Ends(ending));
  EXPECT_TRUE(WaitUntil([] { return !WatchdogRuns(); }, seconds(5))) << "the first watchdog found the semaphore";
  EXPECT_FALSE(fs::exists(folder.Path("OrvexExcella.shutdown")));
  EXPECT_EQ(FindWindowOf(kMainWindowClass), nullptr) << "and started nothing";
}

// Waits until the target has received the text's last character; what it received by then.
std::string WaitForTyped(const test_support::KeysTargetProcess& target, char last) {
  std::string typed;
  WaitUntil([&] { return (typed = test_support::TypedText(target.Lines())).ends_with(last); }, seconds(10),
            milliseconds(20));
  return typed;
}

// A teller's configuration: the reader polled feeder by feeder, a first profile that types into
// the recording target only and a second one in red; the tray's run and search entries name a
// program and a folder that do not exist. `tellerKeys` come first in the teller's profile, so
// that they take the place of the keys below them.
std::string TellerConfiguration(std::string_view tellerKeys = "") {
  return "[Config]\r\nExcellaDeviceName=STX_USB\r\nProgramList=Missing|no-such-program.exe\r\n"
         "SearchFolders=Missing|C:\\no-such-folder\\\r\n[Teller]\r\n" +
         std::string(tellerKeys) +
         "ActivateWindow=1\r\nActivateWindowTitle=Orvex keys target\r\n"
         "IgnoreVerify=1\r\nChequeTemplate={ChequeNum}|{BankNum}|{BranchNum}|{AccountNum};\r\n"
         "CSVFile=cheques.csv\r\nCSVRenTemplate=old.csv\r\nCombineChequeImages=0\r\n"
         "ImageFileNameTemplate=img\\{ChequeNum}.jpg\r\nBackImageFileNameTemplate=img\\{ChequeNum}-back.jpg\r\n" +
         std::string(test_support::kSampleCuttingKeys) + "[Red]\r\nRed=200\r\nGreen=0\r\nBlue=0\r\n";
}

class TellerRun : public ::testing::Test {
 protected:
  TellerRun() { folder.Write("OrvexExcella.ini", TellerConfiguration()); }
  ~TellerRun() override {
    if (main) {
      ExitFromTray(main);
      Ends(program);
    }
  }
  void Start() {
    program = folder.Start("/NOSPLASH");
    main = WaitForWindow(kMainWindowClass, Process());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(trace.WaitForLine(Process(), "Polling started"));
  }
  DWORD Process() const { return GetProcessId(program.Get()); }

  test_support::TraceMonitor trace;
  test_support::KeysTargetProcess target;
  ProgramFolder folder{Reader::kVirtual};
  UniqueHandle program;
  HWND main = nullptr;
};

TEST_F(TellerRun, AChequeFedToTheReaderIsTypedIntoTheTargetLoggedAndSaved) {
  ASSERT_TRUE(target.Ready());
  Start();
  folder.Feed("1.ini", "[Document]\r\nFeeder=ManualFeeder\r\nMICR=A0001234 C04A20200E 440481990C\r\n");
  EXPECT_EQ(WaitForTyped(target, ';'), "1234|04|202|440481990;");
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder.Path("img\\1234-back.jpg")); }, seconds(10)));
  EXPECT_TRUE(fs::exists(folder.Path("img\\1234.jpg")));
  EXPECT_TRUE(FileBytes(folder.Path("cheques.csv")).starts_with("0001234,04,20200,440481990,"));
}

TEST_F(TellerRun, TheDetailsWindowTriesItsSampleLineAsAChequeOnYes) {
  ASSERT_TRUE(target.Ready());
  Start();
  PostMessageW(main, kTrayCallbackMessage, 1, WM_LBUTTONUP);
  const HWND details = WaitForWindow(L"OrvexDetails", Process());
  ASSERT_NE(details, nullptr);
  HWND tryButton = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (tryButton = FindWindowExW(details, nullptr, L"BUTTON", ToWide(kDetailsTexts.tryButton).c_str())); },
      seconds(5)));
  EXPECT_TRUE(WaitUntil([&] { return GetWindow(details, GW_OWNER) == nullptr; }, seconds(5)))
      << "shown at last without an owner, with a taskbar button";
  PostMessageW(details, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(tryButton), BN_CLICKED),
               reinterpret_cast<LPARAM>(tryButton));
  const HWND question = WaitForBox(TryStringQuestion("").title);
  ASSERT_NE(question, nullptr);
  EXPECT_FALSE(IsWindowEnabled(details)) << "the question is modal to the details window";
  EXPECT_TRUE(GetWindowLongPtrW(question, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) << "and reads right to left";
  // The line as it stands when the operator answers is the one processed.
  HWND manualData = nullptr;
  do {
    manualData = FindWindowExW(details, manualData, L"EDIT", nullptr);
  } while (manualData && (GetWindowLongPtrW(manualData, GWL_STYLE) & ES_MULTILINE));
  ASSERT_NE(manualData, nullptr) << "the one-line entry box";
  SendMessageW(manualData, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"A7654321 C12A12345E 123456C"));
  Press(question, IDYES);
  ASSERT_TRUE(target.BringToForeground());
  EXPECT_EQ(WaitForTyped(target, ';'), "7654321|12|123|123456;");
}

// Whether the notification area shows a pixel of the colour.
bool TrayShows(COLORREF colour) {
  const HWND tray = FindWindowW(nullptr, L"Wine System Tray");
  RECT area{};
  GetClientRect(tray, &area);
  const HDC screen = GetDC(tray);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = area.right;
  info.bmiHeader.biHeight = -area.bottom;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, area.right, area.bottom, screen, 0, 0, SRCCOPY);
  const auto* pixels = static_cast<const RGBQUAD*>(bits);
  const bool shows = std::any_of(pixels, pixels + area.right * area.bottom, [&](RGBQUAD pixel) {
    return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue) == colour;
  });
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(tray, screen);
  return shows;
}

// The tips of the notification area's icons, asked of the tooltip window that shows them. Its
// messages carry addresses in its own process, so the questions and answers are laid there.
std::vector<std::string> TrayTips() {
  DWORD explorer = 0;
  GetWindowThreadProcessId(FindWindowW(nullptr, L"Wine System Tray"), &explorer);
  HWND tips = nullptr;
  for (HWND window = FindWindowW(TOOLTIPS_CLASSW, nullptr); window && !tips;
       window = FindWindowExW(nullptr, window, TOOLTIPS_CLASSW, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    tips = owner == explorer ? window : nullptr;
  }
  const UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, explorer));
  auto* const remote = static_cast<char*>(VirtualAllocEx(process.Get(), nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  std::vector<std::string> texts;
  if (!tips || !remote) {
    return texts;
  }
  const LRESULT count = SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    WriteProcessMemory(process.Get(), remote, &tool, sizeof tool, nullptr);
    SendMessageW(tips, TTM_ENUMTOOLSW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process.Get(), remote, &tool, sizeof tool, nullptr);
    tool.lpszText = reinterpret_cast<wchar_t*>(remote + 1024);
    WriteProcessMemory(process.Get(), remote, &tool, sizeof tool, nullptr);
    SendMessageW(tips, TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(remote));
    wchar_t text[INFOTIPSIZE] = {};
    ReadProcessMemory(process.Get(), remote + 1024, text, sizeof text - sizeof(wchar_t), nullptr);
    texts.push_back(FromWide(text));
  }
  VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
  return texts;
}

// Whether a tip of the notification area holds the text.
bool TrayTipHolds(std::string_view text) {
  const std::vector<std::string> tips = TrayTips();
  return std::ranges::any_of(tips, [&](const std::string& tip) { return tip.find(text) != std::string::npos; });
}

TEST_F(TellerRun, TheTrayMenuEntriesResetTheReaderRenameTheLogSwitchTheProfileAndSearch) {
  Start();
  folder.Write("cheques.csv", "logged\r\n");
  ChooseFromTray(main, TrayCommand::kResetConnection);
  EXPECT_TRUE(trace.WaitForLine(Process(), "Calling MTMICRCloseDevice(STX_USB)"));
  EXPECT_TRUE(trace.WaitForLine(Process(), "Calling MTMICROpenDevice(STX_USB)"));

  ChooseFromTray(main, TrayCommand::kRenameCsv);
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder.Path("old.csv")); }, seconds(10)));
  EXPECT_EQ(FileBytes(folder.Path("old.csv")), "logged\r\n");

  const COLORREF red = RGB(200, 0, 0);
  EXPECT_FALSE(TrayShows(red));
  EXPECT_TRUE(TrayTipHolds("פרופיל נוכחי: Teller"));
  ChooseFromTray(main, TrayCommand::kProfile, 2);
  EXPECT_TRUE(WaitUntil([&] { return TrayShows(red); }, seconds(5))) << "the icon takes the profile's colour";
  EXPECT_TRUE(WaitUntil([&] { return TrayTipHolds("פרופיל נוכחי: Red"); }, seconds(5)));

  ChooseFromTray(main, TrayCommand::kSearch, 1);
  EXPECT_TRUE(trace.WaitForLine(Process(), "Search in folder C:\\no-such-folder\\: "));
  ChooseFromTray(main, TrayCommand::kRun, 1);
  EXPECT_TRUE(trace.WaitForLine(Process(), "Cannot start no-such-program.exe"));
  EXPECT_FALSE(Ends(program, milliseconds(200))) << "a search or a run that fails leaves the program as it was";
}

// Answers every message box the program shows with OK, as an operator who reads it does, and
// keeps its text. The "{User}" prompt is left to the test.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(DWORD process) : process_(process), thread_([this] { Answer(); }) {}
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<std::string> Texts() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  void Answer() {
    std::set<HWND> answered;
    while (!stop_) {
      std::erase_if(answered, [](HWND box) { return !IsWindow(box); });
      for (HWND box = FindWindowW(L"#32770", nullptr); box; box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        wchar_t title[256] = {};
        GetWindowTextW(box, title, 256);
        if (owner != process_ || !IsWindowVisible(box) || answered.contains(box) ||
            FromWide(title) == kUserPromptTitle) {
          continue;
        }
        wchar_t text[4096] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 4096);  // the text of a message box
        {
          const std::lock_guard<std::mutex> lock(mutex_);
          texts_.push_back(FromWide(text));
        }
        answered.insert(box);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }
      Sleep(20);
    }
  }

  DWORD process_;
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// One fault of a teller's day, through the real program: its own program folder and
// configuration, the documents fed, and the trail it must leave.
class FaultRun {
 public:
  FaultRun(const test_support::KeysTargetProcess& target, std::string_view tellerKeys) : target_(target) {
    folder.Write("OrvexExcella.ini", TellerConfiguration(tellerKeys));
  }
  ~FaultRun() {
    boxes.reset();  // the exit question is answered below
    if (main) {
      ChooseFromTray(main, TrayCommand::kExit);
      Press(WaitForBox("קורא כרטיסים וצ'קים של Orvex"), IDYES);
      Ends(program);
    }
  }

  void Start() {
    program = folder.Start("/NOSPLASH");
    main = WaitForWindow(kMainWindowClass, GetProcessId(program.Get()));
    boxes = std::make_unique<BoxAnswerer>(GetProcessId(program.Get()));
    typedBefore_ = target_.Lines().size();
  }
  void FeedCheque(std::string_view chequeNum) {
    folder.Feed(std::string(chequeNum) + ".ini", "[Document]\r\nMICR=A000" + std::string(chequeNum) +
                                                   " C04A20200E 440481990C\r\n");
  }
  std::string Typed() const {
    const std::vector<std::string> lines = target_.Lines();
    return test_support::TypedText(
        {lines.begin() + static_cast<std::ptrdiff_t>(std::min(typedBefore_, lines.size())), lines.end()});
  }
  bool WaitForTyped(std::string_view text) const {
    return WaitUntil([&] { return Typed() == text; }, seconds(20), milliseconds(20));
  }
  bool WaitForBoxes(size_t count) const {
    return WaitUntil([&] { return boxes->Texts().size() >= count; }, seconds(20), milliseconds(20));
  }
  bool WaitForFile(std::string_view name) const {
    return WaitUntil([&] { return fs::exists(folder.Path(name)); }, seconds(20), milliseconds(20));
  }
  // The log's lines, each cut after the cheque's four values.
  std::vector<std::string> Logged() const {
    std::vector<std::string> lines;
    const std::string log = FileBytes(folder.Path("cheques.csv"));
    for (size_t start = 0, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
      const std::string line = log.substr(start, end - start);
      size_t values = 0;
      for (int comma = 0; comma < 4 && values != std::string::npos; ++comma) {
        values = line.find(',', values + (comma > 0));
      }
      lines.push_back(line.substr(0, values));
    }
    return lines;
  }
  // The recovery folder's names without their time stamps.
  std::vector<std::string> Unsaved() const {
    std::vector<std::string> names;
    if (fs::exists(folder.Path("Unsaved"))) {
      for (const auto& entry : fs::directory_iterator(folder.Path("Unsaved"))) {
        const std::string name = FromWide(entry.path().filename().wstring());
        names.push_back(name.substr(name.find('_') + 1));
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // A file held open by another program with the sharing given.
  void Hold(std::string_view name, DWORD sharing) {
    held_.emplace_back(CreateFileW(folder.Path(name).c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  void Release() { held_.clear(); }

  ProgramFolder folder{Reader::kVirtual};
  UniqueHandle program;
  HWND main = nullptr;
  std::unique_ptr<BoxAnswerer> boxes;

 private:
  const test_support::KeysTargetProcess& target_;
  size_t typedBefore_ = 0;
  std::vector<UniqueHandle> held_;
};

// The cheque 1234 (or 1235, 1236) as the teller's profile types and logs it.
constexpr char kTyped1234[] = "1234|04|202|440481990;";
constexpr char kTyped1235[] = "1235|04|202|440481990;";
constexpr char kTyped1236[] = "1236|04|202|440481990;";
constexpr char kLogged1234[] = "0001234,04,20200,440481990";
constexpr char kLogged1235[] = "0001235,04,20200,440481990";
constexpr char kLogged1236[] = "0001236,04,20200,440481990";
// A joiner that runs until netpbm\release exists.
constexpr char kSlowJoin[] = "@echo off\r\n:wait\r\nif not exist netpbm\\release goto wait\r\n"
                             "\"%~dp0combine_pics.exe\" %1\r\n";

TEST(TellerFaults, NoChequeIsLostAndEveryLossReachesTheOperator) {
  test_support::KeysTargetOptions options;
  options.lifetimeSeconds = 300;
  const test_support::KeysTargetProcess target(options);
  ASSERT_TRUE(target.Ready());
  const struct {
    const char* fault;
    const char* tellerKeys;
    std::function<void(FaultRun&)> day;  // starts the program, feeds and acts; waits for the last step
    std::string typed;
    std::vector<std::string> logged;
    std::vector<std::string> saved;
    std::vector<std::string> unsaved;
    std::vector<std::string> told;  // a part of each box's text, in order
  } cases[] = {
      {"an XML file held open without sharing", "CreateXML=1\r\n",
       [](FaultRun& r) {
         fs::create_directories(r.folder.Path("img"));
         r.Hold("img\\1234.xml", 0);
         r.Start();
         r.FeedCheque("1234");
         r.WaitForBoxes(1);
         r.Release();
       },
       kTyped1234, {kLogged1234}, {"img\\1234.jpg", "img\\1234-back.jpg"}, {"img_1234.xml"}, {"img\\1234.xml"}},
      {"an image folder that cannot be written (a drive that does not exist)",
       "ImageFileNameTemplate=Q:\\{ChequeNum}.jpg\r\nBackImageFileNameTemplate=Q:\\{ChequeNum}-back.jpg\r\n",
       [](FaultRun& r) {
         r.Start();
         r.FeedCheque("1234");
         r.WaitForBoxes(1);
       },
       kTyped1234, {kLogged1234}, {}, {"Q__1234-back.jpg", "Q__1234.jpg"}, {"Q:\\1234.jpg"}},
      {"a join script that fails", "CombineChequeImages=1\r\n",
       [](FaultRun& r) {
         r.folder.Write("netpbm\\CombinePics.bat", "@echo off\r\nexit /b 3\r\n");
         r.Start();
         r.FeedCheque("1234");
         r.WaitForBoxes(1);
       },
       kTyped1234, {kLogged1234}, {}, {"img_1234-back.jpg", "img_1234.jpg"}, {"img\\1234.jpg"}},
      {"a join slower than the next cheque", "CombineChequeImages=1\r\n",
       [](FaultRun& r) {
         r.folder.Write("netpbm\\CombinePics.bat", kSlowJoin);
         r.Start();
         r.FeedCheque("1234");
         r.WaitForTyped(kTyped1234);
         r.FeedCheque("1235");
         r.WaitForBoxes(1);  // after the read's bound for the join
         r.folder.Write("netpbm\\release", "");
         r.WaitForFile("img\\1234.jpg");
       },
       std::string(kTyped1234) + kTyped1235, {kLogged1234, kLogged1235}, {"img\\1234.jpg", "img\\1235.jpg"},
       {"img_1235-back.jpg"}, {"img\\1235-back.jpg"}},
      {"a processor error", "ChequeNumStart=0\r\n",
       [](FaultRun& r) {
         r.Start();
         r.FeedCheque("1234");
         r.WaitForBoxes(1);
       },
       "", {}, {}, {}, {"Error #5"}},
      {"a start profile whose cheque number length is no number", "ChequeNumLength=x\r\n",
       [](FaultRun& r) {
         r.Start();
         r.FeedCheque("1234");
         r.WaitForFile("img\\.jpg");
       },
       "|04|202|440481990;", {kLogged1234}, {"img\\.jpg"}, {}, {}},
      {"a bank profile that fills dates from a cheque date the read does not give", "",
       [](FaultRun& r) {
         r.folder.Write("OrvexExcella.ini", TellerConfiguration() +
                                                "[Bank04]\r\nLetUserFillDetails=2\r\nCSVFile=cheques.csv\r\n"
                                                "ImageFileNameTemplate=\r\nChequeTemplate={CDD}\r\n");
         r.Start();
         r.FeedCheque("1234");
         r.WaitForBoxes(1);
       },
       "", {kLogged1234}, {}, {}, {"Error #13"}},
      {"an empty MICR line", "",
       [](FaultRun& r) {
         r.Start();
         r.folder.Feed("empty.ini", "[Document]\r\nMICR=\r\n");
         r.WaitForBoxes(1);
       },
       "", {}, {}, {}, {"MICR"}},
      {"a pending file that cannot be deleted", "",
       [](FaultRun& r) {
         r.Start();
         r.Hold("cheques.csv", 0);  // a spreadsheet has the log open
         r.FeedCheque("1234");
         r.WaitForBoxes(1);
         r.Release();
         r.Hold("cheques.csv.pending", FILE_SHARE_READ | FILE_SHARE_WRITE);
         r.FeedCheque("1235");
         r.WaitForTyped(std::string(kTyped1234) + kTyped1235);
         r.FeedCheque("1236");
         r.WaitForTyped(std::string(kTyped1234) + kTyped1235 + kTyped1236);
         r.WaitForFile("img\\1236-back.jpg");
         r.Release();
       },
       std::string(kTyped1234) + kTyped1235 + kTyped1236, {kLogged1234, kLogged1235, kLogged1236},
       {"img\\1236.jpg"}, {}, {"cheques.csv"}},
      {"an archive name that is taken", "",
       [](FaultRun& r) {
         r.folder.Write("old.csv", "earlier archive\r\n");
         r.Start();
         r.FeedCheque("1234");
         r.WaitForFile("img\\1234-back.jpg");
         ChooseFromTray(r.main, TrayCommand::kRenameCsv);
         r.WaitForFile("old (2).csv");
       },
       kTyped1234, {}, {"old.csv", "old (2).csv"}, {}, {}},
      {"a tray command while the operator names the image", "ImageFileNameTemplate=img\\{User}.jpg\r\n",
       [](FaultRun& r) {
         r.Start();
         r.FeedCheque("1234");
         const HWND prompt = WaitForBox(kUserPromptTitle);
         ChooseFromTray(r.main, TrayCommand::kProfile, 2);
         r.WaitForBoxes(1);
         SetDlgItemTextW(prompt, 101, L"named");
         Press(prompt, IDOK);
         r.WaitForFile("img\\1234-back.jpg");
       },
       kTyped1234, {kLogged1234}, {"img\\named.jpg"}, {}, {"מסמך נמצא כעת בטיפול"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    FaultRun run(target, c.tellerKeys);
    c.day(run);
    ASSERT_NE(run.main, nullptr);
    EXPECT_TRUE(run.WaitForTyped(c.typed)) << run.Typed();
    EXPECT_EQ(run.Logged(), c.logged);
    for (const std::string& name : c.saved) {
      EXPECT_TRUE(run.WaitForFile(name)) << name;
    }
    EXPECT_EQ(run.Unsaved(), c.unsaved);
    const std::vector<std::string> told = run.boxes->Texts();
    ASSERT_EQ(told.size(), c.told.size());
    for (size_t i = 0; i < told.size(); ++i) {
      EXPECT_NE(told[i].find(c.told[i]), std::string::npos) << told[i];
    }
  }
}

}  // namespace
}  // namespace orvex
