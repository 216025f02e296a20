#pragma once

// FeedStringToApp: the one door through which every document's output text reaches the
// application the operator works in. It activates the target window, chooses the typing engine
// from the active profile, and records what was delivered.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/profile_settings.h"

namespace orvex {

// The typing engines and window activation (Win32: Win32KeyDelivery in keys/engines_win32.h). Failures throw Error.
class KeyDelivery {
 public:
  virtual ~KeyDelivery() = default;
  // Brings the top-level window whose title holds `title` to the foreground; false when no
  // window matches or the matched one has not become the foreground window.
  virtual bool ActivateWindowByTitle(std::string_view title) = 0;
  virtual void KeysToClipboard(std::string_view text) = 0;
  virtual void PasteToForeground() = 0;
  // Types the text and returns when the target has processed every key.
  virtual void SendKeysAndWait(std::string_view text) = 0;
  virtual void VbSendKeys(std::string_view text, int32_t delay, bool yieldOnDelay) = 0;
  // True when the platform accepted every key event.
  virtual bool VbSendInput(std::string_view text) = 0;
  virtual void YieldToPendingMessages() = 0;
};

// What delivery needs from the program's shell.
class FeedHost {
 public:
  virtual ~FeedHost() = default;
  virtual void StopPollingTimer() = 0;
  virtual void StartPollingTimer() = 0;
  // Sets the details window's last-data box; does nothing while the details window is closed.
  virtual void ShowLastDataSent(const std::string& text) = 0;
  // The current local date and time in the system's general date format.
  virtual std::string GeneralDateTimeNow() = 0;
};

class KeyFeeder {
 public:
  KeyFeeder(KeyDelivery& delivery, FeedHost& host) : delivery_(delivery), host_(host) {}

  // Delivers a key-code text to the target application. A malformed text (Error 5) is thrown
  // before anything is done. Otherwise, with ActivateWindow on, no failure reaches the caller;
  // without it, a failure of the engine is thrown after the polling timer has been restarted.
  void FeedStringToApp(std::string_view text, const ProfileSettings& settings);

  // Time-stamped readable copy of the last delivered text; empty before the first delivery.
  const std::string& LastFedText() const { return lastFedText_; }

 private:
  // Runs the chosen engine; returns SendInput's result when that engine ran.
  std::optional<bool> Type(std::string_view text, const ProfileSettings& settings, bool skipFailures);

  KeyDelivery& delivery_;
  FeedHost& host_;
  std::string lastFedText_;
};

// The readable copy of a delivered text: the moment, ":", two line breaks, then the text with
// every "{ENTER}" as CR LF and every "{TAB}" as a TAB character (upper case only), and the
// characters a value writes in braces shown as themselves.
std::string FormatLastFedText(std::string_view moment, std::string_view text);

}  // namespace orvex
