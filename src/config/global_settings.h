#pragma once

// The global settings of the [Config] section and ReadConfig, the start-up reader of the
// configuration: splash, reader open, the tray's run and search sub-menus, the profile list and
// the start profile.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/numbered_list.h"
#include "config/ini_file.h"
#include "config/profiles.h"
#include "config/shell.h"

namespace orvex {

// The configuration file, in the program folder (the current folder after start-up).
inline constexpr std::string_view kConfigurationFileName = "OrvexExcella.ini";
// The section of the global settings; every other section is a profile.
inline constexpr std::string_view kConfigSection = "Config";

inline constexpr int16_t kShortestSplashInterval = 750;

// One key of [Config]: its name, the text a missing key stands for, and what it sets (the user
// guide's key reference prints the table).
struct ConfigKey {
  std::string_view key;
  std::string_view defaultValue;
  std::string_view description;
};

inline constexpr ConfigKey kSplashScreenTimeKey{
    "SplashScreenTime", "750", "How long the start-up window stays, in milliseconds; below 750 counts as 750."};
inline constexpr ConfigKey kExcellaDeviceNameKey{
    "ExcellaDeviceName", "STX_USB",
    "The reader's name as the reader library knows it, such as EXCELLA_USB, EXCELLA_ETHER, STX_USB, STX_ETHER or "
    "ImageSafe.ImageSafe001 (which lets the reader wait for documents itself). When it cannot be opened the program "
    "ends, unless started with /NOCHK."};
inline constexpr ConfigKey kMsrTracksKey{
    "MSRTracks", "2",
    "The magnetic stripe track(s) the reader reads from cards, as the reader takes them (2, or 1,2)."};
inline constexpr ConfigKey kDocFeedTimeoutKey{
    "DocFeedTimeout", "2500", "With an ImageSafe reader, how long each poll waits for a document, in milliseconds."};
inline constexpr ConfigKey kProgramListKey{
    "ProgramList", "",
    "The tray menu's run sub-menu: caption|command line|caption|command line..., at most 127 entries; & in a "
    "caption marks its access key, date codes in a command line are expanded when chosen."};
inline constexpr ConfigKey kSearchFoldersKey{
    "SearchFolders", "",
    "The tray menu's search-in-folder sub-menu: caption|folder|caption|folder...; choosing an entry opens the "
    "system's search in that folder (date codes expanded when chosen)."};
inline constexpr ConfigKey kDefaultProfileNameKey{
    "DefaultProfileName", "",
    "The profile (section name, letter case as written) active after start-up; without such a section, the "
    "first profile of the file."};
inline constexpr ConfigKey kTraceFileKey{
    "TraceFile", "",
    "A file that receives a copy of every trace line, in UTF-8 (relative to the data folder); at 5 MB it becomes "
    "<name>.1 and a new one starts. Empty: no file, the trace goes only to the debugger channel."};

// The [Config] keys: those ReadConfig reads, in its order, then the trace file, which the start of
// a run reads before everything else.
inline constexpr std::array kConfigKeys{kSplashScreenTimeKey,   kExcellaDeviceNameKey, kMsrTracksKey,
                                        kDocFeedTimeoutKey,     kProgramListKey,       kSearchFoldersKey,
                                        kDefaultProfileNameKey, kTraceFileKey};
// The keys [Config] may hold: its own, and the profile keys, which a run without any profile reads
// from it.
inline constexpr auto kConfigSectionKeyNames = [] {
  std::array<std::string_view, kConfigKeys.size() + kProfileKeyNames.size()> names{};
  size_t i = 0;
  for (const ConfigKey& key : kConfigKeys) {
    names[i++] = key.key;
  }
  for (const std::string_view name : kProfileKeyNames) {
    names[i++] = name;
  }
  return names;
}();
// A run or search sub-menu holds at most this many entries.
inline constexpr int32_t kMostMenuEntries = 127;

struct GlobalSettings {
  int16_t splashInterval = kShortestSplashInterval;  // milliseconds
  std::string deviceName;
  std::string msrTracks;
  int32_t docFeedTimeout = 0;  // milliseconds
  std::string machineType;
  NumberedList programCommands;  // command line of run entry k (a template)
  NumberedList folderPaths;      // folder of search entry k (a template)
};

// Opens the reader named by the configuration and returns its machine type, or nothing when the
// reader did not open and the program was ended. The reader subsystem provides it.
using OpenReaderStep = std::function<std::optional<std::string>(const std::string& deviceName)>;

struct ReadConfigContext {
  std::string iniPath;  // the configuration file
  cInifile& ini;        // the shared INI object
  OpenReaderStep openReader;
  Shell& shell;
  bool noSplash = false;  // "/NOSPLASH"
};

// Reads [Config], shows the splash, opens the reader, builds the run and search sub-menus and the
// profile list and loads the start profile. The notes go to the profiles' notes. Returns false when the reader did not
// open and the program was ended; the caller then stops its start-up.
bool ReadConfig(const ReadConfigContext& context, GlobalSettings& settings, Profiles& profiles);

// SplashScreenTime of the configuration file the INI object names, in milliseconds: at least
// kShortestSplashInterval; a text that is not a 16-bit whole number counts as the default, with a
// note. ReadConfig and the launcher run read it alike.
int16_t ReadSplashInterval(cInifile& ini, ConfigurationNotes& notes);

// The trace file the configuration names; empty for none.
std::string ReadTraceFileName(cInifile& ini);

// The sub-menu entries of a ProgramList or SearchFolders value: fields separated by "|", a caption
// and its command (or folder) per entry; a last field without a partner is ignored, and at most
// kMostMenuEntries entries are built (a trace line names the key when more are given). Entry k's
// caption goes to the menu, its command to `commands`.
void BuildMenuFromList(std::string_view key, std::string_view value, TrayMenu menu, Shell& shell,
                       NumberedList& commands);

// The profile sections of the file in file order: every section but exactly "Config".
NumberedList ProfileSectionNames(const cInifile& ini);

}  // namespace orvex
