#pragma once

// Runs tools/keys_target (the recording target window) for a test or a benchmark and reads what
// it recorded.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "base/handle_win32.h"

namespace orvex::test_support {

struct KeysTargetOptions {
  // Relative to the tests' working folder, build/<preset>/tests.
  std::wstring program = L"..\\tools\\keys_target\\keys_target.exe";
  std::wstring title = L"Orvex keys target";
  bool edit = false;
  int slowMs = 0;
  bool times = false;             // every line ends with " @" and the performance counter when it was taken
  bool refuseActivation = false;  // once in the foreground, the window refuses every later activation
  int lifetimeSeconds = 60;       // the window closes by itself after this
};

class KeysTargetProcess {
 public:
  // Starts the target and waits until its window is in the foreground; Ready() says whether it got there.
  explicit KeysTargetProcess(const KeysTargetOptions& options = {});
  ~KeysTargetProcess();
  KeysTargetProcess(const KeysTargetProcess&) = delete;
  KeysTargetProcess& operator=(const KeysTargetProcess&) = delete;

  bool Ready() const { return window_ != nullptr; }
  HWND Window() const { return window_; }

  // Puts the target in the foreground again; true once its thread has taken the activation, so
  // that keys sent from now on reach it.
  bool BringToForeground();
  // True once the target's thread has given up the activation that another window took. Until
  // then Wine may hand the foreground back to it without asking it again.
  bool WaitUntilInBackground() const;

  // Every complete recorded line after "READY".
  std::vector<std::string> Lines() const;

  // Runs `type`, then presses an unassigned key and waits until the target has recorded it, so
  // that everything typed before has been recorded too. Returns the lines recorded meanwhile,
  // without the closing key's.
  template <typename Typing>
  std::vector<std::string> Record(Typing type) {
    const size_t before = Lines().size();
    type();
    return LinesAfterClosingKey(before);
  }

  // The EDIT control's text (with --edit).
  std::wstring EditText() const;

 private:
  std::vector<std::string> LinesAfterClosingKey(size_t before);
  bool WaitForLine(std::string_view line, size_t from, std::chrono::milliseconds limit) const;

  HWND ActiveWindowOfItsThread() const;

  std::wstring logPath_;
  UniqueHandle process_;
  HWND window_ = nullptr;
};

// Log lines as the target writes them.
std::string KeyDown(int virtualKey);
std::string KeyUp(int virtualKey);
std::string SysKeyDown(int virtualKey);
std::string SysKeyUp(int virtualKey);
std::string Char(int character);
// KEYDOWN, CHAR, KEYUP of a key that types one character.
std::vector<std::string> Typed(int virtualKey, int character);
std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts);
// The characters of the recorded CHAR lines, one byte each.
std::string TypedText(const std::vector<std::string>& lines);

// The performance counter now, in seconds, as the stamps of --times count.
double CounterSecondsNow();
// The stamp of a line recorded with --times, in seconds; 0 for a line without one.
double StampSeconds(const std::string& line);

}  // namespace orvex::test_support
