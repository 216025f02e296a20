#include "verify/restricted_accounts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "support/fake_message_boxes.h"
#include "support/fake_web_client.h"
#include "support/file_times.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::FakeMessageBoxes;
using test_support::FakeWebClient;
using test_support::TempFolder;

constexpr char kNoConnectionText[] =
    "אזהרה: אין תקשורת נתונים לאתר בנק ישראל. בדיקת חשבונות מוגבלים לא תבוצע.\r\n\r\n"
    "לסיוע, נא לפנות ל-Orvex בטלפון: 09-8741226";

class RestrictedAccountsTest : public ::testing::Test {
 protected:
  // The folder as the profile stores it, with a trailing backslash.
  std::string ListPath() const { return folder.File("") + "\\"; }
  void WriteList(const std::string& name, const std::string& utf8Text) {
    ASSERT_TRUE(WriteFileBytes(folder.File(name), Utf8ToWindows1255(utf8Text)));
  }

  TempFolder folder;
  FakeWebClient web;
  FakeMessageBoxes boxes;
  RestrictedAccounts accounts{web, boxes};
};

// Columns 1-10 unread, 11-18 the account, 19-26 restricted from (yyyymmdd), 27-34 until.
std::string ListLine(const std::string& account, const std::string& from = "20250105",
                     const std::string& until = "20251231", const std::string& unread = "0000000001") {
  return unread + account + from + until;
}

TEST_F(RestrictedAccountsTest, ListFilesAreLookedUpByTheNormalisedNumbers) {
  WriteList("ACC12345.TXT", ListLine("00999999") + "\r\n" + ListLine("00123456") + "\r\n");
  WriteList("ACC09045.TXT", ListLine("00000077"));
  WriteList("ACC12346.TXT", ListLine("00000088", "20200101", "20200202") + "\n" + "\r" +
                                ListLine("00000099", "20200101", "20200202", "חשבון ישן1") + "\r");
  WriteList("ACC12347.TXT", ListLine("00123456").substr(0, 33) + "\r\n");
  const struct {
    const char* account;
    const char* branch;
    const char* bank;
    bool listed;
  } cases[] = {
      {"123456", "345", "12", true},                                 // padded to eight digits
      {"0000123456", "345", "12", true},                             // its last eight digits
      {"999999", "345", "12", true},                                 // the first line of the file
      {"124456", "345", "12", false},    {"77", "45", "9", true},    // branch and bank padded: ACC09045.TXT
      {"123456", "345", "13", false},    {"88", "346", "12", true},  // "until" in the past, lines ended by LF or CR
      {"99", "346", "12", true},                                     // Hebrew in the unread columns: one character each
      {"123456", "347", "12", false},  // a 33-character line is no record, even when its account matches
  };
  for (const auto& c : cases) {
    EXPECT_EQ(accounts.IsAccountListed(ListPath(), c.account, c.branch, c.bank), c.listed)
        << c.account << " " << c.branch << " " << c.bank;
  }
  EXPECT_EQ(boxes.Shown().size(), 6u);
}

TEST_F(RestrictedAccountsTest, AListedAccountIsShownWithItsDatesAndTheListsUpdateTime) {
  WriteList("ACC12345.TXT", ListLine("00123456", "20250105", "20251231") + " and the rest is ignored\r\n" +
                                ListLine("00123456", "20240101", "20240202"));
  test_support::SetModifiedLocalTime(folder.File("ACC12345.TXT"), {2026, 3, 1, 8, 5, 9});
  ASSERT_TRUE(accounts.IsAccountListed(ListPath(), "123456", "345", "12"));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const Message& shown = boxes.Shown()[0];
  EXPECT_EQ(shown.title, "אזהרה - חשבון מוגבל");
  EXPECT_EQ(shown.text,
            "חשבון מס' 00123456 בסניף מס' 345 של בנק מס' 12 מוגדר כמוגבל מתאריך 05/01/2025 עד תאריך 31/12/2025 "
            "לפי המידע מאתר בנק ישראל.\r\n\r\nהמידע עודכן לאחרונה מהאתר: 08:05:09 01/03/2026");
  EXPECT_EQ(shown.icon, MessageIcon::Critical);
  EXPECT_EQ(shown.buttons, MessageButtons::Ok);
  EXPECT_TRUE(shown.foreground);
}

