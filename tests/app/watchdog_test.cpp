#include "app/watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>

#include "support/fake_clock.h"
#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Runs of the program as scripted: how many polls each run lasts, its exit code, and whether it
// ended through DoEnd (leaving the semaphore).
struct ScriptedRun {
  int polls;
  uint32_t exitCode;
  bool orderlyExit;
};

// A run that crashes at once.
constexpr ScriptedRun kCrashAtOnce{0, 0xC0000005, false};

class ScriptedHost : public WatchdogHost {
 public:
  explicit ScriptedHost(std::deque<ScriptedRun> runs, bool semaphoreLeftBefore = false)
      : runs_(std::move(runs)), semaphore_(semaphoreLeftBefore) {}

  bool StartProgram(const std::string& commandLine) override {
    events.push_back("start " + commandLine);
    if (runs_.empty()) {
      return false;
    }
    current_ = runs_.front();
    runs_.pop_front();
    return true;
  }
  std::optional<uint32_t> ProgramExitCode() override {
    if (current_.polls-- > 0) {
      return std::nullopt;
    }
    semaphore_ = semaphore_ || current_.orderlyExit;
    return current_.exitCode;
  }
  bool SemaphoreExists() override { return semaphore_; }
  void DeleteSemaphore() override {
    events.push_back("delete semaphore");
    semaphore_ = false;
  }

  std::vector<std::string> events;

 private:
  std::deque<ScriptedRun> runs_;
  ScriptedRun current_{};
  bool semaphore_;
};

TEST(Watchdog, StartsTheProgramAgainUntilARunEndsThroughDoEndOrItKeepsEnding) {
  const std::string start = "start \"C:\\Orvex\\OrvexExcella.exe\" /NOSPLASH";
  const std::deque<ScriptedRun> sixCrashes(6, kCrashAtOnce);
  const struct {
    std::string_view name;
    std::deque<ScriptedRun> runs;
    bool semaphoreLeftBefore;
    size_t starts;
    WatchdogEnd end;
  } cases[] = {
      {"orderly exit at once", {{0, 0, true}}, false, 1, WatchdogEnd::kOrderlyExit},
      {"a crash, then an orderly exit", {{3, 0xC0000005, false}, {2, 0, true}}, false, 2, WatchdogEnd::kOrderlyExit},
      {"the debug window's exit, then an orderly exit",
       {{1, 0, false}, {0, 0, true}},
       false,
       2,
       WatchdogEnd::kOrderlyExit},
      {"a semaphore left by an earlier run does not end the new loop",
       {{1, 1, false}, {1, 0, true}},
       true,
       2,
       WatchdogEnd::kOrderlyExit},
      {"another run was already there", {{0, kAlreadyRunningExitCode, false}}, false, 1, WatchdogEnd::kAnotherRun},
      {"the program cannot be started", {}, false, 1, WatchdogEnd::kCannotStart},
      {"a program that crashes at once is started five times, not a sixth", sixCrashes, false, 5,
       WatchdogEnd::kKeepsFailing},
      {"an orderly exit after four crashes is orderly",
       {kCrashAtOnce, kCrashAtOnce, kCrashAtOnce, kCrashAtOnce, {0, 0, true}},
       false,
       5,
       WatchdogEnd::kOrderlyExit},
  };
  for (const auto& c : cases) {
    ScriptedHost host(c.runs, c.semaphoreLeftBefore);
    test_support::FakeClock clock;
    EXPECT_EQ(RunWatchdog("C:\\Orvex\\OrvexExcella.exe", host, clock), c.end) << c.name;
    ASSERT_GE(host.events.size(), 2u) << c.name;
    EXPECT_EQ(host.events.front(), "delete semaphore") << c.name;
    EXPECT_EQ(host.events.back(), "delete semaphore") << c.name;
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), start), static_cast<long>(c.starts)) << c.name;
  }
}

