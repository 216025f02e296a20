#include "config/ini_file.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  // Writes the file's bytes and points the object at it.
  void UseFile(const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(path_, bytes));
    ini_.SetPath(path_);
  }
  std::string Read(const std::string& section, const std::string& key, const std::string& def = "DEF") {
    ini_.SetSection(section);
    ini_.SetKey(key);
    ini_.SetDefault(def);
    return ini_.Value();
  }
  std::string FileBytes() const { return ReadFileBytes(path_).value_or("<missing>"); }

  test_support::TempFolder folder_;
  std::string path_ = folder_.File("test.ini");
  cInifile ini_;
};

TEST_F(IniFileTest, ReadsValuesAsTheProfileRulesSay) {
  UseFile("[Config]\r\nEmpty=\r\nQuoted=\"ABC\"\r\nLong=" + std::string(300, 'x') + "\r\n  Spaced =  v w  \r\n");
  const struct {
    const char* section;
    const char* key;
    std::string expected;
  } cases[] = {
      {"Config", "Empty", ""},  // present but empty is not the default
      {"config", "QUOTED", "ABC"}, {"Config", "Long", std::string(254, 'x')},
      {"Config", "Spaced", "v w"}, {"Config", "Missing", "DEF"},
      {"Other", "Empty", "DEF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
}

TEST_F(IniFileTest, AValueEndsAtItsFirstNulAsTheProfileFunctionsReadIt) {
  UseFile(std::string("[S]\r\nA=ab") + '\0' + "cd\r\nB=\"x" + '\0' + "y\"\r\n");
  EXPECT_EQ(Read("S", "A"), "ab");
  EXPECT_EQ(Read("S", "B"), "\"x");  // the closing quote lies beyond the NUL
  EXPECT_EQ(Read("S", "C", std::string("de") + '\0' + "f"), "de");
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndNoNames) {
  ini_.SetPath(folder_.File("absent.ini"));
  EXPECT_EQ(Read("Config", "Key", "fallback"), "fallback");
  EXPECT_EQ(ini_.Sections(), "");
  EXPECT_EQ(ini_.EnumerateAllSections().Count(), 0);
  EXPECT_EQ(ini_.EnumerateCurrentSection().Count(), 0);
}

TEST_F(IniFileTest, DefaultIsCutLikeAValue) {
  ini_.SetPath(folder_.File("absent.ini"));
  EXPECT_EQ(Read("S", "K", std::string(300, 'd')), std::string(254, 'd'));
  EXPECT_EQ(Read("S", "K", "d  "), "d");
}

TEST_F(IniFileTest, HebrewIsReadFromWindows1255AndFromUtf8WithOrWithoutTheMark) {
  UseFile("[\xE1\xF0\xF7]\r\n\xF9\xED=\xF9\xEC\xE5\xED\r\n");
  EXPECT_EQ(Read("בנק", "שם"), "שלום");
  for (const std::string mark : {"\xEF\xBB\xBF", ""}) {
    UseFile(mark + "[בנק]\r\nשם=שלום €\r\n");
    EXPECT_EQ(Read("בנק", "שם"), "שלום €") << mark.size();
    EXPECT_EQ(ini_.EnumerateAllSections(), NumberedList({"בנק"})) << mark.size();
  }
}

TEST_F(IniFileTest, EnumeratesSectionsAsWrittenInFileOrderFromOne) {
  UseFile("[Config]\r\n[A]\r\nk1=1\r\nk2=2\r\nnovalue\r\n[b]\r\n");
  const NumberedList sections = ini_.EnumerateAllSections();
  ASSERT_EQ(sections.Count(), 3);
  EXPECT_EQ(sections.At(1), "Config");
  EXPECT_EQ(sections.At(2), "A");
  EXPECT_EQ(sections.At(3), "b");
  EXPECT_EQ(ini_.Sections(), std::string("Config\0A\0b\0", 11));
  ini_.SetSection("a");
  EXPECT_EQ(ini_.EnumerateCurrentSection(), NumberedList({"k1", "k2"}));
  EXPECT_EQ(ini_.INISection(), std::string("k1\0k2\0", 6));
}

TEST_F(IniFileTest, SectionListLongerThanTheBufferLosesItsLastName) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) {
    bytes += "[Section " + std::to_string(i) + "]\r\n";
  }
  UseFile(bytes);
  EXPECT_EQ(ini_.Sections().size(), cInifile::kNameListBufferLength - 2);
  const NumberedList sections = ini_.EnumerateAllSections();
  ASSERT_GT(sections.Count(), 0);
  const std::string& last = sections.At(sections.Count());
  EXPECT_EQ(last, "Section " + std::to_string(sections.Count() - 1));  // only whole names
}

