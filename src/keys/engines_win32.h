#pragma once

// The Win32 typing engines, window activation and the paste command. The three typing engines
// type with the operator's Caps Lock off and modifiers released (keys/neutral_keyboard_win32.h).

#include <chrono>
#include <cstdint>
#include <string_view>

#include "keys/feed.h"

namespace orvex {

// True when GetKeyState reports the NumLock toggle on (or the key held).
bool IsNumLockOn();

// Types a key-code text into the foreground window as one SendInput batch. Every "." is typed
// with the numeric keypad's decimal key. True when the platform accepted every event.
bool VbSendInput(std::string_view text);

// Types a key-code text with one keybd_event per key event, waiting `delay` milliseconds (and
// yielding to pending window messages around the wait when asked) before every repetition of
// every token. A malformed text fails before the first key.
void VbSendKeys(std::string_view text, int32_t delay, bool yieldOnDelay);

// Types a key-code text as one SendInput batch and returns once the foreground window's thread
// has taken every key from its input queue (or after a time-out that is traced).
void SendKeysAndWait(std::string_view text);

// Waits, up to a bound, until the foreground window's thread has taken every key typed before: a
// marker key (one no keyboard has) pressed and released behind them, followed through the
// system's input, and then the thread's queue seen empty. A window that takes the foreground
// earlier would take the keys still on their way.
void WaitUntilTypedKeysAreTaken();

// Puts the plain-text form of a key-code text on the clipboard as Unicode text.
void KeysToClipboard(std::string_view text);

// Sends the foreground window the system-menu paste command; traces why when there is none.
void PasteToForeground();

// How long a matched window may take to become the foreground window before it counts as refused.
inline constexpr std::chrono::milliseconds kActivationLimit{2000};

// Brings the visible top-level window whose title best matches to the foreground (an exact
// title first, then one that starts with `title`, then one that holds it; case is ignored) and
// waits, at most `limit`, until its thread has taken the activation, so that the keys typed next
// reach it. False when no window matches, or when the matched one has not become the foreground
// window by then: keys typed now would reach another program.
bool ActivateWindowByTitle(std::string_view title, std::chrono::milliseconds limit = kActivationLimit);

// Handles the window messages waiting for this thread.
void YieldToPendingMessages();

// The engines behind FeedStringToApp.
class Win32KeyDelivery : public KeyDelivery {
 public:
  explicit Win32KeyDelivery(std::chrono::milliseconds activationLimit = kActivationLimit)
      : activationLimit_(activationLimit) {}

  bool ActivateWindowByTitle(std::string_view title) override {
    return orvex::ActivateWindowByTitle(title, activationLimit_);
  }
  void KeysToClipboard(std::string_view text) override { orvex::KeysToClipboard(text); }
  void PasteToForeground() override { orvex::PasteToForeground(); }
  void SendKeysAndWait(std::string_view text) override { orvex::SendKeysAndWait(text); }
  void VbSendKeys(std::string_view text, int32_t delay, bool yieldOnDelay) override {
    orvex::VbSendKeys(text, delay, yieldOnDelay);
  }
  bool VbSendInput(std::string_view text) override { return orvex::VbSendInput(text); }
  void YieldToPendingMessages() override { orvex::YieldToPendingMessages(); }

 private:
  std::chrono::milliseconds activationLimit_;
};

}  // namespace orvex
