#include "base/text.h"

#include <algorithm>

namespace orvex {
namespace {

char FoldAsciiCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), FoldAsciiCase);
  return upper;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
  }
  return lines;
}

std::string ReplacePlaceholders(std::string_view text, std::initializer_list<Placeholder> placeholders) {
  std::string result;
  result.reserve(text.size());
  size_t position = 0;
  while (position < text.size()) {
    const size_t brace = text.find('{', position);
    if (brace == std::string_view::npos) {
      break;
    }
    result.append(text, position, brace - position);
    position = brace;
    const std::string_view rest = text.substr(brace);
    const Placeholder* found = nullptr;
    for (const Placeholder& placeholder : placeholders) {
      if (!placeholder.code.empty() && rest.starts_with(placeholder.code)) {
        found = &placeholder;
        break;
      }
    }
    if (found != nullptr) {
      result.append(found->value);
      position += found->code.size();
    } else {
      result += '{';
      ++position;
    }
  }
  if (position < text.size()) {
    result.append(text, position);
  }
  return result;
}

}  // namespace orvex
