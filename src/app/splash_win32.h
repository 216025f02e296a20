#pragma once

// The splash window: who made the reader and the program, shown while the program starts. It
// closes itself after its interval counted from its first paint, or at once on a click or a key.

#include <windows.h>

#include "app/window_win32.h"

namespace orvex {

class SplashWindow : public OwnedWindow {
 public:
  // Shows the window, not modal; it closes itself.
  void Show(UINT intervalMilliseconds, HWND owner = nullptr);
  // Shows the window and returns once it has closed (the launcher run).
  void ShowModal(UINT intervalMilliseconds, HWND owner = nullptr);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  void OnCommand(int id);

  UINT interval_ = 0;
  bool countdownStarted_ = false;
};

}  // namespace orvex
