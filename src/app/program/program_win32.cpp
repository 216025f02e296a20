#include "app/program/program_win32.h"

#include <shellapi.h>

#include "app/details.h"
#include "app/program_command.h"
#include "app/single_instance_win32.h"
#include "app/splash_win32.h"
#include "app/start_up.h"
#include "app/watchdog.h"
#include "app/watchdog_win32.h"
#include "base/error.h"
#include "base/file_io.h"
#include "base/system_win32.h"
#include "base/trace.h"
#include "base/wide_win32.h"
#include "config/sample_configuration.h"
#include "interpret/templates.h"
#include "reader/reader_library_win32.h"
#include "verify/banks_branches.h"
#include "verify/restricted_account_startup.h"

#ifndef ORVEX_VERSION_MAJOR
#error "the build defines the program's version"
#endif

namespace orvex {
namespace {

// The priority class start-up raises the program to.
constexpr DWORD kStartUpPriorityClass = HIGH_PRIORITY_CLASS;  // 128

// Opens the own process and sets its priority class; false when it cannot.
bool SetProcessPriority(DWORD priorityClass) {
  const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, TRUE, GetCurrentProcessId());
  if (!process) {
    return false;
  }
  const bool set = SetPriorityClass(process, priorityClass) != FALSE;
  CloseHandle(process);
  return set;
}

}  // namespace

std::string ProgramPaths::BanksBranches() const {
  return folder + "\\" + std::string(kBanksBranchesFileName);
}

std::string ProgramPaths::Semaphore() const {
  return dataFolder + "\\" + std::string(kShutdownSemaphoreName);
}

ProgramPaths RunningProgramPaths() {
  const std::wstring path = ModulePath(nullptr);
  const std::string folder = FromWide(path.substr(0, path.find_last_of(L"\\/")));
  return {FromWide(path), folder,
          DataFolderOf(folder, ReadFileBytes(folder + "\\" + std::string(kDataFolderFileName)))};
}

int RunLauncher(const ProgramPaths& paths) {
  if (WatchdogRuns()) {
    WriteDebugLog("A watchdog already looks after the program: bringing up the running program's details window");
    ShowRunningProgramsDetails();
    return static_cast<int>(kAlreadyRunningExitCode);
  }
  cInifile ini;
  ini.SetPath(paths.Ini());
  ConfigurationNotes notes;
  SplashWindow splash;
  RunSkippingError([&] { splash.ShowModal(static_cast<UINT>(ReadSplashInterval(ini, notes))); });
  StartWatchdog(paths.programFile, paths.Semaphore());
  return 0;
}

DebugAccount Program::Dialogs::AskDebugAccount() {
  const ManualDebugEntries entries = program_.window_.AskDebugEntries();
  return {entries.bankNum, entries.branchNum, entries.accountNum};
}

Program::Program(const ProgramPaths& paths, const CommandLineSwitches& switches)
    : paths_(paths),
      switches_(switches),
      window_(*this),
      boxesAfterTyping_(boxes_),
      trail_(files_, clock_, boxesAfterTyping_),
      profiles_(ini_, window_, notes_),
      loadedLibrary_(LoadReaderLibrary()),
      library_(*loadedLibrary_, [this](const std::string& reply) { window_.SetReaderData(reply); }),
      connection_(library_, window_, boxes_),
      web_(clock_),
      restrictedAccounts_(web_, boxes_),
      feeder_(delivery_, *this),
      dialogs_(*this),
      processing_(profiles_, feeder_, dialogs_, prompt_, restrictedAccounts_, boxes_, clock_, LoadedBanksBranches(),
                  files_, trail_),
      join_(ToWide(paths_.JoiningScript())),
      read_({library_, settings_, profiles_.Settings(), processing_, prompt_, join_, clock_, files_, trail_}),
      timer_(kPollingInterval, [this] { Tick(); }) {
  ini_.SetPath(paths_.Ini());
  notes_.SetOnNote([this] { window_.SetConfigurationNotes(notes_.All()); });
  window_.SetRequestTimeoutTarget([this](int32_t seconds) { web_.SetRequestTimeout(seconds); });
  window_.SetStopPolling([this] {
    pollingEnabled_ = false;
    timer_.Stop();
  });
}

void Program::FormLoad() {
  window_.ShowAndAddTrayIcon(switches_.noSplash);
  CreateFolderPath(paths_.dataFolder + "\\netpbm");  // the temporary images of the reads
  if (!SetCurrentDirectoryW(ToWide(paths_.dataFolder).c_str())) {
    WriteDebugLog("Cannot work in the data folder " + paths_.dataFolder + ": Windows error " +
                  std::to_string(GetLastError()));
    boxes_.Show(DataFolderUnusableMessage(paths_.dataFolder));
  }
  CheckForINI(paths_.Ini());
  if (!ReadConfiguration()) {
    return;
  }
  YieldToPendingMessages();
  CheckRestrictedAccountSources();
  debugMode_ = switches_.noCheck;
  SetProcessPriority(kStartUpPriorityClass);
  LoadBankBranchTable();
  StartPolling();
}

