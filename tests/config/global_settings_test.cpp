#include "config/global_settings.h"

#include <gtest/gtest.h>

#include "support/fake_shell.h"
#include "support/ini_text_file.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::FakeShell;
using test_support::TempFolder;
using test_support::TraceCapture;

const std::string kPrefix(kTrayTipPrefix);

class ReadConfigTest : public ::testing::Test {
 protected:
  // Writes the configuration file (none when iniText is empty) and runs ReadConfig on it.
  bool Run(std::string_view iniText, bool noSplash = false) {
    const std::string path = iniText.empty() ? folder.File("OrvexExcella.ini")
                                             : test_support::WriteIniFile(folder, "OrvexExcella.ini", iniText);
    return ReadConfig({path, ini, OpenReader(), shell, noSplash}, settings, profiles);
  }

  // Records the device opened; answers with the machine type, or ends the program when it is unset.
  OpenReaderStep OpenReader() {
    return [this](const std::string& deviceName) {
      openedDevices.push_back(deviceName);
      return machineType;
    };
  }

  TempFolder folder;
  cInifile ini;
  std::optional<std::string> machineType = "Excella";
  std::vector<std::string> openedDevices;
  FakeShell shell;
  TraceCapture trace;
  GlobalSettings settings;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
};

TEST_F(ReadConfigTest, AMissingFileStartsWithTheDefaults) {
  EXPECT_TRUE(Run(""));
  EXPECT_EQ(shell.splashInterval, 750);
  EXPECT_EQ(settings.deviceName, "STX_USB");
  EXPECT_EQ(settings.msrTracks, "2");
  EXPECT_EQ(settings.docFeedTimeout, 2500);
  EXPECT_EQ(settings.programCommands.Count(), 0);
  EXPECT_EQ(profiles.CurrentProfile(), 1);
  EXPECT_EQ(profiles.Settings(), DefaultProfileSettings());
  EXPECT_EQ(shell.VisibleTrayTip(), kPrefix + std::string(kDefaultSettingsName));
  EXPECT_TRUE(shell.hiddenPlaceholders.empty());
}

TEST_F(ReadConfigTest, AnEmptyFileStartsWithTheDefaults) {
  EXPECT_TRUE(Run("\n"));
  EXPECT_EQ(settings.deviceName, "STX_USB");
  EXPECT_EQ(profiles.CurrentProfile(), 1);
  EXPECT_EQ(profiles.Settings(), DefaultProfileSettings());
}

TEST_F(ReadConfigTest, WholeNumberSettingsOutOfRangeOrNotNumbersTakeTheirDefaultsWithATraceLine) {
  const struct {
    std::string lines;
    int16_t splashInterval;
    int32_t docFeedTimeout;
    std::string traceLine;  // empty: none expected
  } cases[] = {
      {"", 750, 2500, ""},
      {"SplashScreenTime=100\n", 750, 2500, ""},
      {"SplashScreenTime=3000\nDocFeedTimeout=1000\n", 3000, 1000, ""},
      {"SplashScreenTime=32767\nDocFeedTimeout=-5\n", 32767, -5, ""},
      {"SplashScreenTime=abc\n", 750, 2500,
       "ReadConfig: SplashScreenTime=\"abc\" is not a whole number from -32768 to 32767; using 750"},
      {"SplashScreenTime=40000\n", 750, 2500,
       "ReadConfig: SplashScreenTime=\"40000\" is not a whole number from -32768 to 32767; using 750"},
      {"SplashScreenTime=\n", 750, 2500,
       "ReadConfig: SplashScreenTime=\"\" is not a whole number from -32768 to 32767; using 750"},
      {"DocFeedTimeout=1 s\n", 750, 2500,
       "ReadConfig: DocFeedTimeout=\"1 s\" is not a whole number from -2147483648 to 2147483647; using 2500"},
      {"DocFeedTimeout=3000000000\n", 750, 2500,
       "ReadConfig: DocFeedTimeout=\"3000000000\" is not a whole number from -2147483648 to 2147483647; using "
       "2500"},
  };
  for (const auto& c : cases) {
    TraceCapture caseTrace;
    GlobalSettings caseSettings;
    FakeShell caseShell;
    ConfigurationNotes caseNotes;
    Profiles caseProfiles{ini, caseShell, caseNotes};
    const std::string path = test_support::WriteIniFile(folder, "OrvexExcella.ini", "[Config]\n" + c.lines);
    ASSERT_TRUE(ReadConfig({path, ini, OpenReader(), caseShell}, caseSettings, caseProfiles));
    EXPECT_EQ(caseSettings.splashInterval, c.splashInterval) << c.lines;
    EXPECT_EQ(caseShell.splashInterval, c.splashInterval) << c.lines;
    EXPECT_EQ(caseSettings.docFeedTimeout, c.docFeedTimeout) << c.lines;
    if (!c.traceLine.empty()) {
      EXPECT_TRUE(caseTrace.Contains(std::string(kConfigurationNotePrefix) + c.traceLine)) << c.lines;
    }
  }
}

