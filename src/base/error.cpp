#include "base/error.h"

namespace orvex {

std::string Error::TraceText() const {
  return "Error #" + std::to_string(number_) + " - " + description_;
}

bool RunSkippingError(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace orvex
