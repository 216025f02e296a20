#include <gtest/gtest.h>

#include <filesystem>

#include "support/processing_harness.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;
using test_support::ProcessingHarness;

constexpr const char* kSampleLine = "A0001234 C12A34567E 000123456A";
constexpr const char* kUnreadDigitLine = "A00012?4 C12A34567E 000123456A";
constexpr const char* kUnknownBankLine = "A0001234 C99A34567E 000123456A";

// A profile "Main" with the given keys and the sample cutting keys (the first of two equal keys wins).
std::string Profile(std::string_view keys) {
  return "[Main]\n" + std::string(keys) + std::string(test_support::kSampleCuttingKeys);
}

std::optional<std::string> FileBytes(const ProcessingHarness& h, const std::string& name) {
  return ReadFileBytes(h.folder.File(name));
}

// The values of one CSV line by the usual quoting rules (RFC 4180).
std::vector<std::string> CsvValues(std::string_view line) {
  std::vector<std::string> values(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      values.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      values.emplace_back();
    } else {
      values.back() += c;
    }
  }
  return values;
}

TEST(ParseAndFeedCheque, TheSampleKeysCutTheSampleLineWithOrWithoutTheBankTrim) {
  for (const std::string trim : {"0", "1"}) {
    ProcessingHarness h(
        Profile("TrimAccountByBank=" + trim +
                "\nCSVFile=<folder>log.csv\nImageFileNameTemplate={MM}{YY}\\{ChequeNum}_{AccountNum}.jpg\n"
                "ChequeTemplate={ChequeNum}|{BankNum}|{BranchNum}|{BranchCode}|{AccountNum}\n"));
    EXPECT_EQ(h.processing.ParseAndFeedCheque(kSampleLine, "", "", false), (ImageNames{"0326\\1234_123456.jpg", ""}));
    EXPECT_EQ(h.delivery.typed, std::vector<std::string>{"1234|12|345|67|123456"}) << trim;
    EXPECT_EQ(FileBytes(h, "log.csv"),
              "0001234,12,34567,000123456,14:07:09,05/03/2026,,,\"0326\\1234_123456.jpg\"\r\n");
  }
}

TEST(ParseAndFeedCheque, DialogsOpenByTheProfileAndACancelProducesNothing) {
  const std::string failed555 = "הצ'ק לא תקין, קוד שגיאה 555. סמן תיבה זו כדי להתעלם.";
  const std::string failed888 = "הצ'ק לא תקין, קוד שגיאה 888. סמן תיבה זו כדי להתעלם.";
  const struct {
    const char* name;
    const char* keys;
    const char* line;
    const char* dialog;  // "" when none opens
    std::string caption;
    size_t typed;
    bool logged;
  } cases[] = {
      {"unread digit discarded", "LetUserFillDetails=0\nDontPassPartialRead=1\n", kUnreadDigitLine, "", "", 0, true},
      {"unread digit asked", "LetUserFillDetails=1\nDontPassPartialRead=1\n", kUnreadDigitLine, "data", "", 0, false},
      {"fresh read has no date", "LetUserFillDetails=2\n", kSampleLine, "full", "", 0, false},
      {"failed check typed", "LetUserFillDetails=1\nDontPassPartialRead=0\n", kUnknownBankLine, "", "", 1, true},
      {"failed check asked", "LetUserFillDetails=1\nDontPassPartialRead=1\n", kUnknownBankLine, "data", failed555, 0,
       false},
      {"empty line discarded", "LetUserFillDetails=0\n", "", "", "", 0, false},
      {"empty line asked", "LetUserFillDetails=1\nDontPassPartialRead=0\n", "", "data", failed888, 0, false},
  };
  for (const auto& c : cases) {
    ProcessingHarness h(Profile(std::string(c.keys) + "CSVFile=<folder>log.csv\nImageFileNameTemplate=x.jpg\n"));
    EXPECT_EQ(h.processing.ParseAndFeedCheque(c.line, "", "", false),
              (c.logged ? ImageNames{"x.jpg", ""} : ImageNames{}))
        << c.name;
    EXPECT_EQ(h.delivery.typed.size(), c.typed) << c.name;
    EXPECT_EQ(FileBytes(h, "log.csv").has_value(), c.logged) << c.name;
    ASSERT_EQ(h.dialogs.openings.size(), std::string_view(c.dialog).empty() ? 0u : 1u) << c.name;
    if (!h.dialogs.openings.empty()) {
      const auto& opening = h.dialogs.openings[0];
      EXPECT_EQ(opening.dialog, c.dialog) << c.name;
      EXPECT_EQ(opening.verifyCaption, c.caption) << c.name;
      EXPECT_EQ(opening.fields, CaptureChequeFields(c.line)) << c.name;
      EXPECT_EQ(opening.picturePath, opening.dialog == "full" ? "netpbm\\tmp-preview.jpg" : "") << c.name;
    }
  }
}

