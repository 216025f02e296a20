#include "base/error.h"

#include <new>

namespace orvex {

std::string Error::TraceText() const {
  return "Error #" + std::to_string(number_) + " - " + description_;
}

Error AsError(const std::exception& exception) {
  if (const auto* error = dynamic_cast<const Error*>(&exception)) {
    return *error;
  }
  if (dynamic_cast<const std::bad_alloc*>(&exception)) {
    return Error(kErrOutOfMemory, "Out of memory");
  }
  return Error(kErrInternal, exception.what());
}

bool RunSkippingError(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace orvex
