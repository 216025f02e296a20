#include "keys/neutral_keyboard_win32.h"

#include <array>
#include <string>

#include "base/error.h"
#include "base/trace.h"
#include "keys/key_tables_win32.h"
#include "keys/keyboard_hook_win32.h"

namespace orvex {
namespace {

// As IsNumLockOn reads NumLock.
bool IsCapsLockOn() {
  return (GetKeyState(VK_CAPITAL) & 1) != 0;
}

OperatorKeys ReadOperatorKeys() {
  OperatorKeys keys;
  keys.capsLockOn = IsCapsLockOn();
  for (uint8_t key : kModifierKeys) {
    if ((GetAsyncKeyState(key) & 0x8000) != 0) {
      keys.held.push_back(key);
    }
  }
  return keys;
}

}  // namespace

// Follows the operator's own modifier keys (those the system does not mark as injected); they
// reach the watch when this thread next looks at its messages.
class NeutralKeyboard::OperatorKeyWatch {
 public:
  explicit OperatorKeyWatch(const std::vector<uint8_t>& held) {
    for (uint8_t key : held) {
      down_[key] = true;
    }
    if (!watch_.Watching()) {
      WriteDebugLog("Cannot follow the operator's keys, error " + std::to_string(GetLastError()));
    }
  }

  // Whether the operator holds the key, after the keys waiting for the hook have reached it.
  bool Down(uint8_t key) const {
    KeyboardEventWatch::TakeWaitingEvents();
    return down_[key];
  }

 private:
  void Follow(const KBDLLHOOKSTRUCT& event) {
    if ((event.flags & LLKHF_INJECTED) == 0 && event.vkCode < 256) {
      down_[event.vkCode] = (event.flags & LLKHF_UP) == 0;
    }
  }

  std::array<bool, 256> down_ = {};
  const KeyboardEventWatch watch_{[this](const KBDLLHOOKSTRUCT& event) { Follow(event); }};
};

NeutralKeyboard::NeutralKeyboard(const KeyLayout& layout)
    : layout_(layout), before_(ReadOperatorKeys()), neutral_(NeutralKeyboardEvents(before_, layout)) {
  if (!before_.held.empty()) {
    watch_ = std::make_unique<OperatorKeyWatch>(before_.held);
  }
}

NeutralKeyboard::~NeutralKeyboard() {
  if (restored_) {
    return;
  }
  try {
    std::vector<INPUT> restore = KeyInputsOf(TakeRestoringEvents());
    SendInputBatch(restore);
  } catch (const std::exception& exception) {
    WriteDebugLog("Restoring the operator's keys: " + AsError(exception).TraceText());
  }
}

std::vector<KeyEvent> NeutralKeyboard::TakeRestoringEvents() {
  restored_ = true;
  return RestoredKeyboardEvents(before_, StillHeld(), layout_);
}

std::vector<uint8_t> NeutralKeyboard::StillHeld() const {
  std::vector<uint8_t> stillHeld;
  for (uint8_t key : before_.held) {
    if (watch_ && watch_->Down(key)) {
      stillHeld.push_back(key);
    }
  }
  return stillHeld;
}

}  // namespace orvex