TEST(ParseAndFeedCheque, AConfirmedFullDialogProcessesTheCompletedChequeWithItsAmountAndDate) {
  ProcessingHarness h(
      Profile("LetUserFillDetails=2\nCSVFile=<folder>log.csv\nImageFileNameTemplate={CYYYY}\\{ChequeNum}.jpg\n"
              "ChequeTemplate={Amount}|{CDD}{CMM}{CYY}{CHH}|{DD}\n"));
  h.dialogs.answers.push_back(ChequeCompletion{"A0001234 C12A34567E 000123456C", "1,500.00", "15/03/2026", false});
  EXPECT_EQ(h.processing.ParseAndFeedCheque(kUnreadDigitLine, "", "", false), (ImageNames{"2026\\1234.jpg", ""}));
  EXPECT_EQ(h.dialogs.openings.size(), 1u);
  EXPECT_EQ(h.delivery.typed, std::vector<std::string>{"1,500.00|15032600|05"});
  const std::string line = "0001234,12,34567,000123456,14:07:09,05/03/2026,\"1,500.00\",15/03/2026,\"2026\\1234.jpg\"";
  EXPECT_EQ(FileBytes(h, "log.csv"), line + "\r\n");
  const std::vector<std::string> values = CsvValues(line);
  ASSERT_EQ(values.size(), 9u);
  EXPECT_EQ(values[6], "1,500.00");
  EXPECT_EQ(values[8], "2026\\1234.jpg");
}

TEST(ParseAndFeedCheque, TheOperatorMayIgnoreAFailedVerification) {
  ProcessingHarness h(Profile("LetUserFillDetails=1\nDontPassPartialRead=1\nChequeTemplate={BankNum}\n"));
  h.dialogs.answers.push_back(ChequeCompletion{"A0001234 C99A34567E 000123456C", "", "", true});
  h.processing.ParseAndFeedCheque(kUnknownBankLine, "", "", false);
  EXPECT_EQ(h.dialogs.openings.size(), 1u);
  EXPECT_EQ(h.delivery.typed, std::vector<std::string>{"99"});
}

TEST(ParseAndFeedCheque, ABankProfileCutsAndTypesItsBanksChequesAndIsLeftAfterwards) {
  const std::string bank11 = "[Bank11]\nChequeTemplate=b11:{AccountNum}\nChequeAccountNumStart=-3\n";
  const struct {
    const char* line;
    const char* typed;
  } cases[] = {
      {"A0001234 C11A34567E 000123456A", "b11:456"},
      {kSampleLine, "main:123456"},
  };
  for (const auto& c : cases) {
    ProcessingHarness h(Profile("ChequeTemplate=main:{AccountNum}\n") + bank11);
    h.processing.ParseAndFeedCheque(c.line, "", "", false);
    EXPECT_EQ(h.delivery.typed, std::vector<std::string>{c.typed});
    EXPECT_EQ(h.profiles.CurrentProfile(), 1);
  }
}

TEST(ParseAndFeedCheque, AFailureEndsTheChequeWithItsTraceLineAndLeavesTheBankProfile) {
  ProcessingHarness h(Profile("ChequeTemplate=main\n") + "[Bank12]\nChequeNumStart=0\nChequeTemplate=b12\n");
  test_support::TraceCapture trace;
  EXPECT_EQ(h.processing.ParseAndFeedCheque(kSampleLine, "", "", false), ImageNames{});
  EXPECT_TRUE(h.delivery.typed.empty());
  EXPECT_TRUE(trace.Contains("ParseAndFeedCheque Error #5 - Invalid procedure call or argument"));
  EXPECT_EQ(h.profiles.CurrentProfile(), 1);
  EXPECT_EQ(h.profiles.Settings().ChequeTemplate, "main");
  ASSERT_EQ(h.boxes.Shown().size(), 1u) << "the operator knows the cheque was not processed";
  EXPECT_NE(h.boxes.Shown()[0].text.find("Error #5 - Invalid procedure call or argument"), std::string::npos);
}

