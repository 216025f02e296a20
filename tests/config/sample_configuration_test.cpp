#include "config/sample_configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "config/global_settings.h"
#include "config/ini_file.h"
#include "config/profile_settings.h"
#include "config/profiles.h"
#include "support/fake_shell.h"
#include "support/ini_text_file.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::TempFolder;

struct ActiveLine {
  std::string key;
  std::string value;
};

// The active lines the sample holds, section by section, in file order.
const std::vector<ActiveLine> kConfigLines = {
    {"SplashScreenTime", "750"},
    {"ExcellaDeviceName", "ImageSafe.ImageSafe001"},
    {"ProgramList", "Notepad|notepad.exe|צייר|mspaint.exe|Command line directory listing|cmd /k dir c:\\"},
    {"SearchFolders", "צ'קים מהחודש|{MM}{YY}\\|Root Folder|C:\\"},
    {"MSRTracks", "2"},
    {"DocFeedTimeout", "1000"},
    {"DefaultProfileName", "פרופיל 1"},
};

const std::vector<ActiveLine> kProfileLines = {
    {"Red", "0"},
    {"Green", "0"},
    {"Blue", "255"},
    {"IconFontSize", "22"},
    {"TextRed", "255"},
    {"TextGreen", "255"},
    {"TextBlue", "0"},
    {"IDResolution", "100x100"},
    {"FrontResolution", "100x100"},
    {"BackResolution", "100x100"},
    {"IDColorDepth", "COL24"},
    {"FrontColorDepth", "GRAY8"},
    {"BackColorDepth", "GRAY8"},
    {"ActivateWindow", "0"},
    {"ActivateWindowAfter", "0"},
    {"ActivateWindowTitle", "Untitled"},
    {"WhenActivateWindowFails", "1"},
    {"WaitMode", "0"},
    {"KeyPressDelay", "0"},
    {"UseOldSendKeys", "0"},
    {"DoEventsOnDelay", "0"},
    {"ClipboardWin98DOS", "0"},
    {"LetUserFillDetails", "1"},
    {"IgnoreVerify", "1"},
    {"TabChar", "32"},
    {"DontPassPartialRead", "1"},
    {"CSVFile", "Log.CSV"},
    {"CSVRenTemplate", "Log-old-{HH}{NN}{SS}{DD}{MM}{YYYY}.CSV"},
    {"ChequeNumStart", "-13"},
    {"ChequeNumLength", "13"},
    {"ChequeNumLeadingZeros", "0"},
    {"ChequeNumFlip", "FALSE"},
    {"ChequeBankNumStart", "1"},
    {"ChequeBankNumLength", "2"},
    {"ChequeBankNumLeadingZeros", "-1"},
    {"ChequeBankNumFlip", "FALSE"},
    {"ChequeBranchNumStart", "1"},
    {"ChequeBranchNumLength", "3"},
    {"ChequeBranchNumLeadingZeros", "-1"},
    {"ChequeBranchNumFlip", "FALSE"},
    {"ChequeBranchCodeStart", "-2"},
    {"ChequeBranchCodeLength", "2"},
    {"ChequeBranchCodeLeadingZeros", "-1"},
    {"ChequeBranchCodeFlip", "FALSE"},
    {"ChequeAccountNumStart", "-13"},
    {"ChequeAccountNumLength", "13"},
    {"ChequeAccountNumLeadingZeros", "0"},
    {"ChequeAccountNumFlip", "FALSE"},
    {"TrimAccountByBank", "1"},
    {"CombineChequeImages", "1"},
    {"CreateXML", "0"},
    {"ImageFileNameTemplate", "{MM}{YY}\\{ChequeNum}_{AccountNum}.jpg"},
    {"BackImageFileNameTemplate", "{MM}{YY}\\{ChequeNum}_{AccountNum}-back.jpg"},
    {"GenUSTemplate", "{TAB}{MICR}{ENTER}"},
    {"GenUSFileNameTemplate", "{MM}{YY}\\US\\{MICR}.jpg"},
    {"GenUSBackFileNameTemplate", "{MM}{YY}\\US\\{MICR}-back.jpg"},
    {"UnidentifiedTemplate", "{TAB}{MICR}{ENTER}"},
    {"UnidentifiedFileNameTemplate", "{DD}{MM}{YY}\\Unidentified\\{HH}{NN}{SS}-{MICR}.jpg"},
    {"UnidentifiedBackFileNameTemplate", "{DD}{MM}{YY}\\Unidentified\\{HH}{NN}{SS}-{MICR}-back.jpg"},
    {"IDCardImagePath", "IDCard{YYYY}{MM}{DD}{HH}{NN}{SS}.jpg"},
    {"MinUnreadCharsForNoMICR", "5"},
    {"ImageBeforeSendKeys", "0"},
    {"ChequeTemplate", "{ChequeNum}{TAB}{BankNum}{TAB}{BranchNum}{TAB}{AccountNum}{ENTER}"},
    {"MagStripe2Part1Start", "1"},
    {"MagStripe2Part1Length", "99"},
    {"MagStripe2Part1LeadingZeros", "-1"},
    {"MagStripe2Part1Flip", "FALSE"},
    {"MagStripe2Part2Start", "1"},
    {"MagStripe2Part2Length", "99"},
    {"MagStripe2Part2LeadingZeros", "-1"},
    {"MagStripe2Part2Flip", "FALSE"},
    {"MagStripe2Template", "{MagPart1}={MagPart2}{ENTER}"},
};

