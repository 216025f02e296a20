#pragma once

// The system's message boxes: right-to-left Hebrew, a title, an icon and buttons. Most messages
// carry one of the three common titles below; a few warnings have titles of their own.
// The core shows every message through MessageBoxes; the Win32 shell implements it.

#include <string>
#include <string_view>

namespace orvex {

// Questions, warnings and information.
inline constexpr std::string_view kTitleInformation = "קורא צ'קים וכרטיסים של Orvex";
// Errors of the program.
inline constexpr std::string_view kTitleProgramError = "שגיאה בקורא צ'קים וכרטיסים של Orvex";
// Errors of the reader device.
inline constexpr std::string_view kTitleReaderError = "שגיאה בקורא צ'קים של Orvex";
// The first line of every error text.
inline constexpr std::string_view kErrorHeading = "שגיאה:";
// Ends a text where the operator should call support (after an empty line).
inline constexpr std::string_view kSupportLine = "לסיוע, נא לפנות ל-Orvex בטלפון: 09-8741226";
// Ends a sentence that sends the operator to support.
inline constexpr std::string_view kSupportSentenceEnd = "אנא פנה ל-Orvex בטלפון: 09-8741226";

enum class MessageIcon { None, Critical, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

struct Message {
  std::string title = std::string(kTitleInformation);
  std::string text;
  MessageIcon icon = MessageIcon::Exclamation;
  MessageButtons buttons = MessageButtons::Ok;
  // Kept above every other window, also above the application the operator types into.
  bool foreground = false;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the message modally and returns the operator's answer.
  virtual MessageAnswer Show(const Message& message) = 0;
};

// "שגיאה:", a line break, the description.
std::string ErrorText(std::string_view description);

// The text, an empty line, the support line.
std::string WithSupportLine(std::string_view text);

}  // namespace orvex
