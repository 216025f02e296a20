#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/trace.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "keys/engines_win32.h"
#include "keys/thread_input_win32.h"

namespace orvex {
namespace {

// How well a window title matches: the lower, the better.
enum class TitleMatch { kExact, kLeading, kPartial, kNone };

std::wstring UpperCase(std::wstring text) {
  if (!text.empty()) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  }
  return text;
}

TitleMatch MatchTitle(const std::wstring& windowTitle, const std::wstring& wanted) {
  if (windowTitle == wanted) {
    return TitleMatch::kExact;
  }
  const size_t at = windowTitle.find(wanted);
  if (at == 0) {
    return TitleMatch::kLeading;
  }
  return at == std::wstring::npos ? TitleMatch::kNone : TitleMatch::kPartial;
}

struct WindowSearch {
  std::wstring wanted;  // upper case
  HWND best = nullptr;
  TitleMatch bestMatch = TitleMatch::kNone;
};

void Consider(HWND window, WindowSearch& search) {
  const int length = GetWindowTextLengthW(window);
  if (!IsWindowVisible(window) || length == 0) {
    return;
  }
  std::wstring title(static_cast<size_t>(length) + 1, L'\0');
  title.resize(static_cast<size_t>(GetWindowTextW(window, title.data(), length + 1)));
  const TitleMatch match = MatchTitle(UpperCase(title), search.wanted);
  if (match < search.bestMatch) {
    search.best = window;
    search.bestMatch = match;
  }
}

// The enumeration ends at an exact title, or when a window cannot be looked at.
BOOL CALLBACK ConsiderWindow(HWND window, LPARAM searchAddress) {
  auto& search = *reinterpret_cast<WindowSearch*>(searchAddress);
  try {
    Consider(window, search);
  } catch (const std::exception& exception) {
    WriteDebugLog("ActivateWindowByTitle " + AsError(exception).TraceText());
    return FALSE;
  }
  return search.bestMatch == TitleMatch::kExact ? FALSE : TRUE;
}

// True once the window is the foreground window and its thread has taken the activation, so
// that keys sent from now on reach it.
bool IsActiveForInput(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetForegroundWindow() == window && GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         info.hwndActive == window;
}

bool WaitUntilActiveForInput(HWND window, std::chrono::milliseconds limit) {
  return WaitUntil([&] { return IsActiveForInput(window); }, limit);
}

// SetForegroundWindow, with the foreground thread's input attached when the system refuses a
// plain request from a background program.
bool BringToForeground(HWND window, std::chrono::milliseconds limit) {
  if (IsIconic(window)) {
    ShowWindow(window, SW_RESTORE);
  }
  if (SetForegroundWindow(window)) {
    return WaitUntilActiveForInput(window, limit);
  }
  bool done = false;
  {
    const AttachedThreadInput foregroundInput(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    done = SetForegroundWindow(window);
  }
  return done && WaitUntilActiveForInput(window, limit);
}

}  // namespace

bool ActivateWindowByTitle(std::string_view title, std::chrono::milliseconds limit) {
  if (title.empty()) {
    return false;
  }
  WindowSearch search;
  search.wanted = UpperCase(ToWide(title));
  EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&search));
  if (!search.best) {
    return false;
  }
  if (!BringToForeground(search.best, limit)) {
    WriteDebugLog("Cannot bring the window \"" + std::string(title) + "\" to the foreground");
    return false;
  }
  return true;
}

}  // namespace orvex
