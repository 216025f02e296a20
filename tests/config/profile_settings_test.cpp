#include "config/profile_settings.h"

#include <gtest/gtest.h>

#include <set>

namespace orvex {
namespace {

const ProfileKey& KeyNamed(std::string_view name) {
  for (const ProfileKey& key : kProfileKeys) {
    if (key.key == name) {
      return key;
    }
  }
  throw std::out_of_range(std::string(name));
}

TEST(ProfileKeyTable, NamesEveryKeyOnce) {
  std::set<std::string_view> names;
  for (const ProfileKey& key : kProfileKeys) {
    EXPECT_TRUE(names.insert(key.key).second) << key.key;
  }
}

TEST(ProfileKeyTable, EveryDefaultConvertsToItsType) {
  for (const ProfileKey& key : kProfileKeys) {
    ProfileSettings settings;
    EXPECT_TRUE(StoreProfileValue(key, key.defaultValue, settings)) << key.key << "=" << key.defaultValue;
  }
}

TEST(DefaultProfileSettings, HoldsTheDefaultOfEveryKey) {
  const ProfileSettings defaults = DefaultProfileSettings();
  EXPECT_EQ(defaults.Red, 255);
  EXPECT_EQ(defaults.IconFontSize, 1);
  EXPECT_EQ(defaults.TextBlue, 255);
  EXPECT_EQ(defaults.BackResolution, "100X100");
  EXPECT_EQ(defaults.ActivateWindowTitle, "**NONE READ**");
  EXPECT_TRUE(defaults.WhenActivateWindowFails);
  EXPECT_EQ(defaults.TabChar, 32);
  EXPECT_EQ(defaults.DontPassPartialRead, 1);
  EXPECT_EQ(defaults.ChequeAccountNumLength, 9);
  EXPECT_FALSE(defaults.ChequeAccountNumFlip);
  EXPECT_EQ(defaults.URLConnectionTimeout, 60);
  EXPECT_EQ(defaults.MagStripe2Part1Length, 16);
  EXPECT_EQ(defaults.ChequeTemplate,
            "שיק:{ENTER}מספק: {ChequeNum}{TAB}בנק: {BankNum}{ENTER}סניף: {BranchNum}{TAB}חשבון: "
            "{AccountNum}{ENTER}{ENTER}");
  EXPECT_EQ(defaults.CSVFile, "");
}

// Each type converts its own range and leaves the field alone on anything else.
TEST(StoreProfileValue, ConvertsByTheKeysTypeAndKeepsTheFieldWhenItCannot) {
  struct Case {
    std::string_view key;
    std::string_view text;
    bool converts;
    std::string_view fieldAfter;  // the field as text, from a field that held "previous"
  };
  // Previous values: Red 10, TextRed 5, KeyPressDelay 20, WaitMode on, IgnoreVerify on,
  // ChequeNumFlip true, IconFontSize 30, CSVFile "old.csv".
  const Case cases[] = {
      {"Red", "0", true, "0"},
      {"Red", " 255 ", true, "255"},
      {"Red", "300", false, "10"},
      {"Red", "-1", false, "10"},
      {"Red", "", false, "10"},
      {"Red", "12.5", true, "12"},  // halves round to even
      {"TextRed", "-32768", true, "-32768"},
      {"TextRed", "32768", false, "5"},
      {"TextRed", "x", false, "5"},
      {"KeyPressDelay", "2147483647", true, "2147483647"},
      {"KeyPressDelay", "2147483648", false, "20"},
      {"KeyPressDelay", "", false, "20"},
      {"WaitMode", "0", true, "0"},
      {"WaitMode", "-1", true, "1"},
      {"WaitMode", "yes", false, "1"},
      {"WaitMode", "40000", false, "1"},
      {"IgnoreVerify", "0", true, "0"},
      {"IgnoreVerify", "255", true, "1"},
      {"IgnoreVerify", "-1", false, "1"},  // a byte flag has no negative values
      {"ChequeNumFlip", "false", true, "0"},
      {"ChequeNumFlip", "TRUE", true, "1"},
      {"ChequeNumFlip", "0", true, "0"},
      {"ChequeNumFlip", "maybe", false, "1"},
      {"IconFontSize", "22", true, "22"},
      {"IconFontSize", "0", true, "1"},
      {"IconFontSize", "-5", true, "1"},
      {"IconFontSize", "100", true, "72"},
      {"IconFontSize", "x", false, "1"},  // not a number gives 1, not the previous size
      {"IconFontSize", "40000", false, "1"},
      {"CSVFile", "", true, ""},
      {"CSVFile", "  Log.CSV", true, "  Log.CSV"},
  };
  for (const Case& c : cases) {
    ProfileSettings settings;
    settings.Red = 10;
    settings.TextRed = 5;
    settings.KeyPressDelay = 20;
    settings.WaitMode = true;
    settings.IgnoreVerify = true;
    settings.ChequeNumFlip = true;
    settings.IconFontSize = 30;
    settings.CSVFile = "old.csv";
    const ProfileKey& key = KeyNamed(c.key);
    EXPECT_EQ(StoreProfileValue(key, c.text, settings), c.converts) << c.key << "=" << c.text;
    const std::string field = std::visit(
        [&](auto member) {
          const auto& value = settings.*member;
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
            return value;
          } else {
            return std::to_string(value);
          }
        },
        key.field);
    EXPECT_EQ(field, c.fieldAfter) << c.key << "=" << c.text;
  }
}

}  // namespace
}  // namespace orvex
