// cInifile against the platform's own profile functions, on a corpus of tricky files: every read
// and every write must agree, except for the differences listed below, each a deliberate choice.

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "config/ini_file.h"
#include "support/ini_corpus.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

using test_support::IniCorpus;
using test_support::IniCorpusFile;

// What one reading of a file returned, as "what|section|key|default" -> result.
using Readings = std::map<std::string, std::string>;

enum class SeenIn { kReads, kWrites };

struct Difference {
  SeenIn seenIn;             // the test that meets it
  std::string_view label;    // the corpus file and write step, or their beginning
  std::string_view reading;  // the reading, or its beginning
  std::string_view reason;
};

// Where cInifile deliberately differs from the platform.
const Difference kDeliberateDifferences[] = {
    {SeenIn::kWrites, "empty_section_name+", "",
     "On any write the platform rewrites the whole file and leaves out the header line \"[]\" of a section "
     "without a name, so that section's keys join the keys above the first section. cInifile changes only the "
     "line it writes: the file keeps its meaning."},
    {SeenIn::kReads, "", "keys with a default|",
     "For a section without keys the platform answers the key list with the default text, which is no list (it "
     "has no NUL, so the enumeration of the keys finds none either way). INISection answers the empty list: the "
     "default plays no part in a name list."},
    {SeenIn::kReads, "utf8_without_byte_order_mark", "",
     "The platform reads a UTF-8 file without the byte-order mark in the system code page, so its Hebrew names "
     "become pairs of other letters. cInifile reads it as UTF-8, as Notepad wrote it."},
};

std::string Ansi(const std::string& utf8) {
  return Utf8ToWindows1255(utf8);
}

class PlatformIni {
 public:
  explicit PlatformIni(std::string path) : path_(Ansi(std::move(path))) {}

  std::string Value(const std::string& section, const std::string& key, const std::string& def) const {
    char buffer[255];
    const DWORD count = GetPrivateProfileStringA(Ansi(section).c_str(), Ansi(key).c_str(), Ansi(def).c_str(), buffer,
                                                 sizeof buffer, path_.c_str());
    return Windows1255ToUtf8(std::string_view(buffer, count));
  }
  std::string KeyList(const std::string& section, const std::string& def) const {
    std::string buffer(cInifile::kNameListBufferLength, '\0');
    const DWORD count = GetPrivateProfileStringA(Ansi(section).c_str(), nullptr, Ansi(def).c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), path_.c_str());
    return Windows1255ToUtf8(std::string_view(buffer.data(), count));
  }
  std::string Sections() const {
    std::string buffer(cInifile::kNameListBufferLength, '\0');
    const DWORD count = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
    return Windows1255ToUtf8(std::string_view(buffer.data(), count));
  }
  bool Write(const char* section, const char* key, const char* value) const {
    const std::string s = Ansi(section);
    const std::string k = key ? Ansi(key) : std::string();
    const std::string v = value ? Ansi(value) : std::string();
    return WritePrivateProfileStringA(s.c_str(), key ? k.c_str() : nullptr, value ? v.c_str() : nullptr,
                                      path_.c_str()) != 0;
  }

 private:
  std::string path_;
};

// Which readings are made of a file.
struct ReadPlan {
  std::vector<std::string> defaults;  // each value is read with each of these defaults
  bool keyListsWithDefault;           // the key lists are read with a default too
};

// All readings: defaults plain, with trailing blanks, quoted, and longer than a value.
const ReadPlan kEveryReading = {{"DEF", "DEF   ", "\"QD\"", std::string(300, 'd')}, true};
// After a write: one default tells a missing key from a present one.
const ReadPlan kReadingAfterWrite = {{"DEF"}, false};

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> names;
  for (size_t pos = 0, nul; (nul = list.find('\0', pos)) != std::string::npos; pos = nul + 1) {
    names.push_back(list.substr(pos, nul - pos));
  }
  return names;
}

