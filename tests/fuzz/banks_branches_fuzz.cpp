// libFuzzer target: the reader of the bank-branch table, and verification against what it read.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "verify/banks_branches.h"
#include "verify/cheque_verify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<orvex::BanksBranches> table = orvex::BanksBranches::Parse(text);
  if (!table) {
    return 0;
  }
  if (table->Records().empty()) {
    __builtin_trap();  // a table that parses holds at least one record
  }
  // A few records suffice: each verification scans the whole table.
  const size_t checked = std::min<size_t>(table->Records().size(), 16);
  for (size_t i = 0; i < checked; ++i) {
    const orvex::BranchRangeRecord& record = table->Records()[i];
    const int32_t code = orvex::VerifyChequeNumbers(*table, std::to_string(record.bankNum),
                                                    std::to_string(record.branchFrom), "123456789");
    // The record's own first branch is in the table (FindBranchRange answers a bank number, so
    // bank 0 reads as "not found"; branches are read from their first three characters).
    const bool findable = record.bankNum != 0 && record.branchFrom >= 0 && record.branchFrom <= 999;
    if (code == orvex::kBranchNotInTable && findable && record.branchFrom <= record.branchTo) {
      __builtin_trap();
    }
  }
  return 0;
}
