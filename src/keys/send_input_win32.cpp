#include <windows.h>

#include <chrono>
#include <string>

#include "base/trace.h"
#include "base/wait.h"
#include "keys/engines_win32.h"
#include "keys/key_code.h"
#include "keys/key_tables_win32.h"
#include "keys/keyboard_hook_win32.h"
#include "keys/neutral_keyboard_win32.h"
#include "keys/plain_text.h"
#include "keys/thread_input_win32.h"

namespace orvex {
namespace {

// An unassigned virtual key pressed after the text in wait mode: once the target's thread has
// taken its press from the input queue, it has taken and handled every key before it. The key is
// released only then, so the press cannot be missed between two looks at the key state; its
// release closes the keys that give the operator the keyboard back in the same way.
constexpr WORD kVkEndMarker = 0x88;
constexpr auto kWaitLimit = std::chrono::seconds(10);

// The marker's state in the shared key state (GetKeyboardState reads it afresh every time).
bool IsMarkerDown() {
  BYTE states[256] = {};
  GetKeyboardState(states);
  return (states[kVkEndMarker] & 0x80) != 0;
}

// Until the foreground thread has taken the marker's press (or release); this thread's own window
// keeps handling its messages meanwhile, since it must take the keys itself.
bool WaitForMarker(const AttachedThreadInput& keyState, bool down) {
  return WaitUntil(
      [&] {
        if (IsMarkerDown() == down) {
          return true;
        }
        if (keyState.IsOwnThread()) {
          YieldToPendingMessages();
        }
        return false;
      },
      kWaitLimit);
}

void PutBefore(const std::vector<KeyEvent>& events, std::vector<INPUT>& batch) {
  const std::vector<INPUT> before = KeyInputsOf(events);
  batch.insert(batch.begin(), before.begin(), before.end());
}

INPUT MarkerEvent(bool up) {
  const WORD scan = static_cast<WORD>(MapVirtualKeyW(kVkEndMarker, MAPVK_VK_TO_VSC));
  return MakeKeyInput(kVkEndMarker, scan, up ? KEYEVENTF_KEYUP : 0, 0);
}

// Follows the marker key through the system's input: a low-level keyboard hook sees the keys in
// the order the system puts them in the foreground thread's queue. Sharing that thread's input
// to read its key state instead would reset the key state under the keys it has not taken yet:
// a Shift already taken would be forgotten, and "|" would arrive as a backslash.
class MarkerRouting {
 public:
  bool Following() const { return watch_.Watching(); }

  bool WaitUntilReleaseRouted() const {
    return WaitUntil(
        [&] {
          KeyboardEventWatch::TakeWaitingEvents();
          return released_;
        },
        kWaitLimit);
  }

 private:
  bool released_ = false;
  const KeyboardEventWatch watch_{[this](const KBDLLHOOKSTRUCT& event) {
    released_ = released_ || (event.vkCode == kVkEndMarker && (event.flags & LLKHF_UP) != 0);
  }};
};

// Until the thread has taken every key in its queue: the system makes a window's WM_PAINT only
// once its thread's queue holds no posted or input message. One pixel of the window that has the
// keyboard focus (no child covers it) is invalidated, and is valid again once painted.
bool WaitUntilQueueTaken(DWORD thread) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread, &info)) {
    return false;
  }
  const HWND window = info.hwndFocus ? info.hwndFocus : info.hwndActive;
  RECT pixel{0, 0, 1, 1};
  if (!window || !InvalidateRect(window, &pixel, FALSE)) {
    return false;
  }
  return WaitUntil([&] { return !IsWindow(window) || !GetUpdateRect(window, nullptr, FALSE); }, kWaitLimit);
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
  if (batch.empty()) {
    return true;
  }
  const NeutralKeyboard neutral(tables);
  PutBefore(neutral.Events(), batch);
  return SendInputBatch(batch);
}

void WaitUntilTypedKeysAreTaken() {
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  if (foregroundThread == 0 || foregroundThread == GetCurrentThreadId()) {
    return;  // the program's own window, or none, is in front: nothing is on its way elsewhere
  }
  const MarkerRouting routing;
  std::vector<INPUT> marker{MarkerEvent(false), MarkerEvent(true)};
  if (!routing.Following() || !SendInputBatch(marker) || !routing.WaitUntilReleaseRouted() ||
      !WaitUntilQueueTaken(foregroundThread)) {
    WriteDebugLog("The foreground window did not take the typed keys within 10 seconds");
  }
}

void SendKeysAndWait(std::string_view text) {
  static const AnsiKeyTables tables;
  std::vector<INPUT> batch = KeyInputsOfText(text, tables);
  if (batch.empty()) {
    return;
  }
  // The foreground thread's key state shows which keys it has taken from its queue. Sharing it
  // with this thread resets it, so the operator's keys are read only once it is shared: as the
  // target sees them while the text is typed.
  const AttachedThreadInput keyState(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
  NeutralKeyboard neutral(tables);
  PutBefore(neutral.Events(), batch);
  if (!keyState.Attached() && !keyState.IsOwnThread()) {
    SendInputBatch(batch);
    WriteDebugLog("SendKeysAndWait: cannot follow the target window's input; keys sent without waiting");
    return;
  }
  batch.push_back(MarkerEvent(false));
  if (!SendInputBatch(batch)) {
    WriteDebugLog("SendKeysAndWait: the system did not accept every key event");
  } else if (!WaitForMarker(keyState, true)) {
    WriteDebugLog("SendKeysAndWait: the target window did not take the keys within 10 seconds");
  }
  // The operator's keys come back while the key state is still shared, and the target has taken
  // them before it stops being shared.
  std::vector<INPUT> release = KeyInputsOf(neutral.TakeRestoringEvents());
  release.push_back(MarkerEvent(true));
  SendInputBatch(release);
  WaitForMarker(keyState, false);
}

}  // namespace orvex