std::vector<std::string> SectionsToProbe(const IniCorpusFile& file, const std::string& listed) {
  std::vector<std::string> sections = Split(listed);
  sections.insert(sections.end(), file.sections.begin(), file.sections.end());
  sections.push_back("S");
  sections.push_back("Missing");
  return sections;
}

// Everything cInifile reads from the file at `path`.
Readings ReadWithIniFile(const IniCorpusFile& file, const std::string& path, const ReadPlan& plan) {
  Readings readings;
  cInifile ini;
  ini.SetPath(path);
  readings["sections"] = ini.Sections();
  for (const auto& section : SectionsToProbe(file, ini.Sections())) {
    ini.SetSection(section);
    ini.SetDefault("");
    readings["keys|" + section] = ini.INISection();
    if (plan.keyListsWithDefault) {
      ini.SetDefault("DEF");
      readings["keys with a default|" + section] = ini.INISection();
    }
    for (const auto& key : file.keys) {
      ini.SetKey(key);
      for (const auto& def : plan.defaults) {
        ini.SetDefault(def);
        readings["value|" + section + "|" + key + "|" + def.substr(0, 8)] = ini.Value();
      }
    }
  }
  return readings;
}

// The same readings through the platform's profile functions.
Readings ReadWithPlatform(const IniCorpusFile& file, const std::string& path, const ReadPlan& plan) {
  Readings readings;
  const PlatformIni ini(path);
  readings["sections"] = ini.Sections();
  for (const auto& section : SectionsToProbe(file, ini.Sections())) {
    readings["keys|" + section] = ini.KeyList(section, "");
    if (plan.keyListsWithDefault) {
      readings["keys with a default|" + section] = ini.KeyList(section, "DEF");
    }
    for (const auto& key : file.keys) {
      for (const auto& def : plan.defaults) {
        readings["value|" + section + "|" + key + "|" + def.substr(0, 8)] = ini.Value(section, key, def);
      }
    }
  }
  return readings;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    out += c == '\0' ? std::string("\\0") : std::string(1, c);
  }
  return out.size() > 120 ? out.substr(0, 120) + "...(" + std::to_string(out.size()) + ")" : out;
}

const Difference* DeliberateDifference(const std::string& label, const std::string& reading) {
  for (const auto& d : kDeliberateDifferences) {
    if (label.starts_with(d.label) && reading.starts_with(d.reading)) {
      return &d;
    }
  }
  return nullptr;
}

void ExpectSameReadings(const std::string& label, const Readings& ours, const Readings& platform,
                        std::set<std::string_view>& deliberateSeen) {
  for (const auto& [reading, expected] : platform) {
    const auto it = ours.find(reading);
    const std::string actual = it == ours.end() ? "<not read>" : it->second;
    if (actual == expected) {
      continue;
    }
    if (const Difference* deliberate = DeliberateDifference(label, reading)) {
      deliberateSeen.insert(deliberate->reason);
      continue;
    }
    ADD_FAILURE() << label << " / " << Printable(reading) << "\n  cInifile: [" << Printable(actual)
                  << "]\n  platform: [" << Printable(expected) << "]";
  }
}

// Every listed difference still exists; one that went away is taken off the list.
void ExpectEveryDifferenceSeen(SeenIn test, const std::set<std::string_view>& seen) {
  for (const auto& d : kDeliberateDifferences) {
    if (d.seenIn == test) {
      EXPECT_TRUE(seen.contains(d.reason)) << "no longer differs: " << d.reason;
    }
  }
}

TEST(IniFileAgainstPlatform, CorpusHasEnoughFiles) {
  EXPECT_GE(IniCorpus().size(), 30u);
}

TEST(IniFileAgainstPlatform, EveryReadAgrees) {
  test_support::TempFolder folder;
  std::set<std::string_view> deliberateSeen;
  for (const auto& file : IniCorpus()) {
    const std::string path = folder.File(file.name + ".ini");
    ASSERT_TRUE(WriteFileBytes(path, file.bytes));
    ExpectSameReadings(file.name, ReadWithIniFile(file, path, kEveryReading),
                       ReadWithPlatform(file, path, kEveryReading), deliberateSeen);
  }
  const IniCorpusFile missing{"missing_file", "", {"S"}, {"A"}};
  const std::string absent = folder.File("absent.ini");
  ExpectSameReadings(missing.name, ReadWithIniFile(missing, absent, kEveryReading),
                     ReadWithPlatform(missing, absent, kEveryReading), deliberateSeen);
  ExpectEveryDifferenceSeen(SeenIn::kReads, deliberateSeen);
}

