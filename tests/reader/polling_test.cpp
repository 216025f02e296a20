#include "reader/polling.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/fake_clock.h"
#include "support/fake_message_boxes.h"
#include "support/fake_reader_library.h"
#include "support/fake_shell.h"
#include "support/ini_text_file.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

using test_support::FakeClock;
using test_support::FakeMessageBoxes;
using test_support::FakeReaderLibrary;

// Records the reads polling starts; a read may run a step inside it (a modal dialog's loop).
class RecordingReader : public DocumentReader {
 public:
  DocFeed ReadDoc(DocFeed feed, int32_t docFeedTimeout) override {
    reads.push_back(std::string(DocFeedText(feed)) + "/" + std::to_string(docFeedTimeout));
    if (during) {
      during();
    }
    return feed;
  }
  void SettleFinishedJoin() override { ++settles; }
  std::vector<std::string> reads;
  std::function<void()> during;
  int settles = 0;
};

class PollingTest : public ::testing::Test {
 protected:
  ReaderPolling MakePolling(bool debugMode = false) {
    return ReaderPolling({library, settings, profiles.Settings(), reader, messageBoxes, clock, debugMode});
  }
  int StatusQueries() const {
    return static_cast<int>(
        std::count(library.calls.begin(), library.calls.end(), "MTMICRQueryInfo(EXCELLA_USB,DeviceStatus,4096)"));
  }

  FakeReaderLibrary library;
  GlobalSettings settings = [] {
    GlobalSettings s;
    s.deviceName = "EXCELLA_USB";
    s.docFeedTimeout = 2500;
    return s;
  }();
  cInifile ini;
  test_support::FakeShell shell;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
  RecordingReader reader;
  FakeMessageBoxes messageBoxes;
  FakeClock clock;
};

TEST_F(PollingTest, ReadsEveryFeederThatHoldsADocumentInOrderWithOneStatusQuery) {
  const struct {
    std::string status;
    std::vector<std::string> reads;
  } cases[] = {
      {"", {}},
      {"DeviceStatus/ManualFeeder=DOCPRESENT\n", {"MANUAL/500"}},
      {"DeviceStatus/MSR=DOCPRESENT\nDeviceStatus/IDFeeder=DOCPRESENT  x\n", {"ID/500", "MSR/500"}},
      {"DeviceStatus/IDFeeder=DOCPRESENT\nDeviceStatus/ManualFeeder=DOCPRESENT\n", {"MANUAL/500", "ID/500"}},
      {"DeviceStatus/AutoFeeder=DOCPRESEN\nDeviceStatus/ManualFeeder=docpresent\n", {}},
      {"DeviceStatus/AutoFeeder=DOCPRESENT\n", {"AUTOFEED/500"}},
  };
  for (const auto& c : cases) {
    library.calls.clear();
    reader.reads.clear();
    library.queryReplies["DeviceStatus"] = c.status;
    MakePolling().Tick();
    EXPECT_EQ(reader.reads, c.reads) << c.status;
    EXPECT_EQ(StatusQueries(), 1) << c.status;
  }
}

