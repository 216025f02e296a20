// A teller's long day for OrvexExcella.exe: documents fed one after another through the virtual
// reader (cheques, magnetic cards and US cheques in turn, each with its own number), each one
// waited for until the program has typed it, logged it and saved its images, with every message
// box the program shows answered and counted as a report. tools/soak.sh runs it inside the build
// tree's Wine environment and reads the program's memory for it.
//
//   soak_driver.exe [documents]      (default 1000; from the build tree's top folder, which holds
//                                     OrvexExcella.exe, banks_branches.txt, mtxmlmcr.dll, netpbm\)
//
// After the baseline document (the 100th, or half of a shorter run) the line "memory from" is
// printed, after the last document "memory to"; after each, one line of input is read: the
// caller's reading of the program's memory in MB, empty when it has none. The last line sums up:
//   soak: N documents, lost L, typed T, logged G, images I, memory growth X MB, handles growth H
// Exit status 1 when a document was lost, 2 when the run could not start.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/system_win32.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "keys_target_client.h"
#include "support/program_run_win32.h"
#include "support/sample_cutting_keys.h"
#include "support/trace_monitor_win32.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using orvex::FromWide;
using orvex::WaitUntil;

constexpr char kTargetTitle[] = "Orvex soak target";
constexpr int kDefaultDocuments = 1000;
constexpr int kBaselineDocument = 100;
constexpr int kProgressEvery = 100;
// A document's read, from the inbox to the end of the tick that read it, and then its keys' way
// to the target window.
constexpr auto kReadLimit = 30s;
constexpr auto kTypedLimit = 10s;
constexpr auto kLookInterval = 5ms;
constexpr auto kStartLimit = 15s;
constexpr double kMemoryGoalMb = 2;
constexpr long kHandlesGoal = 20;
constexpr char kResourcesLine[] = "Resources: handles ";

// The reader polled feeder by feeder; one profile that types every kind of document into the
// target window, logs cheques and saves the images of cheques and US cheques.
std::string Configuration() {
  return std::string("[Config]\r\nExcellaDeviceName=STX_USB\r\n[Soak]\r\nActivateWindow=1\r\nActivateWindowTitle=") +
         kTargetTitle +
         "\r\nIgnoreVerify=0\r\nCSVFile=cheques.csv\r\nCombineChequeImages=0\r\n"
         "ChequeTemplate={ChequeNum}|{BankNum}|{BranchNum}|{AccountNum};\r\n"
         "ImageFileNameTemplate=img\\{ChequeNum}.jpg\r\nBackImageFileNameTemplate=img\\{ChequeNum}-back.jpg\r\n"
         "GenUSTemplate={MICR};\r\nGenUSFileNameTemplate=us\\{MICR}.jpg\r\n"
         "GenUSBackFileNameTemplate=us\\{MICR}-back.jpg\r\n"
         "MagStripe2Part1Length=99\r\nMagStripe2Part1LeadingZeros=-1\r\n"
         "MagStripe2Part2Length=99\r\nMagStripe2Part2LeadingZeros=-1\r\n"
         "MagStripe2Template={MagPart1}={MagPart2};\r\n" +
         std::string(orvex::test_support::kSampleCuttingKeys);
}

// One document of the run and what handling it fully means.
struct SoakDocument {
  std::string name;
  std::string body;
  std::string typed;
  std::string logged;               // the start of its line in the cheque log; empty: not logged
  std::vector<std::string> images;  // the image files saved, in the program folder
};