TEST_F(RestrictedAccountsTest, AMissingListFileOrFolderAnswersFalseWithoutAWord) {
  EXPECT_FALSE(accounts.IsAccountListed(ListPath(), "123456", "345", "12"));
  EXPECT_FALSE(accounts.IsAccountListed(folder.File("missing") + "\\", "123456", "345", "12"));
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(RestrictedAccountsTest, TheWebQuestionCarriesTheNumbersPercentEncoded) {
  web.page = "<title>חשבון לא מוגבל</title>";
  const struct {
    const char* account;
    const char* branch;
    const char* bank;
    const char* query;
  } cases[] = {
      {"123456", "345", "12", "?bank=12&snif=345&acct=00123456"},
      {"000123456", "345", "12", "?bank=12&snif=345&acct=00123456"},
      {"123456", "345", "31", "?bank=31&snif=345&acct=000123456"},
      {"123456", "345", "54", "?bank=54&snif=345&acct=000123456"},
      {"123456", "345", "52", "?bank=52&snif=345&acct=000123456"},
      {"123456", "345", "46", "?bank=46&snif=345&acct=000123456"},
      {"123456", "345", "14", "?bank=14&snif=345&acct=000123456"},
      {"123456789", "345", "14", "?bank=14&snif=345&acct=123456789"},
      {"12?456", "3?5", "1?", "?bank=1%3F&snif=3%3F5&acct=0012%3F456"},
      // Blanks and the address's own separators cannot change the question.
      {"12#45 6", "3=4", "1&", "?bank=1%26&snif=3%3D4&acct=012%2345%206"},
      {"1-2.3_~", "א+/", "12", "?bank=12&snif=%E0%2B%2F&acct=01-2.3_~"},
  };
  for (const auto& c : cases) {
    web.urls.clear();
    accounts.QueryRestrictedAccount("http://bank.example/q.asp", c.account, c.branch, c.bank);
    ASSERT_EQ(web.urls.size(), 1u);
    EXPECT_EQ(web.urls[0], std::string("http://bank.example/q.asp") + c.query) << c.account;
  }
}

constexpr char kRestrictedTitle[] = "אזהרה - חשבון מוגבל";
constexpr char kNoConnectionTitle[] = "קורא צ'קים וכרטיסים של Orvex";

TEST_F(RestrictedAccountsTest, ThePagesTitleDecides) {
  const struct {
    const char* page;
    bool restricted;
    const char* shownTitle;  // nullptr: nothing shown
  } cases[] = {
      {"<html><head><title>חשבון לא מוגבל</title></head></html>", false, nullptr},
      {"<html><head><title>בדיקה: חשבון מוגבל</title></head></html>", true, kRestrictedTitle},
      {"<title>חשבון מוגבל</title><title>חשבון לא מוגבל</title>", true, kRestrictedTitle},
      {"<title>שלום</title><body>חשבון מוגבל</body>", false, kNoConnectionTitle},
      {"<body>חשבון לא מוגבל</body>", false, kNoConnectionTitle},
      {"", false, kNoConnectionTitle},
  };
  for (const auto& c : cases) {
    FakeMessageBoxes caseBoxes;
    RestrictedAccounts caseAccounts(web, caseBoxes);
    web.page = c.page;
    EXPECT_EQ(caseAccounts.QueryRestrictedAccount("http://bank.example/q.asp", "123456", "345", "12"), c.restricted)
        << c.page;
    std::vector<std::string> expectedTitles;
    if (c.shownTitle != nullptr) {
      expectedTitles.push_back(c.shownTitle);
    }
    std::vector<std::string> titles;
    for (const Message& shown : caseBoxes.Shown()) {
      titles.push_back(shown.title);
    }
    EXPECT_EQ(titles, expectedTitles) << c.page;
  }
}

TEST_F(RestrictedAccountsTest, ARestrictedAnswerIsShownWithTheDateFromThePage) {
  const struct {
    const char* body;
    const char* date;
  } cases[] = {
      {"<p>חשבון מוגבל עד 31/12/2026</p>", "31/12/2026"},
      {"<p>חשבון מוגבל עד:01.02.2027 והלאה</p>", "01.02.2027"},
      {"<p>חשבון מוגבל עד 1/2</p>", "1/2</p>"},
      {"<p>ללא תאריך</p>", ""},
  };
  for (const auto& c : cases) {
    FakeMessageBoxes caseBoxes;
    RestrictedAccounts caseAccounts(web, caseBoxes);
    web.page = std::string("<html><head><title>חשבון מוגבל</title></head><body>") + c.body;
    ASSERT_TRUE(caseAccounts.QueryRestrictedAccount("http://bank.example/q.asp", "123456", "345", "31"));
    ASSERT_EQ(caseBoxes.Shown().size(), 1u);
    const Message& shown = caseBoxes.Shown()[0];
    EXPECT_EQ(shown.title, kRestrictedTitle);
    EXPECT_EQ(shown.text, std::string("חשבון מס' 000123456 בסניף מס' 345 של בנק מס' 31 מוגבל עד תאריך ") + c.date +
                              "\r\n לפי המידע מאתר בנק ישראל.\r\n\r\n");
    EXPECT_EQ(shown.icon, MessageIcon::Critical);
    EXPECT_TRUE(shown.foreground);
  }
}

TEST_F(RestrictedAccountsTest, AFailedFetchWarnsTracesAndCountsAsNotRestricted) {
  test_support::TraceCapture trace;
  web.failure = Error(12029, "A connection with the server could not be established");
  EXPECT_FALSE(accounts.QueryRestrictedAccount("http://bank.example/q.asp", "123456", "345", "12"));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const Message& shown = boxes.Shown()[0];
  EXPECT_EQ(shown.title, kNoConnectionTitle);
  EXPECT_EQ(shown.text, kNoConnectionText);
  EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
  EXPECT_EQ(shown.buttons, MessageButtons::Ok);
  EXPECT_EQ(trace.Messages(),
            std::vector<std::string>{"Error #12029 - A connection with the server could not be established"});
}

}  // namespace
}  // namespace orvex
