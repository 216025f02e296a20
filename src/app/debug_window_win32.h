#pragma once

// frmManuallDebug: in debug mode ("/NOCHK") it stands in for the reader and asks for a bank, a
// branch and an account number. Shown modally, then hidden (not destroyed), so the next display
// shows the previous entries.

#include <windows.h>

#include <string>

#include "app/window_win32.h"

namespace orvex {

struct ManualDebugEntries {
  std::string bankNum;
  std::string branchNum;
  std::string accountNum;
};

class ManualDebugWindow : public OwnedWindow {
 public:
  // Shows the window modally and returns the entries once "Cont" is pressed. "Exit" ends the
  // program at once, without the orderly exit, so a watchdog starts it again.
  ManualDebugEntries Ask(HWND owner);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void EnsureCreated();
  HWND AddCombo(int top, std::string_view label, std::initializer_list<std::string_view> list, int id);

  HWND bank_ = nullptr;
  HWND branch_ = nullptr;
  HWND account_ = nullptr;
  bool waiting_ = false;
};

}  // namespace orvex
