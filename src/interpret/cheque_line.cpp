#include "interpret/cheque_line.h"

#include <algorithm>

#include "base/error.h"
#include "base/trace.h"

namespace orvex {
namespace {

[[noreturn]] void ThrowMissingMarker() {
  throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
}

size_t FindMarker(std::string_view text, std::string_view marker) {
  const size_t position = text.find(marker);
  if (position == std::string_view::npos) {
    ThrowMissingMarker();
  }
  return position;
}

// The text between the first startMarker and the first endMarker; both must be there, in that order.
std::string CutBetweenMarkers(std::string_view text, char startMarker, char endMarker) {
  const size_t start = FindMarker(text, std::string_view(&startMarker, 1)) + 1;
  const size_t end = FindMarker(text, std::string_view(&endMarker, 1));
  if (end < start) {
    ThrowMissingMarker();
  }
  return std::string(text.substr(start, end - start));
}

std::string_view TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// One pass from the left, so three blanks become two.
std::string CollapseDoubleSpaces(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') {
      ++i;
    }
  }
  return result;
}

// The line without its closing symbol, its start symbol and a leading "A", double blanks halved.
std::string MarkerCutText(std::string_view micrText) {
  std::string_view inner = micrText.size() >= 2 ? micrText.substr(1, micrText.size() - 2) : std::string_view();
  if (!inner.empty() && inner.front() == 'A') {
    inner.remove_prefix(1);
  }
  return CollapseDoubleSpaces(inner);
}

ChequeFields CutByMarkers(std::string_view micrText) {
  const std::string text = MarkerCutText(micrText);
  ChequeFields fields;
  fields.chequeNum = text.substr(0, FindMarker(text, " "));
  fields.bankNum = CutBetweenMarkers(text, 'C', 'A');
  fields.branchNum = CutBetweenMarkers(text, 'A', 'E');
  fields.accountNum = TrimSpaces(std::string_view(text).substr(FindMarker(text, "E ") + 2));
  return fields;
}

}  // namespace

const Pattern& ChequeLinePattern() {
  static const Pattern pattern(kChequeLinePattern);
  return pattern;
}

ChequeFields CaptureChequeFields(std::string_view micrText) {
  if (micrText.empty()) {
    return {};
  }
  std::string compact(micrText);
  std::erase(compact, ' ');
  if (const auto replaced = ChequeLinePattern().ReplaceFirstMatchByEachGroup(compact)) {
    const auto& groups = *replaced;
    return {groups[0], groups[1], groups[2], groups[3]};
  }
  WriteDebugLog("Regexp failed for " + std::string(micrText));
  return CutByMarkers(micrText);
}

}  // namespace orvex
