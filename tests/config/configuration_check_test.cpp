#include "config/configuration_check.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "config/profiles.h"
#include "support/fake_shell.h"
#include "support/ini_text_file.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::TempFolder;
using Notes = std::vector<std::string>;

// Files are written as Windows-1255 unless `utf8` says otherwise.
enum class Saved { kWindows1255, kUtf8WithMark, kUtf8WithoutMark };

std::string WriteSaved(const TempFolder& folder, const std::string& text, Saved saved) {
  if (saved == Saved::kWindows1255) {
    return test_support::WriteIniFile(folder, "OrvexExcella.ini", text);
  }
  const std::string path = folder.File("OrvexExcella.ini");
  WriteFileBytes(path, (saved == Saved::kUtf8WithMark ? std::string(kUtf8Bom) : "") + text);
  return path;
}

TEST(ConfigurationCheck, EachFileGivesItsNotes) {
  const struct {
    const char* what;
    std::string text;
    Saved saved;
    Notes notes;
  } cases[] = {
      {"a clean file",
       "[Config]\nSplashScreenTime=900\nDefaultProfileName=Main\n[Main]\nRed=10\nchequenumstart=3\n[Bank11]\n"
       "Red=1\n[Bank1?]\n",
       Saved::kWindows1255,
       {}},
      {"a profile key with a slip",
       "[Main]\nChequeNumStrat=3\n",
       Saved::kWindows1255,
       {"[Main] ChequeNumStrat is not a key the program knows; perhaps ChequeNumStart"}},
      {"a [Config] key with a slip",
       "[Config]\nSplashScreenTme=900\n",
       Saved::kWindows1255,
       {"[Config] SplashScreenTme is not a key the program knows; perhaps SplashScreenTime"}},
      {"a key near none", "[Main]\nColour=3\n", Saved::kWindows1255, {"[Main] Colour is not a key the program knows"}},
      {"a [Config] key in a profile",
       "[Main]\nDefaultProfileName=Main\n",
       Saved::kWindows1255,
       {"[Main] DefaultProfileName is not a key the program knows"}},
      {"a profile value that does not convert",
       "[Main]\nChequeNumLength=x\n",
       Saved::kWindows1255,
       {"LoadProfile: [Main] ChequeNumLength=x does not convert; the previous value stays"}},
      {"a [Config] value that does not convert",
       "[Config]\nDocFeedTimeout=1 s\n",
       Saved::kWindows1255,
       {"ReadConfig: DocFeedTimeout=\"1 s\" is not a whole number from -2147483648 to 2147483647; using 2500"}},
      {"a default profile in another letter case",
       "[Config]\nDefaultProfileName=main\n[Main]\n",
       Saved::kWindows1255,
       {"[Config] DefaultProfileName=main names no profile section (letter case counts); the first profile, "
        "[Main], is loaded at start-up"}},
      {"a default profile without profiles",
       "[Config]\nDefaultProfileName=Main\n",
       Saved::kWindows1255,
       {"[Config] DefaultProfileName=Main names no profile section (letter case counts); there is no profile, so "
        "the default settings are used"}},
      {"bank profiles no cheque chooses",
       "[Bank011]\n[bank11]\n[Bank 7]\n[Bank123]\n[Bank11]\n[Bank Leumi]\n",
       Saved::kWindows1255,
       {"[Bank011] is never chosen for a cheque: a bank's profile is named \"Bank\" and the bank's two digits, "
        "letter case as written, as in [Bank11]",
        "[bank11] is never chosen for a cheque: a bank's profile is named \"Bank\" and the bank's two digits, "
        "letter case as written, as in [Bank11]",
        "[Bank 7] is never chosen for a cheque: a bank's profile is named \"Bank\" and the bank's two digits, "
        "letter case as written, as in [Bank07]",
        "[Bank123] is never chosen for a cheque: a bank's profile is named \"Bank\" and the bank's two digits, "
        "letter case as written"}},
      {"Hebrew in UTF-8 without the mark",
       "[Config]\nDefaultProfileName=ראשי\n[ראשי]\nRed=1\n",
       Saved::kUtf8WithoutMark,
       {"the file is saved as UTF-8 without a byte-order mark; it is read as UTF-8"}},
      {"Hebrew in UTF-8 with the mark", "[Config]\nDefaultProfileName=ראשי\n[ראשי]\nRed=1\n", Saved::kUtf8WithMark, {}},
      {"Hebrew in Windows-1255", "[Config]\nDefaultProfileName=ראשי\n[ראשי]\nRed=1\n", Saved::kWindows1255, {}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    EXPECT_EQ(CheckConfiguration(WriteSaved(folder, c.text, c.saved)).All(), c.notes) << c.what;
  }
}

TEST(ConfigurationCheck, EveryNoteIsATraceLineAndTheStatusSaysWhetherThereAreAny) {
  TempFolder folder;
  test_support::TraceCapture trace;
  const ConfigurationNotes clean =
      CheckConfiguration(test_support::WriteIniFile(folder, "clean.ini", "[Main]\nRed=1\n"));
  EXPECT_EQ(CheckExitStatus(clean), 0);
  EXPECT_EQ(CheckReport(clean), "no notes\r\n");
  const ConfigurationNotes faulty =
      CheckConfiguration(test_support::WriteIniFile(folder, "faulty.ini", "[Main]\nRed=x\nBlu=1\n"));
  EXPECT_EQ(CheckExitStatus(faulty), 1);
  EXPECT_EQ(CheckReport(faulty),
            "[Main] Blu is not a key the program knows; perhaps Blue\r\n"
            "LoadProfile: [Main] Red=x does not convert; the previous value stays\r\n");
  for (const std::string& note : faulty.All()) {
    EXPECT_EQ(trace.Count(std::string(kConfigurationNotePrefix) + note), 1) << note;
  }
  EXPECT_EQ(CheckExitStatus(CheckConfiguration(folder.File("absent.ini"))), 1);
}

TEST(ConfigurationNotes, ABankProfileLoadedForEveryChequeGivesItsNotesOnce) {
  TempFolder folder;
  cInifile ini;
  ini.SetPath(test_support::WriteIniFile(folder, "OrvexExcella.ini", "[Main]\nRed=1\n[Bank12]\nRed=x\nRedd=1\n"));
  test_support::FakeShell shell;
  ConfigurationNotes notes;
  int newNotes = 0;
  notes.SetOnNote([&] { ++newNotes; });
  Profiles profiles(ini, shell, notes);
  profiles.SetProfileNames({"Main", "Bank12"});
  test_support::TraceCapture trace;
  profiles.LoadProfile(1);
  for (int cheque = 0; cheque < 3; ++cheque) {
    profiles.WithBankProfile("12", [] {});
  }
  EXPECT_EQ(notes.All(), (Notes{"[Bank12] Redd is not a key the program knows; perhaps Red",
                                "LoadProfile: [Bank12] Red=x does not convert; the previous value stays"}));
  EXPECT_EQ(newNotes, 2);
  EXPECT_EQ(trace.Count(std::string(kConfigurationNotePrefix) + notes.All()[1]), 1);
}

}  // namespace
}  // namespace orvex
