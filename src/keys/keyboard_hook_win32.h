#pragma once

// A low-level keyboard hook for as long as its owner lives. The system hands it every key event,
// the operator's and the injected ones, in the order it routes them to the foreground thread's
// queue, on the thread that made it and while that thread looks at its messages.

#include <windows.h>

#include <functional>

#include "base/handle_win32.h"

namespace orvex {

class KeyboardEventWatch {
 public:
  using Handler = std::function<void(const KBDLLHOOKSTRUCT& event)>;

  // One watch at a time; `handler` must not throw out of the hook (what it throws is traced).
  explicit KeyboardEventWatch(Handler handler);
  ~KeyboardEventWatch();
  KeyboardEventWatch(const KeyboardEventWatch&) = delete;
  KeyboardEventWatch& operator=(const KeyboardEventWatch&) = delete;

  // False when the system refused the hook (GetLastError says why).
  bool Watching() const { return static_cast<bool>(hook_); }

  // Lets the key events waiting for the hook reach it; no message is taken from the queue.
  static void TakeWaitingEvents();

 private:
  static LRESULT CALLBACK Follow(int code, WPARAM message, LPARAM eventAddress);

  static inline KeyboardEventWatch* active_ = nullptr;
  Handler handler_;
  UniqueResource<HHOOK, UnhookWindowsHookEx> hook_;
};

}  // namespace orvex
