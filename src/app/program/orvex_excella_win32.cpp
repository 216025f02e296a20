// OrvexExcella.exe: the cheque and card reader's tray program. One executable, four roles: the
// normal run, the launcher run ("/ANTICRASH"), the hidden restart watchdog it starts, and the check
// of the configuration ("/CHECKINI").

#include <windows.h>

#include "app/command_line.h"
#include "app/configuration_check_win32.h"
#include "app/program/program_win32.h"
#include "app/single_instance_win32.h"
#include "app/start_up.h"
#include "app/watchdog.h"
#include "app/watchdog_win32.h"
#include "app/window_win32.h"
#include "base/error.h"
#include "base/trace.h"
#include "base/trace_file.h"
#include "base/wide_win32.h"

namespace {

// The trace file of [Config], a relative name taken from the data folder, which a normal run makes
// its current folder.
void StartConfiguredTraceFile(const orvex::ProgramPaths& paths) {
  orvex::cInifile ini;
  ini.SetPath(paths.Ini());
  if (const std::string name = orvex::ReadTraceFileName(ini); !name.empty()) {
    orvex::StartTraceFile(orvex::PathFromFolder(paths.dataFolder, name));
  }
}

int NormalRun(const orvex::ProgramPaths& paths, const orvex::CommandLineSwitches& switches) {
  const orvex::SessionMark instance(orvex::kProgramMarkName);
  if (instance.HeldElsewhere()) {
    orvex::WriteDebugLog("Already running: bringing up the running program's details window");
    orvex::ShowRunningProgramsDetails();
    return orvex::kAlreadyRunningExitCode;
  }
  orvex::Program program(paths, switches);
  program.FormLoad();
  return program.Run();
}

int Start(const wchar_t* commandLine) {
  const orvex::CommandLineSwitches switches = orvex::ParseSwitches(orvex::FromWide(commandLine));
  if (switches.kind == orvex::RunKind::kWatchdog) {
    return orvex::RunWatchdogRole(commandLine);
  }
  const orvex::ProgramPaths paths = orvex::RunningProgramPaths();
  StartConfiguredTraceFile(paths);
  const std::string fileName = paths.programFile.substr(paths.programFile.find_last_of('\\') + 1);
  orvex::WriteDebugLog(orvex::StartingLine(fileName, ORVEX_VERSION_MAJOR, ORVEX_VERSION_MINOR, ORVEX_VERSION_PATCH));
  if (switches.kind == orvex::RunKind::kCheckIni) {
    return orvex::RunConfigurationCheck(paths.Ini());
  }
  if (switches.kind == orvex::RunKind::kLauncher) {
    return orvex::RunLauncher(paths);
  }
  return NormalRun(paths, switches);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  orvex::InitCommonControls6();
  try {
    return Start(GetCommandLineW());
  } catch (const std::exception& exception) {
    orvex::WriteDebugLog("OrvexExcella " + orvex::AsError(exception).TraceText());
    return 1;
  }
}
