#pragma once

// Reads the trace of the programs a test starts as a debug-output viewer does: through the
// system-wide buffer "DBWIN_BUFFER", which a program's OutputDebugString fills when no debugger
// is attached to it, and the two events that pass it back and forth.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/handle_win32.h"

namespace orvex::test_support {

class TraceMonitor {
 public:
  // Starts reading; Ready() says whether the buffer could be made (one viewer at a time).
  TraceMonitor();
  ~TraceMonitor();
  TraceMonitor(const TraceMonitor&) = delete;
  TraceMonitor& operator=(const TraceMonitor&) = delete;

  bool Ready() const { return static_cast<bool>(view_); }
  // The trace lines the process has written so far, without their time stamps' line ends; from
  // its line `from` on (counted from 0), so that a long run reads only what is new.
  std::vector<std::string> Lines(DWORD process, size_t from = 0) const;
  // Waits until a line of the process contains the text; true when one does.
  bool WaitForLine(DWORD process, std::string_view text,
                   std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

 private:
  void ReadUntilStopped();

  UniqueHandle bufferReady_;
  UniqueHandle dataReady_;
  UniqueHandle mapping_;
  UniqueResource<void*, UnmapViewOfFile> view_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::pair<DWORD, std::string>> lines_;
  std::thread reader_;
};

}  // namespace orvex::test_support
