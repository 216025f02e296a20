#include "base/message_box.h"

namespace orvex {

std::string ErrorText(std::string_view description) {
  return std::string(kErrorHeading) + "\r\n" + std::string(description);
}

std::string WithSupportLine(std::string_view text) {
  return std::string(text) + "\r\n\r\n" + std::string(kSupportLine);
}

}  // namespace orvex
