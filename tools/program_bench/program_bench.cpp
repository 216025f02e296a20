// Measures OrvexExcella.exe as the operator runs it, against the virtual reader: how soon a fed
// document's keys reach the target window, how soon a started program polls, how soon the watchdog
// has a killed program polling again, and what the idle polling program costs beside a plain window
// program. tools/measure_program.sh runs it inside the build tree's Wine environment.
//
//   program_bench.exe [idle seconds]      (default 60; from the build tree's top folder, which holds
//                                          OrvexExcella.exe, banks_branches.txt, mtxmlmcr.dll, netpbm\)
//
// Prints one line per result with its goal. The idle time is marked by the lines "idle from" and
// "idle to"; after "idle to" one line of input is read before the programs are ended, so that a
// caller can take its own readings over the same time (the wineserver's CPU, the Unix processes'
// memory).

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "app/watchdog.h"
#include "app/watchdog_win32.h"
#include "base/file_io.h"
#include "base/handle_win32.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "keys_target_client.h"
#include "picture.h"
#include "support/program_folder_win32.h"
#include "support/program_run_win32.h"
#include "wic_image_win32.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using orvex::UniqueHandle;
using orvex::WaitUntil;
using orvex::test_support::CounterSecondsNow;
using orvex::test_support::EndInOrder;
using orvex::test_support::FindWindowOf;
using orvex::test_support::kEndLimitMs;
using orvex::test_support::ProgramFolder;
using orvex::test_support::ProgramRun;
using orvex::test_support::StampSeconds;

constexpr wchar_t kTargetTitle[] = L"Orvex measurement target";
// Bank 4, branch 202, account 440481990: numbers whose check digits verify against the shipped table.
constexpr char kChequeLine[] = "A0001234 C04A202E 440481990A";
// A reader polled feeder by feeder, and one profile that brings the target window up and types the
// four numbers.
constexpr char kConfiguration[] =
    "[Config]\r\nExcellaDeviceName=STX_USB\r\n"
    "[Measure]\r\nActivateWindow=1\r\nActivateWindowTitle=Orvex measurement target\r\n"
    "ChequeTemplate={ChequeNum}{TAB}{BankNum}{TAB}{BranchNum}{TAB}{AccountNum}{ENTER}\r\n";
// The last key the template types: ENTER let go.
constexpr char kLastKeyLine[] = "KEYUP 13 @";
// The calls as the virtual reader logs them: the poll's status query, the opening at start-up.
constexpr char kStatusQueryLine[] = "MTMICRQueryInfo\tSTX_USB\tDeviceStatus";
constexpr char kOpenLine[] = "MTMICROpenDevice\tSTX_USB";

constexpr int kDocumentRounds = 10;
constexpr int kStartRounds = 5;
constexpr int kWatchdogRounds = 3;
constexpr auto kWaitLimit = 15s;
// The cheque images the reader delivers, at 200 dpi.
constexpr uint32_t kImageWidth = 1300;
constexpr uint32_t kImageHeight = 580;

fs::path BuildFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(std::wstring(path, length)).parent_path();
}

std::vector<std::string> FileLines(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  orvex::WriteFileBytes(orvex::FromWide(path.wstring()), bytes);
}

// The virtual reader of the program folder: the calls it logs and the documents fed to it.
class ReaderFolder {
 public:
  explicit ReaderFolder(const ProgramFolder& folder) : folder_(folder) {
    fs::create_directories(folder_.Path("virtual-reader"));
  }

  fs::path Path() const { return folder_.Path("virtual-reader"); }

  // How often the call's line is in calls.log so far.
  size_t Calls(const char* line) const { return std::ranges::count(FileLines(Path() / "calls.log"), line); }
  // The polls made so far: one status query each.
  size_t Polls() const { return Calls(kStatusQueryLine); }

  // The performance counter's seconds when the call's lines had passed `before`; nothing when they
  // did not.
  std::optional<double> WaitForCallAfter(const char* line, size_t before) const {
    // The log is looked at about every millisecond: finer than a poll and than the goals.
    if (!WaitUntil([&] { return Calls(line) > before; }, kWaitLimit, 1ms)) {
      return std::nullopt;
    }
    return CounterSecondsNow();
  }
  std::optional<double> WaitForPollAfter(size_t before) const { return WaitForCallAfter(kStatusQueryLine, before); }

