#include "keys_target_client.h"

#include "base/wait.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvex::test_support {
namespace {

constexpr WORD kVkClosingKey = 0x89;
constexpr auto kStartLimit = std::chrono::seconds(15);
constexpr auto kRecordLimit = std::chrono::seconds(15);
constexpr auto kForegroundLimit = std::chrono::seconds(5);
// The log file is read again this often while waiting for a line.
constexpr auto kLogPollInterval = std::chrono::milliseconds(5);
constexpr DWORD kEndLimitMs = 5000;

std::wstring NewLogPath() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  wchar_t path[MAX_PATH];
  GetTempFileNameW(folder, L"okt", 0, path);
  return path;
}

// The complete lines of the log (a line still being written has no end yet).
std::vector<std::string> ReadCompleteLines(const std::wstring& path) {
  std::ifstream file{std::filesystem::path(path), std::ios::binary};
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = content.find('\n'); end != std::string::npos; end = content.find('\n', start)) {
    lines.push_back(content.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

double CounterFrequency() {
  static const double frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  return frequency;
}

void PressKey(WORD virtualKey) {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

}  // namespace

KeysTargetProcess::KeysTargetProcess(const KeysTargetOptions& options) : logPath_(NewLogPath()) {
  std::wstring commandLine =
      std::wstring(L"\"") + options.program + L"\" \"" + logPath_ + L"\" --title \"" + options.title + L"\"";
  if (options.edit) {
    commandLine += L" --edit";
  }
  if (options.times) {
    commandLine += L" --times";
  }
  if (options.refuseActivation) {
    commandLine += L" --refuse-activation";
  }
  commandLine += L" --lifetime " + std::to_wstring(options.lifetimeSeconds);
  if (options.slowMs > 0) {
    commandLine += L" --slow " + std::to_wstring(options.slowMs);
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return;
  }
  process_ = UniqueHandle(started.hProcess);
  CloseHandle(started.hThread);  // only the process is waited for
  WaitUntil(
      [&] {
        const std::vector<std::string> lines = ReadCompleteLines(logPath_);
        if (lines.empty() || !lines[0].starts_with("READY ")) {
          return false;
        }
        window_ = reinterpret_cast<HWND>(std::stoull(lines[0].substr(6)));
        return true;
      },
      kStartLimit, kLogPollInterval);
}

KeysTargetProcess::~KeysTargetProcess() {
  if (process_) {
    // Ended at once, as a test ends with the target in whatever state it is.
    TerminateProcess(process_.Get(), 0);
    WaitForSingleObject(process_.Get(), kEndLimitMs);
  }
  DeleteFileW(logPath_.c_str());
}

bool KeysTargetProcess::BringToForeground() {
  if (!window_) {
    return false;
  }
  SetForegroundWindow(window_);
  return WaitUntil([&] { return GetForegroundWindow() == window_ && ActiveWindowOfItsThread() == window_; },
                   kForegroundLimit);
}

bool KeysTargetProcess::WaitUntilInBackground() const {
  return window_ &&
         WaitUntil([&] { return GetForegroundWindow() != window_ && ActiveWindowOfItsThread() != window_; },
                   kForegroundLimit);
}

HWND KeysTargetProcess::ActiveWindowOfItsThread() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) ? info.hwndActive : nullptr;
}

std::vector<std::string> KeysTargetProcess::Lines() const {
  std::vector<std::string> lines = ReadCompleteLines(logPath_);
  if (!lines.empty()) {
    lines.erase(lines.begin());
  }
  return lines;
}

std::vector<std::string> KeysTargetProcess::LinesAfterClosingKey(size_t before) {
  PressKey(kVkClosingKey);
  // While ALT is down the closing key arrives as a system key.
  const std::string closingLines[] = {KeyDown(kVkClosingKey), KeyUp(kVkClosingKey), SysKeyDown(kVkClosingKey),
                                      SysKeyUp(kVkClosingKey)};
  const auto isClosing = [&](const std::string& line) {
    return std::ranges::find(closingLines, line) != std::end(closingLines);
  };
  const auto isClosingUp = [&](const std::string& line) { return line == closingLines[1] || line == closingLines[3]; };
  std::vector<std::string> lines;
  WaitUntil(
      [&] {
        lines = Lines();
        return lines.size() > before && std::find_if(lines.begin() + before, lines.end(), isClosingUp) != lines.end();
      },
      kRecordLimit, kLogPollInterval);
  std::vector<std::string> recorded;
  for (size_t i = before; i < lines.size(); ++i) {
    if (!isClosing(lines[i])) {
      recorded.push_back(lines[i]);
    }
  }
  return recorded;
}

std::wstring KeysTargetProcess::EditText() const {
  const HWND edit = FindWindowExW(window_, nullptr, L"EDIT", nullptr);
  if (!edit) {
    return {};
  }
  wchar_t text[4096] = {};
  SendMessageW(edit, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string KeyDown(int virtualKey) {
  return "KEYDOWN " + std::to_string(virtualKey);
}
std::string KeyUp(int virtualKey) {
  return "KEYUP " + std::to_string(virtualKey);
}
std::string SysKeyDown(int virtualKey) {
  return "SYSKEYDOWN " + std::to_string(virtualKey);
}
std::string SysKeyUp(int virtualKey) {
  return "SYSKEYUP " + std::to_string(virtualKey);
}
std::string Char(int character) {
  return "CHAR " + std::to_string(character);
}

std::vector<std::string> Typed(int virtualKey, int character) {
  return {KeyDown(virtualKey), Char(character), KeyUp(virtualKey)};
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

std::string TypedText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (line.starts_with("CHAR ")) {
      text += static_cast<char>(std::stoi(line.substr(5)));
    }
  }
  return text;
}

double CounterSecondsNow() {
  LARGE_INTEGER value;
  QueryPerformanceCounter(&value);
  return static_cast<double>(value.QuadPart) / CounterFrequency();
}

double StampSeconds(const std::string& line) {
  const size_t at = line.find(" @");
  return at == std::string::npos ? 0 : std::stod(line.substr(at + 2)) / CounterFrequency();
}

}  // namespace orvex::test_support
