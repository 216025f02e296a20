#pragma once

// Deciding from the MICR text alone what kind of document passed the reader.

#include <cstdint>
#include <string_view>

#include "interpret/document_type.h"

namespace orvex {

// True when the ECMAScript expression matches anywhere in the text (case-sensitive, first match,
// no multi-line mode). The expression is compiled for this call; Error 5 when it is not valid.
bool MatchesPattern(std::string_view text, std::string_view pattern);

// The kind of document, by the first rule that holds: magnetic stripe, cheque by its symbols,
// postal bank cheque, no MICR, too many unread characters (minUnreadCharsForNoMICR "?" among the
// first 34 characters; 0 switches that rule off), cheque by pattern, US cheque, else unidentified.
// Never fails: an internal error yields dtUnidentified.
DocumentType ClassifyDocument(std::string_view micrText, int32_t minUnreadCharsForNoMICR) noexcept;

}  // namespace orvex