  // Feeds the document; the counter's seconds just before it enters the inbox.
  double Feed(const std::string& name, const std::string& body) const {
    folder_.Stage(name, "[Document]\r\n" + body);
    const double fed = CounterSecondsNow();
    folder_.Deliver(name);
    return fed;
  }

  bool Done(const std::string& name) const { return folder_.Done(name); }

 private:
  const ProgramFolder& folder_;
};

// A watched run: the launcher ("/ANTICRASH") starts the hidden watchdog, which starts the program.
// When it goes, the run ends in order: the shutdown semaphore is left and the program closed, and
// the watchdog, finding the semaphore, deletes it and ends.
class WatchedRun {
 public:
  explicit WatchedRun(const ProgramFolder& folder) : semaphore_(folder.Path(orvex::kShutdownSemaphoreName)) {
    const UniqueHandle launcher = folder.Start(L"/ANTICRASH");
    WaitForSingleObject(launcher.Get(), kEndLimitMs);
  }
  ~WatchedRun() {
    WriteFile(semaphore_, "");
    WaitUntil([] { return FindWindowOf(orvex::kMainWindowClass) != nullptr; }, 5s);
    if (const HWND main = FindWindowOf(orvex::kMainWindowClass)) {
      DWORD process = 0;
      GetWindowThreadProcessId(main, &process);
      const UniqueHandle program(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process));
      EndInOrder(program.Get());
    }
    // The watchdog deletes the semaphore, then lets go of its mark, which a next launcher looks for.
    if (!WaitUntil([&] { return !fs::exists(semaphore_) && !orvex::WatchdogRuns(); }, kWaitLimit, 10ms)) {
      std::fprintf(stderr, "the watchdog did not end\n");
    }
  }
  WatchedRun(const WatchedRun&) = delete;
  WatchedRun& operator=(const WatchedRun&) = delete;

 private:
  fs::path semaphore_;
};

struct Goal {
  const char* text;  // as printed, "<= 120 ms"
  double limitMs;
  bool everyTime;  // every time must meet it, else the median
};

struct Spread {
  double median;
  double max;
};

Spread SpreadOf(std::vector<double> milliseconds) {
  std::sort(milliseconds.begin(), milliseconds.end());
  return {milliseconds[milliseconds.size() / 2], milliseconds.back()};
}

// One result line: median and max of the times against the goal.
bool Report(const char* what, const std::vector<double>& milliseconds, const Goal& goal) {
  if (milliseconds.empty()) {
    std::printf("%s: not measured (goal %s)\n", what, goal.text);
    return false;
  }
  const Spread spread = SpreadOf(milliseconds);
  const bool met = (goal.everyTime ? spread.max : spread.median) <= goal.limitMs;
  std::printf("%s: median %.0f ms, max %.0f ms over %zu (goal %s: %s)\n", what, spread.median, spread.max,
              milliseconds.size(), goal.text, met ? "met" : "missed");
  return met;
}

std::optional<double> LastKeySeconds(const orvex::test_support::KeysTargetProcess& target, size_t before) {
  std::optional<double> stamp;
  WaitUntil(
      [&] {
        const std::vector<std::string> lines = target.Lines();
        const auto last =
            std::find_if(lines.begin() + static_cast<ptrdiff_t>(std::min(before, lines.size())), lines.end(),
                         [](const std::string& line) { return line.starts_with(kLastKeyLine); });
        if (last != lines.end()) {
          stamp = StampSeconds(*last);
        }
        return stamp.has_value();
      },
      kWaitLimit, 5ms);
  return stamp;
}