std::string Numbered(const char* format, int number) {
  char text[64];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

// Document `number`: a cheque, a card and a US cheque in turn. Bank 4, branch 202 and account
// 440481990 verify against the shipped table; the cheque's number is the document's.
SoakDocument MakeDocument(int number) {
  const std::string name = Numbered("%05d.ini", number);
  switch (number % 3) {
    case 1: {
      const std::string cheque = std::to_string(number);
      return {name,
              "Feeder=ManualFeeder\r\nMICR=" + Numbered("A%07d C04A20200E 440481990C", number),
              cheque + "|04|202|440481990;",
              Numbered("%07d,04,20200,440481990,", number),
              {"img\\" + cheque + ".jpg", "img\\" + cheque + "-back.jpg"}};
    }
    case 2: {
      const std::string track = Numbered("4580%012d=2712101", number);
      return {name, "Feeder=MSR\r\nTrack2=;" + track + "?", track + ";", "", {}};
    }
    default: {
      const std::string micr = Numbered("T123456789T %07dU 0123", number);
      return {name,
              "Feeder=AutoFeeder\r\nMICR=" + micr,
              micr + ";",
              "",
              {"us\\" + micr + ".jpg", "us\\" + micr + "-back.jpg"}};
    }
  }
}

// The figures of a "Resources:" trace line.
struct Resources {
  long handles = 0;
  long gdi = 0;
  long user = 0;
};

std::optional<Resources> ParseResources(const std::string& line) {
  const size_t at = line.find(kResourcesLine);
  Resources figures;
  if (at == std::string::npos || std::sscanf(line.c_str() + at, "Resources: handles %ld, GDI %ld, USER %ld",
                                             &figures.handles, &figures.gdi, &figures.user) != 3) {
    return std::nullopt;
  }
  return figures;
}

// What became of one document.
struct Outcome {
  std::optional<Resources> resources;  // of the tick that read it; nothing: no tick read it in time
  std::string typed;
  bool logged = false;
  size_t images = 0;
  std::vector<std::string> reports;  // the message boxes shown meanwhile

  bool Handled(const SoakDocument& document) const {
    return typed == document.typed && (logged || document.logged.empty()) && images == document.images.size();
  }
};

std::string WindowText(HWND window) {
  wchar_t text[2048];
  return FromWide(std::wstring_view(text, static_cast<size_t>(std::max(GetWindowTextW(window, text, 2048), 0))));
}

// A box's title and the texts of its static controls (the icon's is empty).
std::string BoxText(HWND box) {
  std::string text = WindowText(box) + ":";
  for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child;
       child = FindWindowExW(box, child, L"Static", nullptr)) {
    if (const std::string part = WindowText(child); !part.empty()) {
      text += " " + part;
    }
  }
  return text;
}

// The mildest answer a box offers: Cancel, else No, else OK.
int MildestButton(HWND box) {
  for (const int button : {IDCANCEL, IDNO, IDOK}) {
    if (GetDlgItem(box, button)) {
      return button;
    }
  }
  return IDCANCEL;
}

bool SavedFile(const fs::path& path) {
  std::error_code error;
  return fs::file_size(path, error) > 0 && !error;
}

// The program at the teller's desk: documents fed to its reader, what it typed into the target
// window, its trace, and its message boxes answered.
class Desk {
 public:
  Desk(const orvex::test_support::ProgramFolder& folder, const orvex::test_support::KeysTargetProcess& target,
       const orvex::test_support::TraceMonitor& trace, DWORD process)
      : folder_(folder), target_(target), trace_(trace), process_(process) {}

  Outcome Handle(const SoakDocument& document) {
    Outcome outcome;
    const size_t typedFrom = target_.Lines().size();
    const size_t loggedFrom = CsvLog().size();
    answered_.clear();
    folder_.Feed(document.name, "[Document]\r\n" + document.body + "\r\n");
    WaitUntil(
        [&] {
          AnswerBoxes(outcome);
          outcome.resources = NextResources();
          return outcome.resources.has_value();
        },
        kReadLimit, kLookInterval);
    WaitUntil(
        [&] {
          AnswerBoxes(outcome);
          const std::vector<std::string> lines = target_.Lines();
          outcome.typed =
              orvex::test_support::TypedText({lines.begin() + static_cast<ptrdiff_t>(typedFrom), lines.end()});
          return outcome.typed.size() >= document.typed.size();
        },
        outcome.resources ? kTypedLimit : 0ms, kLookInterval);
    outcome.logged = !document.logged.empty() && CsvLog().find(document.logged, loggedFrom) != std::string::npos;
    outcome.images = static_cast<size_t>(std::ranges::count_if(
        document.images, [&](const std::string& image) { return SavedFile(folder_.Path(image)); }));
    return outcome;
  }