TEST_F(PollingTest, AnMdxMachineReportsItsStateForTheManualFeederAndTheStripeOnly) {
  const struct {
    std::string state;
    std::vector<std::string> reads;
  } cases[] = {
      {"CHECKREADY", {"MANUAL/500"}},
      {" MSRREADY ", {"MSR/500"}},
      {"IDREADY", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    reader.reads.clear();
    library.queryReplies["DeviceStatus"] =
        "DeviceCapabilities/MachineType=MDX 2\nDeviceStatus/State=" + c.state + "\nDeviceStatus/IDFeeder=DOCPRESENT\n";
    MakePolling().Tick();
    EXPECT_EQ(reader.reads, c.reads) << c.state;
  }
}

TEST_F(PollingTest, AnImageSafeReaderIsNeverAskedItsStatus) {
  settings.deviceName = "ImageSafe.ImageSafe001";
  MakePolling().Tick();
  EXPECT_EQ(reader.reads, std::vector<std::string>{"ALL/2500"});
  EXPECT_TRUE(library.calls.empty());

  settings.deviceName = "imagesafe.imagesafe001";  // another letter case is polled feeder by feeder
  reader.reads.clear();
  MakePolling().Tick();
  EXPECT_TRUE(reader.reads.empty());
  EXPECT_EQ(library.calls.front(), "MTMICRQueryInfo(imagesafe.imagesafe001,DeviceStatus,4096)");
}

TEST_F(PollingTest, DebugModeOffersTheDebugEntryFirstAndThenPolls) {
  library.queryReplies["DeviceStatus"] = "DeviceStatus/ManualFeeder=DOCPRESENT\n";
  MakePolling(true).Tick();
  EXPECT_EQ(reader.reads, (std::vector<std::string>{"DEBUG/500", "MANUAL/500"}));
}

TEST_F(PollingTest, ATickDuringARunningReadStartsNothingAndAFailingReadIsTraced) {
  test_support::TraceCapture trace;
  library.queryReplies["DeviceStatus"] = "DeviceStatus/ManualFeeder=DOCPRESENT\n";
  ReaderPolling polling = MakePolling();
  reader.during = [&] {
    polling.Tick();  // a dialog's modal loop dispatches the next timer message
    throw std::runtime_error("reader gone");
  };
  polling.Tick();
  EXPECT_EQ(reader.reads, std::vector<std::string>{"MANUAL/500"});
  EXPECT_TRUE(trace.Contains("Timer1 Error #51 - reader gone"));

  reader.during = nullptr;
  polling.Tick();
  EXPECT_EQ(reader.reads.size(), 2u) << "polling goes on";
}

TEST_F(PollingTest, InkIsCheckedOnTheFirstRefreshAndThenAfterMoreThan23HourBoundaries) {
  test_support::TempFolder folder;
  ini.SetPath(test_support::WriteIniFile(folder, "OrvexExcella.ini", "[Endorsing]\nEndorseBack=PAID {DD}/{MM}\n"));
  profiles.SetProfileNames(ProfileSectionNames(ini));
  profiles.LoadProfile(1);
  ReaderPolling polling = MakePolling();
  library.queryReplies["DeviceStatus"] = "DeviceStatus/Ink=LOW\nDeviceStatus/FrontInk=LOW\n";
  polling.Tick();
  ASSERT_EQ(messageBoxes.Shown().size(), 1u) << "only the cartridge that endorses is of interest";
  EXPECT_EQ(messageBoxes.Shown()[0].text, RearInkLowMessage().text);

  const struct {
    LocalDateTime now;
    bool checked;
  } ticks[] = {
      {{2026, 3, 6, 13, 59, 59}, false},  // 23 boundaries after 14:07:09 the day before
      {{2026, 3, 6, 14, 0, 0}, true},     // the 24th
      {{2026, 3, 7, 13, 0, 0}, false},
      {{2026, 3, 7, 14, 0, 0}, true},
  };
  for (const auto& tick : ticks) {
    library.calls.clear();
    clock.now = tick.now;
    polling.Tick();
    const bool checked =
        std::count(library.calls.begin(), library.calls.end(), "MTMICRGetValue(DeviceStatus,Ink,4096)");
    EXPECT_EQ(checked, tick.checked) << tick.now.day << " " << tick.now.hour;
  }
}

TEST_F(PollingTest, AnInkValueIsLowWithoutItsTrailingBlanks) {
  test_support::TempFolder folder;
  ini.SetPath(test_support::WriteIniFile(folder, "OrvexExcella.ini", "[Endorsing]\nEndorseBack=PAID\n"));
  profiles.SetProfileNames(ProfileSectionNames(ini));
  profiles.LoadProfile(1);
  const struct {
    std::string ink;
    bool low;
  } values[] = {
      {"LOW", true}, {"LOW  ", true}, {" LOW", false}, {"LOWER", false}, {"OK", false},
  };
  for (const auto& value : values) {
    const size_t shownBefore = messageBoxes.Shown().size();
    library.queryReplies["DeviceStatus"] = "DeviceStatus/Ink=" + value.ink + "\n";
    ReaderPolling polling = MakePolling();  // a new polling checks the ink on its first tick
    polling.Tick();
    EXPECT_EQ(messageBoxes.Shown().size() - shownBefore, value.low ? 1u : 0u) << "\"" << value.ink << "\"";
  }
}

TEST(InkWarnings, NameTheCartridgeWhoseInkRunsLow) {
  EXPECT_EQ(RearInkLowMessage().text, "הדיו עומד להגמר במחסנית האחורית של מכשיר האקסלה. לפרטים אנא פנה ל-Orvex.");
  EXPECT_EQ(FrontInkLowMessage().title, "קורא הצ'קים של Orvex");
  EXPECT_EQ(FrontInkLowMessage().icon, MessageIcon::Exclamation);
}

TEST(HourBoundariesBetween, CountsClockHoursAcrossDaysMonthsAndYears) {
  EXPECT_EQ(HourBoundariesBetween({2026, 3, 5, 13, 59, 59}, {2026, 3, 5, 14, 0, 0}), 1);
  EXPECT_EQ(HourBoundariesBetween({2026, 2, 28, 23, 0, 0}, {2026, 3, 1, 0, 0, 0}), 1);
  EXPECT_EQ(HourBoundariesBetween({2024, 2, 28, 23, 0, 0}, {2024, 3, 1, 0, 0, 0}), 25);  // leap day
  EXPECT_EQ(HourBoundariesBetween({2026, 12, 31, 23, 30, 0}, {2027, 1, 1, 0, 10, 0}), 1);
  EXPECT_GT(HourBoundariesBetween({1899, 12, 30, 0, 0, 0}, {2026, 3, 5, 0, 0, 0}), 23);
}

}  // namespace
}  // namespace orvex
