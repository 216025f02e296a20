#pragma once

// The table of permitted bank branches: for each range of a bank's branches, the remainders that
// the bank's check-digit scheme accepts there. Read once at start-up from "banks_branches.txt"
// beside the program.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvex {

inline constexpr std::string_view kBanksBranchesFileName = "banks_branches.txt";

struct BranchRangeRecord {
  int16_t bankNum = 0;
  int16_t branchFrom = 0;  // inclusive
  int16_t branchTo = 0;    // inclusive
  int16_t check1 = 0;
  int16_t check2 = 0;
  int16_t check3 = 0;
  int16_t check4 = 0;

  bool operator==(const BranchRangeRecord&) const = default;
};

class BanksBranches {
 public:
  BanksBranches() = default;
  explicit BanksBranches(std::vector<BranchRangeRecord> records) : records_(std::move(records)) {}

  // The table in a file's text: decimal integers separated by commas or line breaks, blanks
  // around them allowed, blank lines ignored, seven to a record. Nothing when the text holds no
  // record, a value that is not a number or does not fit 16 bits, or a record cut short.
  static std::optional<BanksBranches> Parse(std::string_view text);

  const std::vector<BranchRangeRecord>& Records() const { return records_; }

  // True when some record of the bank covers the branch.
  bool HasBranch(int bank, int branch) const;

  // True when some record of the bank covering the branch lists the remainder among its checks.
  bool AcceptsRemainder(int bank, int branch, int remainder) const;

 private:
  std::vector<BranchRangeRecord> records_;
};

// Reads the table file (by default the one in the program folder, the working directory) into the
// table that verification uses. On failure the table is left empty, so every later verification
// answers 555, and false is returned.
bool LoadBanksBranches(std::string_view path = kBanksBranchesFileName);

// The table LoadBanksBranches filled; empty before.
const BanksBranches& LoadedBanksBranches();

// The bank number when a record of the bank covers the branch (the number in the branch's first
// three characters), 0 otherwise. Raises Error 13 when the bank or that branch part is no number.
int16_t FindBranchRange(const BanksBranches& table, std::string_view bank, std::string_view branch);
int16_t FindBranchRange(std::string_view bank, std::string_view branch);

}  // namespace orvex