// Document -> last key: a cheque fed into the inbox until the target takes the template's last key.
std::vector<double> DocumentToLastKey(const ProgramFolder& folder, const ReaderFolder& reader,
                                      orvex::test_support::KeysTargetProcess& target) {
  WriteFile(reader.Path() / "front.jpg",
            *orvex::images::EncodeJpeg(orvex::images::WhitePicture(kImageWidth, kImageHeight)));
  WriteFile(reader.Path() / "back.jpg",
            *orvex::images::EncodeJpeg(orvex::images::WhitePicture(kImageWidth, kImageHeight)));
  const std::string document = std::string("MICR=") + kChequeLine + "\r\nFront=..\\front.jpg\r\nBack=..\\back.jpg\r\n";
  const ProgramRun program(folder, L"/NOSPLASH");
  std::vector<double> times;
  for (int round = -1; round < kDocumentRounds; ++round) {  // the first round warms up
    if (!reader.WaitForPollAfter(reader.Polls())) {
      std::fprintf(stderr, "the program does not poll\n");
      return {};
    }
    // Documents arrive at every point of the polling interval.
    Sleep(static_cast<DWORD>((round + 1) * 37 % 100));
    const size_t before = target.Lines().size();
    const std::string name = std::to_string(round + 1) + ".ini";
    const double fed = reader.Feed(name, document);
    const std::optional<double> lastKey = LastKeySeconds(target, before);
    if (!lastKey) {
      std::fprintf(stderr, "the cheque's keys did not reach the target\n");
      return {};
    }
    if (round >= 0) {
      times.push_back((*lastKey - fed) * 1000);
    }
    WaitUntil([&] { return reader.Done(name); }, kWaitLimit);
  }
  return times;
}

struct StartTimes {
  std::vector<double> readerOpened;
  std::vector<double> firstPoll;
};

// Start -> first poll, without the splash, and on the way the reader's opening.
StartTimes StartToFirstPoll(const ProgramFolder& folder, const ReaderFolder& reader) {
  StartTimes times;
  for (int round = 0; round < kStartRounds; ++round) {
    const size_t opensBefore = reader.Calls(kOpenLine);
    const size_t pollsBefore = reader.Polls();
    const double start = CounterSecondsNow();
    const ProgramRun program(folder, L"/NOSPLASH");
    const std::optional<double> opened = reader.WaitForCallAfter(kOpenLine, opensBefore);
    const std::optional<double> firstPoll = reader.WaitForPollAfter(pollsBefore);
    if (!opened || !firstPoll) {
      std::fprintf(stderr, "the started program does not poll\n");
      return {};
    }
    times.readerOpened.push_back((*opened - start) * 1000);
    times.firstPoll.push_back((*firstPoll - start) * 1000);
  }
  return times;
}

// Watchdog: the program killed until the program the watchdog starts again polls. Every round
// kills the first program of a watched run of its own: a watchdog waits longer after each further
// exit within a minute.
std::vector<double> KillToNewPoll(const ProgramFolder& folder, const ReaderFolder& reader) {
  std::vector<double> times;
  for (int round = 0; round < kWatchdogRounds; ++round) {
    const WatchedRun run(folder);
    HWND main = nullptr;
    if (!WaitUntil([&] { return (main = FindWindowOf(orvex::kMainWindowClass)) != nullptr; }, kWaitLimit, 10ms) ||
        !reader.WaitForPollAfter(reader.Polls())) {
      std::fprintf(stderr, "the watched program does not poll\n");
      return times;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    const UniqueHandle program(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process));
    const double killed = CounterSecondsNow();
    TerminateProcess(program.Get(), 1);
    WaitForSingleObject(program.Get(), kEndLimitMs);
    const std::optional<double> newPoll = reader.WaitForPollAfter(reader.Polls());
    if (!newPoll) {
      std::fprintf(stderr, "the killed program was not started again\n");
      return times;
    }
    times.push_back((*newPoll - killed) * 1000);
  }
  return times;
}

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& time) {
    return static_cast<double>(ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

double PrivateMegabytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0);
}

