#include "interpret/file_names.h"

#include <algorithm>

#include "base/trace.h"
#include "interpret/templates.h"

namespace orvex {
namespace {

constexpr std::string_view kUserPlaceholder = "{User}";

char FileNameCharacter(char c, NameValue from, bool atStart) {
  if (IsFolderSeparator(c)) {
    return from == NameValue::kOperator && !atStart ? c : '_';
  }
  if (c == '?' && from == NameValue::kDocument) {
    return c;
  }
  return IsForbiddenInFileName(c) ? '_' : c;
}

std::string WithoutDotsAlone(std::string_view part) {
  std::string mended(part);
  if (!part.empty() && part.find_first_not_of('.') == std::string_view::npos) {
    std::fill(mended.begin(), mended.end(), '_');
  }
  return mended;
}

std::string WithAnswer(std::string_view name, std::string_view answer) {
  return PlainFileName(ReplacePlaceholders(name, {{kUserPlaceholder, answer}}));
}

}  // namespace

std::string SavedImageName(std::string name) {
  std::replace(name.begin(), name.end(), '?', '#');
  return name;
}

std::string FileNameValue(std::string_view value, NameValue from) {
  std::string result;
  result.reserve(value.size());
  for (const char c : value) {
    result += FileNameCharacter(c, from, result.empty());
  }
  return WithEachComponent(result, WithoutDotsAlone);
}

std::string SanitizeUserFileName(std::string_view text) {
  if (text.empty()) {
    return std::string(kDontSaveMarker);
  }
  return FileNameValue(text, NameValue::kOperator);
}

std::string UserFileNameFiller::Fill(std::string_view name, ImageSide side) {
  if (name.find(kUserPlaceholder) == std::string_view::npos) {
    return PlainFileName(name);
  }
  if (!answer_) {
    answer_ = Ask(side, false);
  }
  std::string filled = WithAnswer(name, *answer_);
  while (*answer_ != kDontSaveMarker && !FitsWindowsNameLimits(filled) &&
         FitsWindowsNameLimits(WithAnswer(name, "_"))) {
    WriteDebugLog("The name " + filled + " is longer than Windows takes; the operator is asked again");
    answer_ = Ask(side, true);
    filled = WithAnswer(name, *answer_);
  }
  return filled;
}

std::string UserFileNameFiller::Ask(ImageSide side, bool again) {
  const std::string prompt = std::string(again ? kNameTooLongPrompt : "") +
                             std::string(side == ImageSide::kFront ? kFrontImagePrompt : kBackImagePrompt);
  return SanitizeUserFileName(prompt_.Ask(kUserPromptTitle, prompt));
}

}  // namespace orvex
