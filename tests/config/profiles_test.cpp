#include "config/profiles.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "config/global_settings.h"
#include "support/fake_shell.h"
#include "support/ini_text_file.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::FakeShell;
using test_support::TempFolder;

size_t CharacterCount(std::string_view utf8) {
  size_t count = 0;
  for (const char c : utf8) {
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  return count;
}

const std::string kPrefix(kTrayTipPrefix);

TEST(TrayTipField, IsAlwaysSixtyFourCharactersWithANul) {
  const std::string name27 = "abcdefghijklmnopqrstuvwxyz1";
  const std::string name40 = name27 + "ABCDEFGHIJKLM";
  const std::string hebrew27 = "אבגדהוזחטיכלמנסעפצקרשתאבגדה";
  const struct {
    std::string name;
    std::string visible;  // the text before the NUL
  } cases[] = {
      {"", kPrefix},
      {"A", kPrefix + "A"},
      {name27, kPrefix + name27},            // fits exactly with its NUL
      {name27 + "X", kPrefix + name27},      // one more is cut, the NUL stays
      {name40, kPrefix + name27},            // cut to 27 characters of the name
      {hebrew27 + "ש", kPrefix + hebrew27},  // counted in characters, not in bytes
      {std::string(kDefaultSettingsName), kPrefix + "<הגדרות ברירת מחדל>"},
  };
  ASSERT_EQ(CharacterCount(kPrefix), 36u);
  for (const auto& c : cases) {
    const std::string field = TrayTipField(c.name);
    EXPECT_EQ(CharacterCount(field), kTrayTipFieldLength) << c.name;
    const size_t nul = field.find('\0');
    ASSERT_NE(nul, std::string::npos) << c.name;
    EXPECT_EQ(field.substr(0, nul), c.visible);
    EXPECT_EQ(field.find_first_not_of(' ', nul + 1), std::string::npos) << "blanks fill the field after the NUL";
  }
}

// A configuration file in a temporary folder, the shared INI object on its [Config] section, the
// profile list and the profile sub-menu as start-up builds them.
class ProfilesTest : public ::testing::Test {
 protected:
  void Start(std::string_view iniText) {
    ini.SetPath(test_support::WriteIniFile(folder, "OrvexExcella.ini", iniText));
    ini.SetSection("Config");
    profiles.SetProfileNames(ProfileSectionNames(ini));
    for (const std::string& name : profiles.ProfileNames()) {
      shell.menus[TrayMenu::Profile].push_back(name);
    }
  }

  TempFolder folder;
  cInifile ini;
  FakeShell shell;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
};

TEST_F(ProfilesTest, ProfileOneOfAFileWithoutProfilesHasTheDefaultsAndTheDefaultSettingsTip) {
  Start("[Config]\nSplashScreenTime=750\n");
  profiles.LoadProfile(1);
  EXPECT_EQ(profiles.CurrentProfile(), 1);
  EXPECT_EQ(profiles.Settings(), DefaultProfileSettings());
  EXPECT_EQ(shell.VisibleTrayTip(), "קורא צ'קים וכרטיסים - פרופיל נוכחי: <הגדרות ברירת מחדל>");
  EXPECT_TRUE(shell.checkedProfiles.empty());
  ASSERT_TRUE(shell.icon);
  EXPECT_EQ(*shell.icon, (FakeShell::Icon{255, 255, 255, 1, 1, 0, 0, 255}));
}

TEST_F(ProfilesTest, WithoutProfilesAKeyThatConfigHoldsIsTakenFromThere) {
  Start("[Config]\nRed=7\n");
  profiles.LoadProfile(1);
  EXPECT_EQ(profiles.Settings().Red, 7);
  EXPECT_EQ(profiles.Settings().Green, 255);
}

TEST_F(ProfilesTest, AValueThatDoesNotConvertKeepsThePreviousProfilesValue) {
  Start(
      "[A]\nRed=10\nTextRed=5\nKeyPressDelay=20\nWaitMode=1\nIgnoreVerify=1\nChequeNumFlip=TRUE\nIconFontSize=30\n"
      "[B]\nRed=300\nTextRed=x\nKeyPressDelay=\nWaitMode=yes\nIgnoreVerify=256\nChequeNumFlip=maybe\nIconFontSize=x\n");
  test_support::TraceCapture trace;
  profiles.LoadProfile(1);
  profiles.LoadProfile(2);
  const ProfileSettings& settings = profiles.Settings();
  EXPECT_EQ(settings.Red, 10);
  EXPECT_EQ(settings.TextRed, 5);
  EXPECT_EQ(settings.KeyPressDelay, 20);
  EXPECT_TRUE(settings.WaitMode);
  EXPECT_TRUE(settings.IgnoreVerify);
  EXPECT_TRUE(settings.ChequeNumFlip);
  EXPECT_EQ(settings.IconFontSize, 1);
  EXPECT_EQ(shell.icon->red, 10);
  EXPECT_TRUE(trace.Contains(std::string(kConfigurationNotePrefix) +
                             "LoadProfile: [B] Red=300 does not convert; the previous value stays"));
}

TEST_F(ProfilesTest, AFirstProfileWithEveryNumberDamagedKeepsTheFieldsAtZero) {
  std::string section = "[Damaged]\n";
  ProfileSettings expected;
  for (const ProfileKey& key : kProfileKeys) {
    if (key.type == ProfileKeyType::Text) {
      StoreProfileValue(key, key.defaultValue, expected);
    } else {
      section += std::string(key.key) + "=not a number\n";
    }
  }
  expected.IconFontSize = 1;  // a size that is no number shows no number
  Start(section);
  profiles.LoadProfile(1);
  EXPECT_EQ(profiles.Settings(), expected);
  EXPECT_EQ(profiles.CurrentProfile(), 1);
}

TEST_F(ProfilesTest, TheSpecialRulesOfALoad) {
  Start(
      "[Plain]\nActivateWindow=1\nIconFontSize=0\nAccountListPath=C:\\Lists\nCSVRenTemplate=\n"
      "[Set]\nActivateWindow=1\nActivateWindowTitle=Untitled\nIconFontSize=100\nAccountListPath=C:\\Lists\\\n"
      "CSVRenTemplate=old-{DD}.csv\nURLConnectionTimeout=15\nTextRed=255\nTextGreen=-3\nTextBlue=300\n");
  const struct {
    int32_t profile;
    bool activateWindow;
    int16_t iconFontSize;
    std::string accountListPath;
    bool renameCsvEnabled;
    int32_t requestTimeout;
  } cases[] = {
      {1, false, 1, "C:\\Lists\\", false, 60},  // no title switches ActivateWindow off
      {2, true, 72, "C:\\Lists\\", true, 15},
  };
  for (const auto& c : cases) {
    profiles.LoadProfile(c.profile);
    EXPECT_EQ(profiles.Settings().ActivateWindow, c.activateWindow) << c.profile;
    EXPECT_EQ(shell.iconFontSize, c.iconFontSize) << c.profile;
    EXPECT_EQ(profiles.Settings().AccountListPath, c.accountListPath) << c.profile;
    EXPECT_EQ(shell.renameCsvEnabled, c.renameCsvEnabled) << c.profile;
    EXPECT_EQ(shell.requestTimeout, c.requestTimeout) << c.profile;
  }
  EXPECT_EQ(shell.icon->textRed, 255);
  EXPECT_EQ(shell.icon->textGreen, -3);
  EXPECT_EQ(shell.icon->textBlue, 300);
}

TEST_F(ProfilesTest, AnEmptyAccountListPathStaysEmpty) {
  Start("[A]\nAccountListPath=\n");
  profiles.LoadProfile(1);
  EXPECT_EQ(profiles.Settings().AccountListPath, "");
}

TEST_F(ProfilesTest, ALoadMovesTheCheckMarkTheDetailsSelectionAndTheIcon) {
  Start("[One]\nRed=1\nIconFontSize=22\n[Two]\nRed=2\n");
  shell.detailsWindowExists = true;
  shell.detailsProfiles = {"One", "Two"};
  profiles.LoadProfile(1);
  profiles.LoadProfile(2);
  EXPECT_EQ(shell.checkedProfiles, (std::set<int32_t>{2}));
  EXPECT_EQ(shell.detailsSelection, 1);
  EXPECT_EQ(shell.VisibleTrayTip(), kPrefix + "Two");
  EXPECT_EQ(shell.icon->red, 2);
  EXPECT_EQ(shell.icon->profileNumber, 2);
  EXPECT_EQ(shell.icon->fontSize, 1);
}

TEST_F(ProfilesTest, ANumberThatNamesNoProfileBecomesCurrentWithTheDefaultSettingsTip) {
  Start("[One]\nRed=1\n");
  profiles.LoadProfile(1);
  profiles.LoadProfile(5);
  EXPECT_EQ(profiles.CurrentProfile(), 5);
  EXPECT_TRUE(shell.checkedProfiles.empty());
  EXPECT_EQ(shell.VisibleTrayTip(), kPrefix + std::string(kDefaultSettingsName));
  EXPECT_EQ(profiles.Settings().Red, 1) << "the INI object stays on the last section";
}

TEST_F(ProfilesTest, FindProfileComparesNamesExactly) {
  Start("[Config]\n[Bank11]\n[bank12]\n[Bank011]\n[Bank11]\n");
  const struct {
    std::string name;
    int32_t number;
  } cases[] = {{"Bank11", 1}, {"bank11", 0}, {"Bank12", 0}, {"bank12", 2}, {"Bank011", 3}, {"Bank1", 0}, {"", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(profiles.FindProfile(c.name), c.number) << c.name;
  }
}

TEST_F(ProfilesTest, NewProfileChosenLoadsOnlyAnotherProfile) {
  Start("[One]\n[Two]\n");
  profiles.LoadProfile(1);
  profiles.NewProfileChosen(1);
  EXPECT_EQ(shell.trayTipUpdates, 1);
  profiles.NewProfileChosen(2);
  EXPECT_EQ(shell.trayTipUpdates, 2);
  EXPECT_EQ(profiles.CurrentProfile(), 2);
}

class BankProfileTest : public ProfilesTest {
 protected:
  void SetUp() override {
    Start("[Office]\nChequeNumLength=8\n[Bank11]\nChequeNumLength=6\n[Bank011]\nChequeNumLength=5\n");
    profiles.LoadProfile(1);
  }
};

TEST_F(BankProfileTest, TheWorkRunsWithTheBanksProfileAndThePreviousOneReturns) {
  int32_t lengthSeen = 0;
  profiles.WithBankProfile("11", [&] { lengthSeen = profiles.Settings().ChequeNumLength; });
  EXPECT_EQ(lengthSeen, 6);
  EXPECT_EQ(profiles.CurrentProfile(), 1);
  EXPECT_EQ(profiles.Settings().ChequeNumLength, 8);
  EXPECT_EQ(shell.checkedProfiles, (std::set<int32_t>{1}));
  EXPECT_EQ(shell.trayTipUpdates, 3);
}

TEST_F(BankProfileTest, WithoutAProfileForTheBankTheCurrentOneIsUsedAndNothingIsLoaded) {
  for (const std::string bank : {"12", "1", "111"}) {
    int32_t lengthSeen = 0;
    profiles.WithBankProfile(bank, [&] { lengthSeen = profiles.Settings().ChequeNumLength; });
    EXPECT_EQ(lengthSeen, 8) << bank;
  }
  EXPECT_EQ(shell.trayTipUpdates, 1);
}

TEST_F(BankProfileTest, ThePreviousProfileReturnsWhenTheWorkThrows) {
  const struct {
    std::string what;
    std::function<void()> work;
  } failures[] = {
      {"Error", [] { throw Error(kErrSubscriptOutOfRange, "Subscript out of range"); }},
      {"other exception", [] { throw std::runtime_error("disk full"); }},
  };
  for (const auto& failure : failures) {
    EXPECT_ANY_THROW(profiles.WithBankProfile("11", failure.work)) << failure.what;
    EXPECT_EQ(profiles.CurrentProfile(), 1) << failure.what;
    EXPECT_EQ(profiles.Settings().ChequeNumLength, 8) << failure.what;
    EXPECT_EQ(shell.VisibleTrayTip(), kPrefix + "Office") << failure.what;
  }
}

}  // namespace
}  // namespace orvex
