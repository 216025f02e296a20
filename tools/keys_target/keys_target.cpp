// A window that records the keyboard messages it receives, for the tests and the benchmark of
// the typing engines.
//
//   keys_target.exe <log file> [--title <title>] [--edit] [--slow <ms>] [--times] [--lifetime <seconds>]
//                   [--refuse-activation]
//
// Every WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR and WM_SYSCHAR taken from the
// queue is appended to the log as one line, "KEYDOWN 65", "CHAR 97" (the message name and the
// decimal wParam), before it is handled. The first line, "READY <window handle>", is written once
// the window is in the foreground. --edit fills the window with an EDIT control that has the
// focus; the system-menu paste command (0xE001) pastes the clipboard into it. --slow waits that
// many milliseconds after every recorded message, like a busy program. --times ends every key
// line with " @" and the performance counter at the moment the message was taken. The window closes on
// WM_CLOSE or after the lifetime (60 seconds unless given), so it never outlives a test run.
// ALT+F4 and ALT alone are recorded as keys but neither close the window nor open its menu.
// --refuse-activation: once ready, the window refuses to be activated again (its thread's CBT hook
// answers every activation with a refusal), like a program that will not give up its place.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "base/handle_win32.h"

namespace {

constexpr UINT_PTR kReadyTimer = 1;
constexpr UINT_PTR kLifetimeTimer = 2;
constexpr WPARAM kPasteCommand = 0xE001;

struct Options {
  const wchar_t* logPath = nullptr;
  const wchar_t* title = L"Orvex keys target";
  bool edit = false;
  DWORD slowMs = 0;
  bool times = false;
  UINT lifetimeSeconds = 60;
  bool refuseActivation = false;
};

orvex::UniqueHandle logFile;
HWND editControl = nullptr;
HWND targetWindow = nullptr;
bool ready = false;
bool refuseActivation = false;

void Record(const std::string& line) {
  const std::string withEnd = line + "\n";
  DWORD written = 0;
  WriteFile(logFile.Get(), withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
}

const char* KeyMessageName(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return "KEYDOWN";
    case WM_KEYUP:
      return "KEYUP";
    case WM_SYSKEYDOWN:
      return "SYSKEYDOWN";
    case WM_SYSKEYUP:
      return "SYSKEYUP";
    case WM_CHAR:
      return "CHAR";
    case WM_SYSCHAR:
      return "SYSCHAR";
    default:
      return nullptr;
  }
}

LRESULT CALLBACK RefuseActivation(int code, WPARAM window, LPARAM details) {
  if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(window) == targetWindow) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, window, details);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFFF) == kPasteCommand) {
        if (editControl) {
          SendMessageW(editControl, WM_PASTE, 0, 0);
        }
        Record("PASTE");
        return 0;
      }
      if ((wParam & 0xFFF0) == SC_CLOSE || (wParam & 0xFFF0) == SC_KEYMENU) {
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (editControl) {
        SetFocus(editControl);
      }
      return 0;
    case WM_SIZE:
      if (editControl) {
        MoveWindow(editControl, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kLifetimeTimer) {
        DestroyWindow(window);
      } else if (!ready && GetForegroundWindow() == window) {
        ready = true;
        KillTimer(window, kReadyTimer);
        if (refuseActivation) {
          SetWindowsHookExW(WH_CBT, RefuseActivation, nullptr, GetCurrentThreadId());
        }
        Record("READY " + std::to_string(reinterpret_cast<uintptr_t>(window)));
      } else if (!ready) {
        SetForegroundWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

Options ParseOptions() {
  Options options;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    const std::wstring argument = arguments[i];
    const bool hasValue = i + 1 < count;
    if (argument == L"--title" && hasValue) {
      options.title = arguments[++i];
    } else if (argument == L"--times") {
      options.times = true;
    } else if (argument == L"--refuse-activation") {
      options.refuseActivation = true;
    } else if (argument == L"--edit") {
      options.edit = true;
    } else if (argument == L"--slow" && hasValue) {
      options.slowMs = static_cast<DWORD>(std::wcstoul(arguments[++i], nullptr, 10));
    } else if (argument == L"--lifetime" && hasValue) {
      options.lifetimeSeconds = static_cast<UINT>(std::wcstoul(arguments[++i], nullptr, 10));
    } else {
      options.logPath = arguments[i];
    }
  }
  return options;  // the argument array lives as long as the process
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const Options options = ParseOptions();
  if (!options.logPath) {
    return 2;
  }
  logFile = orvex::UniqueHandle(CreateFileW(options.logPath, GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!logFile) {
    return 3;
  }

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = TargetProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"OrvexKeysTarget";
  RegisterClassW(&windowClass);
  refuseActivation = options.refuseActivation;
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, options.title, WS_OVERLAPPEDWINDOW, 100, 100, 400,
                                      200, nullptr, nullptr, instance, nullptr);
  targetWindow = window;
  if (options.edit) {
    editControl = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 400,
                                  200, window, nullptr, instance, nullptr);
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetTimer(window, kReadyTimer, 20, nullptr);
  SetTimer(window, kLifetimeTimer, options.lifetimeSeconds * 1000, nullptr);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (const char* name = KeyMessageName(message.message)) {
      std::string line = std::string(name) + " " + std::to_string(message.wParam);
      if (options.times) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        line += " @" + std::to_string(now.QuadPart);
      }
      Record(line);
      Sleep(options.slowMs);
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
