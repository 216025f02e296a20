#include "interpret/templates.h"

#include <cstdio>

namespace orvex {
namespace {

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

}  // namespace

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

std::string ExpandTemplate(std::string_view text, const LocalDateTime& dateTime, std::string_view prefix) {
  if (text.find('{') == std::string_view::npos) {
    return std::string(text);
  }
  // The temporaries live until the replacement is done: the whole call is one expression.
  const std::string p(prefix);
  return ReplacePlaceholders(text, {{"{" + p + "HH}", Digits(dateTime.hour, 2)},
                                    {"{" + p + "NN}", Digits(dateTime.minute, 2)},
                                    {"{" + p + "SS}", Digits(dateTime.second, 2)},
                                    {"{" + p + "DD}", Digits(dateTime.day, 2)},
                                    {"{" + p + "MM}", Digits(dateTime.month, 2)},
                                    {"{" + p + "YY}", Digits(dateTime.year % 100, 2)},
                                    {"{" + p + "YYYY}", Digits(dateTime.year, 4)}});
}

}  // namespace orvex
