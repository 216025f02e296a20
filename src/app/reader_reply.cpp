#include "app/reader_reply.h"

#include "base/error.h"

namespace orvex {

int32_t ReplyShowingLibrary::MTMICRProcessCheck(const std::string& deviceName, const std::string& options,
                                                std::string& reply, int32_t& capacity) {
  const int32_t result = library_.MTMICRProcessCheck(deviceName, options, reply, capacity);
  RunSkippingError([&] { showReply_(reply); });
  return result;
}

}  // namespace orvex
