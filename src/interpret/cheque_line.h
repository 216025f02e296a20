#pragma once

// Capturing the four fields of an Israeli cheque line.

#include <string>
#include <string_view>

#include "interpret/pattern.h"

namespace orvex {

// Start symbol, cheque number, up to three blanks, "C", two-digit bank, "A", branch, "E", up to
// three blanks, account, closing "A" or "C"; any symbol may have been unread ("?").
inline constexpr std::string_view kChequeLinePattern =
    "^[A?]([0-9?]*)[ ?]{0,3}[C?]([0-9?]{2})[A?]([0-9?]*)[E?][ ?]{0,3}([0-9?]*)[AC?].*";

// kChequeLinePattern, compiled once.
const Pattern& ChequeLinePattern();

// The fields as captured, before any cutting; a digit the reader could not read is "?".
struct ChequeFields {
  std::string chequeNum;
  std::string bankNum;
  std::string branchNum;
  std::string accountNum;

  bool operator==(const ChequeFields&) const = default;
};

// The fields of a cheque line: by the cheque pattern, applied to the line without its spaces;
// when it does not match, "Regexp failed for " + the line goes to the trace and the fields are cut
// by their markers from the line as received. An empty line gives empty fields. A marker missing
// for the cut raises Error 5.
ChequeFields CaptureChequeFields(std::string_view micrText);

}  // namespace orvex
