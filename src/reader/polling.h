#pragma once

// The polling loop: ten times a second the main window's timer asks the reader which feeder holds
// a document and reads it. The same status query feeds the once-a-day ink check of the
// endorsement cartridges.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "base/message_box.h"
#include "config/global_settings.h"
#include "config/profile_settings.h"
#include "reader/reader_library.h"

namespace orvex {

// Interval of the polling timer, in milliseconds.
inline constexpr uint32_t kPollingInterval = 100;
// The feeder time-out of a read that a status query announced: the document is already there.
inline constexpr int32_t kAnnouncedDocFeedTimeout = 500;
// A reader of this name (exactly) waits for documents itself and is not polled feeder by feeder.
inline constexpr std::string_view kImageSafeDeviceName = "ImageSafe.ImageSafe001";

// The feeder a read asks the reader for, or the kind of document an ImageSafe reader answers with.
// kDebug is the technician's manual entry ("/NOCHK"), which asks the reader nothing.
enum class DocFeed { kManual, kId, kAutoFeed, kMsr, kAll, kDebug };

// The reader's text for the feeder: "MANUAL", "ID", "AUTOFEED", "MSR", "ALL" or "DEBUG".
std::string_view DocFeedText(DocFeed feed);

// The read of one document, as polling starts it.
class DocumentReader {
 public:
  virtual ~DocumentReader() = default;
  // Reads from the feeder and returns the kind of document read: the feeder's own, unless an
  // ImageSafe reader answered with another.
  virtual DocFeed ReadDoc(DocFeed feed, int32_t docFeedTimeout) = 0;
  // Every tick, before it polls: finishes what an earlier read left running (an image join).
  virtual void SettleFinishedJoin() = 0;
};

struct PollingContext {
  ReaderLibrary& library;
  const GlobalSettings& settings;
  const ProfileSettings& profile;  // the active profile's settings, kept current by profile loads
  DocumentReader& reader;
  MessageBoxes& messageBoxes;
  const Clock& clock;
  bool debugMode = false;  // "/NOCHK": every tick first offers the manual debug entry
};

class ReaderPolling {
 public:
  explicit ReaderPolling(PollingContext context) : context_(context) {}

  // One tick of the polling timer. A tick that arrives while an earlier one still runs (inside a
  // read's prompt or dialog, or an ink warning, whose modal loops go on dispatching timer messages)
  // starts nothing. A step that fails is traced and polling goes on.
  void Tick();

  // True when the feeder ("ManualFeeder", "IDFeeder", "AutoFeeder" or "MSR") holds a document.
  // refreshStatus asks the reader for a new status first (and checks the ink once a day).
  bool IsDocInFeeder(std::string_view feeder, bool refreshStatus);

 private:
  void Poll();
  void RefreshStatus();
  void CheckInkOncePerDay();
  std::string StatusValue(std::string_view section, std::string_view key);

  PollingContext context_;
  std::string deviceStatusText_;
  // The machine type the status names, read once for the feeders of a tick.
  std::string statusMachineType_;
  LocalDateTime lastInkCheck_{1899, 12, 30, 0, 0, 0};  // the zero date: the first refresh checks the ink
  bool inTick_ = false;
};

// Clock-hour boundaries between two moments ("2026-03-05 13:59" to "14:00" is one).
int64_t HourBoundariesBetween(const LocalDateTime& from, const LocalDateTime& to);

// The ink warnings W1 (rear cartridge) and W2 (front cartridge).
Message RearInkLowMessage();
Message FrontInkLowMessage();

}  // namespace orvex
