#include "verify/cheque_verify.h"

#include <exception>
#include <span>
#include <string>

#include "base/vb_convert.h"

namespace orvex {
namespace {

constexpr size_t kBranchDigits = 3;
constexpr size_t kAccountDigits = 9;

// Weights of the digits, first digit first.
constexpr int kDescendingNineToOne[] = {9, 8, 7, 6, 5, 4, 3, 2, 1};
constexpr int kDescendingTenToTwo[] = {10, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr int kDescendingSixToOne[] = {6, 5, 4, 3, 2, 1};
constexpr int kAscendingOneToSeven[] = {1, 2, 3, 4, 5, 6, 7};
constexpr int kAscendingTwoToSix[] = {2, 3, 4, 5, 6};
constexpr int kBank22Weights[] = {3, 2, 7, 6, 5, 4, 3, 2};

// The cheque's numbers as the schemes read them.
struct ChequeNumbers {
  int16_t bank;
  int16_t branch;
  std::string branchDigits;   // B: three characters
  std::string accountDigits;  // A: nine characters
};

// Digit k (from 1) of the text; a character that is no digit, or one past the end, counts as 0.
int DigitAt(std::string_view text, size_t k) {
  if (k < 1 || k > text.size()) {
    return 0;
  }
  const char c = text[k - 1];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

int WeightedSum(std::string_view digits, std::span<const int> weights) {
  int sum = 0;
  for (size_t k = 1; k <= weights.size(); ++k) {
    sum += DigitAt(digits, k) * weights[k - 1];
  }
  return sum;
}

// From the last digit to the first, weights 1, 2, 1, 2, ...; a product above 9 counts as the sum
// of its two digits.
int AlternatingDigitSum(std::string_view digits) {
  int sum = 0;
  for (size_t k = digits.size(), position = 0; k >= 1; --k, ++position) {
    const int product = DigitAt(digits, k) * (position % 2 == 0 ? 1 : 2);
    sum += product > 9 ? product - 9 : product;
  }
  return sum;
}

std::string LeftPadded(std::string_view text, size_t width) {
  return text.size() >= width ? std::string(text) : std::string(width - text.size(), '0') + std::string(text);
}

// The account as nine characters: its last nine, or padded with zeros.
std::string NineDigitAccount(std::string_view account) {
  return account.size() > kAccountDigits - 1 ? std::string(account.substr(account.size() - kAccountDigits))
                                             : LeftPadded(account, kAccountDigits);
}

// Bank 20 numbers its branches above 400 from 1 again for the check digits: 523 reads as "123".
std::string Bank20BranchDigits(const ChequeNumbers& numbers) {
  return numbers.branch > 400 ? LeftPadded(std::to_string(numbers.branch - 400), kBranchDigits) : numbers.branchDigits;
}

int32_t TableResult(const BanksBranches& table, const ChequeNumbers& numbers, int remainder) {
  return table.AcceptsRemainder(numbers.bank, numbers.branch, remainder) ? kChequeValid : kCheckDigitsWrong;
}

int32_t DigitResult(int check, int lastDigit) {
  return check == lastDigit ? kChequeValid : kCheckDigitsWrong;
}

int32_t ApplyBankScheme(const BanksBranches& table, const ChequeNumbers& numbers) {
  const std::string_view b = numbers.branchDigits;
  const std::string_view a = numbers.accountDigits;
  const std::string branchAndAccountTail = std::string(b) + std::string(a.substr(3));
  switch (numbers.bank) {
    case 4:
    case 12:
    case 14:
    case 28:
    case 46:
      return TableResult(table, numbers, WeightedSum(branchAndAccountTail, kDescendingNineToOne) % 11);
    case 7:
      return TableResult(table, numbers, AlternatingDigitSum(std::string(b) + std::string(a)) % 10);
    case 9:
      return TableResult(table, numbers, WeightedSum(a.substr(2), kAscendingOneToSeven) % 10);
    case 10:
    case 13:
    case 34: {
      const int lastTwo = DigitAt(a, 8) * 10 + DigitAt(a, 9);
      const int sum = WeightedSum(std::string(b) + std::string(a.substr(1, 6)), kDescendingTenToTwo) + lastTwo;
      return TableResult(table, numbers, sum % 100);
    }
    case 11:
    case 17:
    case 33:
      return TableResult(table, numbers, WeightedSum(a, kDescendingNineToOne) % 11);
    case 19:
      return DigitResult(WeightedSum(a.substr(3, 5), kAscendingTwoToSix) % 10, DigitAt(a, 9));
    case 20:
      return TableResult(
          table, numbers,
          WeightedSum(Bank20BranchDigits(numbers) + std::string(a.substr(3)), kDescendingNineToOne) % 11);
    case 22:
      // A check of 10 or 11 matches no digit: such an account is never valid.
      return DigitResult(11 - WeightedSum(a.substr(0, 8), kBank22Weights) % 11, DigitAt(a, 9));
    case 31:
    case 52:
      if (TableResult(table, numbers, WeightedSum(a, kDescendingNineToOne) % 11) == kChequeValid) {
        return kChequeValid;
      }
      return TableResult(table, numbers, WeightedSum(a.substr(3), kDescendingSixToOne) % 11);
    default:
      return kBankWithoutScheme;
  }
}

int32_t Verify(const BanksBranches& table, std::string_view bank, std::string_view branch, std::string_view account) {
  if (FindBranchRange(table, bank, branch) == 0) {
    return kBranchNotInTable;
  }
  // FindBranchRange has read both numbers.
  const std::string_view branchPart = branch.substr(0, kBranchDigits);
  const ChequeNumbers numbers{*ToInt16(bank), *ToInt16(branchPart), LeftPadded(branchPart, kBranchDigits),
                              NineDigitAccount(account)};
  return ApplyBankScheme(table, numbers);
}

}  // namespace

int32_t VerifyChequeNumbers(const BanksBranches& table, std::string_view bank, std::string_view branch,
                            std::string_view account) {
  try {
    return Verify(table, bank, branch, account);
  } catch (const std::exception&) {
    return kNumbersUnreadable;
  }
}

int32_t VerifyChequeNumbers(std::string_view bank, std::string_view branch, std::string_view account,
                            bool ignoreVerify) {
  if (ignoreVerify) {
    return kChequeValid;
  }
  return VerifyChequeNumbers(LoadedBanksBranches(), bank, branch, account);
}

}  // namespace orvex