TEST(CLngDefault, ConvertsOrFallsBack) {
  const struct {
    const char* text;
    int32_t expected;
  } cases[] = {{"12", 12}, {" 12 ", 12}, {"x", 5}, {"", 5}, {"2.5", 2}, {"3.5", 4}, {"99999999999", 5}};
  for (const auto& c : cases) {
    EXPECT_EQ(cInifile::CLngDefault(c.text, 5), c.expected) << c.text;
  }
}

TEST_F(IniFileTest, WritesChangeOnlyTheirLine) {
  const std::string original =
      "; comment  with  spaces\r\n[Config]\r\n  Key = old ; note\r\nOther=1\r\n\r\n[Bank11]\nRed=10\r\n\xE0=\xE1\r\n";
  const struct {
    const char* name;
    const char* section;
    const char* key;    // nullptr: delete the section
    const char* value;  // nullptr: delete the key
    std::string expected;
  } cases[] = {
      {"replace keeps the key's spelling and indentation", "config", "KEY", "new",
       "; comment  with  spaces\r\n[Config]\r\n  Key=new\r\nOther=1\r\n\r\n[Bank11]\nRed=10\r\n\xE0=\xE1\r\n"},
      {"new key goes after the section's last line", "Config", "Added", "v",
       "; comment  with  spaces\r\n[Config]\r\n  Key = old ; "
       "note\r\nOther=1\r\nAdded=v\r\n\r\n[Bank11]\nRed=10\r\n\xE0="
       "\xE1\r\n"},
      {"new section goes at the end", "New", "K", "ש", original + "\r\n[New]\r\nK=\xF9\r\n"},
      {"delete key", "Config", "Other", nullptr,
       "; comment  with  spaces\r\n[Config]\r\n  Key = old ; note\r\n\r\n[Bank11]\nRed=10\r\n\xE0=\xE1\r\n"},
      {"delete section", "Config", nullptr, nullptr, "; comment  with  spaces\r\n[Bank11]\nRed=10\r\n\xE0=\xE1\r\n"},
      {"delete missing key", "Config", "Nothing", nullptr, original},
  };
  for (const auto& c : cases) {
    UseFile(original);
    ini_.SetSection(c.section);
    if (c.key == nullptr) {
      ini_.DeleteSection();
    } else {
      ini_.SetKey(c.key);
      c.value ? ini_.SetValue(std::string_view(c.value)) : ini_.DeleteKey();
    }
    EXPECT_TRUE(ini_.Success()) << c.name;
    EXPECT_EQ(FileBytes(), c.expected) << c.name;
  }
}

TEST_F(IniFileTest, WritesFollowTheFilesLineBreaksAndEncoding) {
  UseFile("[S]\nA=1");
  ini_.SetSection("S");
  ini_.SetKey("B");
  ini_.SetValue(std::string_view("2"));
  EXPECT_EQ(FileBytes(), "[S]\nA=1\nB=2\n");

  UseFile("\xEF\xBB\xBF[S]\r\n");
  ini_.SetKey("שם");
  ini_.SetValue(std::string_view("€"));
  EXPECT_EQ(FileBytes(), "\xEF\xBB\xBF[S]\r\nשם=€\r\n");
}

TEST_F(IniFileTest, WriteCreatesTheFileAndRemovesNulCharacters) {
  ini_.SetPath(path_);
  EXPECT_EQ(ini_.LastReturnCode(), 0);
  ini_.SetSection("Config");
  ini_.SetKey("Key");
  std::string value("a\0b", 3);
  ini_.SetValue(value);
  EXPECT_EQ(value, "ab");
  EXPECT_TRUE(ini_.Success());
  EXPECT_EQ(FileBytes(), "[Config]\r\nKey=ab\r\n");
}

TEST_F(IniFileTest, FailedWriteLeavesReturnCodeZero) {
  ini_.SetPath(folder_.File("no folder/x.ini"));
  ini_.SetSection("S");
  ini_.SetKey("K");
  ini_.SetValue(std::string_view("v"));
  EXPECT_EQ(ini_.LastReturnCode(), 0);
  EXPECT_FALSE(ini_.Success());
}

}  // namespace
}  // namespace orvex
