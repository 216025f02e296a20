#include <windows.h>

#include "keys/engines_win32.h"
#include "keys/key_tables_win32.h"
#include "keys/neutral_keyboard_win32.h"

namespace orvex {
namespace {

void WaitBeforeRepetition(int32_t delay, bool yieldOnDelay) {
  if (delay <= 0) {
    return;
  }
  if (yieldOnDelay) {
    YieldToPendingMessages();
  }
  Sleep(static_cast<DWORD>(delay));
  if (yieldOnDelay) {
    YieldToPendingMessages();
  }
}

// keybd_event carries no Unicode character: such a key event goes through SendInput alone.
void SendUnicodeEvent(const KeyEvent& event) {
  std::vector<INPUT> one = KeyInputsOf({event});
  SendInputBatch(one);
}

}  // namespace

void YieldToPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void VbSendKeys(std::string_view text, int32_t delay, bool yieldOnDelay) {
  static const AnsiKeyTables tables;
  const ParsedKeyCodes parsed = ParseKeyCodes(text);
  // The whole text is read before the first key: a malformed one types nothing.
  ThrowIfMalformed(parsed);
  std::vector<KeyEvent> events = KeyEventsOf(parsed.tokens, tables);
  if (events.empty()) {
    return;
  }
  const NeutralKeyboard neutral(tables);
  events.insert(events.begin(), neutral.Events().begin(), neutral.Events().end());
  for (const KeyEvent& event : events) {
    switch (event.kind) {
      case KeyEventKind::kRepetitionStarts:
        WaitBeforeRepetition(delay, yieldOnDelay);
        break;
      case KeyEventKind::kVirtualKey:
        keybd_event(static_cast<BYTE>(event.code), static_cast<BYTE>(event.scanCode), event.up ? KEYEVENTF_KEYUP : 0,
                    0);
        break;
      case KeyEventKind::kUnicode:
        SendUnicodeEvent(event);
        break;
    }
  }
}

}  // namespace orvex
