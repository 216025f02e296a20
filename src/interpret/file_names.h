#pragma once

// Image and log file names: the values they hold, the operator's part ("{User}") and the folders a
// name needs. Paths use backslashes, as the configuration writes them; the native build maps them
// to "/".

#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"  // CreateFolderPath, CreateFolderForFile
#include "base/file_name_rules.h"

namespace orvex {

// Inside a file name: the image is not to be saved (nor the cheque's XML file written).
inline constexpr std::string_view kDontSaveMarker = "<<DONTSAVE>>";

// The name an image is saved under: its unread characters ("?") as "#", which a file name can hold.
std::string SavedImageName(std::string name);

// Where a value in a file name comes from, which decides what it may bring into the name.
enum class NameValue {
  // Read from the document or typed into a cheque dialog: a cheque field, the amount, the MICR
  // text. It names no folder; its "?" stays, an unread character that the saved name shows as "#".
  kDocument,
  // The operator's "{User}" answer: it may name subfolders with "\" or "/" (not with one at its
  // start, which would lead out of the template's folder), and its "?" becomes "_".
  kOperator,
};

// The value made fit for a file name: every character Windows forbids in a name (IsForbiddenInFileName)
// becomes "_", and so does a separator the value may not bring; a part of it made of dots alone
// ("." or "..", which name a folder itself or the one above) has its dots as "_".
std::string FileNameValue(std::string_view value, NameValue from);

// The operator's "{User}" answer made fit for a file name (FileNameValue); empty text (the prompt
// was cancelled) gives kDontSaveMarker.
std::string SanitizeUserFileName(std::string_view text);

// Which image a "{User}" prompt names.
enum class ImageSide { kFront, kBack };

inline constexpr std::string_view kUserPromptTitle = "קורא צ'קים";
inline constexpr std::string_view kFrontImagePrompt = "בחר שם קובץ לתמונה";
inline constexpr std::string_view kBackImagePrompt = "בחר שם קובץ לתמונה אחורית";
// Before the prompt when the operator is asked again because the answer made the name too long.
inline constexpr std::string_view kNameTooLongPrompt = "השם ארוך מדי. ";

// Asks the operator for a text (a modal input box in the Windows build).
class OperatorPrompt {
 public:
  virtual ~OperatorPrompt() = default;
  // The typed text; empty when the operator cancelled or typed nothing.
  virtual std::string Ask(std::string_view title, std::string_view prompt) = 0;
};

// Finishes the image names of one document: fills "{User}" and makes the name a plain one
// (PlainFileName). The operator is asked once per document: the back image reuses the answer given
// for the front, a cancelled prompt included (so both images are then not saved), and is asked for
// only when the front did not ask. An answer that makes a name longer than Windows takes is asked
// for again (with kNameTooLongPrompt before the prompt) as long as a shorter answer would fit; a
// name too long without any answer is the template's, and its file goes to the recovery folder.
class UserFileNameFiller {
 public:
  explicit UserFileNameFiller(OperatorPrompt& prompt) : prompt_(prompt) {}

  // The finished name; a name without "{User}" is finished without asking.
  std::string Fill(std::string_view name, ImageSide side);

 private:
  std::string Ask(ImageSide side, bool again);

  OperatorPrompt& prompt_;
  std::optional<std::string> answer_;
};

}  // namespace orvex
