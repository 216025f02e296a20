#include <windows.h>

#include <chrono>
#include <string>

#include "base/trace.h"
#include "base/wait.h"
#include "keys/engines_win32.h"
#include "keys/key_code.h"
#include "keys/key_tables_win32.h"
#include "keys/plain_text.h"
#include "keys/thread_input_win32.h"

namespace orvex {
namespace {

// An unassigned virtual key pressed after the text in wait mode: once the target's thread has
// taken its press from the input queue, it has taken and handled every key before it. The key is
// released only then, so the press cannot be missed between two looks at the key state.
constexpr WORD kVkEndMarker = 0x88;
constexpr auto kWaitLimit = std::chrono::seconds(10);

// The marker's state in the shared key state (GetKeyboardState reads it afresh every time).
bool MarkerTaken() {
  BYTE states[256] = {};
  GetKeyboardState(states);
  return (states[kVkEndMarker] & 0x80) != 0;
}

// Until the foreground thread has taken the marker; this thread's own window keeps handling its
// messages meanwhile, since it must take the keys itself.
bool WaitForMarker(const AttachedThreadInput& keyState) {
  return WaitUntil(
      [&] {
        if (MarkerTaken()) {
          return true;
        }
        if (keyState.IsOwnThread()) {
          YieldToPendingMessages();
        }
        return false;
      },
      kWaitLimit);
}

INPUT MarkerEvent(bool up) {
  const WORD scan = static_cast<WORD>(MapVirtualKeyW(kVkEndMarker, MAPVK_VK_TO_VSC));
  return MakeKeyInput(kVkEndMarker, scan, up ? KEYEVENTF_KEYUP : 0, 0);
}

}  // namespace

bool IsNumLockOn() {
  return GetKeyState(VK_NUMLOCK) != 0;
}

bool VbSendInput(std::string_view text) {
  WriteDebugLog("VbSendInput => " + ReadableKeyCodes(text));
  const std::string typed = SubstitutePeriods(text, IsNumLockOn());
  static const AnsiKeyTables tables;
  std::vector<INPUT> batch = KeyInputsOfText(typed, tables);
  return SendInputBatch(batch);
}

void SendKeysAndWait(std::string_view text) {
  static const AnsiKeyTables tables;
  std::vector<INPUT> batch = KeyInputsOfText(text, tables);
  // The foreground thread's key state shows which keys it has taken from its queue.
  const AttachedThreadInput keyState(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
  if (!keyState.Attached() && !keyState.IsOwnThread()) {
    SendInputBatch(batch);
    WriteDebugLog("SendKeysAndWait: cannot follow the target window's input; keys sent without waiting");
    return;
  }
  batch.push_back(MarkerEvent(false));
  if (!SendInputBatch(batch)) {
    WriteDebugLog("SendKeysAndWait: the system did not accept every key event");
  } else if (!WaitForMarker(keyState)) {
    WriteDebugLog("SendKeysAndWait: the target window did not take the keys within 10 seconds");
  }
  std::vector<INPUT> release = {MarkerEvent(true)};
  SendInputBatch(release);
}

}  // namespace orvex
