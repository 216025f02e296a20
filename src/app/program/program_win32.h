#pragma once

// The program: the main window and everything it owns for the whole run, start-up (Form_Load) in
// its order, the tray's commands, and DoEnd, the single orderly way out.

#include <windows.h>

#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/main_window_win32.h"
#include "app/message_box_win32.h"
#include "app/reader_reply.h"
#include "base/clock.h"
#include "config/global_settings.h"
#include "config/ini_file.h"
#include "config/profiles.h"
#include "dialogs/input_box_win32.h"
#include "dialogs/processor_dialogs_win32.h"
#include "interpret/document_processing.h"
#include "keys/engines_win32.h"
#include "keys/feed.h"
#include "reader/device_connection.h"
#include "reader/image_join_win32.h"
#include "reader/polling.h"
#include "reader/polling_timer_win32.h"
#include "reader/read_doc.h"
#include "verify/restricted_accounts.h"
#include "verify/web_client_win32.h"

namespace orvex {

// The program's files: what decides what runs and what passes (the program, the configuration,
// the bank/branch table, the joining script) in the program folder; the operators' files in the
// data folder, the program's current directory.
struct ProgramPaths {
  std::string programFile;  // the running program, full path
  std::string folder;       // without a trailing backslash
  std::string dataFolder;   // without a trailing backslash; the program folder for a portable copy
  std::string Ini() const { return folder + "\\" + std::string(kConfigurationFileName); }
  std::string BanksBranches() const;
  std::string JoiningScript() const { return folder + "\\netpbm\\CombinePics.bat"; }
  std::string Semaphore() const;
};
ProgramPaths RunningProgramPaths();

// The launcher run ("/ANTICRASH"): the splash, then the watchdog; the program then ends. When a
// watchdog of the session looks after the program already, the launcher leaves it alone and brings
// up the running program's details window, as a second start does. The process's exit code.
int RunLauncher(const ProgramPaths& paths);

class Program final : private MainWindowHandler, private FeedHost {
 public:
  Program(const ProgramPaths& paths, const CommandLineSwitches& switches);

  // Form_Load of a normal run: from the tray icon to the polling timer.
  void FormLoad();
  // The message loop; returns the process's exit code.
  int Run();

 private:
  // The cheque dialogs, completed with the manual debug window of this shell.
  class Dialogs final : public Win32ChequeDialogs {
   public:
    Dialogs(Program& program)
        : Win32ChequeDialogs(program.profiles_.Settings(), program.clock_, program.boxes_), program_(program) {}
    DebugAccount AskDebugAccount() override;

   private:
    Program& program_;
  };

  bool ReadConfiguration();
  void CheckRestrictedAccountSources();
  void LoadBankBranchTable();
  void StartPolling();
  // One tick of the polling timer; after a tick that read a document, the process's resources
  // are traced.
  void Tick();

  // MainWindowHandler
  void ResetConnection() override;
  void StartNewCsvLog() override { processing_.StartNewCsvLog(); }
  void RunProgramEntry(int32_t number) override;
  void SearchFolderEntry(int32_t number) override;
  void LoadProfile(int32_t number) override { profiles_.LoadProfile(number); }
  void NewProfileChosen(int32_t number) override { profiles_.NewProfileChosen(number); }
  void TryManualData(const std::function<std::string()>& manualData) override;
  const NumberedList& ProfileNames() override { return profiles_.ProfileNames(); }
  int32_t CurrentProfile() override { return profiles_.CurrentProfile(); }
  std::string LastFedText() override { return feeder_.LastFedText(); }
  void DoEnd(bool unload) override;
  // DoEnd's steps before the process ends: the join that still runs, the watchdog's semaphore.
  void SettleTheEnd();
  bool MayChangeState() override;

  // FeedHost
  void StopPollingTimer() override { timer_.Stop(); }
  void StartPollingTimer() override;
  void ShowLastDataSent(const std::string& text) override { window_.SetLastDataSent(text); }
  std::string GeneralDateTimeNow() override;

  ProgramPaths paths_;
  CommandLineSwitches switches_;
  bool debugMode_ = false;
  bool ending_ = false;
  bool pollingEnabled_ = false;
  SystemClock clock_;
  MainWindow window_;
  Win32MessageBoxes boxes_;
  AfterTypingMessageBoxes boxesAfterTyping_;
  DiskFiles files_;
  DocumentTrail trail_;
  cInifile ini_;
  GlobalSettings settings_;
  ConfigurationNotes notes_;
  Profiles profiles_;
  std::unique_ptr<ReaderLibrary> loadedLibrary_;
  ReplyShowingLibrary library_;
  DeviceConnection connection_;
  WinInetWebClient web_;
  RestrictedAccounts restrictedAccounts_;
  Win32KeyDelivery delivery_;
  KeyFeeder feeder_;
  Win32OperatorPrompt prompt_;
  Dialogs dialogs_;
  DocumentProcessing processing_;
  CombinePicsJoin join_;
  DocumentRead read_;
  std::unique_ptr<ReaderPolling> polling_;
  PollingTimer timer_;
};

}  // namespace orvex