 private:
  std::string CsvLog() const {
    return orvex::ReadFileBytes(FromWide(folder_.Path("cheques.csv").wstring())).value_or("");
  }

  // The figures of the next "Resources:" line of the trace, written when a tick that read a
  // document ends.
  std::optional<Resources> NextResources() {
    for (const std::string& line : trace_.Lines(process_, traceRead_)) {
      ++traceRead_;
      if (const std::optional<Resources> figures = ParseResources(line)) {
        return figures;
      }
    }
    return std::nullopt;
  }

  void AnswerBoxes(Outcome& outcome) {
    for (HWND box = FindWindowW(L"#32770", nullptr); box; box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(box, &owner);
      if (owner != process_ || !IsWindowVisible(box) || !answered_.insert(box).second) {
        continue;
      }
      outcome.reports.push_back(BoxText(box));
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(MildestButton(box), BN_CLICKED), 0);
    }
  }

  const orvex::test_support::ProgramFolder& folder_;
  const orvex::test_support::KeysTargetProcess& target_;
  const orvex::test_support::TraceMonitor& trace_;
  DWORD process_;
  size_t traceRead_ = 0;
  std::set<HWND> answered_;  // the boxes of the document being handled
};

// The counts of the run so far.
struct Tally {
  int documents = 0;
  int lost = 0;
  int reported = 0;
  int typed = 0;
  int logged = 0;
  size_t images = 0;
  std::optional<Resources> last;

  void Add(const SoakDocument& document, const Outcome& outcome) {
    ++documents;
    typed += outcome.typed == document.typed ? 1 : 0;
    logged += outcome.logged ? 1 : 0;
    images += outcome.images;
    last = outcome.resources ? outcome.resources : last;
    for (const std::string& report : outcome.reports) {
      std::printf("reported: %s: %s\n", document.name.c_str(), report.c_str());
    }
    reported += outcome.reports.empty() ? 0 : 1;
    if (!outcome.Handled(document) && outcome.reports.empty()) {
      ++lost;
      PrintLoss(document, outcome);
    }
  }

  static void PrintLoss(const SoakDocument& document, const Outcome& outcome) {
    std::printf("lost: %s: %s; typed \"%s\" (expected \"%s\"), %s, %zu of %zu images\n", document.name.c_str(),
                outcome.resources ? "read" : "no tick read it in time", outcome.typed.c_str(), document.typed.c_str(),
                document.logged.empty() ? "no log line due" : (outcome.logged ? "logged" : "not logged"),
                outcome.images, document.images.size());
  }
};

// Prints the marker and reads the caller's answer: the program's memory in MB, if it gave one.
std::optional<double> MemoryReading(const char* marker) {
  std::printf("%s\n", marker);
  std::fflush(stdout);
  std::string answer;
  std::getline(std::cin, answer);
  char* end = nullptr;
  const double megabytes = std::strtod(answer.c_str(), &end);
  return end != answer.c_str() ? std::optional(megabytes) : std::nullopt;
}

std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

const char* Verdict(bool met) {
  return met ? "met" : "missed";
}

// Where the growth is counted from: the figures after the baseline document.
struct Baseline {
  int document = 0;
  std::optional<Resources> resources;
  std::optional<double> memoryMb;
};

