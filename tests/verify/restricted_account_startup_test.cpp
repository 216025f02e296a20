#include "verify/restricted_account_startup.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "support/fake_clock.h"
#include "support/fake_message_boxes.h"
#include "support/fake_web_client.h"
#include "support/file_times.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::FakeClock;
using test_support::FakeMessageBoxes;
using test_support::FakeWebClient;
using test_support::TempFolder;

TEST(CheckAccountListAge, WarnsWhenTheFirstListFileIsMoreThanSevenCalendarDaysOld) {
  const LocalDateTime justAfterMidnight{2026, 3, 5, 0, 0, 30};
  const LocalDateTime afternoon{2026, 3, 5, 14, 7, 9};
  const struct {
    const char* description;
    std::vector<std::pair<std::string, LocalDateTime>> files;
    LocalDateTime now;
    bool warned;
  } cases[] = {
      {"7 midnights ago", {{"ACC12345.TXT", {2026, 2, 26, 0, 0, 10}}}, justAfterMidnight, false},
      {"8 midnights ago, yet less than 7 times 24 hours",
       {{"ACC12345.TXT", {2026, 2, 25, 23, 59, 0}}},
       justAfterMidnight,
       true},
      {"7 days ago in the morning", {{"ACC12345.TXT", {2026, 2, 26, 6, 0, 0}}}, afternoon, false},
      {"today", {{"ACC12345.TXT", {2026, 3, 5, 9, 0, 0}}}, afternoon, false},
      {"tomorrow", {{"ACC12345.TXT", {2026, 3, 6, 9, 0, 0}}}, afternoon, false},
      {"a year ago", {{"ACC12345.TXT", {2025, 3, 5, 9, 0, 0}}}, afternoon, true},
      {"a name in lower case counts", {{"acc12345.txt", {2025, 3, 5, 9, 0, 0}}}, afternoon, true},
      {"only other files",
       {{"ACC12345.TXT.bak", {2026, 3, 5, 9, 0, 0}}, {"LIST.TXT", {2026, 3, 5, 9, 0, 0}}},
       afternoon,
       true},
      {"no file at all", {}, afternoon, true},
      {"the first in name order is current",
       {{"ACC20002.TXT", {2025, 3, 5, 9, 0, 0}}, {"acc10001.txt", {2026, 3, 5, 9, 0, 0}}},
       afternoon,
       false},
      {"the first in name order is old",
       {{"acc20002.txt", {2026, 3, 5, 9, 0, 0}}, {"ACC10001.TXT", {2025, 3, 5, 9, 0, 0}}},
       afternoon,
       true},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    for (const auto& [name, written] : c.files) {
      ASSERT_TRUE(WriteFileBytes(folder.File(name), "0000000001001234562025010520251231\r\n"));
      test_support::SetModifiedLocalTime(folder.File(name), written);
    }
    FakeClock clock;
    clock.now = c.now;
    FakeMessageBoxes boxes;
    CheckAccountListAge(folder.File("") + "\\", clock, boxes);
    EXPECT_EQ(boxes.Shown().size(), c.warned ? 1u : 0u) << c.description;
  }
}

TEST(CheckAccountListAge, TheWarningAsksForAnUpdate) {
  TempFolder folder;
  FakeClock clock;
  FakeMessageBoxes boxes;
  CheckAccountListAge(folder.File("missing") + "\\", clock, boxes);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const Message& shown = boxes.Shown()[0];
  EXPECT_EQ(shown.title, "קורא צ'קים וכרטיסים של Orvex");
  EXPECT_EQ(shown.text,
            "אזהרה: נתונים אודות חשבונות מוגבלים לא עודכנו מאתר בנק ישראל מעל שבוע ימים. מומלץ לבצע עדכון.\r\n\r\n"
            "לסיוע, נא לפנות ל-Orvex בטלפון: 09-8741226");
  EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
  EXPECT_EQ(shown.buttons, MessageButtons::Ok);
}

TEST(CheckAccountListAge, AProfileWithoutListsIsNotChecked) {
  FakeClock clock;
  FakeMessageBoxes boxes;
  CheckAccountListAge("", clock, boxes);
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST(CheckWebSourceConnection, TheProgramRunsOnlyWhenTheConfiguredSourceAnswers) {
  const struct {
    const char* url;
    const char* page;
    bool fails;
    WebSourceCheck expected;
    size_t fetches;
  } cases[] = {
      {"", "", false, WebSourceCheck::kAnswered, 0},
      {"http://bank.example/q.asp", "<html></html>", false, WebSourceCheck::kAnswered, 1},
      {"http://bank.example/q.asp", "", false, WebSourceCheck::kUnreachable, 1},
      {"http://bank.example/q.asp", "", true, WebSourceCheck::kUnreachable, 1},
  };
  test_support::TraceCapture trace;
  for (const auto& c : cases) {
    FakeWebClient web;
    web.page = c.page;
    if (c.fails) {
      web.failure = Error(12002, "The operation timed out");
    }
    FakeMessageBoxes boxes;
    EXPECT_EQ(CheckWebSourceConnection(c.url, web, boxes), c.expected) << c.url << " " << c.page;
    EXPECT_EQ(web.urls, std::vector<std::string>(c.fetches, c.url));
    EXPECT_EQ(boxes.Shown().size(), c.expected == WebSourceCheck::kUnreachable ? 1u : 0u);
  }
}

TEST(CheckWebSourceConnection, AnUnreachableSourceSaysTheProgramCannotRunAndTracesTheError) {
  test_support::TraceCapture trace;
  FakeWebClient web;
  web.failure = Error(12029, "A connection with the server could not be established");
  FakeMessageBoxes boxes;
  ASSERT_EQ(CheckWebSourceConnection("http://bank.example/q.asp", web, boxes), WebSourceCheck::kUnreachable);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const Message& shown = boxes.Shown()[0];
  EXPECT_EQ(shown.title, "קורא צ'קים וכרטיסים של Orvex");
  EXPECT_EQ(shown.text,
            "אין תקשורת נתונים לאתר בנק ישראל. \r\n\r\nלא ניתן להריץ את התוכנה.\r\n\r\n"
            "לסיוע, נא לפנות ל-Orvex בטלפון: 09-8741226");
  EXPECT_EQ(shown.icon, MessageIcon::Critical);
  EXPECT_EQ(shown.buttons, MessageButtons::Ok);
  EXPECT_EQ(trace.Messages(),
            std::vector<std::string>{"Error #12029 - A connection with the server could not be established"});
}

}  // namespace
}  // namespace orvex
