#pragma once

// MICR patterns: ECMAScript regular expressions, case-sensitive, no multi-line mode, compiled once.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// The matcher works by recursion over the characters it consumes, so a very long text could
// exhaust the stack. A MICR line is well under a hundred characters; a text longer than this
// never matches any pattern.
inline constexpr size_t kMaxPatternTextLength = 1024;

class Pattern {
 public:
  // Raises Error 5 when the expression is not valid.
  explicit Pattern(std::string_view expression);
  ~Pattern();

  // True when the expression matches anywhere in the text.
  bool Matches(std::string_view text) const;

  // For each capture group n, the text with its first match replaced by group n (what a
  // substitution by "$n" gives); nothing when the expression does not match.
  std::optional<std::vector<std::string>> ReplaceFirstMatchByEachGroup(std::string_view text) const;

 private:
  struct Compiled;
  std::unique_ptr<const Compiled> compiled_;
};

}  // namespace orvex
