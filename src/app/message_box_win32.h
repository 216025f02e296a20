#pragma once

#include <windows.h>

#include "base/message_box.h"

namespace orvex {

// MessageBoxW, right-to-left reading with right-aligned text, owned by the given window (or none).
class Win32MessageBoxes : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(HWND owner = nullptr) : owner_(owner) {}
  MessageAnswer Show(const Message& message) override;

 private:
  HWND owner_;
};

// Boxes that may follow a document's keys: each waits until the foreground application has taken
// the keys typed before it, so that the box, which comes to the front, never receives them.
class AfterTypingMessageBoxes final : public MessageBoxes {
 public:
  explicit AfterTypingMessageBoxes(MessageBoxes& boxes) : boxes_(boxes) {}
  MessageAnswer Show(const Message& message) override;

 private:
  MessageBoxes& boxes_;
};

// The MessageBoxW style flags of a message.
UINT MessageBoxStyle(const Message& message);

}  // namespace orvex
