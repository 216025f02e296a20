#include "support/trace_monitor_win32.h"

#include <cstring>

#include "base/wait.h"
#include "base/wide_win32.h"

namespace orvex::test_support {
namespace {

// The buffer: the writer's process ID, then its text in the ANSI code page, ending in a zero.
constexpr DWORD kBufferSize = 4096;

std::string FromAnsi(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  return FromWide(wide);
}

}  // namespace

TraceMonitor::TraceMonitor()
    : bufferReady_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
      dataReady_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")),
      mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize, L"DBWIN_BUFFER")) {
  if (!bufferReady_ || !dataReady_ || !mapping_ || GetLastError() == ERROR_ALREADY_EXISTS) {
    return;
  }
  view_ = decltype(view_)(MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, kBufferSize));
  if (view_) {
    reader_ = std::thread([this] { ReadUntilStopped(); });
  }
}

TraceMonitor::~TraceMonitor() {
  stop_ = true;
  if (reader_.joinable()) {
    reader_.join();
  }
}

void TraceMonitor::ReadUntilStopped() {
  const auto* buffer = static_cast<const char*>(view_.Get());
  while (!stop_) {
    SetEvent(bufferReady_.Get());
    if (WaitForSingleObject(dataReady_.Get(), 50) != WAIT_OBJECT_0) {
      continue;
    }
    DWORD process = 0;
    std::memcpy(&process, buffer, sizeof process);
    std::string text = FromAnsi(buffer + sizeof process);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
      text.pop_back();
    }
    const std::lock_guard lock(mutex_);
    lines_.emplace_back(process, std::move(text));
  }
}

std::vector<std::string> TraceMonitor::Lines(DWORD process, size_t from) const {
  const std::lock_guard lock(mutex_);
  std::vector<std::string> lines;
  size_t index = 0;
  for (const auto& [writer, text] : lines_) {
    if (writer == process && index++ >= from) {
      lines.push_back(text);
    }
  }
  return lines;
}

bool TraceMonitor::WaitForLine(DWORD process, std::string_view text, std::chrono::milliseconds limit) const {
  return WaitUntil(
      [&] {
        for (const std::string& line : Lines(process)) {
          if (line.find(text) != std::string::npos) {
            return true;
          }
        }
        return false;
      },
      limit, std::chrono::milliseconds(10));
}

}  // namespace orvex::test_support
