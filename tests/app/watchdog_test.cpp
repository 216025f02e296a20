#include "app/watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>

#include "support/fake_clock.h"
#include "support/temp_folder.h"

namespace orvex {
namespace {

// Runs of the program as scripted: how many polls each run lasts, its exit code, and whether it
// ended through DoEnd (leaving the semaphore).
struct ScriptedRun {
  int polls;
  uint32_t exitCode;
  bool orderlyExit;
};

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

TEST(Watchdog, StartsTheProgramAgainUntilARunEndsThroughDoEnd) {
  const std::string start = "start \"C:\\Orvex\\OrvexExcella.exe\" /NOSPLASH";
  const struct {
    std::string_view name;
    std::deque<ScriptedRun> runs;
    bool semaphoreLeftBefore;
    size_t starts;
  } cases[] = {
      {"orderly exit at once", {{0, 0, true}}, false, 1},
      {"a crash, then an orderly exit", {{3, 0xC0000005, false}, {2, 0, true}}, false, 2},
      {"the debug window's exit, then an orderly exit", {{1, 0, false}, {0, 0, true}}, false, 2},
      {"a semaphore left by an earlier run does not end the new loop", {{1, 1, false}, {1, 0, true}}, true, 2},
      {"another run was already there", {{0, kAlreadyRunningExitCode, false}}, false, 1},
      {"the program cannot be started", {}, false, 1},
  };
  for (const auto& c : cases) {
    ScriptedHost host(c.runs, c.semaphoreLeftBefore);
    testing::FakeClock clock;
    RunWatchdog("C:\\Orvex\\OrvexExcella.exe", host, clock);
    ASSERT_GE(host.events.size(), 2u) << c.name;
    EXPECT_EQ(host.events.front(), "delete semaphore") << c.name;
    EXPECT_EQ(host.events.back(), "delete semaphore") << c.name;
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), start), static_cast<long>(c.starts)) << c.name;
  }
}

TEST(Watchdog, LooksOnceASecondWhetherTheProgramStillRuns) {
  ScriptedHost host({{3, 0, false}, {2, 0, true}});
  testing::FakeClock clock;
  RunWatchdog("OrvexExcella.exe", host, clock);
  EXPECT_EQ(clock.sleeps, std::vector<std::chrono::milliseconds>(5, std::chrono::milliseconds(1000)));
}

TEST(ShutdownSemaphore, IsAnEmptyFileThatASecondExitFindsInPlace) {
  testing::TempFolder folder;
  const std::string path = folder.File("OrvexExcella.shutdown");
  LeaveShutdownSemaphore(path);
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  std::ofstream(path) << "kept";
  LeaveShutdownSemaphore(path);
  EXPECT_EQ(std::filesystem::file_size(path), 4u);
}

}  // namespace
}  // namespace orvex
