#include "keys/feed.h"

#include <functional>

#include "base/error.h"
#include "base/text.h"
#include "keys/key_code.h"

namespace orvex {
namespace {

// Runs a step; when failures are being skipped, a failing step is skipped and the next one runs.
// True when the step succeeded.
bool RunStep(bool skipFailures, const std::function<void()>& step) {
  if (skipFailures) {
    return RunSkippingError(step);
  }
  step();
  return true;
}

// Keeps the polling timer off while a typing engine runs, and restarts it whatever the outcome.
class PollingTimerPause {
 public:
  explicit PollingTimerPause(FeedHost& host) : host_(host) { host_.StopPollingTimer(); }
  ~PollingTimerPause() { host_.StartPollingTimer(); }
  PollingTimerPause(const PollingTimerPause&) = delete;
  PollingTimerPause& operator=(const PollingTimerPause&) = delete;

 private:
  FeedHost& host_;
};

}  // namespace

std::string FormatLastFedText(std::string_view moment, std::string_view text) {
  return std::string(moment) + ":\r\n\r\n" +
         ReadableKeyCodes(ReplacePlaceholders(text, {{"{ENTER}", "\r\n"}, {"{TAB}", "\t"}}));
}

void KeyFeeder::FeedStringToApp(std::string_view text, const ProfileSettings& settings) {
  // A malformed text is refused whole, before any window is touched or any key typed, and the
  // caller traces it whatever the profile says about skipping failures.
  ThrowIfMalformed(ParseKeyCodes(text));
  if (settings.ActivateWindow) {
    bool activated = false;
    RunSkippingError([&] { activated = delivery_.ActivateWindowByTitle(settings.ActivateWindowTitle); });
    if (!activated && !settings.WhenActivateWindowFails) {
      return;
    }
  }
  bool skipFailures = settings.ActivateWindow;
  const std::optional<bool> sendInputResult = Type(text, settings, skipFailures);

  if (settings.ActivateWindowAfter) {
    skipFailures = true;
    RunStep(skipFailures, [&] { delivery_.YieldToPendingMessages(); });
    RunStep(skipFailures, [&] { delivery_.ActivateWindowByTitle(settings.ActivateWindowTitle); });
  }

  lastFedText_ = FormatLastFedText(host_.GeneralDateTimeNow(), text);
  std::string lastDataSent = lastFedText_;
  if (sendInputResult) {
    lastDataSent += std::string("\r\n***SendInput returned: ") + (*sendInputResult ? "True" : "False");
  }
  RunStep(skipFailures, [&] { host_.ShowLastDataSent(lastDataSent); });
}

std::optional<bool> KeyFeeder::Type(std::string_view text, const ProfileSettings& settings, bool skipFailures) {
  if (settings.ClipboardWin98DOS) {
    // Without the new text on the clipboard, a paste would type whatever it held before: the
    // previous document.
    if (RunStep(skipFailures, [&] { delivery_.KeysToClipboard(text); })) {
      RunStep(skipFailures, [&] { delivery_.PasteToForeground(); });
    }
    return std::nullopt;
  }
  if (settings.WaitMode) {
    RunStep(skipFailures, [&] { delivery_.SendKeysAndWait(text); });
    return std::nullopt;
  }
  PollingTimerPause timerOff(host_);
  if (settings.KeyPressDelay > 0 || settings.UseOldSendKeys) {
    RunStep(skipFailures, [&] { delivery_.VbSendKeys(text, settings.KeyPressDelay, settings.DoEventsOnDelay); });
    return std::nullopt;
  }
  bool accepted = false;
  RunStep(skipFailures, [&] { accepted = delivery_.VbSendInput(text); });
  return accepted;
}

}  // namespace orvex