TEST(Watchdog, LooksOnceASecondAndWaitsLongerAfterEachQuickExit) {
  const struct {
    std::string_view name;
    std::deque<ScriptedRun> runs;
    std::vector<milliseconds> sleeps;
  } cases[] = {
      {"a crash after three looks, an orderly exit after two",
       {{3, 1, false}, {2, 0, true}},
       std::vector<milliseconds>(5, seconds(1))},
      {"crashes at once: one, two and four seconds before the second to fourth restart",
       std::deque<ScriptedRun>(5, kCrashAtOnce),
       {seconds(1), seconds(2), seconds(4)}},
  };
  for (const auto& c : cases) {
    ScriptedHost host(c.runs);
    test_support::FakeClock clock;
    RunWatchdog("OrvexExcella.exe", host, clock);
    EXPECT_EQ(clock.sleeps, c.sleeps) << c.name;
  }
}

TEST(RestartBackOff, CountsTheExitsOfTheLastMinuteAndStopsAtTheFifth) {
  const std::optional<milliseconds> stop;
  const struct {
    std::string_view name;
    std::vector<milliseconds> exits;  // when the watchdog found each exit
    std::vector<std::optional<milliseconds>> waits;
  } cases[] = {
      {"a single exit is followed by a start at once", {seconds(0)}, {seconds(0)}},
      {"exits one after the other wait one, two and four seconds, and the fifth stops",
       {seconds(0), seconds(1), seconds(3), seconds(7), seconds(15)},
       {seconds(0), seconds(1), seconds(2), seconds(4), stop}},
      {"five exits spread over more than a minute go on",
       {seconds(0), seconds(20), seconds(40), seconds(59), seconds(61)},
       {seconds(0), seconds(1), seconds(2), seconds(4), seconds(4)}},
      {"an exit a full minute after the one before counts alone", {seconds(0), seconds(60)}, {seconds(0), seconds(0)}},
      {"an exit just under a minute after the one before counts with it",
       {seconds(0), milliseconds(59999)},
       {seconds(0), seconds(1)}},
      {"a program that runs for hours between crashes is always started again at once",
       {seconds(0), seconds(3600), seconds(7200), seconds(10800), seconds(14400), seconds(18000)},
       {seconds(0), seconds(0), seconds(0), seconds(0), seconds(0), seconds(0)}},
  };
  for (const auto& c : cases) {
    test_support::FakeClock clock;
    RestartBackOff backOff(clock);
    std::vector<std::optional<milliseconds>> waits;
    for (const milliseconds exit : c.exits) {
      clock.monotonic = exit;
      waits.push_back(backOff.AfterExit());
    }
    EXPECT_EQ(waits, c.waits) << c.name;
  }
}

TEST(ShutdownSemaphore, IsAnEmptyFileLeftOnceAndAFailureIsShownWhenARestartWouldFollow) {
  const struct {
    std::string_view name;
    std::string semaphore;  // in the test's folder
    const char* before;     // the semaphore's content before the exit; nullptr: none
    bool restartFollows;
    const char* after;  // nullptr: none
    size_t boxes;
  } cases[] = {
      {"the first exit leaves an empty file", "OrvexExcella.shutdown", nullptr, true, "", 0},
      {"a second exit finds it in place and leaves it as it is", "OrvexExcella.shutdown", "kept", true, "kept", 0},
      {"a folder that cannot be written, under a watchdog: the operator is told", "missing/OrvexExcella.shutdown",
       nullptr, true, nullptr, 1},
      {"a folder that cannot be written, without a watchdog: only the trace", "missing/OrvexExcella.shutdown", nullptr,
       false, nullptr, 0},
  };
  for (const auto& c : cases) {
    test_support::TempFolder folder;
    const std::string path = folder.File(c.semaphore);
    if (c.before) {
      std::ofstream(path) << c.before;
    }
    test_support::FakeMessageBoxes boxes;
    LeaveShutdownSemaphore(path, c.restartFollows, boxes);
    if (c.after) {
      std::ifstream file(path);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), c.after) << c.name;
    } else {
      EXPECT_FALSE(std::filesystem::exists(path)) << c.name;
    }
    ASSERT_EQ(boxes.Shown().size(), c.boxes) << c.name;
    if (c.boxes > 0) {
      EXPECT_NE(boxes.Shown()[0].text.find(path), std::string::npos) << c.name;
    }
  }
}

}  // namespace
}  // namespace orvex