TEST_F(ReadConfigTest, NoSplashShowsNoSplashWindow) {
  EXPECT_TRUE(Run("[Config]\nSplashScreenTime=2000\n", true));
  EXPECT_EQ(settings.splashInterval, 2000);
  EXPECT_FALSE(shell.splashInterval);
}

TEST_F(ReadConfigTest, OpensTheConfiguredReaderAndKeepsItsMachineType) {
  EXPECT_TRUE(Run("[Config]\nExcellaDeviceName=EXCELLA_USB\n[One]\n"));
  EXPECT_EQ(openedDevices, std::vector<std::string>{"EXCELLA_USB"});
  EXPECT_EQ(settings.machineType, "Excella");
  EXPECT_EQ(profiles.CurrentProfile(), 1);
}

TEST_F(ReadConfigTest, AReaderThatEndedTheProgramStopsTheStartBeforeTheProfiles) {
  machineType.reset();
  EXPECT_FALSE(Run("[Config]\nExcellaDeviceName=STX.STX001\nProgramList=A|a.exe\n[One]\n"));
  EXPECT_EQ(profiles.CurrentProfile(), 0) << "no profile is loaded";
  EXPECT_TRUE(shell.MenuEntries(TrayMenu::Run).empty());
}

TEST_F(ReadConfigTest, BuildsTheRunAndSearchMenusFromPairsOfFields) {
  EXPECT_TRUE(Run("[Config]\nProgramList=A|a.exe|B\nSearchFolders=צ'קים|{MM}{YY}\\|Root|C:\\\n"));
  EXPECT_EQ(shell.MenuEntries(TrayMenu::Run), (std::vector<std::string>{"A"}));
  EXPECT_EQ(settings.programCommands, (NumberedList{"a.exe"}));
  EXPECT_EQ(shell.MenuEntries(TrayMenu::Search), (std::vector<std::string>{"צ'קים", "Root"}));
  EXPECT_EQ(settings.folderPaths, (NumberedList{"{MM}{YY}\\", "C:\\"}));
  EXPECT_EQ(shell.hiddenPlaceholders, (std::set<TrayMenu>{TrayMenu::Run, TrayMenu::Search}));
}