bool Program::ReadConfiguration() {
  const ReadConfigContext context{
      .iniPath = paths_.Ini(),
      .ini = ini_,
      .openReader =
          [this](const std::string& deviceName) { return connection_.OpenAtStartUp(deviceName, switches_.noCheck); },
      .shell = window_,
      .noSplash = switches_.noSplash,
  };
  return ReadConfig(context, settings_, profiles_);
}

void Program::CheckRestrictedAccountSources() {
  const ProfileSettings& profile = profiles_.Settings();
  CheckAccountListAge(profile.AccountListPath, clock_, boxes_);
  // Before "/NOCHK" counts: the web source's check ends a debug run too.
  if (CheckWebSourceConnection(profile.LimitedAccountURL, web_, boxes_) == WebSourceCheck::kUnreachable) {
    DoEnd(true);
  }
}

void Program::LoadBankBranchTable() {
  if (!LoadBanksBranches(paths_.BanksBranches())) {
    boxes_.Show(BanksBranchesMissingMessage());
  }
}

void Program::StartPolling() {
  polling_ = std::make_unique<ReaderPolling>(PollingContext{
      .library = library_,
      .settings = settings_,
      .profile = profiles_.Settings(),
      .reader = read_,
      .messageBoxes = boxes_,
      .clock = clock_,
      .debugMode = debugMode_,
  });
  pollingEnabled_ = true;
  timer_.StartWithTickNow();
  WriteDebugLog("Polling started");
}

void Program::Tick() {
  if (!polling_) {
    return;
  }
  const int64_t documentsBefore = read_.DocumentsRead();
  polling_->Tick();
  if (read_.DocumentsRead() != documentsBefore) {
    WriteDebugLog(ProcessResourcesText());
  }
}

void Program::StartPollingTimer() {
  if (pollingEnabled_) {
    timer_.Start();
  }
}

std::string Program::GeneralDateTimeNow() {
  return TraceTimeStamp();
}

int Program::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void Program::ResetConnection() {
  if (const std::optional<std::string> machineType = connection_.Reset(settings_.deviceName)) {
    settings_.machineType = *machineType;
  }
}

void Program::RunProgramEntry(int32_t number) {
  const ProgramCommand command =
      SplitProgramCommand(ExpandTemplate(settings_.programCommands.At(number), clock_.Now()), [](std::string_view path) {
        const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
      });
  const std::string started = command.program + (command.arguments.empty() ? "" : " " + command.arguments);
  std::wstring commandLine = ToWide(CommandLineOf(command));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    WriteDebugLog("Cannot start " + started + ": error " + std::to_string(GetLastError()));
    return;
  }
  WriteDebugLog("Started " + started);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

void Program::SearchFolderEntry(int32_t number) {
  const std::string folder = ExpandTemplate(settings_.folderPaths.At(number), clock_.Now());
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_.Handle(), L"find", ToWide(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  WriteDebugLog("Search in folder " + folder + ": " + std::to_string(result));
}

void Program::TryManualData(const std::function<std::string()>& manualData) {
  const DocumentTrail::Document document(trail_);
  // Modal to the details window, which asks it.
  Win32MessageBoxes threadModalBoxes(BoxModality::kThread);
  orvex::TryManualData(manualData, profiles_.Settings().MinUnreadCharsForNoMICR, threadModalBoxes, processing_);
}

bool Program::MayChangeState() {
  if (!trail_.InProgress()) {
    return true;
  }
  WriteDebugLog("A command waits for the document at hand");
  boxes_.Show(DocumentAtHandNote());
  return false;
}

void Program::DoEnd(bool unload) {
  // The unload path comes back here: the run is settled once.
  if (!ending_) {
    ending_ = true;
    SettleTheEnd();
  }
  if (unload) {
    window_.Unload();  // removes the tray icon and comes back here with unload false
  }
  WriteDebugLog("Ending");
  ExitProcess(0);
}

void Program::SettleTheEnd() {
  // A join that still runs is given its bound, so that its picture reaches the cheque's name.
  if (!read_.SettleJoin(kJoinWaitBound)) {
    WriteDebugLog("netpbm\\CombinePics.bat still runs at the end; its images stay in netpbm");
  }
  // A session that ends takes the watchdog with it: then nothing starts the program again.
  const bool restartFollows = WatchdogRuns() && !GetSystemMetrics(SM_SHUTTINGDOWN);
  LeaveShutdownSemaphore(paths_.Semaphore(), restartFollows, boxes_);
}

}  // namespace orvex