// The summary; its last line in the form the soak script's readers rely on.
void PrintSummary(const Tally& tally, const Baseline& baseline, std::optional<double> memoryMb, double seconds) {
  const Resources from = baseline.resources.value_or(Resources{});
  const Resources to = tally.last.value_or(Resources{});
  const bool zeros =
      from.handles == 0 && from.gdi == 0 && from.user == 0 && to.handles == 0 && to.gdi == 0 && to.user == 0;
  const std::optional<double> memoryGrowth =
      baseline.memoryMb && memoryMb ? std::optional(*memoryMb - *baseline.memoryMb) : std::nullopt;
  const long handlesGrowth = to.handles - from.handles;
  std::printf("fed %d documents in %.0f s, %.0f ms each; reported in a message box: %d\n", tally.documents, seconds,
              1000 * seconds / std::max(tally.documents, 1), tally.reported);
  if (memoryGrowth) {
    std::printf("program's RssAnon: %.1f MB after document %d, %.1f MB after the last\n", *baseline.memoryMb,
                baseline.document, *memoryMb);
  }
  std::printf("GDI growth %ld, USER growth %ld%s\n", to.gdi - from.gdi, to.user - from.user,
              zeros ? " (handles, GDI and USER all read 0: Wine gives no figures, so these are no measure here)" : "");
  std::printf(
      "goals: lost 0 (%s); after document %d: memory growth under %.0f MB (%s), handles growth under %ld (%s)\n",
      Verdict(tally.lost == 0), baseline.document, kMemoryGoalMb,
      memoryGrowth ? Verdict(*memoryGrowth < kMemoryGoalMb) : "not measured", kHandlesGoal,
      Verdict(handlesGrowth < kHandlesGoal));
  std::printf("soak: %d documents, lost %d, typed %d, logged %d, images %zu, memory growth %s MB, handles growth %ld\n",
              tally.documents, tally.lost, tally.typed, tally.logged, tally.images,
              memoryGrowth ? Decimal(*memoryGrowth).c_str() : "?", handlesGrowth);
}

// Feeds the documents one after another, taking the baseline on the way.
void FeedDocuments(Desk& desk, int documents, Tally& tally, Baseline& baseline) {
  for (int number = 1; number <= documents; ++number) {
    const SoakDocument document = MakeDocument(number);
    tally.Add(document, desk.Handle(document));
    if (number % kProgressEvery == 0) {
      std::printf("%d documents fed, lost %d, reported %d\n", number, tally.lost, tally.reported);
    }
    std::fflush(stdout);
    if (number == baseline.document) {
      baseline.resources = tally.last;
      baseline.memoryMb = MemoryReading("memory from");
    }
  }
}

int Soak(int documents) {
  const fs::path build = fs::path(orvex::ModulePath(nullptr)).parent_path();
  const orvex::test_support::ProgramFolder folder(build, orvex::test_support::Reader::kVirtual);
  folder.Write("OrvexExcella.ini", Configuration());
  orvex::test_support::KeysTargetOptions options;
  options.program = (build / "tools" / "keys_target" / "keys_target.exe").wstring();
  options.title = orvex::ToWide(kTargetTitle);
  options.lifetimeSeconds = 600 + documents;
  const orvex::test_support::KeysTargetProcess target(options);
  const orvex::test_support::TraceMonitor trace;
  if (!target.Ready() || !trace.Ready()) {
    std::fprintf(stderr, "the recording target window or the trace reader did not start\n");
    return 2;
  }
  const orvex::test_support::ProgramRun program(folder, L"/NOSPLASH");
  const DWORD process = GetProcessId(program.Process());
  if (!trace.WaitForLine(process, "Polling started", kStartLimit)) {
    std::fprintf(stderr, "the program does not poll\n");
    return 2;
  }
  Desk desk(folder, target, trace, process);
  Tally tally;
  Baseline baseline;
  baseline.document = std::min(kBaselineDocument, std::max(1, documents / 2));
  const auto start = std::chrono::steady_clock::now();
  FeedDocuments(desk, documents, tally, baseline);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  PrintSummary(tally, baseline, MemoryReading("memory to"), seconds);
  return tally.lost > 0 ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int documents = argc > 1 ? _wtoi(argv[1]) : kDefaultDocuments;
  if (documents <= 0) {
    std::fprintf(stderr, "soak_driver: the number of documents must be a whole number above 0\n");
    return 2;
  }
  // Every way out ends the program and the target window: their owners' destructors run.
  try {
    return Soak(documents);
  } catch (const std::exception& exception) {
    std::fprintf(stderr, "soak_driver: %s\n", exception.what());
    return 2;
  }
}
