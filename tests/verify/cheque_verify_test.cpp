#include "verify/cheque_verify.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orvex {
namespace {

struct VerifyCase {
  std::string bank;
  std::string branch;
  std::string account;
  int32_t expected;
};

// data/verify_vectors.csv: bank, branch, account and the code, under one header line.
std::vector<VerifyCase> ReadVectors() {
  std::ifstream in("data/verify_vectors.csv");
  std::vector<VerifyCase> cases;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    std::vector<std::string> values;
    std::stringstream fields(line);
    for (std::string value; std::getline(fields, value, ',');) {
      values.push_back(value);
    }
    if (values.size() == 4) {
      cases.push_back({values[0], values[1], values[2], std::stoi(values[3])});
    } else {
      ADD_FAILURE() << "unreadable vector: " << line;
    }
  }
  return cases;
}

TEST(VerifyChequeNumbers, ShippedTableGivesTheExpectedCodeForEveryVector) {
  ASSERT_TRUE(LoadBanksBranches());
  const std::vector<VerifyCase> cases = ReadVectors();
  ASSERT_EQ(cases.size(), 84u);
  for (const auto& c : cases) {
    EXPECT_EQ(VerifyChequeNumbers(c.bank, c.branch, c.account, false), c.expected)
        << "bank " << c.bank << " branch " << c.branch << " account " << c.account;
  }
}

TEST(VerifyChequeNumbers, IgnoreVerifyAcceptsAnythingWithoutLooking) {
  ASSERT_TRUE(LoadBanksBranches());
  for (const char* bank : {"99", "1?", "", "12"}) {
    EXPECT_EQ(VerifyChequeNumbers(bank, "xyz", "?", true), kChequeValid) << bank;
  }
}

TEST(VerifyChequeNumbers, WithoutATableEveryReadableChequeIsOutsideTheTable) {
  EXPECT_EQ(VerifyChequeNumbers(BanksBranches(), "12", "110", "000100001"), kBranchNotInTable);
  EXPECT_EQ(VerifyChequeNumbers(BanksBranches(), "1?", "110", "000100001"), kNumbersUnreadable);
}

TEST(VerifyChequeNumbers, NormalisesBranchAndAccountAndAppliesTheBankScheme) {
  const BanksBranches table({
      {12, 0, 999, 0, 0, 0, 0},
      {20, 500, 599, 2, 2, 2, 2},
      {20, 400, 420, 2, 3, 3, 3},
      {22, 0, 999, 0, 0, 0, 0},
      {31, 0, 999, 0, 6, 6, 6},
      {5, 0, 999, 0, 0, 0, 0},
      {19, 100, 199, 0, 0, 0, 0},
  });
  const struct {
    const char* bank;
    const char* branch;
    const char* account;
    int32_t expected;
  } cases[] = {
      // Bank 12: 0*9 + 1*8 + 2*7 = 22, remainder 0. A two-digit branch is the three digits "012".
      {"12", "012", "000000000", kChequeValid},
      {"12", "12", "0", kChequeValid},
      {"12", "01299", "", kChequeValid},
      {"12", "012", "999000000000", kChequeValid},
      {"12", "012", "000000001", kCheckDigitsWrong},
      // Bank 20 above branch 400: 523 counts as "123" (1*9 + 2*8 + 3*7 = 46, remainder 2), the
      // table is searched with 523.
      {"20", "523", "000000000", kChequeValid},
      {"20", "405", "000000000", kChequeValid},       // "005": 35, remainder 2
      {"20", "400", "000000000", kChequeValid},       // "400": 36, remainder 3
      {"20", "410", "000000000", kCheckDigitsWrong},  // "010": 7, remainder 7
      {"20", "623", "000000000", kBranchNotInTable},
      // Bank 22: a weighted sum of 12 (remainder 1) gives the check 10, of 0 the check 11: no
      // last digit makes such an account valid.
      {"22", "001", "400000000", kCheckDigitsWrong},
      {"22", "001", "400000009", kCheckDigitsWrong},
      {"22", "001", "000000000", kCheckDigitsWrong},
      {"22", "001", "000000009", kCheckDigitsWrong},
      {"22", "001", "100000008", kChequeValid},  // 3, check 8
      // Banks 31 and 52 try the last six digits when the nine are not accepted.
      {"31", "001", "100000000", kChequeValid},       // nine: 9; six: 0
      {"31", "001", "100000001", kCheckDigitsWrong},  // nine: 10; six: 1
      {"31", "001", "000000006", kChequeValid},       // nine: 6
      // Bank 19: digits 4 to 8 weighted 2 to 6, check against digit 9.
      {"19", "150", "000100002", kChequeValid},
      {"19", "150", "000100003", kCheckDigitsWrong},
      // Unread digits of the account count as zeros.
      {"12", "012", "????????0", kChequeValid},
      {"5", "100", "000000000", kBankWithoutScheme},
      {"12", "1?0", "000000000", kNumbersUnreadable},
      {"?2", "100", "000000000", kNumbersUnreadable},
      {"", "", "", kNumbersUnreadable},
      {"13", "100", "000000000", kBranchNotInTable},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VerifyChequeNumbers(table, c.bank, c.branch, c.account), c.expected)
        << "bank " << c.bank << " branch " << c.branch << " account " << c.account;
  }
}

}  // namespace
}  // namespace orvex
