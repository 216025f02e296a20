#include "interpret/cheque_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "support/processing_harness.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;
using test_support::ProcessingHarness;

TEST(CsvValue, QuotesOnlyValuesThatWouldBreakTheLine) {
  const struct {
    const char* value;
    const char* written;
  } cases[] = {
      {"", ""},
      {"000123456", "000123456"},
      {"1500.00", "1500.00"},
      {"1,500.00", "\"1,500.00\""},
      {"12\"", "\"12\"\"\""},
      {"a\r\nb", "\"a\r\nb\""},
      {"a\nb", "\"a\nb\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CsvValue(c.value), c.written) << c.value;
  }
  EXPECT_EQ(QuotedCsvValue(""), "\"\"");
  EXPECT_EQ(QuotedCsvValue("0326\\a.jpg"), "\"0326\\a.jpg\"");
  EXPECT_EQ(QuotedCsvValue("a\"b"), "\"a\"\"b\"");
}

// A folder where the log should be: no program can open it for writing.
void Lock(const std::string& path) {
  fs::remove(ToFsPath(path));
  fs::create_directory(ToFsPath(path));
}

void Unlock(const std::string& path) {
  fs::remove(ToFsPath(path));
}

class HeldLogTest : public ::testing::Test {
 protected:
  ProcessingHarness h{
      "[Main]\nCSVFile=<folder>log.csv\nCSVRenTemplate=<folder>old\\{YYYY}{MM}{DD}.csv\n"
      "ChequeTemplate=x\nChequeNumStart=-13\nChequeNumLength=13\n"};
  const std::string log = h.folder.File("log.csv");
  const std::string pending = h.folder.File("log.csv.pending");
};

TEST_F(HeldLogTest, ItsLinesWaitAndGoInOnceInOrderBeforeTheNextLine) {
  Lock(log);
  test_support::TraceCapture trace;
  const std::string held = h.ProcessNumberedCheques(1, 3);
  EXPECT_EQ(h.delivery.typed.size(), 3u) << "the cheques go on";
  EXPECT_EQ(ReadFileBytes(pending), held);
  ASSERT_EQ(h.boxes.Shown().size(), 1u) << "one warning until the log can be written again";
  const Message& warning = h.boxes.Shown()[0];
  EXPECT_EQ(warning.title, "קורא צ'קים וכרטיסים של Orvex");
  EXPECT_EQ(warning.icon, MessageIcon::Exclamation);
  EXPECT_NE(warning.text.find(log), std::string::npos);
  const auto messages = trace.Messages();
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [&](const std::string& m) { return m.find(pending) != std::string::npos; }),
            3)
      << "a trace line for each held line";

  Unlock(log);
  const std::string next = h.ProcessNumberedCheques(4, 4);
  EXPECT_EQ(ReadFileBytes(log), held + next);
  EXPECT_FALSE(fs::exists(ToFsPath(pending)));

  Lock(log);
  h.ProcessNumberedCheques(5, 5);
  EXPECT_EQ(h.boxes.Shown().size(), 2u) << "held again: warned again";
}

TEST_F(HeldLogTest, WhenThePendingFileCannotBeWrittenEitherTheLineIsKeptAndTheOperatorTold) {
  Lock(log);
  Lock(pending);
  const std::string line = h.ProcessNumberedCheques(1, 1);
  EXPECT_EQ(h.delivery.typed.size(), 1u);
  ASSERT_EQ(h.boxes.Shown().size(), 1u);
  const Message& kept = h.boxes.Shown()[0];
  EXPECT_EQ(kept.icon, MessageIcon::Exclamation);
  EXPECT_NE(kept.text.find(log), std::string::npos);
  EXPECT_NE(kept.text.find("Unsaved\\"), std::string::npos);
  ASSERT_TRUE(fs::exists("Unsaved"));
  EXPECT_EQ(ReadFileBytes(fs::directory_iterator("Unsaved")->path().string()), line);
}

TEST_F(HeldLogTest, EveryLineReachesTheLogWholeAndOnceWhateverTheDiskDoes) {
  using test_support::DiskFault;
  const struct {
    const char* fault;
    std::function<void()> beforeFirst, beforeSecond;
    bool firstKeptApart;  // the first line, written nowhere else, is in the recovery folder
  } cases[] = {
      {"a pending file that cannot be removed",
       [&] { Lock(log); },
       [&] {
         Unlock(log);
         h.files.Fail(pending, DiskFault::kUndeletable);
       },
       false},
      {"a pending file that can be neither removed nor emptied",
       [&] { Lock(log); },
       [&] {
         Unlock(log);
         h.files.Fail(pending, DiskFault::kReadOnly);
       },
       false},
      {"a disk that fills up part-way through the line", [&] { h.files.Fail(log, DiskFault::kFull, 10); },
       [&] { h.files.Heal(); }, true},
      {"a last line that another program left open", [&] { WriteFileBytes(log, "typed by hand"); }, [] {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    fs::remove_all("Unsaved");
    fs::remove(ToFsPath(pending));
    fs::remove(ToFsPath(log));
    h.files.Heal();
    c.beforeFirst();
    const std::string byHand = ReadFileBytes(log).value_or("");
    const std::string first = h.ProcessNumberedCheques(1, 1);
    c.beforeSecond();
    const std::string rest = h.ProcessNumberedCheques(2, 3);
    h.files.Heal();
    EXPECT_EQ(ReadFileBytes(log), (byHand.empty() ? "" : byHand + "\r\n") + (c.firstKeptApart ? "" : first) + rest);
    EXPECT_EQ(fs::exists("Unsaved"), c.firstKeptApart);
  }
}

TEST_F(HeldLogTest, ANewLogTakesTheHeldLinesIntoTheOldOne) {
  Lock(log);
  const std::string held = h.ProcessNumberedCheques(1, 2);
  Unlock(log);
  h.processing.StartNewCsvLog();
  EXPECT_EQ(ReadFileBytes(h.folder.File("old\\20260305.csv")), held);
  EXPECT_FALSE(fs::exists(ToFsPath(log)));
  EXPECT_FALSE(fs::exists(ToFsPath(pending)));
  const std::string next = h.ProcessNumberedCheques(3, 3);
  EXPECT_EQ(ReadFileBytes(log), next);
}

TEST_F(HeldLogTest, ANewLogIsAllOrNothingAndNeverReplacesAnEarlierArchive) {
  const std::string archive = h.folder.File("old\\20260305.csv");
  const std::string lines = h.ProcessNumberedCheques(1, 1);
  CreateFolderForFile(archive);
  WriteFileBytes(archive, "earlier archive");
  h.processing.StartNewCsvLog();
  EXPECT_EQ(ReadFileBytes(archive), "earlier archive");
  EXPECT_EQ(ReadFileBytes(h.folder.File("old\\20260305 (2).csv")), lines);
  EXPECT_FALSE(fs::exists(ToFsPath(log)));

  const std::string held = h.ProcessNumberedCheques(2, 2);
  h.files.Fail(log, test_support::DiskFault::kUndeletable);  // open in another program
  h.processing.StartNewCsvLog();
  EXPECT_EQ(ReadFileBytes(log), held);
  EXPECT_FALSE(fs::exists(ToFsPath(h.folder.File("old\\20260305 (3).csv"))));
  ASSERT_EQ(h.boxes.Shown().size(), 1u);
  EXPECT_NE(h.boxes.Shown()[0].text.find(log), std::string::npos);
}

}  // namespace
}  // namespace orvex
