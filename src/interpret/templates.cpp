#include "interpret/templates.h"

#include <cstdio>

#include "base/text.h"

namespace orvex {
namespace {

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

}  // namespace

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
