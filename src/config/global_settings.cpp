#include "config/global_settings.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/trace.h"
#include "base/vb_convert.h"

namespace orvex {
namespace {

std::string ReadConfigValue(cInifile& ini, std::string_view key, std::string_view defaultValue) {
  ini.SetKey(key);
  ini.SetDefault(defaultValue);
  return ini.Value();
}

// A whole-number setting. A text that is not a whole number in the type's range gives the default,
// with a trace line that names the key and the text.
template <typename T>
T ReadWholeNumber(cInifile& ini, std::string_view key, T defaultValue, std::optional<T> (*convert)(std::string_view)) {
  const std::string defaultText = std::to_string(defaultValue);
  const std::string text = ReadConfigValue(ini, key, defaultText);
  if (const std::optional<T> value = convert(text)) {
    return *value;
  }
  WriteDebugLog("ReadConfig: " + std::string(key) + "=\"" + text + "\" is not a whole number from " +
                std::to_string(std::numeric_limits<T>::min()) + " to " + std::to_string(std::numeric_limits<T>::max()) +
                "; using " + defaultText);
  return defaultValue;
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

bool ReadConfig(const ReadConfigContext& context, GlobalSettings& settings, Profiles& profiles) {
  cInifile& ini = context.ini;
  ini.SetPath(context.iniPath);
  ini.SetSection(kConfigSection);

  settings.splashInterval = std::max(
      ReadWholeNumber<int16_t>(ini, "SplashScreenTime", kShortestSplashInterval, ToInt16), kShortestSplashInterval);
  if (!context.noSplash) {
    RunSkippingError([&] { context.shell.ShowSplash(settings.splashInterval); });
  }

  settings.deviceName = ReadConfigValue(ini, "ExcellaDeviceName", kDefaultDeviceName);
  std::optional<std::string> machineType = context.openReader(settings.deviceName);
  if (!machineType) {
    return false;
  }
  settings.machineType = std::move(*machineType);
  settings.msrTracks = ReadConfigValue(ini, "MSRTracks", kDefaultMsrTracks);
  settings.docFeedTimeout = ReadWholeNumber<int32_t>(ini, "DocFeedTimeout", kDefaultDocFeedTimeout, ToInt32);

  // From here a step that fails is skipped and the next one runs.
  RunSkippingError([&] {
    BuildMenuFromList("ProgramList", ReadConfigValue(ini, "ProgramList", ""), TrayMenu::Run, context.shell,
                      settings.programCommands);
  });
  RunSkippingError([&] {
    BuildMenuFromList("SearchFolders", ReadConfigValue(ini, "SearchFolders", ""), TrayMenu::Search, context.shell,
                      settings.folderPaths);
  });
  std::string defaultProfileName;
  RunSkippingError([&] { defaultProfileName = ReadConfigValue(ini, "DefaultProfileName", ""); });
  RunSkippingError([&] { profiles.SetProfileNames(ProfileSectionNames(ini)); });
  ListProfiles(context.shell, profiles.ProfileNames());
  profiles.LoadStartProfile(defaultProfileName);
  return true;
}

}  // namespace orvex
