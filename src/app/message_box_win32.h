#pragma once

#include <windows.h>

#include "base/message_box.h"

namespace orvex {

// What a box holds until it is answered. kThread: every window of the calling thread, so that a
// box asked from a window is modal to it. A box never has an owner: the process's right-to-left
// default layout reaches only windows without one.
enum class BoxModality { kApplication, kThread };

// MessageBoxW, laid out right to left, right-to-left reading with right-aligned text.
class Win32MessageBoxes : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(BoxModality modality = BoxModality::kApplication) : modality_(modality) {}
  MessageAnswer Show(const Message& message) override;

 private:
  BoxModality modality_;
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
