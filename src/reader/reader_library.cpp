#include "reader/reader_library.h"

#include <algorithm>
#include <utility>

namespace orvex {

std::string CleanedReplyValue(std::string value) {
  std::erase(value, '\0');
  value.erase(value.find_last_not_of(' ') + 1);
  return value;
}

std::string GetExcellaMachineType(ReaderLibrary& library, const std::string& deviceName) {
  std::string reply;
  int32_t replyCapacity = kReaderBufferCapacity;
  library.MTMICRQueryInfo(deviceName, "DeviceCapabilities", reply, replyCapacity);

  std::string machineType;
  int32_t valueCapacity = kReaderBufferCapacity;
  library.MTMICRGetValue(reply, "DeviceCapabilities", "MachineType", machineType, valueCapacity);

  return CleanedReplyValue(std::move(machineType));
}

}  // namespace orvex
