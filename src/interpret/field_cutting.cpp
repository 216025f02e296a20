#include "interpret/field_cutting.h"

#include <algorithm>

#include "base/error.h"

namespace orvex {
namespace {

[[noreturn]] void ThrowInvalidPosition() {
  throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
}

// `count` characters from position `first` (counted from 1), fewer when the text ends first.
std::string Take(std::string_view text, int64_t first, int64_t count) {
  if (first < 1) {
    ThrowInvalidPosition();
  }
  if (first > static_cast<int64_t>(text.size())) {
    return {};
  }
  return std::string(text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(count)));
}

// Padding to more than this is a configuration fault, not a field: it fails as an allocation of
// that size would, instead of taking the memory.
constexpr size_t kMaxPaddedLength = 4096;

struct BankAccountLength {
  int16_t bank;
  size_t digits;
};

constexpr BankAccountLength kBankAccountLengths[] = {
    {4, 6},  {9, 7},  {10, 8}, {11, 6}, {12, 6}, {13, 8}, {14, 6},
    {17, 6}, {20, 6}, {31, 9}, {34, 8}, {46, 6}, {52, 9}, {54, 9},
};

}  // namespace

std::string CutField(std::string_view text, int32_t start, int32_t length) {
  // 64-bit arithmetic: the keys are any 32-bit values, and their sums must not wrap.
  const int64_t size = static_cast<int64_t>(text.size());
  const int64_t from = start >= 0 ? start : size + start + 1;
  if (length >= 0) {
    if (start == 0) {
      ThrowInvalidPosition();
    }
    return Take(text, std::max<int64_t>(from, 1), length);
  }
  return Take(text, from + length + 1, -static_cast<int64_t>(length));
}

std::string TrimLeadingZeros(std::string_view text, int32_t leadingZeros, int32_t length) {
  if (leadingZeros >= 0) {
    const size_t zeros = std::min(text.find_first_not_of('0'), text.size());
    if (zeros > static_cast<size_t>(leadingZeros)) {
      const size_t dropped = std::min(zeros - static_cast<size_t>(leadingZeros), text.size() - 1);
      text.remove_prefix(dropped);
    }
    return std::string(text);
  }
  if (leadingZeros == -2 && length > 0 && text.size() < static_cast<size_t>(length)) {
    if (static_cast<size_t>(length) > kMaxPaddedLength) {
      throw Error(kErrOutOfMemory, "Out of memory");
    }
    return std::string(static_cast<size_t>(length) - text.size(), '0') + std::string(text);
  }
  return std::string(text);
}

std::string FlipField(std::string_view text, bool flip) {
  std::string result(text);
  if (flip) {
    std::reverse(result.begin(), result.end());
  }
  return result;
}

std::string CutFieldByKeys(std::string_view text, const FieldCut& cut) {
  return FlipField(TrimLeadingZeros(CutField(text, cut.start, cut.length), cut.leadingZeros, cut.length), cut.flip);
}

std::string TrimAccountToBankLength(std::string_view account, int16_t bank) {
  for (const auto& entry : kBankAccountLengths) {
    if (entry.bank == bank) {
      return std::string(account.size() > entry.digits ? account.substr(account.size() - entry.digits) : account);
    }
  }
  return std::string(account);
}

}  // namespace orvex
