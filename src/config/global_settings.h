#pragma once

// The global settings of the [Config] section and ReadConfig, the start-up reader of the
// configuration: splash, reader open, the tray's run and search sub-menus, the profile list and
// the start profile.

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
inline constexpr int32_t kDefaultDocFeedTimeout = 2500;
inline constexpr std::string_view kDefaultDeviceName = "STX_USB";
inline constexpr std::string_view kDefaultMsrTracks = "2";
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
// profile list and loads the start profile. Returns false when the reader did not open and the
// program was ended; the caller then stops its start-up.
bool ReadConfig(const ReadConfigContext& context, GlobalSettings& settings, Profiles& profiles);

// The sub-menu entries of a ProgramList or SearchFolders value: fields separated by "|", a caption
// and its command (or folder) per entry; a last field without a partner is ignored, and at most
// kMostMenuEntries entries are built (a trace line names the key when more are given). Entry k's
// caption goes to the menu, its command to `commands`.
void BuildMenuFromList(std::string_view key, std::string_view value, TrayMenu menu, Shell& shell,
                       NumberedList& commands);

// The profile sections of the file in file order: every section but exactly "Config".
NumberedList ProfileSectionNames(const cInifile& ini);

}  // namespace orvex
