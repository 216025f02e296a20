// Measures what polling costs: runs the polling timer against the reader library in the program's
// folder for a while and prints the ticks, the reads started and the CPU time the process used.
//
//   poll_bench.exe [seconds] [device name]
//
// With the virtual reader and an empty inbox every tick is one status query and nothing else.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/clock.h"
#include "base/message_box.h"
#include "reader/polling.h"
#include "reader/polling_timer_win32.h"
#include "reader/reader_library_win32.h"

namespace {

class CountingReader : public orvex::DocumentReader {
 public:
  orvex::DocFeed ReadDoc(orvex::DocFeed feed, int32_t) override {
    ++reads;
    return feed;
  }
  void SettleFinishedJoin() override {}
  int reads = 0;
};

class NoMessageBoxes : public orvex::MessageBoxes {
 public:
  orvex::MessageAnswer Show(const orvex::Message&) override { return orvex::MessageAnswer::Ok; }
};

double Seconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 1e7;
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Seconds(kernel) + Seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  orvex::GlobalSettings settings;
  settings.deviceName = argc > 2 ? argv[2] : "STX_USB";
  settings.docFeedTimeout = 2500;
  const orvex::ProfileSettings profile = orvex::DefaultProfileSettings();

  const std::unique_ptr<orvex::ReaderLibrary> library = orvex::LoadReaderLibrary();
  if (library->MTMICROpenDevice(settings.deviceName) != 0) {
    std::fprintf(stderr, "the reader %s does not open\n", settings.deviceName.c_str());
    return 1;
  }
  CountingReader reader;
  NoMessageBoxes messageBoxes;
  orvex::SystemClock clock;
  orvex::ReaderPolling polling({*library, settings, profile, reader, messageBoxes, clock});
  int ticks = 0;
  orvex::PollingTimer timer(orvex::kPollingInterval, [&] {
    ++ticks;
    polling.Tick();
  });

  const double cpuBefore = ProcessCpuSeconds();
  const ULONGLONG start = GetTickCount64();
  timer.Start();
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) {
      break;
    }
    DispatchMessageW(&message);
  }
  timer.Stop();
  const double wall = static_cast<double>(GetTickCount64() - start) / 1000.0;
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  std::printf("ticks %d in %.1f s, reads %d, CPU %.3f s = %.3f %% of one core\n", ticks, wall, reader.reads, cpu,
              100.0 * cpu / wall);
  return 0;
}
