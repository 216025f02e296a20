#pragma once

// Image and log file names: the operator's part of a name ("{User}") and the folders a name needs.
// Paths use backslashes, as the configuration writes them; the native build maps them to "/".

#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"  // CreateFolderPath, CreateFolderForFile

namespace orvex {

// Inside a file name: the image is not to be saved (nor the cheque's XML file written).
inline constexpr std::string_view kDontSaveMarker = "<<DONTSAVE>>";

// The operator's text made fit for a file name: "*", ">", "<", "|", "?", ":" and '"' become "_",
// NUL characters go; "\" and "/" stay, so the operator can name subfolders. Empty text (the prompt
// was cancelled) gives kDontSaveMarker.
std::string SanitizeUserFileName(std::string_view text);

// Which image a "{User}" prompt names.
enum class ImageSide { kFront, kBack };

inline constexpr std::string_view kUserPromptTitle = "קורא צ'קים";
inline constexpr std::string_view kFrontImagePrompt = "בחר שם קובץ לתמונה";
inline constexpr std::string_view kBackImagePrompt = "בחר שם קובץ לתמונה אחורית";

// Asks the operator for a text (a modal input box in the Windows build).
class OperatorPrompt {
 public:
  virtual ~OperatorPrompt() = default;
  // The typed text; empty when the operator cancelled or typed nothing.
  virtual std::string Ask(std::string_view title, std::string_view prompt) = 0;
};

// Fills "{User}" in the image names of one document. The operator is asked at most once per
// document: the back image reuses the answer given for the front, a cancelled prompt included (so
// both images are then not saved), and is asked for only when the front did not ask.
class UserFileNameFiller {
 public:
  explicit UserFileNameFiller(OperatorPrompt& prompt) : prompt_(prompt) {}

  // The name with every "{User}" replaced by the operator's cleaned text; a name without "{User}"
  // is returned as it is, without asking.
  std::string Fill(std::string_view name, ImageSide side);

 private:
  OperatorPrompt& prompt_;
  std::optional<std::string> answer_;
};

}  // namespace orvex
