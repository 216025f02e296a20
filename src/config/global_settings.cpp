#include "config/global_settings.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"
#include "base/trace.h"
#include "base/vb_convert.h"

namespace orvex {
namespace {

std::string ReadConfigValue(cInifile& ini, const ConfigKey& key) {
  ini.SetKey(key.key);
  ini.SetDefault(key.defaultValue);
  return ini.Value();
}

// A whole-number setting. A text that is not a whole number in the type's range gives the default,
// with a trace line that names the key and the text.
template <typename T>
T ReadWholeNumber(cInifile& ini, const ConfigKey& key, std::optional<T> (*convert)(std::string_view),
                  ConfigurationNotes& notes) {
  const std::string text = ReadConfigValue(ini, key);
  if (const std::optional<T> value = convert(text)) {
    return *value;
  }
  notes.Add("ReadConfig: " + std::string(key.key) + "=\"" + text + "\" is not a whole number from " +
            std::to_string(std::numeric_limits<T>::min()) + " to " + std::to_string(std::numeric_limits<T>::max()) +
            "; using " + std::string(key.defaultValue));
  return convert(key.defaultValue).value_or(0);
}

std::vector<std::string_view> SplitAtBars(std::string_view value) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t bar = value.find('|'); bar != std::string_view::npos; bar = value.find('|', start)) {
    fields.push_back(value.substr(start, bar - start));
    start = bar + 1;
  }
  fields.push_back(value.substr(start));
  return fields;
}

// The profile sub-menu and, when the details window exists, its profile list.
void ListProfiles(Shell& shell, const NumberedList& names) {
  if (names.Empty()) {
    return;
  }
  bool detailsWindowExists = false;
  RunSkippingError([&] { detailsWindowExists = shell.DetailsWindowExists(); });
  if (detailsWindowExists) {
    RunSkippingError([&] { shell.ClearDetailsProfiles(); });
  }
  for (int32_t number = 1; number <= names.Count(); ++number) {
    RunSkippingError([&] { shell.AddMenuEntry(TrayMenu::Profile, number, names.At(number)); });
    if (detailsWindowExists) {
      RunSkippingError([&] { shell.AppendDetailsProfile(names.At(number)); });
    }
  }
  RunSkippingError([&] { shell.HideMenuPlaceholder(TrayMenu::Profile); });
}

}  // namespace

void BuildMenuFromList(std::string_view key, std::string_view value, TrayMenu menu, Shell& shell,
                       NumberedList& commands) {
  if (value.empty()) {
    return;
  }
  const std::vector<std::string_view> fields = SplitAtBars(value);
  int32_t entries = 0;
  for (size_t caption = 0; caption + 1 < fields.size(); caption += 2) {
    if (entries == kMostMenuEntries) {
      WriteDebugLog("ReadConfig: " + std::string(key) + " holds more than " + std::to_string(kMostMenuEntries) +
                    " entries; the rest are left out of the menu");
      break;
    }
    ++entries;
    RunSkippingError([&] { shell.AddMenuEntry(menu, entries, std::string(fields[caption])); });
    commands.Append(std::string(fields[caption + 1]));
  }
  if (entries > 0) {
    RunSkippingError([&] { shell.HideMenuPlaceholder(menu); });
  }
}

NumberedList ProfileSectionNames(const cInifile& ini) {
  NumberedList names;
  for (const std::string& section : ini.EnumerateAllSections()) {
    if (section != kConfigSection) {
      names.Append(section);
    }
  }
  return names;
}

int16_t ReadSplashInterval(cInifile& ini, ConfigurationNotes& notes) {
  ini.SetSection(kConfigSection);
  return std::max(ReadWholeNumber<int16_t>(ini, kSplashScreenTimeKey, ToInt16, notes), kShortestSplashInterval);
}

std::string ReadTraceFileName(cInifile& ini) {
  ini.SetSection(kConfigSection);
  return ReadConfigValue(ini, kTraceFileKey);
}

bool ReadConfig(const ReadConfigContext& context, GlobalSettings& settings, Profiles& profiles) {
  cInifile& ini = context.ini;
  ConfigurationNotes& notes = profiles.Notes();
  ini.SetPath(context.iniPath);
  NoteEncoding(ReadFileBytes(context.iniPath).value_or(""), notes);
  settings.splashInterval = ReadSplashInterval(ini, notes);
  NoteUnknownKeysOnce(ini, kConfigSectionKeyNames, notes);
  if (!context.noSplash) {
    RunSkippingError([&] { context.shell.ShowSplash(settings.splashInterval); });
  }

  settings.deviceName = ReadConfigValue(ini, kExcellaDeviceNameKey);
  std::optional<std::string> machineType = context.openReader(settings.deviceName);
  if (!machineType) {
    return false;
  }
  settings.machineType = std::move(*machineType);
  settings.msrTracks = ReadConfigValue(ini, kMsrTracksKey);
  settings.docFeedTimeout = ReadWholeNumber<int32_t>(ini, kDocFeedTimeoutKey, ToInt32, notes);

  // From here a step that fails is skipped and the next one runs.
  RunSkippingError([&] {
    BuildMenuFromList(kProgramListKey.key, ReadConfigValue(ini, kProgramListKey), TrayMenu::Run, context.shell,
                      settings.programCommands);
  });
  RunSkippingError([&] {
    BuildMenuFromList(kSearchFoldersKey.key, ReadConfigValue(ini, kSearchFoldersKey), TrayMenu::Search, context.shell,
                      settings.folderPaths);
  });
  std::string defaultProfileName;
  RunSkippingError([&] { defaultProfileName = ReadConfigValue(ini, kDefaultProfileNameKey); });
  RunSkippingError([&] { profiles.SetProfileNames(ProfileSectionNames(ini)); });
  NoteDefaultProfileName(defaultProfileName, profiles.ProfileNames(), notes);
  NoteBankProfileNames(profiles.ProfileNames(), notes);
  ListProfiles(context.shell, profiles.ProfileNames());
  profiles.LoadStartProfile(defaultProfileName);
  return true;
}

}  // namespace orvex
