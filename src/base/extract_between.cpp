#include "base/extract_between.h"

#include <algorithm>

#include "base/error.h"

namespace orvex {
namespace {

char FoldLatinCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldLatinCase);
  return folded;
}

// Positions count from 0 here; folding keeps every byte where it was.
std::string_view Between(size_t from, std::string_view original, std::string_view searched,
                         std::string_view startMarker, std::string_view endMarker) {
  const size_t found = searched.find(startMarker, from);
  if (found == std::string_view::npos) {
    return {};
  }
  const size_t contentStart = found + startMarker.size();
  const size_t contentEnd = searched.find(endMarker, contentStart);
  if (contentEnd == std::string_view::npos) {
    return {};
  }
  return original.substr(contentStart, contentEnd - contentStart);
}

}  // namespace

std::string ExtractBetween(int32_t start, std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, CompareMode mode) {
  if (start < 1 || (mode != CompareMode::kExact && mode != CompareMode::kIgnoreCase)) {
    throw Error(kErrInvalidArgument, "Invalid procedure call or argument");
  }
  const size_t from = static_cast<size_t>(start) - 1;
  if (from > text.size()) {
    return {};
  }
  if (mode == CompareMode::kExact) {
    return std::string(Between(from, text, text, startMarker, endMarker));
  }
  const std::string searched = Folded(text);
  return std::string(Between(from, text, searched, Folded(startMarker), Folded(endMarker)));
}

}  // namespace orvex
