#include "verify/banks_branches.h"

#include "base/error.h"
#include "base/file_io.h"
#include "base/text.h"
#include "base/vb_convert.h"

namespace orvex {
namespace {

constexpr size_t kValuesPerRecord = 7;

BanksBranches& Table() {
  static BanksBranches table;
  return table;
}

// Appends the comma-separated values of one line; false when one is not a 16-bit number.
bool AppendValues(std::string_view line, std::vector<int16_t>& values) {
  while (true) {
    const size_t comma = line.find(',');
    const std::optional<int16_t> value = ToInt16(line.substr(0, comma));
    if (!value) {
      return false;
    }
    values.push_back(*value);
    if (comma == std::string_view::npos) {
      return true;
    }
    line.remove_prefix(comma + 1);
  }
}

bool Covers(const BranchRangeRecord& record, int bank, int branch) {
  return record.bankNum == bank && record.branchFrom <= branch && branch <= record.branchTo;
}

int16_t NumberOrTypeMismatch(std::string_view text) {
  const std::optional<int16_t> value = ToInt16(text);
  if (!value) {
    throw Error(kErrTypeMismatch, "Type mismatch");
  }
  return *value;
}

}  // namespace

std::optional<BanksBranches> BanksBranches::Parse(std::string_view text) {
  std::vector<int16_t> values;
  for (const std::string_view line : SplitLines(text)) {
    if (!TrimBlanks(line).empty() && !AppendValues(line, values)) {
      return std::nullopt;
    }
  }
  if (values.empty() || values.size() % kValuesPerRecord != 0) {
    return std::nullopt;
  }
  std::vector<BranchRangeRecord> records;
  records.reserve(values.size() / kValuesPerRecord);
  for (size_t i = 0; i < values.size(); i += kValuesPerRecord) {
    records.push_back(
        {values[i], values[i + 1], values[i + 2], values[i + 3], values[i + 4], values[i + 5], values[i + 6]});
  }
  return BanksBranches(std::move(records));
}

bool BanksBranches::HasBranch(int bank, int branch) const {
  for (const auto& record : records_) {
    if (Covers(record, bank, branch)) {
      return true;
    }
  }
  return false;
}

bool BanksBranches::AcceptsRemainder(int bank, int branch, int remainder) const {
  for (const auto& record : records_) {
    if (Covers(record, bank, branch) && (record.check1 == remainder || record.check2 == remainder ||
                                         record.check3 == remainder || record.check4 == remainder)) {
      return true;
    }
  }
  return false;
}

bool LoadBanksBranches(std::string_view path) {
  Table() = BanksBranches();
  const std::optional<std::string> text = ReadFileBytes(path);
  if (!text) {
    return false;
  }
  std::optional<BanksBranches> table = BanksBranches::Parse(*text);
  if (!table) {
    return false;
  }
  Table() = std::move(*table);
  return true;
}

const BanksBranches& LoadedBanksBranches() {
  return Table();
}

int16_t FindBranchRange(const BanksBranches& table, std::string_view bank, std::string_view branch) {
  const int16_t bankNum = NumberOrTypeMismatch(bank);
  const int16_t branchNum = NumberOrTypeMismatch(branch.substr(0, 3));
  return table.HasBranch(bankNum, branchNum) ? bankNum : 0;
}

int16_t FindBranchRange(std::string_view bank, std::string_view branch) {
  return FindBranchRange(LoadedBanksBranches(), bank, branch);
}

}  // namespace orvex
