#include "reader/polling.h"

#include <algorithm>
#include <array>

#include "base/error.h"
#include "base/text.h"
#include "base/trace.h"

namespace orvex {
namespace {

// The title of the ink warnings.
constexpr std::string_view kInkWarningTitle = "קורא הצ'קים של Orvex";

struct Feeder {
  std::string_view statusKey;
  bool refreshStatus;
  DocFeed feed;
};

// In polling order; only the first check of a tick asks the reader.
constexpr std::array<Feeder, 4> kFeeders{{
    {"ManualFeeder", true, DocFeed::kManual},
    {"IDFeeder", false, DocFeed::kId},
    {"AutoFeeder", false, DocFeed::kAutoFeed},
    {"MSR", false, DocFeed::kMsr},
}};

// Days since 1 January 1970 of a civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int64_t HoursSinceEpoch(const LocalDateTime& moment) {
  return DaysFromCivil(moment.year, moment.month, moment.day) * 24 + moment.hour;
}

// Sets a flag for as long as it lives.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

std::string_view DocFeedText(DocFeed feed) {
  switch (feed) {
    case DocFeed::kManual:
      return "MANUAL";
    case DocFeed::kId:
      return "ID";
    case DocFeed::kAutoFeed:
      return "AUTOFEED";
    case DocFeed::kMsr:
      return "MSR";
    case DocFeed::kAll:
      return "ALL";
    case DocFeed::kDebug:
      return "DEBUG";
  }
  return "";
}

int64_t HourBoundariesBetween(const LocalDateTime& from, const LocalDateTime& to) {
  return HoursSinceEpoch(to) - HoursSinceEpoch(from);
}

Message RearInkLowMessage() {
  return Message{.title = std::string(kInkWarningTitle),
                 .text = "הדיו עומד להגמר במחסנית האחורית של מכשיר האקסלה. לפרטים אנא פנה ל-Orvex."};
}

Message FrontInkLowMessage() {
  return Message{.title = std::string(kInkWarningTitle),
                 .text = "הדיו עומד להגמר במחסנית הקדמית של מכשיר האקסלה. לפרטים אנא פנה ל-Orvex."};
}

void ReaderPolling::Tick() {
  if (inTick_) {
    return;
  }
  const FlagScope ticking(inTick_);
  try {
    Poll();
  } catch (const std::exception& exception) {
    WriteDebugLog("Timer1 " + AsError(exception).TraceText());
  }
}

void ReaderPolling::Poll() {
  context_.reader.SettleFinishedJoin();
  if (context_.debugMode) {
    context_.reader.ReadDoc(DocFeed::kDebug, kAnnouncedDocFeedTimeout);
  }
  if (context_.settings.deviceName == kImageSafeDeviceName) {
    context_.reader.ReadDoc(DocFeed::kAll, context_.settings.docFeedTimeout);
    return;
  }
  for (const Feeder& feeder : kFeeders) {
    if (IsDocInFeeder(feeder.statusKey, feeder.refreshStatus)) {
      context_.reader.ReadDoc(feeder.feed, kAnnouncedDocFeedTimeout);
    }
  }
}

bool ReaderPolling::IsDocInFeeder(std::string_view feeder, bool refreshStatus) {
  if (refreshStatus) {
    RefreshStatus();
  }
  if (statusMachineType_.starts_with("MDX")) {
    std::string state = StatusValue("DeviceStatus", "State");
    std::erase(state, '\0');
    state = std::string(TrimBlanks(state));
    return (state == "MSRREADY" && feeder == "MSR") || (state == "CHECKREADY" && feeder == "ManualFeeder");
  }
  return StatusValue("DeviceStatus", feeder).starts_with("DOCPRESENT");
}

void ReaderPolling::RefreshStatus() {
  int32_t capacity = kReaderBufferCapacity;
  deviceStatusText_.clear();
  context_.library.MTMICRQueryInfo(context_.settings.deviceName, "DeviceStatus", deviceStatusText_, capacity);
  statusMachineType_ = StatusValue("DeviceCapabilities", "MachineType");
  if (HourBoundariesBetween(lastInkCheck_, context_.clock.Now()) > 23) {
    CheckInkOncePerDay();
  }
}

void ReaderPolling::CheckInkOncePerDay() {
  const ProfileSettings& profile = context_.profile;
  RunSkippingError([&] {
    if (CleanedReplyValue(StatusValue("DeviceStatus", "Ink")) == "LOW" && !profile.EndorseBack.empty()) {
      context_.messageBoxes.Show(RearInkLowMessage());
    }
  });
  RunSkippingError([&] {
    if (CleanedReplyValue(StatusValue("DeviceStatus", "FrontInk")) == "LOW" && !profile.EndorseFront.empty()) {
      context_.messageBoxes.Show(FrontInkLowMessage());
    }
  });
  lastInkCheck_ = context_.clock.Now();
}

std::string ReaderPolling::StatusValue(std::string_view section, std::string_view key) {
  std::string value;
  int32_t capacity = kReaderBufferCapacity;
  context_.library.MTMICRGetValue(deviceStatusText_, std::string(section), std::string(key), value, capacity);
  return value;
}

}  // namespace orvex