TEST(BuildMenuFromList, TakesFieldsAsTheyAreAndAtMost127Entries) {
  std::string manyPairs;
  for (int i = 1; i <= 130; ++i) {
    const std::string number = std::to_string(i);
    manyPairs.append(i > 1 ? "|" : "").append(number).append("|cmd").append(number);
  }
  const struct {
    std::string value;
    size_t entries;
    std::string firstCaption;
    std::string lastCommand;
    bool placeholderHidden;
  } cases[] = {
      {"", 0, "", "", false},
      {"Lonely", 0, "", "", false},
      {"A|", 1, "A", "", true},
      {"|x", 1, "", "x", true},
      {" &Notepad | notepad.exe ", 1, " &Notepad ", " notepad.exe ", true},
      {"A|a|B|b", 2, "A", "b", true},
      {manyPairs, 127, "1", "cmd127", true},
  };
  for (const auto& c : cases) {
    FakeShell shell;
    NumberedList commands;
    TraceCapture trace;
    BuildMenuFromList("ProgramList", c.value, TrayMenu::Run, shell, commands);
    const auto& entries = shell.MenuEntries(TrayMenu::Run);
    ASSERT_EQ(entries.size(), c.entries) << c.value;
    ASSERT_EQ(static_cast<size_t>(commands.Count()), c.entries) << c.value;
    if (c.entries > 0) {
      EXPECT_EQ(entries.front(), c.firstCaption) << c.value;
      EXPECT_EQ(commands.At(commands.Count()), c.lastCommand) << c.value;
    }
    EXPECT_EQ(shell.hiddenPlaceholders.contains(TrayMenu::Run), c.placeholderHidden) << c.value;
    EXPECT_EQ(trace.Contains("ReadConfig: ProgramList holds more than 127 entries; the rest are left out of the menu"),
              c.entries == 127);
  }
}

TEST_F(ReadConfigTest, ProfilesAreEverySectionButExactlyConfigInFileOrder) {
  EXPECT_TRUE(Run("[Config]\n[Office]\n[config]\n[Bank11]\n"));
  EXPECT_EQ(profiles.ProfileNames(), (NumberedList{"Office", "config", "Bank11"}));
  EXPECT_EQ(shell.MenuEntries(TrayMenu::Profile), (std::vector<std::string>{"Office", "config", "Bank11"}));
  EXPECT_TRUE(shell.hiddenPlaceholders.contains(TrayMenu::Profile));
}

TEST_F(ReadConfigTest, TheDefaultProfileNameChoosesTheStartProfile) {
  const struct {
    std::string defaultName;
    int32_t profile;
  } cases[] = {
      {"DefaultProfileName=Third\n", 3},   {"DefaultProfileName=Second\n", 2},
      {"DefaultProfileName=third\n", 1},  // compared case-sensitively
      {"DefaultProfileName=Nowhere\n", 1}, {"", 1},
  };
  for (const auto& c : cases) {
    FakeShell caseShell;
    ConfigurationNotes caseNotes;
    Profiles caseProfiles{ini, caseShell, caseNotes};
    GlobalSettings caseSettings;
    const std::string path = test_support::WriteIniFile(
        folder, "OrvexExcella.ini", "[Config]\n" + c.defaultName + "[First]\nRed=1\n[Second]\nRed=2\n[Third]\nRed=3\n");
    ASSERT_TRUE(ReadConfig({path, ini, OpenReader(), caseShell}, caseSettings, caseProfiles));
    EXPECT_EQ(caseProfiles.CurrentProfile(), c.profile) << c.defaultName;
    EXPECT_EQ(caseShell.trayTipUpdates, 1) << "only one profile is loaded: " << c.defaultName;
    EXPECT_EQ(caseProfiles.Settings().Red, c.profile) << c.defaultName;
    EXPECT_EQ(caseShell.checkedProfiles, (std::set<int32_t>{c.profile})) << c.defaultName;
  }
}

TEST_F(ReadConfigTest, AnOpenDetailsWindowGetsTheProfileListAndTheSelection) {
  shell.detailsWindowExists = true;
  shell.detailsProfiles = {"stale"};
  EXPECT_TRUE(Run("[Config]\nDefaultProfileName=פרופיל 2\n[פרופיל 1]\n[פרופיל 2]\n"));
  EXPECT_EQ(shell.detailsProfiles, (std::vector<std::string>{"פרופיל 1", "פרופיל 2"}));
  EXPECT_EQ(shell.detailsSelection, 1);
  EXPECT_EQ(shell.VisibleTrayTip(), kPrefix + "פרופיל 2");
}

}  // namespace
}  // namespace orvex
