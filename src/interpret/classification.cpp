#include "interpret/classification.h"

#include <algorithm>
#include <exception>
#include <string>

#include "interpret/cheque_line.h"
#include "interpret/pattern.h"

namespace orvex {
namespace {

constexpr size_t kNoMicrMaskLength = 28;
constexpr size_t kUnreadCountSpan = 34;

std::string WithoutSpaces(std::string_view text) {
  std::string result(text);
  std::erase(result, ' ');
  return result;
}

bool IsMagneticStripe(std::string_view text) {
  return !text.empty() && (text.front() == ';' || text.front() == '%') && text.back() == '?';
}

bool StartsAndEndsWith(std::string_view text, char first, char last) {
  return !text.empty() && text.front() == first && text.back() == last;
}

// "NO MICR", or 28 characters that are all unread symbols, blanks or dashes.
bool IsNoMicrText(std::string_view text) {
  if (text == "NO MICR") {
    return true;
  }
  return text.size() == kNoMicrMaskLength &&
         std::all_of(text.begin(), text.end(), [](char c) { return c == '?' || c == ' ' || c == '-'; });
}

bool HasTooManyUnreadCharacters(std::string_view text, int32_t minUnreadChars) {
  if (minUnreadChars <= 0) {
    return false;
  }
  const std::string_view head = text.substr(0, kUnreadCountSpan);
  return std::count(head.begin(), head.end(), '?') >= minUnreadChars;
}

const Pattern& UsChequePattern() {
  static const Pattern pattern("^[-0-9TU ?]{15,}$");
  return pattern;
}

DocumentType Classify(std::string_view text, int32_t minUnreadChars) {
  if (IsMagneticStripe(text)) {
    return dtMagneticCard;
  }
  if (StartsAndEndsWith(text, 'A', 'C')) {
    return dtCheque;
  }
  if (StartsAndEndsWith(text, 'A', 'B')) {
    return dtPostalBankCheque;
  }
  if (IsNoMicrText(text) || HasTooManyUnreadCharacters(text, minUnreadChars)) {
    return dtNoMICR;
  }
  const std::string compact = WithoutSpaces(text);
  if (ChequeLinePattern().Matches(compact)) {
    return dtCheque;
  }
  if (UsChequePattern().Matches(compact)) {
    return dtUSCheque;
  }
  return dtUnidentified;
}

}  // namespace

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  return Pattern(pattern).Matches(text);
}

DocumentType ClassifyDocument(std::string_view micrText, int32_t minUnreadCharsForNoMICR) noexcept {
  try {
    return Classify(micrText, minUnreadCharsForNoMICR);
  } catch (const std::exception&) {
    return dtUnidentified;
  }
}

}  // namespace orvex
