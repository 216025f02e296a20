#include "config/configuration_check.h"

#include <filesystem>

#include "base/file_io.h"
#include "config/global_settings.h"

namespace orvex {
namespace {

// The shell of a check: nothing is shown, nothing ends.
class SilentShell final : public Shell {
 public:
  void SetTrayTip(std::string_view) override {}
  void SetIconFontSize(int16_t) override {}
  void SetIconTextColour(int16_t, int16_t, int16_t) override {}
  void ChangeIcon(uint8_t, uint8_t, uint8_t, int32_t) override {}
  void RemoveTrayIcon() override {}
  void AddMenuEntry(TrayMenu, int32_t, const std::string&) override {}
  void HideMenuPlaceholder(TrayMenu) override {}
  void SetProfileChecked(int32_t, bool) override {}
  void EnableRenameCsv(bool) override {}
  bool DetailsWindowExists() override { return false; }
  void ClearDetailsProfiles() override {}
  void AppendDetailsProfile(const std::string&) override {}
  void SelectDetailsProfile(int32_t) override {}
  void SetRequestTimeout(int32_t) override {}
  void ShowSplash(int32_t) override {}
  void StopPolling() override {}
  void DoEnd(bool) override {}
};

}  // namespace

ConfigurationNotes CheckConfiguration(const std::string& iniPath) {
  ConfigurationNotes notes;
  std::error_code error;
  if (!std::filesystem::exists(ToFsPath(iniPath), error)) {
    notes.Add(iniPath + " does not exist; a start of the program writes its sample configuration there");
    return notes;
  }
  SilentShell shell;
  cInifile ini;
  GlobalSettings settings;
  Profiles profiles(ini, shell, notes);
  const auto noReader = [](const std::string&) { return std::optional<std::string>(""); };
  ReadConfig({iniPath, ini, noReader, shell, true}, settings, profiles);
  for (int32_t number = 1; number <= profiles.ProfileNames().Count(); ++number) {
    profiles.LoadProfile(number);
  }
  return notes;
}

std::string CheckReportPath(std::string_view iniPath) {
  return std::string(iniPath) + ".check.txt";
}

std::string CheckReport(const ConfigurationNotes& notes) {
  if (notes.All().empty()) {
    return "no notes\r\n";
  }
  std::string report;
  for (const std::string& note : notes.All()) {
    report += note + "\r\n";
  }
  return report;
}

int CheckExitStatus(const ConfigurationNotes& notes) {
  return notes.All().empty() ? 0 : 1;
}

}  // namespace orvex
