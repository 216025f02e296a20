// The work done for every cheque line between the read and the keystrokes: classification, the
// capture of the four fields and their verification; and the expansion of one image file name.

#include <benchmark/benchmark.h>

#include <string>

#include "interpret/cheque_line.h"
#include "interpret/classification.h"
#include "interpret/templates.h"
#include "verify/cheque_verify.h"

namespace orvex {
namespace {

constexpr const char* kTypicalLine = "A0001234 C12A67712E 873337388A";

bool LoadShippedTable() {
  return LoadBanksBranches(ORVEX_SOURCE_DIR "/src/resources/banks_branches.txt");
}

// Classifies, captures and verifies one cheque line, as every cheque does.
void ClassifyCaptureVerify(benchmark::State& state, const std::string& line) {
  if (!LoadShippedTable()) {
    state.SkipWithError("the shipped banks_branches.txt cannot be read");
    return;
  }
  for (auto _ : state) {
    const DocumentType type = ClassifyDocument(line, 5);
    const ChequeFields fields = CaptureChequeFields(line);
    const int32_t code = VerifyChequeNumbers(fields.bankNum, fields.branchNum, fields.accountNum, false);
    benchmark::DoNotOptimize(type);
    benchmark::DoNotOptimize(code);
  }
}
BENCHMARK_CAPTURE(ClassifyCaptureVerify, TypicalLine, std::string(kTypicalLine));
// A line whose start symbol was unread: classification needs the cheque pattern too.
BENCHMARK_CAPTURE(ClassifyCaptureVerify, UnreadStartSymbol, std::string("?") + (kTypicalLine + 1));

void ExpandOneFileNameTemplate(benchmark::State& state) {
  const LocalDateTime when{2026, 3, 5, 14, 7, 9};
  const std::string_view fileNameTemplate =
      "Images\\{YYYY}\\{MM}{YY}\\{ChequeNum}_{BankNum}_{AccountNum}_{HH}{NN}{SS}.jpg";
  for (auto _ : state) {
    std::string name = ReplacePlaceholders(fileNameTemplate,
                                           {{"{ChequeNum}", "1234"}, {"{BankNum}", "12"}, {"{AccountNum}", "337388"}});
    name = ExpandTemplate(name, when);
    benchmark::DoNotOptimize(name);
  }
}
BENCHMARK(ExpandOneFileNameTemplate);

}  // namespace
}  // namespace orvex
