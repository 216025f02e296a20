#include "interpret/file_names.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/file_io.h"
#include "interpret/templates.h"

namespace orvex {
namespace {

constexpr std::string_view kUserPlaceholder = "{User}";

bool IsReservedInFileName(char c) {
  return c == '*' || c == '>' || c == '<' || c == '|' || c == '?' || c == ':' || c == '"';
}

size_t LastSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}

// False only when the folder above does not exist.
bool TryCreateFolder(std::string_view path) {
  std::error_code error;
  std::filesystem::create_directory(ToFsPath(path), error);
  return error != std::errc::no_such_file_or_directory;
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

void CreateFolderPath(std::string_view path) noexcept {
  try {
    if (!path.empty() && path.back() == '\\') {
      path.remove_suffix(1);
    }
    if (path.empty() || TryCreateFolder(path)) {
      return;
    }
    const size_t separator = LastSeparator(path);
    if (separator == std::string_view::npos) {
      return;
    }
    CreateFolderPath(path.substr(0, separator));
    TryCreateFolder(path);
  } catch (...) {
    // Out of memory while building a path: the write of the file reports it.
  }
}

void CreateFolderForFile(std::string_view fileName) noexcept {
  const size_t separator = LastSeparator(fileName);
  if (separator != std::string_view::npos) {
    CreateFolderPath(fileName.substr(0, separator));
  }
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
