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

// The MessageBoxW style flags of a message.
UINT MessageBoxStyle(const Message& message);

}  // namespace orvex
