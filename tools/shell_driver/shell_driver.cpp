// Drives a running OrvexExcella.exe as the notification area and the operator would, for the
// screenshot script and the demo: shell_driver <tray-right|tray-left|exit|close|details|profile N>;
// "close" closes the hidden main window as a system shutdown does, which ends the program in order.

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "app/main_window_win32.h"
#include "app/tray_icon_win32.h"
#include "app/tray_menu.h"
#include "base/wait.h"

int wmain(int argc, wchar_t** argv) {
  using namespace orvex;
  HWND main = nullptr;
  if (argc < 2 || !WaitUntil([&] { return (main = FindWindowW(kMainWindowClass, nullptr)) != nullptr; },
                             std::chrono::seconds(20), std::chrono::milliseconds(20))) {
    std::fputs("usage: shell_driver <tray-right|tray-left|exit|close|details|profile N>, with the program running\n",
               stderr);
    return 1;
  }
  const std::wstring command = argv[1];
  if (command == L"tray-right") {
    PostMessageW(main, kTrayCallbackMessage, 1, WM_RBUTTONUP);
  } else if (command == L"tray-left") {
    PostMessageW(main, kTrayCallbackMessage, 1, WM_LBUTTONUP);
  } else if (command == L"exit") {
    PostMessageW(main, WM_COMMAND, MenuCommandId(TrayCommand::kExit), 0);
  } else if (command == L"close") {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else if (command == L"details") {
    PostMessageW(main, WM_COMMAND, MenuCommandId(TrayCommand::kDetails), 0);
  } else if (command == L"profile" && argc > 2) {
    PostMessageW(main, WM_COMMAND, MenuCommandId(TrayCommand::kProfile, std::wcstol(argv[2], nullptr, 10)), 0);
  } else {
    return 1;
  }
  return 0;
}