// Idle: the polling program with an empty inbox beside the target window, a plain window program,
// over the same time; false when private bytes that Wine does give miss their goal.
bool Idle(const ProgramFolder& folder, const ReaderFolder& reader, const orvex::test_support::KeysTargetProcess& target,
          int seconds) {
  const ProgramRun program(folder, L"/NOSPLASH");
  DWORD targetId = 0;
  GetWindowThreadProcessId(target.Window(), &targetId);
  const UniqueHandle baseline(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, targetId));
  if (!reader.WaitForPollAfter(reader.Polls()) || !baseline) {
    std::fprintf(stderr, "the idle program does not poll\n");
    return false;
  }
  const size_t pollsBefore = reader.Polls();
  const double cpuBefore = CpuSeconds(program.Process());
  const double baselineBefore = CpuSeconds(baseline.Get());
  const double start = CounterSecondsNow();
  std::printf("idle from\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double wall = CounterSecondsNow() - start;
  const double cpu = 100 * (CpuSeconds(program.Process()) - cpuBefore) / wall;
  const double baselineCpu = 100 * (CpuSeconds(baseline.Get()) - baselineBefore) / wall;
  const double privateMb = PrivateMegabytes(program.Process());
  const double baselinePrivateMb = PrivateMegabytes(baseline.Get());
  std::printf("idle to\n");
  std::fflush(stdout);
  std::string answer;
  std::getline(std::cin, answer);

  const size_t polls = reader.Polls() - pollsBefore;
  std::printf("idle polls: %zu in %.1f s, one every %.1f ms\n", polls, wall,
              polls ? wall * 1000 / static_cast<double>(polls) : 0.0);
  // Under Wine another process's times come coarse or as zeros and its private bytes as zeros: the
  // caller's /proc readings of the same time are the measure there.
  std::printf(
      "idle CPU (GetProcessTimes, as Wine gives another process's): program %.3f %% of one core, "
      "plain window %.3f %%; see the /proc line\n",
      cpu, baselineCpu);
  if (privateMb <= 0 || baselinePrivateMb <= 0) {
    std::printf(
        "idle private bytes (GetProcessMemoryInfo): Wine gives %.1f MB and %.1f MB for other processes, "
        "which is no measure; see the RssAnon line\n",
        privateMb, baselinePrivateMb);
    return true;
  }
  const bool met = privateMb - baselinePrivateMb < 10;
  std::printf(
      "idle private bytes (GetProcessMemoryInfo): program %.1f MB, plain window %.1f MB, difference %.1f MB "
      "(goal < 10 MB: %s)\n",
      privateMb, baselinePrivateMb, privateMb - baselinePrivateMb, met ? "met" : "missed");
  return met;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int seconds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 60;
  const fs::path build = BuildFolder();
  const orvex::images::ComInitialization com;
  const ProgramFolder folder(build, orvex::test_support::Reader::kVirtual);
  const ReaderFolder reader(folder);
  folder.Write("OrvexExcella.ini", kConfiguration);
  orvex::test_support::KeysTargetOptions options;
  options.program = (build / "tools" / "keys_target" / "keys_target.exe").wstring();
  options.title = kTargetTitle;
  options.times = true;
  options.lifetimeSeconds = seconds + 120;  // the document rounds and the idle time
  orvex::test_support::KeysTargetProcess target(options);
  if (!target.Ready()) {
    std::fprintf(stderr, "the recording target window did not start\n");
    return 1;
  }

  bool met = Report("document -> last key", DocumentToLastKey(folder, reader, target),
                    {"<= 120 ms, one poll and 20 ms", 120, true});
  const StartTimes start = StartToFirstPoll(folder, reader);
  met &= Report("start -> first poll (/NOSPLASH)", start.firstPoll, {"median < 300 ms", 300, false});
  if (!start.readerOpened.empty()) {
    // The part before the start-up's last steps and the polling timer's first interval.
    const Spread opened = SpreadOf(start.readerOpened);
    std::printf("  of which start -> reader opened: median %.0f ms, max %.0f ms\n", opened.median, opened.max);
  }
  // The watchdog looks once a second whether the program still runs, then starts it.
  met &= Report("watchdog: kill -> new program's first poll", KillToNewPoll(folder, reader),
                {"<= 1300 ms, its look every 1 s and a start", 1300, true});
  met &= Idle(folder, reader, target, seconds);
  return met ? 0 : 2;
}
