#include "keys/keyboard_hook_win32.h"

#include "base/error.h"
#include "base/trace.h"

namespace orvex {

KeyboardEventWatch::KeyboardEventWatch(Handler handler) : handler_(std::move(handler)) {
  active_ = this;
  hook_ = decltype(hook_)(SetWindowsHookExW(WH_KEYBOARD_LL, Follow, GetModuleHandleW(nullptr), 0));
}

KeyboardEventWatch::~KeyboardEventWatch() {
  hook_.Reset();
  active_ = nullptr;
}

void KeyboardEventWatch::TakeWaitingEvents() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}

LRESULT CALLBACK KeyboardEventWatch::Follow(int code, WPARAM message, LPARAM eventAddress) {
  try {
    if (code == HC_ACTION && active_) {
      active_->handler_(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(eventAddress));
    }
  } catch (const std::exception& exception) {
    WriteDebugLog("Following the keyboard: " + AsError(exception).TraceText());
  }
  return CallNextHookEx(nullptr, code, message, eventAddress);
}

}  // namespace orvex
