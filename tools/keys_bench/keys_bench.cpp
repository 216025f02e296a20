// Times a typical cheque text typed into the recording target window (tools/keys_target), from
// the engine call to the moment the target takes the text's last WM_CHAR from its queue: by the
// SendInput engine, and by the keybd_event engine at delay 0.
//
//   keys_bench.exe [rounds]      (under Wine: tools/wine_env.sh build/win64 wine <path>/keys_bench.exe)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "base/wait.h"
#include "keys/engines_win32.h"
#include "keys_target_client.h"

namespace {

using orvex::test_support::CounterSecondsNow;
using orvex::test_support::KeysTargetOptions;
using orvex::test_support::KeysTargetProcess;
using orvex::test_support::StampSeconds;

// Cheque number, bank, branch, account, amount and date, as a profile's template types them.
constexpr char kChequeText[] = "00012345{TAB}12{TAB}345{TAB}123456789{TAB}1500.00{TAB}081226{ENTER}";
constexpr auto kWaitLimit = std::chrono::seconds(10);

std::wstring TargetProgram() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L'\\') + 1);
  return folder + L"..\\keys_target\\keys_target.exe";
}

// The time from `start` to the target taking the last WM_CHAR of `chars` expected ones; negative
// when they did not all arrive.
double TimeToLastChar(KeysTargetProcess& target, size_t before, size_t chars, double start) {
  double lastChar = -1;
  orvex::WaitUntil(
      [&] {
        const std::vector<std::string> lines = target.Lines();
        std::vector<std::string> charLines;
        for (size_t i = before; i < lines.size(); ++i) {
          if (lines[i].starts_with("CHAR ")) {
            charLines.push_back(lines[i]);
          }
        }
        if (charLines.size() < chars) {
          return false;
        }
        lastChar = StampSeconds(charLines[chars - 1]) - start;
        return true;
      },
      kWaitLimit);
  return lastChar;
}

struct Figures {
  std::vector<double> delivered;
  std::vector<double> returned;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

Figures Measure(KeysTargetProcess& target, const std::function<void()>& type, size_t chars, int rounds) {
  Figures figures;
  for (int round = -2; round < rounds; ++round) {  // two rounds to warm up
    target.BringToForeground();
    const size_t before = target.Lines().size();
    const double start = CounterSecondsNow();
    type();
    const double returned = CounterSecondsNow() - start;
    const double delivered = TimeToLastChar(target, before, chars, start);
    if (delivered < 0) {
      std::fprintf(stderr, "the target did not receive every character\n");
      return {};
    }
    if (round >= 0) {
      figures.delivered.push_back(delivered);
      figures.returned.push_back(returned);
    }
  }
  return figures;
}

void Report(const char* engine, const Figures& figures) {
  if (figures.delivered.empty()) {
    return;
  }
  std::printf(
      "%-28s call to last WM_CHAR: median %7.2f ms, min %7.2f ms, max %7.2f ms; call returns after %6.2f ms\n", engine,
      Median(figures.delivered) * 1000, *std::min_element(figures.delivered.begin(), figures.delivered.end()) * 1000,
      *std::max_element(figures.delivered.begin(), figures.delivered.end()) * 1000, Median(figures.returned) * 1000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  KeysTargetOptions options;
  options.program = TargetProgram();
  options.title = L"Orvex keys benchmark";
  options.times = true;
  KeysTargetProcess target(options);
  if (!target.Ready()) {
    std::fprintf(stderr, "the recording target window did not start\n");
    return 1;
  }
  // Each of the 41 keys typed (34 digits, the period, five TABs and ENTER) gives one WM_CHAR.
  const std::string text = kChequeText;
  const size_t chars = 41;
  std::printf("text: %s (%zu characters, %zu typed keys), %d rounds\n", text.c_str(), text.size(), chars, rounds);
  Report("SendInput", Measure(
                          target, [&] { orvex::VbSendInput(text); }, chars, rounds));
  Report("keybd_event, delay 0", Measure(
                                     target, [&] { orvex::VbSendKeys(text, 0, false); }, chars, rounds));
  return 0;
}