struct WriteStep {
  const char* name;
  const char* section;
  const char* key;    // nullptr: delete the section
  const char* value;  // nullptr: delete the key
};

const WriteStep kWriteSteps[] = {
    {"replace_existing_key", "S", "A", "new value"},
    {"add_key_to_existing_section", "S", "Added", "v"},
    {"add_section", "New Section", "K", "v"},
    {"replace_key_in_other_case", "s", "a", "lower"},
    {"write_hebrew", "S", "מפתח", "ערך"},
    {"delete_key", "S", "B", nullptr},
    {"delete_missing_key", "S", "Nothing", nullptr},
    {"delete_section", "T", nullptr, nullptr},
    {"delete_missing_section", "Nothing", nullptr, nullptr},
    {"delete_section_named_with_blanks", " T ", nullptr, nullptr},
};

bool WriteWithIniFile(const std::string& path, const WriteStep& step) {
  cInifile ini;
  ini.SetPath(path);
  ini.SetSection(step.section);
  if (!step.key) {
    ini.DeleteSection();
  } else {
    ini.SetKey(step.key);
    if (step.value) {
      ini.SetValue(std::string_view(step.value));
    } else {
      ini.DeleteKey();
    }
  }
  return ini.Success();
}

TEST(IniFileAgainstPlatform, EveryWriteLeavesTheSameReadings) {
  test_support::TempFolder folder;
  std::set<std::string_view> deliberateSeen;
  int caseNumber = 0;
  for (const auto& file : IniCorpus()) {
    if (file.name.ends_with("beyond_the_list_buffer")) {
      continue;  // these are about reading long name lists
    }
    for (const auto& step : kWriteSteps) {
      const std::string label = file.name + "+" + step.name;
      const std::string ours = folder.File(std::to_string(++caseNumber) + "-ours.ini");
      const std::string theirs = folder.File(std::to_string(caseNumber) + "-platform.ini");
      ASSERT_TRUE(WriteFileBytes(ours, file.bytes));
      ASSERT_TRUE(WriteFileBytes(theirs, file.bytes));
      const bool ourResult = WriteWithIniFile(ours, step);
      const bool platformResult = PlatformIni(theirs).Write(step.section, step.key, step.value);
      EXPECT_EQ(ourResult, platformResult) << label;
      IniCorpusFile probe = file;
      probe.sections.push_back(step.section);
      if (step.key) {
        probe.keys.push_back(step.key);
      }
      // Both files are read by the platform, then ours by cInifile too.
      const Readings expected = ReadWithPlatform(probe, theirs, kReadingAfterWrite);
      ExpectSameReadings(label, ReadWithPlatform(probe, ours, kReadingAfterWrite), expected, deliberateSeen);
      ExpectSameReadings(label, ReadWithIniFile(probe, ours, kReadingAfterWrite), expected, deliberateSeen);
    }
  }
  ExpectEveryDifferenceSeen(SeenIn::kWrites, deliberateSeen);
}

TEST(IniFileAgainstPlatform, WritesToAnUnwritablePlaceFailAlike) {
  test_support::TempFolder folder;
  const std::string path = folder.File("no such folder\\x.ini");
  cInifile ini;
  ini.SetPath(path);
  ini.SetSection("S");
  ini.SetKey("A");
  ini.SetValue(std::string_view("1"));
  EXPECT_FALSE(ini.Success());
  EXPECT_EQ(ini.LastReturnCode(), 0);
  EXPECT_FALSE(PlatformIni(path).Write("S", "A", "1"));
}

}  // namespace
}  // namespace orvex
