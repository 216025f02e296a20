#include "interpret/pattern.h"

// GCC 12 warns inside the standard library's regex compiler; the warning is a known false positive.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>

#include "base/error.h"

namespace orvex {
namespace {

[[noreturn]] void ThrowPatternError(std::string_view what, const std::regex_error& error) {
  throw Error(kErrInvalidArgument, std::string(what) + ": " + error.what());
}

}  // namespace

struct Pattern::Compiled {
  std::regex regex;
};

Pattern::Pattern(std::string_view expression) {
  try {
    compiled_ = std::make_unique<const Compiled>(
        Compiled{std::regex(expression.begin(), expression.end(), std::regex::ECMAScript)});
  } catch (const std::regex_error& error) {
    ThrowPatternError("Syntax error in regular expression", error);
  }
}

Pattern::~Pattern() = default;

bool Pattern::Matches(std::string_view text) const {
  if (text.size() > kMaxPatternTextLength) {
    return false;
  }
  try {
    return std::regex_search(text.begin(), text.end(), compiled_->regex);
  } catch (const std::regex_error& error) {
    ThrowPatternError("Regular expression failed", error);
  }
}

std::optional<std::vector<std::string>> Pattern::ReplaceFirstMatchByEachGroup(std::string_view text) const {
  if (text.size() > kMaxPatternTextLength) {
    return std::nullopt;
  }
  std::match_results<std::string_view::const_iterator> match;
  try {
    if (!std::regex_search(text.begin(), text.end(), match, compiled_->regex)) {
      return std::nullopt;
    }
  } catch (const std::regex_error& error) {
    ThrowPatternError("Regular expression failed", error);
  }
  std::vector<std::string> replaced;
  for (size_t group = 1; group < match.size(); ++group) {
    replaced.push_back(match.prefix().str() + match[group].str() + match.suffix().str());
  }
  return replaced;
}

}  // namespace orvex