TEST(ParseAndFeedCheque, AnXmlFileThatCannotBeWrittenIsKeptAndTheRestOfTheChequeGoesOn) {
  ProcessingHarness h(Profile(
      "CreateXML=1\nImageBeforeSendKeys=1\nChequeTemplate=typed\nImageFileNameTemplate=<folder>x\\{ChequeNum}.jpg\n"
      "BackImageFileNameTemplate=<folder>x\\{ChequeNum}b.jpg\n"));
  h.files.Fail(h.folder.File("x\\1234.xml"), test_support::DiskFault::kReadOnly);
  EXPECT_EQ(h.processing.ParseAndFeedCheque(kSampleLine, "", "", false),
            (ImageNames{h.WithFolder("<folder>x\\1234.jpg"), h.WithFolder("<folder>x\\1234b.jpg")}))
      << "the images are still saved";
  EXPECT_EQ(h.delivery.typed, std::vector<std::string>{"typed"});
  ASSERT_EQ(h.boxes.Shown().size(), 1u);
  EXPECT_NE(h.boxes.Shown()[0].text.find(h.folder.File("x\\1234.xml")), std::string::npos);
  ASSERT_TRUE(std::filesystem::exists("Unsaved"));
  EXPECT_NE(ReadFileBytes(std::filesystem::directory_iterator("Unsaved")->path().string())
                .value_or("")
                .find("<Number>1234</Number>"),
            std::string::npos);
}

TEST(ParseAndFeedCheque, ARestrictedAccountTakesTheLimitedNamesAndHoldsTheKeysBack) {
  const struct {
    bool listed;
    bool restrictedOnWeb;
    const char* sendIfLimited;
    const char* front;
    size_t typed;
  } cases[] = {
      {false, false, "0", "ok.jpg", 1},
      {true, false, "0", "ok.jpg", 1},  // the web's answer replaces the list's
      {false, true, "0", "limited.jpg", 0},
      {false, true, "1", "limited.jpg", 1},
  };
  for (const auto& c : cases) {
    ProcessingHarness h(Profile(std::string("SendChequeIfLimited=") + c.sendIfLimited +
                                "\nAccountListPath=lists\nLimitedAccountURL=http://h/q\nCSVFile=<folder>log.csv\n"
                                "ImageFileNameTemplate=ok.jpg\nLimitedImageFileNameTemplate=limited.jpg\n"));
    h.restricted.listed = c.listed;
    h.restricted.restrictedOnWeb = c.restrictedOnWeb;
    EXPECT_EQ(h.processing.ParseAndFeedCheque("A0001234 C12A34567E 0000123456A", "", "", false),
              (ImageNames{c.front, ""}));
    EXPECT_EQ(h.delivery.typed.size(), c.typed);
    EXPECT_TRUE(FileBytes(h, "log.csv").has_value());
    EXPECT_EQ(h.restricted.asked,
              (std::vector<std::string>{"list lists\\|0000123456|345|12", "web http://h/q|000123456|345|12"}));
  }
}

