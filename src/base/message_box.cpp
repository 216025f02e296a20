#include "base/message_box.h"

namespace orvex {

std::string_view TitleText(MessageTitle title) {
  switch (title) {
    case MessageTitle::ProgramError:
      return kTitleProgramError;
    case MessageTitle::ReaderError:
      return kTitleReaderError;
    case MessageTitle::Information:
      break;
  }
  return kTitleInformation;
}

std::string ErrorText(std::string_view description) {
  return std::string(kErrorHeading) + "\r\n" + std::string(description);
}

std::string WithSupportLine(std::string_view text) {
  return std::string(text) + "\r\n\r\n" + std::string(kSupportLine);
}

}  // namespace orvex