// The commented-out examples, as they stand after their ";".
const std::vector<std::string> kCommentedOutExamples = {
    "LimitedImageFileNameTemplate={MM}{YY}\\Limited\\{ChequeNum}_{AccountNum}.jpg",
    "LimitedBackImageFileNameTemplate={MM}{YY}\\Limited\\{ChequeNum}_{AccountNum}-back.jpg",
    "ScanOverrideFileNameTemplate={YYYY}{MM}{DD}_{HH}{NN}{SS}.jpg",
    "EndorseFront=",
    "TraceFile=OrvexExcella-trace.txt",
    "EndorseBack=Read on {DD}/{MM}/{YYYY} {HH}:{NN} on Excella",
    "MagStripe1Template={Name}{ENTER}{Account}{TAB}{DateMM}.{DateYY}{ENTER}",
};

std::string ShippedFile() {
  return ReadFileBytes("data/OrvexExcella.ini").value_or("");
}

// The file's lines in UTF-8, without their CR LF.
std::vector<std::string> SampleLines() {
  const std::string text = Windows1255ToUtf8(SampleConfigurationBytes());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool IsKeyLine(const std::string& line) {
  return !line.empty() && line[0] != ';' && line[0] != '[';
}

// ";Key=value" with no blank before the "=": a commented-out key line, not prose.
bool IsCommentedOutKeyLine(const std::string& line) {
  return line.starts_with(";") && line.find('=') != std::string::npos && line.find(' ') > line.find('=');
}

TEST(SampleConfiguration, TheBuiltInBytesAreTheShippedFile) {
  const std::string shipped = ShippedFile();
  ASSERT_FALSE(shipped.empty());
  EXPECT_TRUE(SampleConfigurationBytes() == shipped);
}

TEST(SampleConfiguration, IsWindows1255WithCrLfLineEnds) {
  const std::string_view bytes = SampleConfigurationBytes();
  EXPECT_TRUE(bytes.ends_with("\r\n"));
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at byte " << i;
    }
    if (bytes[i] == '\r') {
      ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at byte " << i;
    }
  }
  EXPECT_FALSE(bytes.starts_with(kUtf8Bom));
  EXPECT_NE(bytes.find(Utf8ToWindows1255("[פרופיל 1]")), std::string_view::npos) << "Hebrew stored in Windows-1255";
}

TEST(SampleConfiguration, OpensWithTheEncodingRuleInItsHeaderComment) {
  const std::vector<std::string> lines = SampleLines();
  const auto firstSection = std::find_if(lines.begin(), lines.end(), [](const auto& l) { return l.starts_with("["); });
  const std::vector<std::string> header(lines.begin(), firstSection);
  for (const std::string sentence : {"Never save the configuration file as anything other that ASCII/Windows-1255.",
                                     "No Unicode or other codepages/encodings."}) {
    EXPECT_NE(std::find(header.begin(), header.end(), "; " + sentence), header.end()) << sentence;
  }
  for (const std::string& line : header) {
    EXPECT_TRUE(line.empty() || line.starts_with(";")) << line;
  }
}

TEST(SampleConfiguration, ExplainsEveryKeyInACommentRightBeforeIt) {
  const std::vector<std::string> lines = SampleLines();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (IsKeyLine(lines[i]) || IsCommentedOutKeyLine(lines[i])) {
      ASSERT_GT(i, 0u);
      EXPECT_TRUE(lines[i - 1].starts_with("; ")) << lines[i];
    }
  }
}

TEST(SampleConfiguration, ReadsBackKeyByKeyAsTheTableOfActiveLines) {
  TempFolder folder;
  const std::string path = folder.File("OrvexExcella.ini");
  ASSERT_TRUE(WriteFileBytes(path, SampleConfigurationBytes()));
  cInifile ini;
  ini.SetPath(path);
  ASSERT_EQ(ini.EnumerateAllSections(), (NumberedList{"Config", "פרופיל 1"}));

  const struct {
    std::string section;
    const std::vector<ActiveLine>& lines;
  } sections[] = {{"Config", kConfigLines}, {"פרופיל 1", kProfileLines}};
  for (const auto& section : sections) {
    ini.SetSection(section.section);
    const NumberedList keys = ini.EnumerateCurrentSection();
    ASSERT_EQ(static_cast<size_t>(keys.Count()), section.lines.size()) << section.section;
    for (size_t i = 0; i < section.lines.size(); ++i) {
      const ActiveLine& expected = section.lines[i];
      EXPECT_EQ(keys.At(static_cast<int32_t>(i + 1)), expected.key) << section.section << " line " << i + 1;
      ini.SetKey(expected.key);
      ini.SetDefault("<absent>");
      EXPECT_EQ(ini.Value(), expected.value) << expected.key;
    }
  }
}

