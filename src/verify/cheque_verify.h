#pragma once

// Verifying a cheque's bank, branch and account against the bank-branch table and the bank's
// check-digit scheme.

#include <cstdint>
#include <string_view>

#include "verify/banks_branches.h"

namespace orvex {

// The result codes; the operator sees them in the cheque dialogs.
enum VerifyResult : int32_t {
  kChequeValid = 0,          // or verification switched off
  kCheckDigitsWrong = 1,     // the bank's scheme rejects the account
  kBranchNotInTable = 555,   // no record of the bank covers the branch
  kNumbersUnreadable = 888,  // the numbers could not be evaluated (for instance "?" in the bank)
  kBankWithoutScheme = 999,  // the bank is in the table but has no check-digit scheme
};

// The code for the fields as captured from the cheque line, before any cutting. Only the first
// three characters of the branch count; the account is taken as its last nine characters, or
// padded with zeros to nine.
int32_t VerifyChequeNumbers(const BanksBranches& table, std::string_view bank, std::string_view branch,
                            std::string_view account);

// The same against the loaded table; 0 without looking at anything when the profile's
// IgnoreVerify is set.
int32_t VerifyChequeNumbers(std::string_view bank, std::string_view branch, std::string_view account,
                            bool ignoreVerify);

}  // namespace orvex
