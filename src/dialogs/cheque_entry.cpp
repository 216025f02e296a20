#include "dialogs/cheque_entry.h"

#include <array>
#include <cstdio>

#include "base/text.h"
#include "base/text_codec.h"

namespace orvex {
namespace {

constexpr std::array<ChequeFieldRow, 4> kFields = {{
    {"ChequeNum", "מס' צ'ק", 13, &ChequeFields::chequeNum},
    {"BankNum", "מס' בנק", 2, &ChequeFields::bankNum},
    {"BranchNum", "מס' סניף", 5, &ChequeFields::branchNum},
    {"AccountNum", "מס' חשבון", 13, &ChequeFields::accountNum},
}};

// The markers of an unread character, in the order they are looked for.
constexpr std::string_view kMissingMarkers = "?@;";

constexpr std::string_view kHebrewFinalTsadi = "ץ";

int TwoDigits(std::string_view text) {
  return (text[0] - '0') * 10 + (text[1] - '0');
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::span<const ChequeFieldRow> ChequeFieldRows() {
  return kFields;
}

std::optional<TextSelection> MarkMissingData(std::string_view text) {
  for (const char marker : kMissingMarkers) {
    const size_t first = text.find(marker);
    if (first == std::string_view::npos) {
      continue;
    }
    const size_t last = text.rfind(marker);
    // Counted in characters, as the field's window counts them (the markers are ASCII).
    const size_t start = Utf8Length(text.substr(0, first));
    return TextSelection{start, Utf8Length(text.substr(0, last + 1)) - start};
  }
  return std::nullopt;
}

std::string RebuildMicr(const ChequeFields& fields) {
  return "A" + fields.chequeNum + " C" + fields.bankNum + "A" + fields.branchNum + "E " + fields.accountNum + "C";
}

std::string FixAmount(std::string_view text) {
  std::string fixed;
  for (size_t at = 0; at < text.size();) {
    if (text.substr(at).starts_with(kHebrewFinalTsadi)) {
      fixed += '.';
      at += kHebrewFinalTsadi.size();
    } else {
      fixed += text[at++];
    }
  }
  return fixed;
}

std::string DateBoxText(const LocalDateTime& day) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d", day.day % 100, day.month % 100, day.year % 100);
  return text;
}

std::optional<std::string> ChequeDateFromBox(std::string_view text) {
  if (text.size() != 8 || text[2] != '/' || text[5] != '/') {
    return std::nullopt;
  }
  for (const size_t at : {0, 1, 3, 4, 6, 7}) {
    if (!IsAsciiDigit(text[at])) {
      return std::nullopt;
    }
  }
  const int day = TwoDigits(text.substr(0));
  const int month = TwoDigits(text.substr(3));
  const int year = 2000 + TwoDigits(text.substr(6));
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year)) {
    return std::nullopt;
  }
  return std::string(text.substr(0, 6)) + "20" + std::string(text.substr(6));
}

ChequeCompletion ConfirmChequeData(const ChequeFields& fields, bool ignoreVerifyFail) {
  return ChequeCompletion{RebuildMicr(fields), "", "", ignoreVerifyFail};
}

std::optional<ChequeCompletion> ConfirmChequeFull(const ChequeFields& fields, std::string_view amount,
                                                  std::string_view dateBoxText, bool ignoreVerifyFail) {
  std::optional<std::string> chequeDate = ChequeDateFromBox(dateBoxText);
  if (!chequeDate) {
    return std::nullopt;
  }
  return ChequeCompletion{RebuildMicr(fields), std::string(amount), std::move(*chequeDate), ignoreVerifyFail};
}

}  // namespace orvex