TEST(SampleConfiguration, ItsConfigKeysAreTheKeysOfConfig) {
  std::set<std::string> sampleKeys;
  for (const ActiveLine& line : kConfigLines) {
    sampleKeys.insert(line.key);
  }
  sampleKeys.emplace(kTraceFileKey.key);  // off: there as a commented-out example
  std::set<std::string> tableKeys;
  for (const ConfigKey& key : kConfigKeys) {
    tableKeys.emplace(key.key);
  }
  EXPECT_EQ(sampleKeys, tableKeys);
}

TEST(SampleConfiguration, EveryProfileKeyIsThereActiveOrAsACommentedOutLine) {
  const std::vector<std::string> lines = SampleLines();
  std::set<std::string> activeKeys;
  std::set<std::string> commentedKeys;
  bool inProfile = false;
  for (const std::string& line : lines) {
    if (line.starts_with("[")) {
      inProfile = line != "[Config]";
    } else if (inProfile && IsCommentedOutKeyLine(line)) {
      commentedKeys.insert(line.substr(1, line.find('=') - 1));
    } else if (inProfile && IsKeyLine(line)) {
      activeKeys.insert(line.substr(0, line.find('=')));
    }
  }
  std::set<std::string> tableKeys;
  for (const ProfileKey& key : kProfileKeys) {
    tableKeys.emplace(key.key);
    EXPECT_TRUE(activeKeys.contains(std::string(key.key)) || commentedKeys.contains(std::string(key.key))) << key.key;
  }
  for (const std::string& key : activeKeys) {
    EXPECT_TRUE(tableKeys.contains(key)) << key << " is no profile key";
  }
  for (const std::string& example : kCommentedOutExamples) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), ";" + example), lines.end()) << example;
  }
}

TEST(SampleConfiguration, ItsProfileLoadsWithTheSampleValues) {
  TempFolder folder;
  const std::string path = folder.File("OrvexExcella.ini");
  ASSERT_TRUE(WriteFileBytes(path, SampleConfigurationBytes()));
  cInifile ini;
  ini.SetPath(path);
  ini.SetSection("Config");
  test_support::FakeShell shell;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
  profiles.SetProfileNames(ProfileSectionNames(ini));
  profiles.LoadStartProfile("פרופיל 1");
  const ProfileSettings& settings = profiles.Settings();
  EXPECT_EQ(settings.Blue, 255);
  EXPECT_EQ(settings.IconFontSize, 22);
  EXPECT_EQ(settings.ChequeNumStart, -13);
  EXPECT_FALSE(settings.ChequeNumFlip);
  EXPECT_TRUE(settings.IgnoreVerify);
  EXPECT_EQ(settings.MagStripe1Template, kDefaultMagStripe1Template) << "commented out, so the default";
  EXPECT_EQ(settings.EndorseBack, "");
  EXPECT_EQ(settings.URLConnectionTimeout, 60);
}

class CheckForIniTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string path = folder.File("OrvexExcella.ini");
};

TEST_F(CheckForIniTest, WritesTheSampleWhenNoFileExists) {
  std::filesystem::create_directory(ToFsPath(folder.File("תוכנה")));
  for (const std::string& target : {path, folder.File("תוכנה/OrvexExcella.ini")}) {
    CheckForINI(target);
    EXPECT_EQ(ReadFileBytes(target), std::string(SampleConfigurationBytes())) << target;
  }
}

TEST_F(CheckForIniTest, LeavesAnExistingFileAsItIsEvenAnEmptyOne) {
  for (const std::string content : {"", "[Config]\r\nSplashScreenTime=2000\r\n"}) {
    ASSERT_TRUE(WriteFileBytes(path, content));
    CheckForINI(path);
    EXPECT_EQ(ReadFileBytes(path), content);
  }
}

TEST_F(CheckForIniTest, AFolderOfThatNameIsLeftAlone) {
  std::filesystem::create_directory(ToFsPath(path));
  CheckForINI(path);
  EXPECT_TRUE(std::filesystem::is_directory(ToFsPath(path)));
}

TEST_F(CheckForIniTest, AFileThatCannotBeWrittenIsTracedNotRaised) {
  const std::string inMissingFolder = folder.File("missing/OrvexExcella.ini");
  test_support::TraceCapture trace;
  EXPECT_NO_THROW(CheckForINI(inMissingFolder));
  EXPECT_TRUE(trace.Contains("CheckForINI: the sample configuration could not be written to " + inMissingFolder));
}

}  // namespace
}  // namespace orvex
