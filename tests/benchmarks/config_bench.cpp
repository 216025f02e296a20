// Loading one profile from a large configuration: 60 profile sections, about 3,000 lines. A cheque
// with a per-bank profile costs two such loads (the bank's profile and back).

#include <benchmark/benchmark.h>

#include <string>

#include "config/global_settings.h"
#include "config/profiles.h"
#include "support/fake_shell.h"
#include "support/ini_text_file.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

constexpr int kProfiles = 60;
constexpr int kLinesPerProfile = 50;  // a blank line, the section line, comments and keys

// [Config], then 60 profiles of 50 lines each (3,004 lines): comments and values of the key table.
std::string LargeConfiguration() {
  std::string text = "[Config]\nSplashScreenTime=750\nExcellaDeviceName=STX_USB\nDefaultProfileName=Profile 1\n";
  for (int profile = 1; profile <= kProfiles; ++profile) {
    text += "\n[Profile " + std::to_string(profile) + "]\n";
    for (int line = 0; line < kLinesPerProfile - 2; ++line) {
      const ProfileKey& key = kProfileKeys[static_cast<size_t>(line * 7 % kProfileKeys.size())];
      text += line % 3 == 0 ? "; " + std::string(key.key) + ": explanation of the key\n"
                            : std::string(key.key) + "=" + std::string(key.defaultValue) + "\n";
    }
  }
  return text;
}

void LoadProfileFromLargeConfiguration(benchmark::State& state) {
  test_support::TempFolder folder;
  cInifile ini;
  ini.SetPath(test_support::WriteIniFile(folder, "OrvexExcella.ini", LargeConfiguration()));
  ini.SetSection("Config");
  test_support::FakeShell shell;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
  profiles.SetProfileNames(ProfileSectionNames(ini));
  const auto profile = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    profiles.LoadProfile(profile);
    benchmark::DoNotOptimize(profiles.Settings());
  }
  state.SetLabel("profile " + std::to_string(profile) + " of " + std::to_string(profiles.ProfileNames().Count()));
}
BENCHMARK(LoadProfileFromLargeConfiguration)->Arg(1)->Arg(30)->Arg(60)->Unit(benchmark::kMicrosecond);

// One key of the same file: a load reads every key of the table this way, the file anew each time.
void ReadOneKeyOfLargeConfiguration(benchmark::State& state) {
  test_support::TempFolder folder;
  cInifile ini;
  ini.SetPath(test_support::WriteIniFile(folder, "OrvexExcella.ini", LargeConfiguration()));
  ini.SetSection("Profile 60");
  ini.SetKey("ChequeTemplate");
  ini.SetDefault("");
  for (auto _ : state) {
    benchmark::DoNotOptimize(ini.Value());
  }
  state.SetLabel(std::to_string(kProfileKeys.size()) + " keys per load");
}
BENCHMARK(ReadOneKeyOfLargeConfiguration)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvex
