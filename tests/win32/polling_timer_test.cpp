#include "reader/polling_timer_win32.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/trace_capture.h"

namespace orvex {
namespace {

// Dispatches the thread's messages for the interval, as the program's message loop does.
void PumpMessagesFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (GetTickCount64() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
  }
}

TEST(PollingTimer, TicksOnTheMessageLoopUntilStoppedAndSurvivesAFailingTick) {
  test_support::TraceCapture trace;
  int ticks = 0;
  PollingTimer timer(20, [&] {
    if (++ticks == 1) {
      throw std::runtime_error("status query failed");
    }
  });
  PumpMessagesFor(100);
  EXPECT_EQ(ticks, 0) << "the timer starts stopped";

  timer.Start();
  EXPECT_TRUE(timer.Started());
  PumpMessagesFor(200);
  EXPECT_GE(ticks, 3) << "a failing tick does not stop the timer";
  EXPECT_TRUE(trace.Contains("Timer1 Error #51 - status query failed"));

  timer.Stop();
  PumpMessagesFor(20);
  const int stoppedAt = ticks;
  PumpMessagesFor(100);
  EXPECT_EQ(ticks, stoppedAt);
  EXPECT_FALSE(timer.Started());
}

TEST(PollingTimer, StartedWithATickNowTicksBeforeTheFirstIntervalUnlessStoppedFirst) {
  int ticks = 0;
  PollingTimer timer(10000, [&] { ++ticks; });
  timer.StartWithTickNow();
  PumpMessagesFor(50);
  EXPECT_EQ(ticks, 1);

  timer.Stop();
  timer.StartWithTickNow();
  timer.Stop();
  PumpMessagesFor(50);
  EXPECT_EQ(ticks, 1) << "a timer stopped before its first tick does not tick";
}

}  // namespace
}  // namespace orvex