TEST(ParseAndFeedCheque, TheBackNameAndXmlFileFollowTheFrontName) {
  const std::string xml =
      "<Check>\r\n    <Number>1234</Number>\r\n    <Bank>12</Bank>\r\n    <Branch>345</Branch>\r\n"
      "    <Account>123456</Account>\r\n</Check>\r\n";
  const struct {
    const char* name;
    const char* keys;
    std::deque<std::string> answers;
    ImageNames result;
    bool xmlWritten;
  } cases[] = {
      {"no back template", "CreateXML=1\n", {"a"}, {"<folder>a_1234.jpg", ""}, false},
      {"back template",
       "CreateXML=1\nBackImageFileNameTemplate=<folder>{User}_back.jpg\n",
       {"a"},
       {"<folder>a_1234.jpg", "<folder>a_back.jpg"},
       true},
      {"XML not asked for",
       "CreateXML=0\nBackImageFileNameTemplate=<folder>{User}_back.jpg\n",
       {"a"},
       {"<folder>a_1234.jpg", "<folder>a_back.jpg"},
       false},
      {"prompt cancelled",
       "CreateXML=1\nBackImageFileNameTemplate=<folder>{User}_back.jpg\n",
       {""},
       {"<folder><<DONTSAVE>>_1234.jpg", "<folder><<DONTSAVE>>_back.jpg"},
       false},
  };
  for (const auto& c : cases) {
    ProcessingHarness h(Profile(std::string(c.keys) + "ImageFileNameTemplate=<folder>{User}_{ChequeNum}.jpg\n"));
    h.prompt.answers = c.answers;
    EXPECT_EQ(h.processing.ParseAndFeedCheque(kSampleLine, "", "", false),
              (ImageNames{h.WithFolder(c.result.front), h.WithFolder(c.result.back)}))
        << c.name;
    EXPECT_EQ(h.prompt.asked.size(), 1u) << c.name;
    EXPECT_EQ(FileBytes(h, "a_1234.xml"), c.xmlWritten ? std::optional(xml) : std::nullopt) << c.name;
  }
}

TEST(ParseAndFeedCheque, UnreadDigitsAreLoggedAndNamedAsRead) {
  ProcessingHarness h(
      Profile("DontPassPartialRead=0\nCSVFile=<folder>log.csv\nImageFileNameTemplate={ChequeNum}.jpg\n"
              "BackImageFileNameTemplate={ChequeNum}b.jpg\n"));
  EXPECT_EQ(h.processing.ParseAndFeedCheque(kUnreadDigitLine, "", "", false), (ImageNames{"12?4.jpg", "12?4b.jpg"}));
  EXPECT_EQ(FileBytes(h, "log.csv"), "00012?4,12,34567,000123456,14:07:09,05/03/2026,,,\"12?4.jpg\"\r\n");
}

TEST(ParseAndFeedCheque, DebugTakesBankBranchAndAccountFromTheDebugWindow) {
  ProcessingHarness h(Profile(
      "CSVFile=<folder>log.csv\nChequeTemplate=[{ChequeNum}]{BankNum}/{BranchNum}/{BranchCode}/{AccountNum}\n"));
  h.dialogs.debugAccount = {"12", "34567", "000123456"};
  h.processing.ParseAndFeedCheque("DEBUG", "", "", false);
  EXPECT_EQ(h.delivery.typed, std::vector<std::string>{"[]12/345/67/123456"});
  EXPECT_EQ(FileBytes(h, "log.csv"), ",12,34567,000123456,14:07:09,05/03/2026,,,\"\"\r\n");
}

TEST(ParseAndFeedCheque, AValueInAFileNameIsNeverReadForCodes) {
  ProcessingHarness h(Profile("LetUserFillDetails=2\nImageFileNameTemplate={Amount}{DD}.jpg\n"));
  h.dialogs.answers.push_back(ChequeCompletion{"A0001234 C12A34567E 000123456C", "{DD}{CDD}", "15/03/2026", false});
  EXPECT_EQ(h.processing.ParseAndFeedCheque("", "", "", false), (ImageNames{"{DD}{CDD}05.jpg", ""}));
}

TEST(ParseChequeDate, ReadsDayMonthAndFourDigitYear) {
  const struct {
    const char* text;
    std::optional<LocalDateTime> date;
  } cases[] = {
      {"15/03/2026", LocalDateTime{2026, 3, 15}},
      {"1/2/2027", LocalDateTime{2027, 2, 1}},
      {"29/02/2024", LocalDateTime{2024, 2, 29}},
      {"29/02/2026", std::nullopt},
      {"31/04/2026", std::nullopt},
      {"15/03/26", std::nullopt},
      {"15-03-2026", std::nullopt},
      {"15/03/2026x", std::nullopt},
      {"015/03/2026", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    if (c.date) {
      EXPECT_EQ(ParseChequeDate(c.text), *c.date) << c.text;
    } else {
      EXPECT_THROW(ParseChequeDate(c.text), Error) << c.text;
    }
  }
}

}  // namespace
}  // namespace orvex
