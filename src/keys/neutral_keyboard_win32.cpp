#include "keys/neutral_keyboard_win32.h"

#include <array>
#include <string>

#include "base/error.h"
#include "base/trace.h"
#include "keys/key_tables_win32.h"

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

// The low-level keyboard hook that follows the operator's own modifier keys. The system calls it
// on this thread, also for the keys this thread sends (marked injected); the operator's keys
// reach it when this thread next looks at its messages.
class NeutralKeyboard::OperatorKeyWatch {
 public:
  explicit OperatorKeyWatch(const std::vector<uint8_t>& held) {
    for (uint8_t key : held) {
      down_[key] = true;
    }
    active_ = this;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, FollowOperatorKeys, GetModuleHandleW(nullptr), 0);
    if (!hook_) {
      WriteDebugLog("Cannot follow the operator's keys, error " + std::to_string(GetLastError()));
    }
  }
  ~OperatorKeyWatch() {
    if (hook_) {
      UnhookWindowsHookEx(hook_);
    }
    active_ = nullptr;
  }
  OperatorKeyWatch(const OperatorKeyWatch&) = delete;
  OperatorKeyWatch& operator=(const OperatorKeyWatch&) = delete;

  // Whether the operator holds the key, after the keys waiting for the hook have reached it.
  bool Down(uint8_t key) const {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    return down_[key];
  }

 private:
  static LRESULT CALLBACK FollowOperatorKeys(int code, WPARAM message, LPARAM eventAddress) {
    try {
      const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(eventAddress);
      if (code == HC_ACTION && active_ && (event->flags & LLKHF_INJECTED) == 0 && event->vkCode < 256) {
        active_->down_[event->vkCode] = (event->flags & LLKHF_UP) == 0;
      }
    } catch (const std::exception& exception) {
      WriteDebugLog("FollowOperatorKeys " + AsError(exception).TraceText());
    }
    return CallNextHookEx(nullptr, code, message, eventAddress);
  }

  static inline OperatorKeyWatch* active_ = nullptr;
  HHOOK hook_ = nullptr;
  std::array<bool, 256> down_ = {};
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
