#pragma once

// Timer1: the polling timer. It ticks on the calling thread's message loop through a message-only
// window, so a tick runs between other window messages, never inside another thread.

#include <windows.h>

#include <functional>

namespace orvex {

class PollingTimer {
 public:
  // The tick runs every interval while the timer is started; an exception that leaves it is
  // traced and the timer goes on.
  PollingTimer(UINT intervalMilliseconds, std::function<void()> tick);
  ~PollingTimer();
  PollingTimer(const PollingTimer&) = delete;
  PollingTimer& operator=(const PollingTimer&) = delete;

  void Start();
  // Starts the timer with a first tick as soon as the message loop runs, not an interval later.
  void StartWithTickNow();
  void Stop();
  bool Started() const { return started_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnTimer();

  UINT interval_;
  std::function<void()> tick_;
  HWND window_ = nullptr;
  bool started_ = false;
};

}  // namespace orvex
