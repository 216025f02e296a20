#include "interpret/file_names.h"

#include <algorithm>

#include "interpret/templates.h"

namespace orvex {
namespace {

constexpr std::string_view kUserPlaceholder = "{User}";

bool IsReservedInFileName(char c) {
  return c == '*' || c == '>' || c == '<' || c == '|' || c == '?' || c == ':' || c == '"';
}

}  // namespace

std::string SanitizeUserFileName(std::string_view text) {
  if (text.empty()) {
    return std::string(kDontSaveMarker);
  }
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    if (c != '\0') {
      result += IsReservedInFileName(c) ? '_' : c;
    }
  }
  return result;
}

std::string UserFileNameFiller::Fill(std::string_view name, ImageSide side) {
  if (name.find(kUserPlaceholder) == std::string_view::npos) {
    return std::string(name);
  }
  if (!answer_) {
    answer_ = SanitizeUserFileName(
        prompt_.Ask(kUserPromptTitle, side == ImageSide::kFront ? kFrontImagePrompt : kBackImagePrompt));
  }
  return ReplacePlaceholders(name, {{kUserPlaceholder, *answer_}});
}

}  // namespace orvex
